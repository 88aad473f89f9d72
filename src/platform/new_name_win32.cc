#include <windows.h>

#include "platform/files.h"
#include "platform/files_primitives.h"
#include "platform/new_name.h"

namespace tabulon::platform::native {

int MoveToNewName(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING the system refuses an existing name
  // in the same step as the rename, also on a network share.
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
    return kNoError;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
    return kFileExists;
  }
  return static_cast<int>(error);
}

}  // namespace tabulon::platform::native
