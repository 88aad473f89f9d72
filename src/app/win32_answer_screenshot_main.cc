// Renders the answer program's Win32 form, as started in the current
// folder, to a PNG: for the README's picture and for looking at it.
//   tabulon-answer_screenshot.exe OUT.png [filled]
#include <cstdio>
#include <string>

#include "answer/answer_layout.h"
#include "app/answer_example.h"
#include "gui/win32/win32_backend.h"
#include "platform/computer_name.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.png [filled]\n", argv[0]);
    return 2;
  }
  gui::Win32Backend backend;
  backend.AnswerBoxesUnattended(true);
  const survey::Questionnaire questionnaire = survey::LoadQuestionnaire();
  answer::AnswerWindow window(backend, questionnaire, platform::ComputerName(),
                              answer::SaveMode::kOnePupil);
  backend.Realise(window.Form());
  if (argc > 2 && std::string(argv[2]) == "filled") {
    app::FillInExample(window, questionnaire);
  }
  if (!backend.CaptureToPng(window.Form(), argv[1])) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
