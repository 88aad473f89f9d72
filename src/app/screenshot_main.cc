// Renders Tabulon's window, as started in the current folder, to a PNG
// without a screen: for the README's picture and for looking at changes.
//   tabulon_screenshot OUT.png [tally] [enlarged] [next...]
// Each word after the path presses a button first, in order.
#include <cstdio>
#include <map>
#include <string>

#include "gui/qt/qt_backend.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: %s OUT.png [tally|enlarged|next|previous|erase]...\n",
                 argv[0]);
    return 2;
  }
  const std::map<std::string, std::string> kPresses{{"tally", "Button1"},
                                                    {"enlarged", "Button3"},
                                                    {"overview", "Button3"},
                                                    {"next", "Button5"},
                                                    {"previous", "Button4"}};
  int qt_argc = 1;
  gui::QtBackend backend(qt_argc, argv);
  window::TForm1 form1(backend);
  form1.Create();
  backend.Realise(form1.Form());
  for (int i = 2; i < argc; ++i) {
    auto press = kPresses.find(argv[i]);
    if (press == kPresses.end()) {
      std::fprintf(stderr, "unknown press: %s\n", argv[i]);
      return 2;
    }
    gui::Control& button = form1.Form()[press->second];
    gui::RunHandler(backend, form1.Form(), button.on_click);
  }
  if (!backend.RenderToPng(form1.Form(), argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
