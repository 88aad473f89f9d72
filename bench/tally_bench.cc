// Times the tally against its floor. For N answer files of a ten-question
// survey it measures (a) reading the files with ReadTextLines alone, (b)
// TallyAnswerFiles, (c) TallyAnswerFiles and WriteTallyResults, and prints
// each with the time per file and (c)/(a). Targets: (c)/(a) at most 1.5 at
// N = 10,000, and the time per file flat from 1,000 to 10,000.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "answer_files.h"
#include "bench_support.h"
#include "survey/questionnaire.h"
#include "survey/results_csv.h"
#include "survey/tally.h"
#include "text/textfile.h"

namespace tabulon::bench {
namespace {

// Does as little as a display could: keeps the calls from being optimised away.
class CountingListener : public survey::TallyListener {
 public:
  void ChoiceSectionDone(int, const survey::ChoiceCounts&) override { ++calls; }
  void TextAnswerFound(int, const std::string&) override { ++calls; }
  long calls = 0;
};

void Measure(int count) {
  BenchFolder folder;
  const std::vector<std::string> names = WriteBenchSurvey(folder.Path(), count);
  const survey::Questionnaire questionnaire = survey::LoadQuestionnaire();
  survey::ChoiceCounts counts;
  survey::RespondentTable table;
  CountingListener listener;
  std::size_t lines_read = 0;

  const auto read_only = [&] {
    for (const std::string& name : names)
      lines_read += text::ReadTextLines(name).size();
  };
  const auto tally = [&] {
    survey::TallyAnswerFiles(names, counts, table, listener);
  };
  const auto tally_and_write = [&] {
    survey::TallyAnswerFiles(names, counts, table, listener);
    survey::WriteTallyResults(questionnaire, table,
                              static_cast<int>(table.size()));
  };

  tally_and_write();  // warms the page cache and the allocator
  std::vector<double> a, b, c;
  for (int round = 0; round < kRounds; ++round) {
    a.push_back(Milliseconds(read_only));
    b.push_back(Milliseconds(tally));
    c.push_back(Milliseconds(tally_and_write));
  }
  const double ma = Median(a), mb = Median(b), mc = Median(c);
  std::printf("%6d  %10.2f %10.2f %10.2f   %8.2f %8.2f %8.2f   %6.2f\n", count,
              ma, mb, mc, 1000 * ma / count, 1000 * mb / count,
              1000 * mc / count, mc / ma);
  if (lines_read == 0 || listener.calls == 0 || counts.At(1, 1) == 0)
    std::printf("(nothing read?)\n");
}

}  // namespace
}  // namespace tabulon::bench

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--generate") {
    tabulon::bench::WriteBenchSurvey(argv[3], std::atoi(argv[2]));
    return 0;
  }
  std::printf(
      "median of %d rounds; (a) ReadTextLines only, (b) TallyAnswerFiles,\n"
      "(c) TallyAnswerFiles + WriteTallyResults\n\n",
      tabulon::bench::kRounds);
  std::printf(
      "     N     (a) ms     (b) ms     (c) ms   (a) us/f (b) us/f (c) us/f  "
      "(c)/(a)\n");
  for (int count : {100, 1000, 10000}) tabulon::bench::Measure(count);
  return 0;
}
