// The results file read back for checks: its rows, and the sum of every
// choice column question by question, which every check of what the window
// shows (its bars, what a screen reader hears) compares against.
#ifndef TABULON_TESTS_SUPPORT_RESULTS_SUMS_H_
#define TABULON_TESTS_SUPPORT_RESULTS_SUMS_H_

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "survey/questionnaire.h"

namespace tabulon::test_support {

inline std::vector<std::vector<std::string>> CsvRows(const std::string& bytes) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream in(bytes);
  std::string line;
  while (std::getline(in, line)) {
    EXPECT_TRUE(!line.empty() && line.back() == '\r');
    line.pop_back();
    std::vector<std::string> fields;
    std::string field;
    std::istringstream cells(line);
    while (std::getline(cells, field, ',')) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

// The sum of every choice column of the results file, question by question
// (choice questions only), for questions 1 to `last`.
struct ChoiceSum {
  int q, c, sum;
};
inline std::vector<ChoiceSum> ChoiceSums(
    const std::vector<std::vector<std::string>>& rows,
    const survey::Questionnaire& questionnaire, int last) {
  std::vector<ChoiceSum> sums;
  int column = 2;  // the question blocks start after computer and pupil
  for (int q = 1; q <= last && questionnaire.At(q).InUse(); ++q) {
    const survey::Question& question = questionnaire.At(q);
    if (question.text.empty()) continue;  // such a question has no block
    for (int c = 1; c <= 5; ++c) {
      if (c > 1 && question.Choice(c).empty()) continue;
      const int at = column++;
      if (!question.IsChoice()) continue;
      int sum = 0;
      for (std::size_t r = 2; r < rows.size(); ++r) {
        sum += std::stoi(rows[r].at(at));
      }
      sums.push_back({q, c, sum});
    }
  }
  return sums;
}

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_SUPPORT_RESULTS_SUMS_H_
