// Times the window on a folder in process, offscreen: a press of the tally
// button (its lists filled), the first paint of the window after it, then
// repaints of the whole window. Prints "TALLY_AND_PAINT_MS REPAINT_MS
// TALLY_MS" (the repaint the median of several).
//   list_paint_bench FOLDER
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "gui/qt/qt_backend.h"
#include "window/main_window.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tabulon;
  if (argc != 2 || chdir(argv[1]) != 0) {
    std::fprintf(stderr, "usage: list_paint_bench FOLDER\n");
    return 2;
  }
  int qt_argc = 1;
  gui::QtBackend backend(qt_argc, argv);
  backend.AnswerBoxesUnattended(true);
  window::TForm1 form1(backend);
  form1.Create();
  backend.Realise(form1.Form());
  backend.Render(form1.Form());  // fonts and caches, as a shown window has

  const auto start = std::chrono::steady_clock::now();
  gui::RunHandler(backend, form1.Form(), form1.Form()["Button1"].on_click);
  const double tally = MillisecondsSince(start);
  backend.Render(form1.Form());
  const double first = MillisecondsSince(start);

  std::vector<double> repaints;
  for (int i = 0; i < 7; ++i) {
    const auto again = std::chrono::steady_clock::now();
    backend.Render(form1.Form());
    repaints.push_back(MillisecondsSince(again));
  }
  std::sort(repaints.begin(), repaints.end());
  std::printf("%.2f %.2f %.2f\n", first, repaints[repaints.size() / 2], tally);
  return 0;
}
