// The results file "集計結果.csv": two heading rows from the questionnaire and
// one row of raw answers per answer file. Every field is followed by a comma;
// nothing is quoted.
#ifndef TABULON_SURVEY_RESULTS_CSV_H_
#define TABULON_SURVEY_RESULTS_CSV_H_

#include "survey/questionnaire.h"
#include "survey/respondent_table.h"

namespace tabulon::survey {

// Rewrites "集計結果.csv" in the current folder, one row per row of `table`.
// The earlier file is replaced only once the new one is complete; a failure
// raises InputOutputFailure and leaves it as it was.
void WriteTallyResults(const Questionnaire& questionnaire,
                       const RespondentTable& table);

}  // namespace tabulon::survey

#endif  // TABULON_SURVEY_RESULTS_CSV_H_
