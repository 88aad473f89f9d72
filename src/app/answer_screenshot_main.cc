// Renders the answer program's form, as started in the current folder, to a
// PNG without anybody at the screen: for the README's pictures and for
// looking at it. One main for every backend, as for the tally window.
//   tabulon-answer_screenshot OUT.png [filled] [save]
// "filled" fills in an example pupil's answers; "save" then presses the save
// button (its boxes answered at once and printed on stderr).
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

#include "answer/answer_layout.h"
#include "app/answer_example.h"
#include "gui/backend.h"
#include "platform/computer_name.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  std::setlocale(LC_CTYPE, "");  // file names as the program spells them
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.png [filled] [save]\n", argv[0]);
    return 2;
  }
  int backend_argc = 1;  // the presses are not the desktop's arguments
  const std::unique_ptr<gui::Backend> backend =
      gui::NewDesktopBackend(backend_argc, argv);
  backend->AnswerBoxesUnattended(true);
  const survey::Questionnaire questionnaire = survey::LoadQuestionnaire();
  answer::AnswerWindow window(*backend, questionnaire, platform::ComputerName(),
                              answer::SaveMode::kOnePupil);
  backend->Realise(window.Form());
  for (int i = 2; i < argc; ++i) {
    const std::string press = argv[i];
    if (press == "filled") app::FillInExample(window, questionnaire);
    if (press == "save") {
      gui::RunHandler(*backend, window.Form(),
                      window.Form()[answer::kSaveButtonName].on_click);
    }
  }
  if (!backend->SaveScreenshot(window.Form(), argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
