// Renders Tabulon's window, as started in the current folder, to a PNG
// without anybody at the screen: for the README's pictures and for looking
// at changes. Qt draws it offscreen (the client area); Win32 shows it, under
// Wine on a virtual display, and reads it back frame and all.
//   tabulon_screenshot OUT.png [PRESS...]
// Each press clicks a button first, in order. Nobody sees the window, so a
// message box is answered at once as Enter would answer it (the stop box:
// OK; the erase confirmation: yes) and printed on stderr.
#include <clocale>
#include <cstdio>
#include <memory>

#include "app/presses.h"
#include "gui/backend.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  std::setlocale(LC_CTYPE, "");  // file names as the program spells them
  if (int status = app::CheckPresses(argc, argv)) return status;
  int backend_argc = 1;  // the presses are not the desktop's arguments
  const std::unique_ptr<gui::Backend> backend =
      gui::NewDesktopBackend(backend_argc, argv);
  backend->AnswerBoxesUnattended(true);
  window::TForm1 form1(*backend);
  form1.Create();
  backend->Realise(form1.Form());
  app::Press(*backend, form1, argc, argv);
  if (!backend->SaveScreenshot(form1.Form(), argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
