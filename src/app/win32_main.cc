// Tabulon for Windows: one tabulon.exe, started on the folder that holds
// "data.txt" and the pupils' answer files (dropped onto the program or its
// shortcut, or named in the shortcut's target), or in that folder.
//   tabulon.exe [--choose-folder] [--live] [FOLDER]   tabulon.exe --help
#include <windows.h>

#include "app/win32_start_up.h"
#include "gui/win32/win32_backend.h"
#include "gui/win32/win32_folder_dialog.h"
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

tabulon::gui::win32::FolderChoice ChooseFolder() {
  using tabulon::text::FixedText;
  return tabulon::gui::win32::ChooseFolder(
      tabulon::text::Text(FixedText::kChooseFolderCaption));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show_command) {
  using namespace tabulon;
  // The folder is entered before the window exists; what ends the program
  // here (help, a folder that cannot be used) is said in a box.
  const app::StartRequest request =
      app::PrepareStart(GetCommandLineW(), app::Program::kTally, ChooseFolder);
  if (request.exit_now) return app::ShowAndExit(request);
  gui::Win32Backend backend;
  backend.SetApplicationTitle(text::Text(text::FixedText::kApplicationTitle));
  // The window is created from its layout; FormCreate runs last and a
  // failure there is reported before the window first shows.
  window::TForm1 form1(backend);
  form1.Create();
  if (request.live) form1.Live().SetOn(true);
  // Closing the window ends the program at once, nothing saved.
  return backend.Run(form1.Form(), ShowStateFor(show_command));
}
