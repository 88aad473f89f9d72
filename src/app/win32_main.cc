// Tabulon for Windows: one tabulon.exe, started in (or copied into) the
// folder that holds "data.txt" and the pupils' answer files.
#include <windows.h>

#include "gui/win32/win32_backend.h"
#include "text/fixed_texts.h"
#include "window/main_window.h"

namespace {

// How the command that started the program asked the window to open: a
// shortcut set to "maximised" or to "minimised" asks so; anything else
// opens the window normally.
tabulon::gui::ShowState ShowStateFor(int show_command) {
  if (show_command == SW_SHOWMAXIMIZED)
    return tabulon::gui::ShowState::kMaximised;
  if (show_command == SW_SHOWMINNOACTIVE)
    return tabulon::gui::ShowState::kMinimisedNoActivate;
  return tabulon::gui::ShowState::kNormal;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show_command) {
  using namespace tabulon;
  gui::Win32Backend backend;
  backend.SetApplicationTitle(text::Text(text::FixedText::kApplicationTitle));
  // The window is created from its layout; FormCreate runs last and a
  // failure there is reported before the window first shows.
  window::TForm1 form1(backend);
  form1.Create();
  // Closing the window ends the program at once, nothing saved.
  return backend.Run(form1.Form(), ShowStateFor(show_command));
}
