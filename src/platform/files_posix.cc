#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <utility>

#include "platform/errno_codes.h"
#include "platform/fault_seam.h"
#include "platform/file_names.h"
#include "platform/files.h"

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
               std::int64_t* size = nullptr) {
  if (int fault = TakeFault(FileOperation::kOpen)) return fault;
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
  if (size != nullptr) *size = static_cast<std::int64_t>(info.st_size);
  return kNoError;
}

// Refuses writing to an existing name that is read-only or no plain file.
int CheckWritable(const std::string& name) {
  struct stat info;
  if (stat(name.c_str(), &info) != 0) return kNoError;  // open will tell
  if (!S_ISREG(info.st_mode) || IsReadOnly(info)) return kAccessDenied;
  return kNoError;
}

// A name for the temporary file beside `name`, hidden by its leading dot.
std::string TemporaryNameFor(const std::string& name, int attempt) {
  static std::atomic<unsigned> counter{0};
  std::string folder = FolderOf(name);
  std::string prefix = name.find('/') == std::string::npos ? "" : folder + "/";
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%d.%u.%d.tmp",
                static_cast<int>(getpid()), counter.fetch_add(1), attempt);
  return prefix + "." + LastPartOf(name) + suffix;
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

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)),
      size_at_open_(std::exchange(other.size_at_open_, -1)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    CloseQuietly(handle_);
    handle_ = std::exchange(other.handle_, -1);
    size_at_open_ = std::exchange(other.size_at_open_, -1);
  }
  return *this;
}

File::~File() { CloseQuietly(handle_); }

int File::OpenForReading(const std::string& program_name, File& out) {
  out.Close();
  const std::string name = FileSystemName(program_name);
  int fd = -1;
  std::int64_t size = -1;
  int code = OpenLocked(name, O_RDONLY, F_RDLCK, fd, &size);
  if (code != kNoError) return code;
  out = File(fd, size);
  return kNoError;
}

int File::CreateForWriting(const std::string& program_name, File& out) {
  out.Close();
  const std::string name = FileSystemName(program_name);
  if (int code = CheckWritable(name)) return code;
  int fd = -1;
  // No O_TRUNC: the file is emptied only once the lock is ours.
  int code = OpenLocked(name, O_WRONLY | O_CREAT, F_WRLCK, fd);
  if (code != kNoError) return code;
  if (ftruncate(fd, 0) != 0) {
    code = ErrorCodeFromErrno(errno);
    CloseQuietly(fd);
    return code;
  }
  out = File(fd);
  return kNoError;
}

int File::ReadAll(std::string& bytes) {
  if (!IsOpen()) return kInvalidHandle;
  int code = TakeFault(FileOperation::kRead);
  // The size known from opening sizes the first piece (one byte more finds
  // the end at once), so a small answer file takes one read and does not pay
  // for a large zeroed buffer. A file that changed size since is read on.
  const std::int64_t expected = std::exchange(size_at_open_, -1);
  const size_t start = bytes.size();
  constexpr size_t kPiece = 1 << 16;
  size_t chunk = expected >= 0 ? static_cast<size_t>(expected) + 1 : kPiece;
  bytes.reserve(start + chunk);
  while (code == kNoError) {
    size_t old_size = bytes.size();
    bytes.resize(old_size + chunk);
    ssize_t got = read(handle_, bytes.data() + old_size, chunk);
    bytes.resize(old_size + (got > 0 ? static_cast<size_t>(got) : 0));
    if (got == 0) return kNoError;
    // A regular file reads short only at its end: the size it had at
    // opening, read short, is all of it.
    if (got > 0 && static_cast<size_t>(got) < chunk &&
        static_cast<std::int64_t>(bytes.size() - start) == expected) {
      return kNoError;
    }
    // A file that grew is read on in large pieces.
    if (got > 0) chunk = std::max(chunk, kPiece);
    if (got < 0 && errno != EINTR) code = ErrorCodeFromErrno(errno);
  }
  CloseQuietly(handle_);
  return code;
}

int File::Write(std::string_view bytes) {
  if (!IsOpen()) return kInvalidHandle;
  int code = TakeFault(FileOperation::kWrite);
  while (code == kNoError && !bytes.empty()) {
    ssize_t put = write(handle_, bytes.data(), bytes.size());
    if (put > 0) {
      bytes.remove_prefix(static_cast<size_t>(put));
    } else if (put == 0) {
      code = kDiskFull;
    } else if (errno != EINTR) {
      code = ErrorCodeFromErrno(errno);
    }
  }
  if (code != kNoError) CloseQuietly(handle_);
  return code;
}

int File::Sync() {
  if (!IsOpen()) return kInvalidHandle;
  if (fsync(handle_) == 0) return kNoError;
  int code = ErrorCodeFromErrno(errno);
  CloseQuietly(handle_);
  return code;
}

int File::Close() {
  if (!IsOpen()) return kNoError;
  int code = TakeFault(FileOperation::kClose);
  // The descriptor is gone after close() whatever it reports.
  if (close(std::exchange(handle_, -1)) != 0 && code == kNoError) {
    code = ErrorCodeFromErrno(errno);
  }
  return code;
}

ReplacementFile::~ReplacementFile() { Abandon(); }

int ReplacementFile::Begin(const std::string& program_name) {
  Abandon();
  // The temporary's name and the rename are spelt on disk as well.
  const std::string name = FileSystemName(program_name);
  if (int code = CheckWritable(name)) return code;
  // Hold the real file for the whole replacement, as writing it in place
  // would; a missing one is simply created by the rename.
  int target_fd = -1;
  mode_t mode = 0666;
  bool keep_mode = false;
  if (access(name.c_str(), F_OK) == 0) {
    int code = OpenLocked(name, O_WRONLY, F_WRLCK, target_fd);
    if (code != kNoError) return code;
    target_ = File(target_fd);
    struct stat info;
    if (fstat(target_fd, &info) == 0) {
      mode = info.st_mode & 07777;
      keep_mode = true;
    }
  }
  int temporary_fd = -1;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary_name_ = TemporaryNameFor(name, attempt);
    int code = OpenLocked(temporary_name_, O_WRONLY | O_CREAT | O_EXCL, F_WRLCK,
                          temporary_fd);
    if (code == kNoError) break;
    temporary_name_.clear();
    if (code == EEXIST) continue;  // a name clash: try another name
    target_.Close();
    return code;
  }
  if (temporary_fd < 0) {
    target_.Close();
    return EEXIST;
  }
  // The new file keeps the permissions of the one it replaces.
  if (keep_mode) fchmod(temporary_fd, mode);
  temporary_ = File(temporary_fd);
  name_ = name;
  return kNoError;
}

int ReplacementFile::Write(std::string_view bytes) {
  if (!temporary_.IsOpen()) return kInvalidHandle;
  int code = temporary_.Write(bytes);
  if (code != kNoError) Abandon();
  return code;
}

int ReplacementFile::Commit() {
  if (!temporary_.IsOpen()) return kInvalidHandle;
  int code = temporary_.Sync();
  if (code == kNoError) code = temporary_.Close();
  if (code == kNoError) code = TakeFault(FileOperation::kRename);
  if (code == kNoError && rename(temporary_name_.c_str(), name_.c_str()) != 0) {
    code = ErrorCodeFromErrno(errno);
  }
  if (code != kNoError) {
    Abandon();
    return code;
  }
  // The replacement is in place; the old file's lock has nothing left to
  // protect, so closing it cannot fail the write.
  temporary_name_.clear();
  Abandon();
  return kNoError;
}

void ReplacementFile::Abandon() {
  temporary_ = File();
  if (!temporary_name_.empty()) unlink(temporary_name_.c_str());
  temporary_name_.clear();
  target_ = File();
  name_.clear();
}

int DeleteFileByName(const std::string& program_name) {
  if (int fault = TakeFault(FileOperation::kDelete)) return fault;
  const std::string name = FileSystemName(program_name);
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
