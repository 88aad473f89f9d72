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
  // Tally again by itself whenever the answer files change.
  bool live = false;
};

// One option of the program's own (beyond --help and --version).
struct StartOption {
  std::string_view name;  // after "--"
  std::string_view help;
};

inline constexpr StartOption kChooseFolderOption = {
    "choose-folder",
    "Ask for the folder with the desktop's folder dialog first, unless "
    "FOLDER is given. Cancelling the dialog ends the program."};
inline constexpr StartOption kLiveOption = {
    "live", "Tally again by itself whenever the answer files change."};
inline constexpr StartOption kStartOptions[] = {kChooseFolderOption,
                                                kLiveOption};

inline constexpr std::string_view kFolderArgument = "FOLDER";
inline constexpr std::string_view kFolderHelp =
    "The folder to work in (default: the current folder). It must exist.";
inline constexpr std::string_view kProgramDescription =
    "Tabulon: the tally sheet for a school questionnaire. It works on one\n"
    "folder, which holds data.txt (the questionnaire) and the pupils'\n"
    "answer files (*.ans), and writes the results file there.";

// The help, the same on every platform.
std::string HelpText();
// "tabulon VERSION\n".
std::string VersionText();

// Requests that end the program before any window exists.
StartRequest ExitWith(int status, std::string output, std::string error);
// A command line that cannot be read: `what` and where to find help.
StartRequest UsageError(std::string_view what);
// The message for a folder that cannot be entered, and why (the system's
// own words).
std::string FolderFailure(std::string_view folder, std::string_view reason);

}  // namespace tabulon::app

#endif  // TABULON_APP_START_OPTIONS_H_
