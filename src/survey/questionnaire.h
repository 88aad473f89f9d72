// The questionnaire a tally is for, as "data.txt" defines it: a title, a
// description and up to ten questions of up to five choices each.
#ifndef TABULON_SURVEY_QUESTIONNAIRE_H_
#define TABULON_SURVEY_QUESTIONNAIRE_H_

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace tabulon::survey {

inline constexpr int kQuestionCount = 10;
inline constexpr int kChoiceCount = 5;

// "R" or "C" (a choice question; the two are treated alike), "T" (free
// text), or empty for a question number not in use.
using QuestionKind = std::string;

struct Question {
  QuestionKind kind;
  std::string text;
  std::array<std::string, kChoiceCount> choices;  // choice c at [c - 1]

  bool InUse() const { return !kind.empty(); }
  // "R" or "C": answered by picking among the choices.
  bool IsChoice() const { return kind == "R" || kind == "C"; }
  // "T": answered in free text.
  bool IsText() const { return kind == "T"; }
  // Choice c = 1 to 5.
  const std::string& Choice(int c) const { return choices.at(c - 1); }
};

struct Questionnaire {
  std::string title;
  std::string description;
  std::array<Question, kQuestionCount> questions;  // question q at [q - 1]
  // When no question was found: the first line, from line 4 on, that begins
  // with a question marker typed in full-width characters (［Ｒ］, ［Ｃ］ or
  // ［Ｔ］), which marks no question; 0 when there is none.
  std::size_t full_width_marker_line = 0;

  // Question q = 1 to 10.
  const Question& At(int q) const { return questions.at(q - 1); }
};

// Reads the questionnaire from the lines of a definition file.
Questionnaire ParseQuestionnaire(const std::vector<std::string>& lines);

// Reads "data.txt" from the current folder. A failure to read it raises
// InputOutputFailure and nothing is returned.
Questionnaire LoadQuestionnaire();

// Why a questionnaire that yields no question has none, for a box (CP932):
// how a question line begins, and the line whose full-width marker
// probably spoilt one.
std::string NoQuestionExplanation(const Questionnaire& questionnaire);

}  // namespace tabulon::survey

#endif  // TABULON_SURVEY_QUESTIONNAIRE_H_
