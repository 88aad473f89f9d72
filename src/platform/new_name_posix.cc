#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include "platform/errno_codes.h"
#include "platform/fault_seam.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/new_name.h"

namespace tabulon::platform {
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
  if (int fault = TakeFault(FileOperation::kRename)) return fault;
  const std::string disk_from = FileSystemName(from);
  const std::string disk_to = FileSystemName(to);
  if (renameat2(AT_FDCWD, disk_from.c_str(), AT_FDCWD, disk_to.c_str(),
                RENAME_NOREPLACE) == 0) {
    return kNoError;
  }
  if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) {
    return LinkThenUnlink(disk_from, disk_to);
  }
  return CodeOf(errno);
}

}  // namespace tabulon::platform
