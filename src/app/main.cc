// Tabulon: the tally sheet for a school questionnaire, run in the folder that
// holds "data.txt" and the pupils' answer files.
//   tabulon [--choose-folder] [--live] [FOLDER]   tabulon --help | --version
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "app/start_up.h"
#include "gui/qt/qt_backend.h"
#include "text/fixed_texts.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  // File names are spelt on disk in the locale's character set.
  std::setlocale(LC_CTYPE, "");
  // Read before any window exists: --help, --version and a bad folder need
  // no display, and a bad folder changes nothing.
  app::StartRequest request = app::PrepareStart(
      std::vector<std::string>(argv, argv + argc), app::Program::kTally);
  if (request.exit_now) return app::Finish(request);

  // The backend takes Qt's own start-up arguments (window placement and
  // state requests from the desktop). The title names the program in the
  // task bar and captions the error box.
  app::ExitOnFatalQtMessages();
  gui::QtBackend backend(argc, argv);
  backend.SetApplicationTitle(text::Text(text::FixedText::kApplicationTitle));
  if (request.choose_folder && request.folder.empty()) {
    const std::string folder =
        backend.ChooseFolder(text::Text(text::FixedText::kChooseFolderCaption));
    if (folder.empty()) return app::kExitSuccess;  // cancelled
    request.error = app::EnterFolder(folder);
    if (!request.error.empty()) {
      request.exit_status = app::kExitStartFailure;
      return app::Finish(request);
    }
  }
  // The window is created from its layout; FormCreate runs last and a
  // failure there is reported before the window first shows.
  window::TForm1 form1(backend);
  form1.Create();
  if (request.live) form1.Live().SetOn(true);
  // Closing the window ends the program at once, nothing saved.
  return backend.Run(form1.Form(), gui::ShowState::kNormal);
}
