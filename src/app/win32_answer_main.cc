// tabulon-answer.exe: the pupils' side of a questionnaire on Windows,
// started in (or copied into) the folder that holds "data.txt".
//   tabulon-answer.exe [--each-pupil] [FOLDER]    --help | --version
// A program without a console says what it has to say in a message box.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "answer/answer_window.h"
#include "gui/win32/win32_backend.h"
#include "text/fixed_texts.h"

namespace {

constexpr char kName[] = "tabulon-answer";
constexpr int kStartFailure = 2;

constexpr char kUsage[] =
    "tabulon-answer [--each-pupil] [FOLDER]\r\n\r\n"
    "Shows the questionnaire of FOLDER\\data.txt (default: the current "
    "folder) as a form and saves the answers there as <computer name>.ans "
    "for the tally.\r\n\r\n"
    "--each-pupil  Several pupils answer in turn at this computer: each "
    "save writes <computer name>-<k>.ans with the next free k and clears "
    "the form.\r\n"
    "--help, --version";

int Say(const std::string& text, UINT icon, int status) {
  MessageBoxA(nullptr, text.c_str(), kName, MB_OK | icon);
  return status;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tabulon;
  bool each_pupil = false;
  std::string folder;
  for (int i = 1; i < __argc; ++i) {
    const std::string argument = __argv[i];
    if (argument == "--help" || argument == "/?") {
      return Say(kUsage, MB_ICONINFORMATION, 0);
    }
    if (argument == "--version") {
      return Say(std::string(kName) + " " TABULON_VERSION, MB_ICONINFORMATION,
                 0);
    }
    if (argument == "--each-pupil") {
      each_pupil = true;
    } else if (argument.starts_with("-") || !folder.empty()) {
      return Say("Unknown or extra argument: " + argument + "\r\n\r\n" + kUsage,
                 MB_ICONSTOP, kStartFailure);
    } else {
      folder = argument;
    }
  }
  if (!folder.empty() && !SetCurrentDirectoryA(folder.c_str())) {
    return Say("Cannot work in the folder \"" + folder + "\".", MB_ICONSTOP,
               kStartFailure);
  }
  gui::Win32Backend backend;
  backend.SetApplicationTitle(text::Text(text::FixedText::kApplicationTitle));
  return answer::RunAnswerProgram(backend, each_pupil
                                               ? answer::SaveMode::kEachPupil
                                               : answer::SaveMode::kOnePupil);
}
