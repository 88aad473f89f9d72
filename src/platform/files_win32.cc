// The file services on Windows: the desktop's own calls, whose share modes
// and error codes are the ones Tabulon's messages speak of. Names are code
// page 932 bytes, the ANSI code page of a Japanese desktop.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <utility>

#include "platform/fault_seam.h"
#include "platform/files.h"

namespace tabulon::platform {
namespace {

int LastError() { return static_cast<int>(GetLastError()); }

void CloseQuietly(NativeFile& handle) {
  if (handle == kNoFile) return;
  CloseHandle(handle);
  handle = kNoFile;
}

// Opens with the desktop's share mode. A folder is denied by the system
// itself; a device (a name like "CON") is refused here, as it is no file.
int OpenShared(const std::string& name, DWORD access, DWORD share,
               DWORD disposition, NativeFile& handle) {
  if (int fault = TakeFault(FileOperation::kOpen)) return fault;
  handle =
      CreateFileA(name.c_str(), access, share, nullptr, disposition,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == kNoFile) return LastError();
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseQuietly(handle);
    return kAccessDenied;
  }
  return kNoError;
}

// The attributes of an existing name, or INVALID_FILE_ATTRIBUTES.
DWORD AttributesOf(const std::string& name) {
  return GetFileAttributesA(name.c_str());
}

// Refuses writing to an existing name that is read-only or a folder.
int CheckWritable(DWORD attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES) return kNoError;  // open tells
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    return kAccessDenied;
  }
  return kNoError;
}

// A name for the temporary file beside `name`. It does not start with a
// dot, which means nothing to Windows and reads oddly in its folder windows.
std::string TemporaryNameFor(const std::string& name, int attempt) {
  static std::atomic<unsigned> counter{0};
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%lu.%u.%d.tmp",
                static_cast<unsigned long>(GetCurrentProcessId()),
                counter.fetch_add(1), attempt);
  return name + suffix;
}

// ReplaceFileA wants whole paths.
std::string FullPathOf(const std::string& name) {
  const DWORD size = GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
  if (size == 0) return name;
  std::string full(size, '\0');
  const DWORD length =
      GetFullPathNameA(name.c_str(), size, full.data(), nullptr);
  full.resize(length < size ? length : 0);
  return full.empty() ? name : full;
}

// Attributes a replaced file keeps whatever the system's ReplaceFile keeps.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

bool IsListed(const WIN32_FIND_DATAA& found) {
  return (found.dwFileAttributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
           FILE_ATTRIBUTE_SYSTEM)) == 0;
}

// The name a listed file is opened by: its long name, or its short name
// when the long one has characters code page 932 lacks (the system shows
// those as "?", which opens nothing).
std::string OpenableName(const WIN32_FIND_DATAA& found) {
  const std::string_view long_name = found.cFileName;
  if (long_name.find('?') != std::string_view::npos &&
      found.cAlternateFileName[0] != '\0') {
    return found.cAlternateFileName;
  }
  return std::string(long_name);
}

}  // namespace

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoFile)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    CloseQuietly(handle_);
    handle_ = std::exchange(other.handle_, kNoFile);
  }
  return *this;
}

File::~File() { CloseQuietly(handle_); }

int File::OpenForReading(const std::string& name, File& out) {
  out.Close();
  NativeFile handle = kNoFile;
  const int code =
      OpenShared(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, handle);
  if (code != kNoError) return code;
  out = File(handle);
  return kNoError;
}

int File::CreateForWriting(const std::string& name, File& out) {
  out.Close();
  if (int code = CheckWritable(AttributesOf(name))) return code;
  NativeFile handle = kNoFile;
  // Not CREATE_ALWAYS: that refuses a hidden file, and the file should be
  // emptied only once it is ours.
  int code =
      OpenShared(name, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, handle);
  if (code != kNoError) return code;
  if (!SetEndOfFile(handle)) {
    code = LastError();
    CloseQuietly(handle);
    return code;
  }
  out = File(handle);
  return kNoError;
}

int File::ReadAll(std::string& bytes) {
  if (!IsOpen()) return kInvalidHandle;
  int code = TakeFault(FileOperation::kRead);
  // Read in pieces the size of the file (one more byte finds its end at
  // once), so a small answer file does not pay for a large zeroed buffer.
  size_t chunk = 1 << 16;
  LARGE_INTEGER size;
  if (code == kNoError && GetFileSizeEx(handle_, &size) && size.QuadPart > 0 &&
      size.QuadPart < (1LL << 31)) {
    chunk = static_cast<size_t>(size.QuadPart) + 1;
    bytes.reserve(bytes.size() + chunk);
  }
  while (code == kNoError) {
    const size_t old_size = bytes.size();
    bytes.resize(old_size + chunk);
    DWORD got = 0;
    const BOOL read = ReadFile(handle_, bytes.data() + old_size,
                               static_cast<DWORD>(chunk), &got, nullptr);
    bytes.resize(old_size + got);
    if (!read) {
      code = LastError();
    } else if (got == 0) {
      return kNoError;
    }
  }
  CloseQuietly(handle_);
  return code;
}

int File::Write(std::string_view bytes) {
  if (!IsOpen()) return kInvalidHandle;
  int code = TakeFault(FileOperation::kWrite);
  while (code == kNoError && !bytes.empty()) {
    const DWORD piece = bytes.size() > (1u << 30)
                            ? (1u << 30)
                            : static_cast<DWORD>(bytes.size());
    DWORD put = 0;
    if (!WriteFile(handle_, bytes.data(), piece, &put, nullptr)) {
      code = LastError();
    } else if (put == 0) {
      code = kDiskFull;
    } else {
      bytes.remove_prefix(put);
    }
  }
  if (code != kNoError) CloseQuietly(handle_);
  return code;
}

int File::Sync() {
  if (!IsOpen()) return kInvalidHandle;
  if (FlushFileBuffers(handle_)) return kNoError;
  const int code = LastError();
  CloseQuietly(handle_);
  return code;
}

int File::Close() {
  if (!IsOpen()) return kNoError;
  int code = TakeFault(FileOperation::kClose);
  // The handle is gone after CloseHandle whatever it reports.
  if (!CloseHandle(std::exchange(handle_, kNoFile)) && code == kNoError) {
    code = LastError();
  }
  return code;
}

ReplacementFile::~ReplacementFile() { Abandon(); }

int ReplacementFile::Begin(const std::string& name) {
  Abandon();
  const DWORD attributes = AttributesOf(name);
  if (int code = CheckWritable(attributes)) return code;
  // Hold the real file for the whole replacement, as writing it in place
  // would: no one else may write it meanwhile. Sharing deletion lets the
  // replacement itself through.
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    NativeFile handle = kNoFile;
    const int code =
        OpenShared(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                   OPEN_EXISTING, handle);
    if (code != kNoError) return code;
    target_ = File(handle);
    target_attributes_ = attributes & kKeptAttributes;
  }
  NativeFile temporary = kNoFile;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary_name_ = TemporaryNameFor(name, attempt);
    const int code = OpenShared(temporary_name_, GENERIC_WRITE, FILE_SHARE_READ,
                                CREATE_NEW, temporary);
    if (code == kNoError) break;
    temporary_name_.clear();
    if (code == ERROR_FILE_EXISTS) continue;  // a name clash: try another
    target_.Close();
    return code;
  }
  if (temporary == kNoFile) {
    target_.Close();
    return ERROR_FILE_EXISTS;
  }
  temporary_ = File(temporary);
  name_ = name;
  return kNoError;
}

int ReplacementFile::Write(std::string_view bytes) {
  if (!temporary_.IsOpen()) return kInvalidHandle;
  const int code = temporary_.Write(bytes);
  if (code != kNoError) Abandon();
  return code;
}

int ReplacementFile::Commit() {
  if (!temporary_.IsOpen()) return kInvalidHandle;
  int code = temporary_.Sync();
  if (code == kNoError) code = temporary_.Close();
  if (code == kNoError) code = TakeFault(FileOperation::kRename);
  if (code == kNoError) {
    // ReplaceFileA keeps the earlier file's identity (its security and
    // creation time); a file that did not exist is simply moved in place.
    const bool replaced =
        target_.IsOpen()
            ? ReplaceFileA(FullPathOf(name_).c_str(),
                           FullPathOf(temporary_name_).c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
            : MoveFileExA(temporary_name_.c_str(), name_.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) code = LastError();
  }
  if (code != kNoError) {
    Abandon();
    return code;
  }
  temporary_name_.clear();
  if (target_attributes_ != 0) {
    SetFileAttributesA(name_.c_str(), (AttributesOf(name_) & ~kKeptAttributes) |
                                          target_attributes_);
  }
  Abandon();
  return kNoError;
}

void ReplacementFile::Abandon() {
  temporary_ = File();
  if (!temporary_name_.empty()) DeleteFileA(temporary_name_.c_str());
  temporary_name_.clear();
  target_ = File();
  target_attributes_ = 0;
  name_.clear();
}

int DeleteFileByName(const std::string& name) {
  if (int fault = TakeFault(FileOperation::kDelete)) return fault;
  if (!DeleteFileA(name.c_str())) return LastError();
  return kNoError;
}

std::vector<std::string> FindFiles(std::string_view pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileExA(
      std::string(pattern).c_str(), FindExInfoStandard, &found,
      FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    // The system also matches short names ("*.ans" finds "a.ansx" through
    // "A~1.ANS"): only the long name decides, as on every platform.
    if (IsListed(found) && WildcardMatch(pattern, found.cFileName)) {
      names.push_back(OpenableName(found));
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace tabulon::platform
