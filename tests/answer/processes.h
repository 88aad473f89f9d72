// Starting programs side by side and waiting for them all, for the tests
// that need real processes racing for one folder.
#ifndef TABULON_TESTS_ANSWER_PROCESSES_H_
#define TABULON_TESTS_ANSWER_PROCESSES_H_

#include <string>
#include <vector>

namespace tabulon::test_support {

// Starts every command line (program first) at once, in the current folder,
// and returns each one's exit status once all have ended (-1 for one that
// could not start).
std::vector<int> RunAllAtOnce(
    const std::vector<std::vector<std::string>>& commands);

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_ANSWER_PROCESSES_H_
