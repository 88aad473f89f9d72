// Shows Tabulon's window for Windows, as started in the current folder, and
// saves it (frame and all) as a PNG: for the README's picture, under Wine
// on a virtual display.
//   tabulon_screenshot OUT.png [PRESS...]
// Each press clicks a button first, in order. A message box is answered at
// once as Enter would answer it and printed on stderr.
#include <cstdio>

#include "app/presses.h"
#include "gui/win32/win32_backend.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  if (int status = app::CheckPresses(argc, argv)) return status;
  gui::Win32Backend backend;
  backend.AnswerBoxesUnattended(true);
  window::TForm1 form1(backend);
  form1.Create();
  backend.Realise(form1.Form());
  app::Press(backend, form1, argc, argv);
  if (!backend.CaptureToPng(form1.Form(), argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
