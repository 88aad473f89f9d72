// What the program does before its window exists: reads the command line
// (so --help and --version work without a display), enters the folder it
// was given, and turns Qt's "no display" abort into a plain failure.
#ifndef TABULON_APP_START_UP_H_
#define TABULON_APP_START_UP_H_

#include <string>
#include <vector>

namespace tabulon::app {

// Exit statuses of the start-up.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitStartFailure = 2;  // bad usage, folder, display

// The two programs' command lines differ in their name, description and
// one option: the tally's --choose-folder, the answer program's
// --each-pupil.
enum class Program { kTally, kAnswer };

struct StartRequest {
  // Print `output` on stdout and `error` on stderr, then exit with
  // `exit_status` without opening a window.
  bool exit_now = false;
  int exit_status = kExitSuccess;
  std::string output;
  std::string error;
  // The folder to work in, as given (file system bytes); empty: the current
  // folder.
  std::string folder;
  // Ask for the folder with the desktop's folder dialog when none is given.
  bool choose_folder = false;
  // Tally again by itself whenever answer files arrive (live results).
  bool live = false;
  // The answer program: several pupils answer in turn at this computer.
  bool each_pupil = false;
};

// Reads the arguments (argv[0] first). Qt's own start-up arguments
// (-platform, -display, -geometry, -style ...) are accepted and left for
// Qt; they never make the command line fail.
StartRequest ReadCommandLine(const std::vector<std::string>& arguments,
                             Program program = Program::kTally);

// Prints the request's output on stdout and its error on stderr, and gives
// its exit status: how a program ends when the start-up says so.
int Finish(const StartRequest& request);

// Makes `folder` the current folder; on failure the message for stderr
// (and nothing changed), else empty.
std::string EnterFolder(const std::string& folder,
                        Program program = Program::kTally);

// From here on a fatal Qt message (no display could be opened, no platform
// plugin) ends the process with the message and kExitStartFailure rather
// than an abort and a core dump.
void ExitOnFatalQtMessages();

}  // namespace tabulon::app

#endif  // TABULON_APP_START_UP_H_
