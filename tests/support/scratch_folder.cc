#include "support/scratch_folder.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>

#include "platform/codepage.h"
#include "platform/file_names.h"

namespace tabulon::test_support {

std::string Sjis(std::string_view utf8) { return platform::Utf8ToCp932(utf8); }

ScratchFolder::ScratchFolder() : previous_(std::filesystem::current_path()) {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "tabulon-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a scratch folder";
    path_ = previous_;
    return;
  }
  path_ = pattern;
  std::filesystem::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
  std::filesystem::current_path(previous_);
  if (path_ == previous_) return;
  std::error_code ignored;
  // Files made read-only or immutable by a test must not stop the clean-up.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::string& name, std::string_view bytes) {
  std::ofstream out(platform::FileSystemName(name),
                    std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << name;
}

std::string ReadBytes(const std::string& name) {
  std::ifstream in(platform::FileSystemName(name), std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot read " << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& name) {
  return std::filesystem::exists(platform::FileSystemName(name));
}

}  // namespace tabulon::test_support
