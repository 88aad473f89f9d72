// Helpers of the robustness tests: a listener that writes down every call,
// a readable rendering of CP932 bytes, and erasing as the erase button does.
#ifndef TABULON_TESTS_ROBUSTNESS_ROBUSTNESS_SUPPORT_H_
#define TABULON_TESTS_ROBUSTNESS_ROBUSTNESS_SUPPORT_H_

#include <string>
#include <string_view>
#include <vector>

#include "survey/tally.h"
#include "text/answer_file_list.h"

namespace tabulon::test_support {

// Writes down every call as "choice q: n1 n2 n3 n4 n5" (the counts of q at
// that time) or "text q: answer" (the answer as Readable shows it).
class RecordingListener : public survey::TallyListener {
 public:
  void ChoiceSectionDone(int q, const survey::ChoiceCounts& counts) override;
  void TextAnswerFound(int q, const std::string& text) override;
  std::vector<std::string> events;
};

// CP932 bytes as UTF-8 for comparing with readable expectations: printable
// ASCII stays, a valid double-byte character becomes its Unicode character,
// every other byte (and the backslash) is written \xNN.
std::string Readable(std::string_view cp932);

// Deletes every file the list holds, in list order, as erasing does; says
// for each whether its deletion succeeded.
std::vector<bool> DeleteEveryListedFile(text::AnswerFileList& list);

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_ROBUSTNESS_ROBUSTNESS_SUPPORT_H_
