// What the Linux program does before its window exists: reads the command
// line with Qt's parser (so --help and --version work without a display),
// enters the folder it was given, and turns Qt's "no display" abort into a
// plain failure.
#ifndef TABULON_APP_START_UP_H_
#define TABULON_APP_START_UP_H_

#include <string>
#include <vector>

#include "app/start_options.h"

namespace tabulon::app {

// Reads the arguments (argv[0] first). Qt's own start-up arguments
// (-platform, -display, -geometry, -style ...) are accepted and left for
// Qt; they never make the command line fail.
StartRequest ReadCommandLine(const std::vector<std::string>& arguments,
                             Program program = Program::kTally);

// The start-up before the window: reads the arguments and enters the folder
// given. A request with exit_now set means: Finish with it (help, version,
// a bad command line, a folder that cannot be entered).
StartRequest PrepareStart(const std::vector<std::string>& arguments,
                          Program program);

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
