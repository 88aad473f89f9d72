// Putting a finished file in place under a name no file has yet, in one
// step: the way several programs share out numbered names in one folder
// without a check-then-write race and without ever showing half a file.
// Kept apart from the replacement protocol of files.h, which replaces.
#ifndef TABULON_PLATFORM_NEW_NAME_H_
#define TABULON_PLATFORM_NEW_NAME_H_

#include <string>

namespace tabulon::platform {

// The desktop's code for "a file of that name exists".
inline constexpr int kFileExists = 80;

// Renames the file `from` to `to` unless a file `to` exists, in which case
// nothing changes and kFileExists is returned. Never replaces; of two
// programs that race for one name exactly one wins. Names are the
// program's (CP932). 0 on success, else the desktop's error code.
int MoveToNewName(const std::string& from, const std::string& to);

}  // namespace tabulon::platform

#endif  // TABULON_PLATFORM_NEW_NAME_H_
