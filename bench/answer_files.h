// Writes a survey for benchmarks: "data.txt" and N answer files shaped like
// a class's real answers (the sample survey's seven questions, about 230
// bytes a file).
#ifndef TABULON_BENCH_ANSWER_FILES_H_
#define TABULON_BENCH_ANSWER_FILES_H_

#include <filesystem>
#include <string>
#include <vector>

namespace tabulon::bench {

// Writes "data.txt" and `count` answer files into `folder` (which must
// exist) and returns the answer files' names in list order.
std::vector<std::string> WriteBenchSurvey(const std::filesystem::path& folder,
                                          int count);

}  // namespace tabulon::bench

#endif  // TABULON_BENCH_ANSWER_FILES_H_
