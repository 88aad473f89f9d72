// The tally over a set of answer files' bytes: sections are reported in
// question order, every report agrees with what the row kept, and the only
// failure a file's content can cause is a choice line that is no integer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "support/recording_listener.h"
#include "survey/choice_value.h"
#include "survey/respondent_table.h"
#include "survey/tally.h"
#include "text/textfile.h"

namespace {

using tabulon::fuzz::Check;
using tabulon::survey::ChoiceCounts;
using tabulon::survey::kChoiceCount;
using tabulon::survey::kQuestionCount;
using tabulon::survey::RespondentRow;
using tabulon::survey::RespondentTable;
using tabulon::test_support::RecordingListener;
using Report = RecordingListener::Call;

// The value a kept choice answer adds: an empty one was never a choice line.
std::int64_t ValueOf(const std::string& answer) {
  return answer.empty() ? 0 : tabulon::survey::ChoiceLineValue(answer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ChoiceCounts counts;
  std::int64_t expected[kQuestionCount][kChoiceCount] = {};
  for (std::string_view file :
       tabulon::fuzz::SplitFiles(tabulon::fuzz::AsBytes(data, size))) {
    const std::vector<std::string> lines = tabulon::text::SplitLines(file);
    RespondentTable table;
    RecordingListener listener;
    try {
      tabulon::survey::TallyAnswerLines(lines, table, counts, listener);
    } catch (const tabulon::survey::NotAnIntegerFailure&) {
      // The tally stops at the first bad choice line, as it does for files.
      return 0;
    }
    const RespondentRow row = table.Row(0);
    Check(row.computer_name == (lines.size() >= 1 ? lines[0] : ""),
          "computer name is not line 1");
    Check(row.respondent_name == (lines.size() >= 2 ? lines[1] : ""),
          "respondent name is not line 2");

    int last_q = 0;
    for (const Report& report : listener.calls) {
      Check(report.q > last_q && report.q <= kQuestionCount,
            "sections not reported in question order");
      for (int q = last_q + 1; q < report.q; ++q) {
        for (const std::string& answer : row.answers[q - 1])
          Check(answer.empty(), "an unreported section kept an answer");
      }
      last_q = report.q;
      const auto& answers = row.answers[report.q - 1];
      if (!report.choice) {
        Check(answers[0] == report.text, "text answer not kept");
        for (int c = 2; c <= kChoiceCount; ++c)
          Check(answers[c - 1].empty(), "a text section kept a second answer");
        continue;
      }
      for (int c = 1; c <= kChoiceCount; ++c) {
        expected[report.q - 1][c - 1] += ValueOf(answers[c - 1]);
        Check(report.counts[c - 1] == expected[report.q - 1][c - 1],
              "reported counts differ from the kept choice lines");
      }
    }
    for (int q = last_q + 1; q <= kQuestionCount; ++q) {
      for (const std::string& answer : row.answers[q - 1])
        Check(answer.empty(), "an answer kept after the last section");
    }
  }
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (int c = 1; c <= kChoiceCount; ++c)
      Check(counts.At(q, c) == expected[q - 1][c - 1], "final counts differ");
  }
  return 0;
}
