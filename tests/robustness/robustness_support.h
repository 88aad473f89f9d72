// Helpers of the robustness tests: erasing as the erase button does.
#ifndef TABULON_TESTS_ROBUSTNESS_ROBUSTNESS_SUPPORT_H_
#define TABULON_TESTS_ROBUSTNESS_ROBUSTNESS_SUPPORT_H_

#include <vector>

#include "text/answer_file_list.h"

namespace tabulon::test_support {

// Deletes every file the list holds, in list order, as erasing does; says
// for each whether its deletion succeeded.
std::vector<bool> DeleteEveryListedFile(text::AnswerFileList& list);

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_ROBUSTNESS_ROBUSTNESS_SUPPORT_H_
