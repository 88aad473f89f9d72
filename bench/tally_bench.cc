// The tally in process, without any display, against the reference reading
// loop run in turn with it in the same process.
//   tabulon_bench generate N FOLDER   writes a survey of N answer files
//   tabulon_bench tally FOLDER ROUNDS prints one line per round (after a
//                                     warm-up): "loop_ms tabulon_ms
//                                     locked_loop_ms tally_only_ms"
// The tally is what the tally button does without the display: the list of
// answer files read afresh, every file tallied, the results file written.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "answer_files.h"
#include "read_loop.h"
#include "support/null_listener.h"
#include "survey/questionnaire.h"
#include "survey/respondent_table.h"
#include "survey/results_csv.h"
#include "survey/tally.h"
#include "text/answer_file_list.h"

namespace tabulon::bench {
namespace {

double Milliseconds(void (*work)(void*), void* context) {
  const auto start = std::chrono::steady_clock::now();
  work(context);
  const std::chrono::duration<double, std::milli> spent =
      std::chrono::steady_clock::now() - start;
  return spent.count();
}

struct Tally {
  survey::Questionnaire questionnaire;
  text::AnswerFileList files;
  survey::ChoiceCounts counts;
  survey::RespondentTable table;
  // A display that does nothing: the calls still happen.
  test_support::NullListener listener;

  void Run() {
    RunWithoutResults();
    survey::WriteTallyResults(questionnaire, table);
  }
  void RunWithoutResults() {
    files.Refresh();
    survey::TallyAnswerFiles(files.Names(), counts, table, listener);
  }
};

int TimeTally(const char* folder, int rounds) {
  if (chdir(folder) != 0) {
    std::perror(folder);
    return 2;
  }
  Tally tally;
  tally.questionnaire = survey::LoadQuestionnaire();
  const auto loop = [](void*) {
    if (ReadEveryAnswerFile() < 0) std::exit(3);
  };
  const auto tabulon = [](void* t) { static_cast<Tally*>(t)->Run(); };
  const auto locked_loop = [](void*) {
    if (ReadEveryAnswerFileLocked() < 0) std::exit(3);
  };
  const auto tally_only = [](void* t) {
    static_cast<Tally*>(t)->RunWithoutResults();
  };
  loop(nullptr);  // warm-up: page cache, allocator, the results file
  tabulon(&tally);
  for (int round = 0; round < rounds; ++round) {
    const double reference = Milliseconds(loop, nullptr);
    const double ours = Milliseconds(tabulon, &tally);
    const double locked = Milliseconds(locked_loop, nullptr);
    const double without_results = Milliseconds(tally_only, &tally);
    std::printf("%.3f %.3f %.3f %.3f\n", reference, ours, locked,
                without_results);
  }
  return 0;
}

}  // namespace
}  // namespace tabulon::bench

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (argc == 4 && (mode == "generate" || mode == "--generate")) {
    tabulon::bench::WriteBenchSurvey(argv[3], std::atoi(argv[2]));
    return 0;
  }
  if (argc == 4 && mode == "tally") {
    return tabulon::bench::TimeTally(argv[2], std::atoi(argv[3]));
  }
  std::fprintf(stderr,
               "usage: tabulon_bench generate N FOLDER\n"
               "       tabulon_bench tally FOLDER ROUNDS\n");
  return 2;
}
