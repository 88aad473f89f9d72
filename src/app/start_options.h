// The program's command line, described once for every platform: its
// options and their help, the texts it prints or shows, and what a reading
// of it asks for. Each platform reads its own command line with its own
// service (Qt's parser on Linux; the system's splitting on Windows) into
// the same StartRequest.
#ifndef TABULON_APP_START_OPTIONS_H_
#define TABULON_APP_START_OPTIONS_H_

#include <string>
#include <string_view>

namespace tabulon::app {

// Exit statuses of the start-up.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitStartFailure = 2;  // bad usage, folder, display

// The two programs' command lines differ in their name, description and
// one option: the tally's --choose-folder and --live, the answer program's
// --each-pupil.
enum class Program { kTally, kAnswer };

struct StartRequest {
  // Print (or, on Windows, show) `output`, or `error` on failure, then exit
  // with `exit_status` without opening a window.
  bool exit_now = false;
  int exit_status = kExitSuccess;
  std::string output;
  std::string error;
  // The folder to work in, as given: the file system's bytes on Linux,
  // code page 932 on Windows (where a character it cannot hold shows as
  // "?"; the folder is entered by `unicode_folder`). Empty: the current
  // folder.
  std::string folder;
  std::wstring unicode_folder;  // Windows only: the folder's own name
  // Ask for the folder with the desktop's folder dialog when none is given.
  bool choose_folder = false;
  // Tally again by itself whenever answer files arrive (live results).
  bool live = false;
  // The answer program: several pupils answer in turn at this computer.
  bool each_pupil = false;
};

// One option of a program's own (beyond --help and --version), and what it
// sets in the request.
struct StartOption {
  Program program;
  std::string_view name;  // after "--"
  std::string_view help;
  bool StartRequest::*sets;
};

inline constexpr StartOption kStartOptions[] = {
    {Program::kTally, "choose-folder",
     "Ask for the folder with the desktop's folder dialog first, unless "
     "FOLDER is given. Cancelling the dialog ends the program.",
     &StartRequest::choose_folder},
    {Program::kTally, "live",
     "Tally again by itself whenever answer files arrive in the folder and "
     "it has then been quiet for a second (live results; the window's "
     "context menu turns them off and on).",
     &StartRequest::live},
    {Program::kAnswer, "each-pupil",
     "Several pupils answer in turn at this computer: each save writes "
     "<computer name>-<k>.ans with the next free k and clears the form.",
     &StartRequest::each_pupil},
};

// The option `name` of `program`, or none.
const StartOption* FindOption(Program program, std::string_view name);

inline constexpr std::string_view kFolderArgument = "FOLDER";
inline constexpr std::string_view kFolderHelp =
    "The folder to work in (default: the current folder). It must exist.";

// "tabulon" or "tabulon-answer".
std::string_view NameOf(Program program);

// The help, the same on every platform.
std::string HelpText(Program program);
// "tabulon VERSION\n".
std::string VersionText(Program program);

// Requests that end the program before any window exists.
StartRequest ExitWith(int status, std::string output, std::string error);
// A command line that cannot be read: `what` and where to find help.
StartRequest UsageError(Program program, std::string_view what);
// The message for a folder that cannot be entered, and why (the system's
// own words).
std::string FolderFailure(Program program, std::string_view folder,
                          std::string_view reason);

}  // namespace tabulon::app

#endif  // TABULON_APP_START_OPTIONS_H_
