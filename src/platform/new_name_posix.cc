#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "platform/errno_codes.h"
#include "platform/files.h"
#include "platform/files_primitives.h"
#include "platform/new_name.h"

namespace tabulon::platform::native {
namespace {

int CodeOf(int error_number) {
  return error_number == EEXIST ? kFileExists
                                : ErrorCodeFromErrno(error_number);
}

// For a file system that cannot rename without replacing (some network
// mounts): a hard link is made only under a free name, just as atomically.
int LinkThenUnlink(const std::string& from, const std::string& to) {
  if (link(from.c_str(), to.c_str()) != 0) return CodeOf(errno);
  unlink(from.c_str());
  return kNoError;
}

}  // namespace

int MoveToNewName(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(),
                RENAME_NOREPLACE) == 0) {
    return kNoError;
  }
  if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) {
    return LinkThenUnlink(from, to);
  }
  return CodeOf(errno);
}

}  // namespace tabulon::platform::native
