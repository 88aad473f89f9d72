// The results file "集計結果.csv": two heading rows from the questionnaire and
// one row of raw answers per answer file. Every field is followed by a comma;
// nothing is quoted.
#ifndef TABULON_SURVEY_RESULTS_CSV_H_
#define TABULON_SURVEY_RESULTS_CSV_H_

#include <concepts>

#include "survey/questionnaire.h"
#include "survey/respondent_store.h"
#include "survey/tally.h"

namespace tabulon::survey {

// Rewrites "集計結果.csv" in the current folder from the first `respondents`
// rows of `table`. The earlier file is replaced only once the new one is
// complete; a failure raises InputOutputFailure and leaves it as it was.
void WriteTallyResults(const Questionnaire& questionnaire,
                       const RespondentTable& table, int respondents);
void WriteStoredResults(const Questionnaire& questionnaire,
                        const RespondentStore& table, int respondents);
// The same from the compact table. A template only so that an empty braced
// list still means the plain table.
template <std::same_as<RespondentStore> Store>
void WriteTallyResults(const Questionnaire& questionnaire, const Store& table,
                       int respondents) {
  WriteStoredResults(questionnaire, table, respondents);
}

}  // namespace tabulon::survey

#endif  // TABULON_SURVEY_RESULTS_CSV_H_
