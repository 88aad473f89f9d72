// The definition file's bytes through the line reader and the questionnaire
// parser: the model's rules must hold whatever the file holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "survey/questionnaire.h"
#include "text/textfile.h"

namespace {

using tabulon::fuzz::Check;
using tabulon::survey::kChoiceCount;
using tabulon::survey::kQuestionCount;
using tabulon::survey::Question;

bool IsLineFromFourOn(const std::vector<std::string>& lines,
                      const std::string& line) {
  for (size_t k = 3; k < lines.size(); ++k) {
    if (lines[k] == line) return true;
  }
  return false;
}

bool AllChoicesEmpty(const Question& question) {
  for (const std::string& choice : question.choices) {
    if (!choice.empty()) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> lines =
      tabulon::text::SplitLines(tabulon::fuzz::AsBytes(data, size));
  const tabulon::survey::Questionnaire questionnaire =
      tabulon::survey::ParseQuestionnaire(lines);

  Check(questionnaire.title == (lines.size() >= 1 ? lines[0] : ""), "title");
  Check(questionnaire.description == (lines.size() >= 2 ? lines[1] : ""),
        "description");

  bool earlier_in_use = true;
  for (int q = 1; q <= kQuestionCount; ++q) {
    const Question& question = questionnaire.At(q);
    if (!question.InUse()) {
      earlier_in_use = false;
      Check(question.text.empty(), "an unused question has a text");
      Check(AllChoicesEmpty(question), "an unused question has choices");
      continue;
    }
    Check(earlier_in_use, "used question numbers have a gap");
    Check(question.kind == "R" || question.kind == "C" || question.kind == "T",
          "a kind other than R, C or T");
    Check(IsLineFromFourOn(lines, "[" + question.kind + "]" + question.text),
          "the question is no line of the file from line 4 on");
    if (question.kind == "T") {
      Check(AllChoicesEmpty(question), "a free-text question has choices");
      continue;
    }
    // The choices are a run: no empty choice before a given one.
    bool run_ended = false;
    for (int c = 1; c <= kChoiceCount; ++c) {
      const std::string& choice = question.Choice(c);
      if (choice.empty()) {
        run_ended = true;
        continue;
      }
      Check(!run_ended, "a choice after an empty one");
      Check(IsLineFromFourOn(lines, choice), "a choice is no line of the file");
      Check(choice.rfind("[R]", 0) != 0 && choice.rfind("[C]", 0) != 0 &&
                choice.rfind("[T]", 0) != 0,
            "a question line taken as a choice");
    }
  }
  return 0;
}
