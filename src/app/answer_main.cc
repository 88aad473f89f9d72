// tabulon-answer: the pupils' side of a questionnaire, started in the folder
// that holds "data.txt"; saves the answers there for the tally.
//   tabulon-answer [--each-pupil] [FOLDER]    tabulon-answer --help | --version
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "answer/answer_window.h"
#include "app/start_up.h"
#include "gui/qt/qt_backend.h"
#include "text/fixed_texts.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  std::setlocale(LC_CTYPE, "");
  const app::StartRequest request = app::PrepareStart(
      std::vector<std::string>(argv, argv + argc), app::Program::kAnswer);
  if (request.exit_now) return app::Finish(request);
  app::ExitOnFatalQtMessages();
  gui::QtBackend backend(argc, argv);
  backend.SetApplicationTitle(text::Text(text::FixedText::kApplicationTitle));
  return answer::RunAnswerProgram(backend, request.each_pupil
                                               ? answer::SaveMode::kEachPupil
                                               : answer::SaveMode::kOnePupil);
}
