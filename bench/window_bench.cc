// Times the tally button end to end against the bare tally. For N answer
// files it measures (a) TallyAnswerFiles + WriteTallyResults alone, (b)
// Button1Click through the handler guard on the headless backend, (c) the
// same on the Qt backend offscreen, whose widgets are brought up to date
// once, after the handler. Target: (c)/(a) at most 1.5 at N = 10,000.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "answer_files.h"
#include "bench_support.h"
#include "gui/headless_backend.h"
#include "gui/qt/qt_backend.h"
#include "survey/questionnaire.h"
#include "survey/results_csv.h"
#include "survey/tally.h"
#include "window/main_window.h"

namespace tabulon::bench {
namespace {

class NullListener : public survey::TallyListener {
 public:
  void ChoiceSectionDone(int, const survey::ChoiceCounts&) override {}
  void TextAnswerFound(int, const std::string&) override {}
};

// The tally button of a started window, pressed as a user presses it.
double PressTally(gui::Backend& backend, bool realise) {
  window::TForm1 window(backend);
  window.Create();
  if (realise) backend.Realise(window.Form());
  gui::Control& button = window.Form()["Button1"];
  gui::RunHandler(backend, window.Form(), button.on_click);  // warm-up
  std::vector<double> rounds;
  for (int round = 0; round < kRounds; ++round) {
    rounds.push_back(Milliseconds(
        [&] { gui::RunHandler(backend, window.Form(), button.on_click); }));
  }
  if (window.Form()["Lbln11"].Caption().empty())
    std::printf("(nothing tallied?)\n");
  return Median(rounds);
}

void Measure(int count) {
  BenchFolder folder;
  const std::vector<std::string> names = WriteBenchSurvey(folder.Path(), count);
  const survey::Questionnaire questionnaire = survey::LoadQuestionnaire();
  survey::ChoiceCounts counts;
  survey::RespondentTable table;
  NullListener listener;
  const auto bare = [&] {
    survey::TallyAnswerFiles(names, counts, table, listener);
    survey::WriteTallyResults(questionnaire, table,
                              static_cast<int>(table.size()));
  };
  bare();
  std::vector<double> rounds;
  for (int round = 0; round < kRounds; ++round)
    rounds.push_back(Milliseconds(bare));
  const double a = Median(rounds);

  gui::HeadlessBackend headless;
  const double b = PressTally(headless, false);
  gui::QtBackend qt;
  const double c = PressTally(qt, true);
  std::printf("%6d  %10.2f %10.2f %10.2f   %6.2f %6.2f\n", count, a, b, c,
              b / a, c / a);
}

}  // namespace
}  // namespace tabulon::bench

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::printf(
      "median of %d rounds; (a) tally + results file, (b) Button1Click "
      "headless,\n"
      "(c) Button1Click on Qt offscreen, screen brought up to date once\n\n",
      tabulon::bench::kRounds);
  std::printf("     N      (a) ms     (b) ms     (c) ms  (b)/(a) (c)/(a)\n");
  for (int count : {1000, 10000}) tabulon::bench::Measure(count);
  return 0;
}
