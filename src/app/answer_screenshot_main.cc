// Renders the answer program's form, as started in the current folder, to a
// PNG without a screen: for the README's picture and for looking at it.
//   tabulon-answer_screenshot OUT.png [filled] [save]
// "filled" fills in an example pupil's answers; "save" then presses the save
// button (its boxes answered at once and printed on stderr).
#include <QAbstractButton>
#include <clocale>
#include <cstdio>
#include <string>

#include "answer/answer_layout.h"
#include "app/answer_example.h"
#include "gui/qt/qt_backend.h"
#include "platform/computer_name.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  std::setlocale(LC_CTYPE, "");
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.png [filled] [save]\n", argv[0]);
    return 2;
  }
  int qt_argc = 1;
  gui::QtBackend backend(qt_argc, argv);
  backend.AnswerBoxesUnattended(true);
  const survey::Questionnaire questionnaire = survey::LoadQuestionnaire();
  answer::AnswerWindow window(backend, questionnaire, platform::ComputerName(),
                              answer::SaveMode::kOnePupil);
  backend.Realise(window.Form());
  for (int i = 2; i < argc; ++i) {
    const std::string press = argv[i];
    if (press == "filled") app::FillInExample(window, questionnaire);
    if (press == "save") {
      // Through the button's own widget, as a click reaches it.
      backend.Sync(window.Form());
      static_cast<QAbstractButton*>(
          backend.WidgetOf(window.Form()[answer::kSaveButtonName]))
          ->click();
    }
  }
  if (!backend.RenderToPng(window.Form(), argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
