// tabulon-answer.exe: the pupils' side of a questionnaire on Windows,
// started on (or copied into) the folder that holds "data.txt".
//   tabulon-answer.exe [--each-pupil] [FOLDER]    --help | --version
// A program without a console says what it has to say in a message box.
#include <windows.h>

#include "answer/answer_window.h"
#include "app/win32_start_up.h"
#include "gui/win32/win32_backend.h"
#include "text/fixed_texts.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tabulon;
  // A pupil never picks a folder: the program works where it was started.
  const app::StartRequest request =
      app::PrepareStart(GetCommandLineW(), app::Program::kAnswer,
                        [] { return gui::win32::FolderChoice{}; });
  if (request.exit_now) return app::ShowAndExit(request);
  gui::Win32Backend backend;
  backend.SetApplicationTitle(text::Text(text::FixedText::kApplicationTitle));
  return answer::RunAnswerProgram(backend, request.each_pupil
                                               ? answer::SaveMode::kEachPupil
                                               : answer::SaveMode::kOnePupil);
}
