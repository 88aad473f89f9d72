#include "support/scratch_folder.h"

#include "platform/codepage.h"

namespace tabulon::test_support {

std::string Cp932(std::string_view utf8) { return platform::Utf8ToCp932(utf8); }

}  // namespace tabulon::test_support
