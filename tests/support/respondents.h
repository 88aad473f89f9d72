// Respondent stores made from answer files' lines, without files on disk.
// Header only, so that fuzzers, which link no GoogleTest, can use it too.
#ifndef TABULON_TESTS_SUPPORT_RESPONDENTS_H_
#define TABULON_TESTS_SUPPORT_RESPONDENTS_H_

#include <string>
#include <vector>

#include "support/null_listener.h"
#include "survey/respondent_table.h"
#include "survey/tally.h"

namespace tabulon::test_support {

// One row per file, each file given by its lines, filled as a tally of
// those files fills it (their counts are thrown away).
inline survey::RespondentTable StoreOf(
    const std::vector<std::vector<std::string>>& files) {
  survey::RespondentTable store;
  survey::ChoiceCounts counts;
  NullListener listener;
  for (const std::vector<std::string>& lines : files)
    survey::TallyAnswerLines(lines, store, counts, listener);
  return store;
}

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_SUPPORT_RESPONDENTS_H_
