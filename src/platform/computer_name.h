// The name of the computer the program runs on, as the desktop names it:
// the answer program files every pupil's answers under it.
#ifndef TABULON_PLATFORM_COMPUTER_NAME_H_
#define TABULON_PLATFORM_COMPUTER_NAME_H_

#include <string>

namespace tabulon::platform {

// CP932 bytes: the system's computer name on Windows; elsewhere the host
// name up to its first dot. Empty when the system gives none.
std::string ComputerName();

}  // namespace tabulon::platform

#endif  // TABULON_PLATFORM_COMPUTER_NAME_H_
