// Tabulon: the tally sheet for a school questionnaire, run in the folder that
// holds "data.txt" and the pupils' answer files.
#include <clocale>

#include "gui/qt/qt_backend.h"
#include "text/fixed_texts.h"
#include "window/main_window.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  // File names are spelt on disk in the locale's character set.
  std::setlocale(LC_CTYPE, "");
  // The backend takes Qt's own start-up arguments (window placement and
  // state requests from the desktop); Tabulon reads no others. The title
  // names the program in the task bar and captions the error box.
  gui::QtBackend backend(argc, argv);
  backend.SetApplicationTitle(text::Text(text::FixedText::kApplicationTitle));
  // The window is created from its layout; FormCreate runs last and a
  // failure there is reported before the window first shows.
  window::TForm1 form1(backend);
  form1.Create();
  // Closing the window ends the program at once, nothing saved.
  return backend.Run(form1.Form(), gui::ShowState::kNormal);
}
