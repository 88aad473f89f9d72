// One pupil's answers and the answer file that holds them, in the format the
// tally reads: line 1 the computer's name, line 2 the name field, then one
// section per question of the questionnaire. Writing goes through the
// replacement protocol, so the tally never sees half a file.
#ifndef TABULON_SURVEY_ANSWER_FILE_H_
#define TABULON_SURVEY_ANSWER_FILE_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "survey/questionnaire.h"

namespace tabulon::survey {

// How one question was answered: which choices are chosen (a choice
// question), or the text (a text question, CP932).
struct QuestionAnswer {
  std::array<bool, kChoiceCount> chosen{};  // choice c at [c - 1]
  std::string text;
};

struct Answers {
  std::string computer_name;    // CP932
  std::string respondent_name;  // CP932: whatever the name field asks for
  std::array<QuestionAnswer, kQuestionCount> questions;  // q at [q - 1]

  QuestionAnswer& At(int q) { return questions.at(q - 1); }
  const QuestionAnswer& At(int q) const { return questions.at(q - 1); }
};

// The number of choices question q offers: its choices up to the first
// empty one.
int ChoicesOffered(const Question& question);

// A typed text as one line of a file: CR LF, a lone CR or LF, a tab and
// every other control character each become one space. A line that would begin
// with "[Q" gets a space in front, so the tally never takes an answer for the
// next section's header.
std::string AsOneLine(std::string_view cp932);

// The lines of the answer file (without line ends): a header "[Qn" + kind
// letter + "]" per question in use; a choice question's "1"/"0" lines, one
// per choice offered, then "[END]"; a text question's one line.
std::vector<std::string> AnswerFileLines(const Questionnaire& questionnaire,
                                         const Answers& answers);

// "<computer name>.ans" and "<computer name>-<k>.ans", with every character
// a file name cannot hold (\ / : * ? " < > | and control characters) as "_".
// An empty computer name gives "_".
std::string AnswerFileName(std::string_view computer_name);
std::string NumberedAnswerFileName(std::string_view computer_name, int k);

// True when the current folder holds a file of that name.
bool AnswerFileExists(const std::string& name);

// Writes the lines (CR LF) as the named file, replacing an earlier one only
// once the new one is complete. A failure raises InputOutputFailure and
// leaves the earlier file as it was and nothing else behind.
void WriteAnswerFile(const std::string& name,
                     const std::vector<std::string>& lines);

// Writes the lines under the first NumberedAnswerFileName(computer_name, k),
// k = 1, 2, ..., that no file has, and never replaces one, even when other
// programs claim numbers at the same time. Returns the name written.
std::string WriteNumberedAnswerFile(std::string_view computer_name,
                                    const std::vector<std::string>& lines);

}  // namespace tabulon::survey

#endif  // TABULON_SURVEY_ANSWER_FILE_H_
