// The tally: reading every answer file, adding up the choice lines and
// keeping every raw answer for the results file. It never looks at the
// questionnaire: sections are matched to questions by their order alone.
#ifndef TABULON_SURVEY_TALLY_H_
#define TABULON_SURVEY_TALLY_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "survey/questionnaire.h"
#include "survey/respondent_table.h"

namespace tabulon::survey {

// Ten questions by five choices of sums. Sums are 64-bit so that they stay
// exact whatever the choice lines hold.
class ChoiceCounts {
 public:
  // Question q = 1 to 10, choice c = 1 to 5.
  std::int64_t At(int q, int c) const { return sums_.at(q - 1).at(c - 1); }
  void Add(int q, int c, std::int32_t value) {
    sums_.at(q - 1).at(c - 1) += value;
  }
  void Clear() { sums_ = {}; }

 private:
  std::array<std::array<std::int64_t, kChoiceCount>, kQuestionCount> sums_{};
};

// Told after every section of every file, so the display follows the tally.
class TallyListener {
 public:
  virtual ~TallyListener() = default;
  // A choice section of question q has been added; `counts` holds the
  // running totals.
  virtual void ChoiceSectionDone(int q, const ChoiceCounts& counts) = 0;
  // A text section of question q gave `text`, a view of the file's bytes
  // that lasts for the call.
  virtual void TextAnswerFound(int q, std::string_view text) = 0;
};

// Tallies one answer file's lines into a new last row of `table` and into
// `counts`, telling `listener` after each section. Raises
// NotAnIntegerFailure at a bad choice line, the row kept as far as it got.
void TallyAnswerLines(const std::vector<std::string>& lines,
                      RespondentTable& table, ChoiceCounts& counts,
                      TallyListener& listener);

// Tallies the named answer files in order. `counts` and `table` start empty;
// row r (from 0) belongs to names[r]. A failure (unreadable file, bad choice
// line) raises at once; what was tallied before it stays, the failing file's
// row as far as it got.
void TallyAnswerFiles(const std::vector<std::string>& names,
                      ChoiceCounts& counts, RespondentTable& table,
                      TallyListener& listener);

}  // namespace tabulon::survey

#endif  // TABULON_SURVEY_TALLY_H_
