// A tally listener that writes down every call, for tests and fuzzers that
// check what the display would have been told. Header only, so that
// fuzzers, which link no GoogleTest, can use it too.
#ifndef TABULON_TESTS_SUPPORT_RECORDING_LISTENER_H_
#define TABULON_TESTS_SUPPORT_RECORDING_LISTENER_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/readable.h"
#include "survey/questionnaire.h"
#include "survey/tally.h"

namespace tabulon::test_support {

class RecordingListener : public survey::TallyListener {
 public:
  // One call as it came: a choice section with the counts of its question
  // at that time, or a text answer with its bytes.
  struct Call {
    int q;
    bool choice;
    std::string text;
    std::array<std::int64_t, survey::kChoiceCount> counts;
  };

  void ChoiceSectionDone(int q, const survey::ChoiceCounts& counts) override {
    Call call{q, true, {}, {}};
    std::string event = "choice " + std::to_string(q) + ":";
    for (int c = 1; c <= survey::kChoiceCount; ++c) {
      call.counts[c - 1] = counts.At(q, c);
      event += " " + std::to_string(counts.At(q, c));
    }
    calls.push_back(call);
    events.push_back(event);
  }
  void TextAnswerFound(int q, std::string_view text) override {
    calls.push_back(Call{q, false, std::string(text), {}});
    events.push_back("text " + std::to_string(q) + ": " + Readable(text));
  }

  std::vector<Call> calls;
  // Each call as "choice q: n1 n2 n3 n4 n5" or "text q: answer" (the answer
  // as Readable shows it).
  std::vector<std::string> events;
};

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_SUPPORT_RECORDING_LISTENER_H_
