// The file primitives on POSIX: open-file-description locks stand in for
// the desktop's share modes, errno values become the desktop's codes, and
// names are spelt on disk in the locale's character set.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <utility>

#include "platform/errno_codes.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "platform/files_primitives.h"

namespace tabulon::platform {
namespace {

// The folder part of a bare or relative name, "." when it has none.
std::string FolderOf(const std::string& name) {
  size_t slash = name.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return name.substr(0, slash);
}

std::string LastPartOf(const std::string& name) {
  size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool IsFolder(const std::string& name) {
  struct stat info;
  return stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The code for a failed open of `name`: a missing folder in the name is a
// missing path (3), not a missing file.
int OpenErrorCode(int error_number, const std::string& name) {
  if (error_number == ENOENT && !IsFolder(FolderOf(name))) {
    return kPathNotFound;
  }
  return ErrorCodeFromErrno(error_number);
}

// The read-only attribute of the desktop: no write permission bit at all.
bool IsReadOnly(const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Takes a whole-file open-file-description lock without waiting.
int Lock(int fd, short type) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return kNoError;
  if (errno == EAGAIN || errno == EACCES) return kSharingViolation;
  return ErrorCodeFromErrno(errno);
}

// True when some other open description holds a lock on the file.
bool IsLockedByOther(int fd) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  return fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

void CloseQuietly(int& fd) {
  if (fd < 0) return;
  close(fd);
  fd = -1;
}

// Opens `name` with `flags` and the lock of `lock_type`; on failure nothing
// stays open. Directories are denied as the desktop denies them. `size` is
// the file's size once it is open.
int OpenLocked(const std::string& name, int flags, short lock_type, int& fd,
               std::int64_t& size) {
  // Not blocking: a named pipe put where a file should be must not hang the
  // program; it is refused below like a folder. The flag stays on: reading
  // and writing a regular file never wait on it, and the lock is taken
  // without waiting anyway.
  fd = open(name.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return OpenErrorCode(errno, name);
  struct stat info;
  int code = kNoError;
  if (fstat(fd, &info) != 0) {
    code = ErrorCodeFromErrno(errno);
  } else if (!S_ISREG(info.st_mode)) {
    code = kAccessDenied;
  } else {
    code = Lock(fd, lock_type);
  }
  if (code != kNoError) {
    CloseQuietly(fd);
    return code;
  }
  size = static_cast<std::int64_t>(info.st_size);
  return kNoError;
}

// The code of a system call's result: 0 is success, -1 tells errno.
int CodeOf(int result) {
  return result == 0 ? kNoError : ErrorCodeFromErrno(errno);
}

}  // namespace

int ErrorCodeFromErrno(int error_number) {
  switch (error_number) {
    case 0:
      return kNoError;
    case ENOENT:
      return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
      return kPathNotFound;
    case EMFILE:
    case ENFILE:
      return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return kAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return kDiskFull;
    default:
      return error_number;
  }
}

namespace native {

const int kNameTaken = EEXIST;

std::string SystemName(const std::string& program_name) {
  return FileSystemName(program_name);
}

int CheckWritable(const std::string& name, bool& exists) {
  struct stat info;
  exists = stat(name.c_str(), &info) == 0;
  if (!exists) return kNoError;  // open will tell
  if (!S_ISREG(info.st_mode) || IsReadOnly(info)) return kAccessDenied;
  return kNoError;
}

int Open(const std::string& name, Access access, Handle& handle,
         std::int64_t& size) {
  int fd = -1;
  int code = kNoError;
  switch (access) {
    case Access::kRead:
      code = OpenLocked(name, O_RDONLY, F_RDLCK, fd, size);
      break;
    case Access::kWrite:
      // No O_TRUNC: the file is emptied only once the lock is ours.
      code = OpenLocked(name, O_WRONLY | O_CREAT, F_WRLCK, fd, size);
      if (code == kNoError && ftruncate(fd, 0) != 0) {
        code = ErrorCodeFromErrno(errno);
        CloseQuietly(fd);
      }
      size = 0;
      break;
    case Access::kHold:
      code = OpenLocked(name, O_WRONLY, F_WRLCK, fd, size);
      break;
  }
  handle = fd;
  return code;
}

int CreateTemporary(const std::string& name, Handle target, Handle& handle) {
  int fd = -1;
  std::int64_t size = -1;
  const int code =
      OpenLocked(name, O_WRONLY | O_CREAT | O_EXCL, F_WRLCK, fd, size);
  // The new file keeps the permissions of the one it replaces.
  struct stat info;
  if (code == kNoError && target != kNoHandle &&
      fstat(static_cast<int>(target), &info) == 0) {
    fchmod(fd, info.st_mode & 07777);
  }
  handle = fd;
  return code;
}

// Hidden by its leading dot.
std::string TemporaryName(const std::string& name, int attempt) {
  static std::atomic<unsigned> counter{0};
  std::string folder = FolderOf(name);
  std::string prefix = name.find('/') == std::string::npos ? "" : folder + "/";
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%d.%u.%d.tmp",
                static_cast<int>(getpid()), counter.fetch_add(1), attempt);
  return prefix + "." + LastPartOf(name) + suffix;
}

int Read(Handle handle, char* buffer, std::size_t size, std::size_t& got) {
  ssize_t read_now;
  do {
    read_now = read(static_cast<int>(handle), buffer, size);
  } while (read_now < 0 && errno == EINTR);
  got = read_now > 0 ? static_cast<std::size_t>(read_now) : 0;
  return read_now < 0 ? ErrorCodeFromErrno(errno) : kNoError;
}

int Write(Handle handle, std::string_view bytes, std::size_t& put) {
  ssize_t written;
  do {
    written = write(static_cast<int>(handle), bytes.data(), bytes.size());
  } while (written < 0 && errno == EINTR);
  put = written > 0 ? static_cast<std::size_t>(written) : 0;
  return written < 0 ? ErrorCodeFromErrno(errno) : kNoError;
}

int Sync(Handle handle) { return CodeOf(fsync(static_cast<int>(handle))); }

int Close(Handle handle) { return CodeOf(close(static_cast<int>(handle))); }

int Replace(const std::string& temporary, const std::string& name, Handle) {
  return CodeOf(rename(temporary.c_str(), name.c_str()));
}

int Delete(const std::string& name) {
  struct stat info;
  if (lstat(name.c_str(), &info) != 0) return OpenErrorCode(errno, name);
  if (S_ISDIR(info.st_mode)) return kAccessDenied;
  struct stat target;
  if (stat(name.c_str(), &target) == 0 && IsReadOnly(target)) {
    return kAccessDenied;
  }
  // A file another holder has open (and so locked) cannot be deleted.
  int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    bool locked = IsLockedByOther(fd);
    close(fd);
    if (locked) return kSharingViolation;
  }
  if (unlink(name.c_str()) != 0) return OpenErrorCode(errno, name);
  return kNoError;
}

void Remove(const std::string& name) { unlink(name.c_str()); }

}  // namespace native

namespace {

// What a listed entry is, from its directory entry where that says it: a
// link (or an entry of unknown type) is what it points to, and only that
// needs a look at the file.
bool IsRegularFile(const dirent& entry) {
  if (entry.d_type == DT_REG) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat info;
  return stat(entry.d_name, &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::vector<std::string> FindFiles(std::string_view pattern) {
  std::vector<std::string> names;
  DIR* folder = opendir(".");
  if (folder == nullptr) return names;
  while (const dirent* entry = readdir(folder)) {
    const std::string_view disk_name = entry->d_name;
    if (disk_name.empty() || disk_name[0] == '.') continue;
    std::string name = ProgramName(disk_name);
    if (!WildcardMatch(pattern, name) || !IsRegularFile(*entry)) continue;
    names.push_back(std::move(name));
  }
  closedir(folder);
  return names;
}

}  // namespace tabulon::platform
