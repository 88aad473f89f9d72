#include "survey/questionnaire.h"

#include <cstddef>
#include <string_view>

#include "text/fixed_texts.h"
#include "text/markers.h"
#include "text/textfile.h"

namespace tabulon::survey {
namespace {

// Lines are numbered from 1 here, as the definition file's layout counts them.
class DefinitionLines {
 public:
  explicit DefinitionLines(const std::vector<std::string>& lines)
      : lines_(lines) {}
  std::size_t Count() const { return lines_.size(); }
  bool Has(std::size_t k) const { return k >= 1 && k <= lines_.size(); }
  // Line k, or the empty string for a line the file does not have.
  const std::string& Line(std::size_t k) const {
    return Has(k) ? lines_[k - 1] : kNoLine;
  }

 private:
  static inline const std::string kNoLine;
  const std::vector<std::string>& lines_;
};

constexpr std::string_view kQuestionMarkers[] = {"[R]", "[C]", "[T]"};

// The marker a question line begins with, or empty for any other line. The
// marker must stand at the very start, in single-byte upper case.
std::string_view QuestionMarker(std::string_view line) {
  for (std::string_view marker : kQuestionMarkers) {
    if (text::BeginsWithMarker(line, marker)) return marker;
  }
  return {};
}

bool IsQuestionLine(std::string_view line) {
  return !QuestionMarker(line).empty();
}

bool IsChoiceKind(const QuestionKind& kind) {
  return kind == "R" || kind == "C";
}

}  // namespace

Questionnaire ParseQuestionnaire(const std::vector<std::string>& file_lines) {
  const DefinitionLines lines(file_lines);
  const std::size_t n = lines.Count();
  Questionnaire questionnaire;

  // Step 2: the title and the description.
  questionnaire.title = lines.Line(1);
  questionnaire.description = lines.Line(2);

  // Step 3: line 3 is never examined.
  std::size_t p = 4;
  for (int q = 1; q <= kQuestionCount; ++q) {  // Step 7: at most ten questions.
    // Step 4: search for the next question line.
    while (p <= n && !IsQuestionLine(lines.Line(p))) ++p;
    if (p > n) break;

    // Step 5: the question line gives the kind and, without its marker, the
    // text.
    Question& question = questionnaire.questions[q - 1];
    const std::string_view marker = QuestionMarker(lines.Line(p));
    question.kind = QuestionKind(marker.substr(1, 1));
    question.text = text::RemoveFirstMarker(lines.Line(p), marker);
    ++p;

    // Step 6: the choice run of a choice question. A free-text question
    // collects nothing; its following lines are passed over by the search.
    if (!IsChoiceKind(question.kind)) continue;
    for (int c = 1; c <= kChoiceCount && p <= n && !lines.Line(p).empty() &&
                    !IsQuestionLine(lines.Line(p));
         ++c, ++p) {
      question.choices[c - 1] = lines.Line(p);
    }
  }
  return questionnaire;
}

Questionnaire LoadQuestionnaire() {
  // Step 1: the whole file, however long, before anything is filled; a
  // failure leaves nothing behind.
  const std::vector<std::string> lines =
      text::ReadTextLines(text::Text(text::FixedText::kDefinitionFileName));
  return ParseQuestionnaire(lines);
}

}  // namespace tabulon::survey
