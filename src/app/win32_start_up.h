// What tabulon.exe does before its window exists: reads the command line
// as the system splits it, enters the folder it was given or the one the
// teacher picks, and says in a box what a console program would print.
#ifndef TABULON_APP_WIN32_START_UP_H_
#define TABULON_APP_WIN32_START_UP_H_

#include <functional>
#include <string>

#include "app/start_options.h"
#include "gui/win32/win32_folder_dialog.h"

namespace tabulon::app {

// Reads a command line as the system gives it (GetCommandLineW): split by
// the system's rules, program name first, each argument turned into code
// page 932. A folder keeps its own name too, for entering it.
StartRequest ReadCommandLine(const wchar_t* command_line,
                             Program program = Program::kTally);

// Makes the request's folder current by its own name, so a folder whose
// name code page 932 cannot hold is entered all the same; on failure the
// message with the system's reason (CP932), and nothing changed.
std::string EnterFolder(const StartRequest& request,
                        Program program = Program::kTally);

// Asks for a folder (the system's dialog, or a test's stand-in).
using FolderChooser = std::function<gui::win32::FolderChoice()>;

// The whole start-up before the window: reads `command_line`, asks
// `choose` for the folder if so requested and none is given (the answer
// program never asks), and enters the folder. A request with exit_now set
// means: show it and end with its status (a folder that cannot be entered
// or a dialog that fails: status 2 and the reason; cancelling the dialog:
// status 0, nothing to say).
StartRequest PrepareStart(const wchar_t* command_line, Program program,
                          const FolderChooser& choose);

// Shows what the request has to say in a box captioned "Tabulon" (there is
// no console) and gives its exit status.
int ShowAndExit(const StartRequest& request);

}  // namespace tabulon::app

#endif  // TABULON_APP_WIN32_START_UP_H_
