// Renders Tabulon's window, as started in the current folder, to a PNG
// without a screen: for the README's picture and for looking at changes.
//   tabulon_screenshot OUT.png [PRESS...]
// Each press clicks a button first, in order. Nobody sees the window, so a
// message box is answered at once as Enter would answer it (the stop box:
// OK; the erase confirmation: yes) and printed on stderr.
#include <clocale>
#include <cstdio>
#include <map>
#include <string>

#include "gui/qt/qt_backend.h"
#include "window/main_window.h"

namespace {

const std::map<std::string, std::string> kPresses{
    {"tally", "Button1"},    {"erase", "Button2"},    {"enlarged", "Button3"},
    {"overview", "Button3"}, {"previous", "Button4"}, {"next", "Button5"}};

std::string PressNames() {
  std::string names;
  for (const auto& [name, button] : kPresses) {
    names += (names.empty() ? "" : "|") + name;
  }
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tabulon;
  std::setlocale(LC_CTYPE, "");  // file names as the program spells them
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.png [%s]...\n", argv[0],
                 PressNames().c_str());
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    if (kPresses.count(argv[i]) == 0) {
      std::fprintf(stderr, "unknown press: %s (known: %s)\n", argv[i],
                   PressNames().c_str());
      return 2;
    }
  }
  int qt_argc = 1;
  gui::QtBackend backend(qt_argc, argv);
  backend.AnswerBoxesUnattended(true);
  window::TForm1 form1(backend);
  form1.Create();
  backend.Realise(form1.Form());
  for (int i = 2; i < argc; ++i) {
    gui::Control& button = form1.Form()[kPresses.at(argv[i])];
    gui::RunHandler(backend, form1.Form(), button.on_click);
  }
  if (!backend.RenderToPng(form1.Form(), argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
