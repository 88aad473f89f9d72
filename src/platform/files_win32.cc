// The file primitives on Windows: the desktop's own calls, whose share modes
// and error codes are the ones Tabulon's messages speak of. Names are code
// page 932 bytes, the ANSI code page of a Japanese desktop.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <utility>

#include "platform/files.h"
#include "platform/files_primitives.h"

namespace tabulon::platform {
namespace {

int LastError() { return static_cast<int>(GetLastError()); }

HANDLE FromHandle(native::Handle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

void CloseQuietly(HANDLE& handle) {
  if (handle == INVALID_HANDLE_VALUE) return;
  CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
}

// Opens with the desktop's share mode. A folder is denied by the system
// itself; a device (a name like "CON") is refused here, as it is no file.
int OpenShared(const std::string& name, DWORD access, DWORD share,
               DWORD disposition, HANDLE& handle) {
  handle =
      CreateFileA(name.c_str(), access, share, nullptr, disposition,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseQuietly(handle);
    return kAccessDenied;
  }
  return kNoError;
}

// One call reads or writes at most this much.
DWORD Piece(std::size_t size) {
  constexpr std::size_t kLargest = std::size_t{1} << 30;
  return static_cast<DWORD>(size < kLargest ? size : kLargest);
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

// Sets the kept attributes again on a file just put in place. A file that
// cannot be looked at is left alone rather than given garbage attributes.
void RestoreKeptAttributes(const std::string& name, DWORD kept) {
  const DWORD now = GetFileAttributesA(name.c_str());
  if (now == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(name.c_str(), (now & ~kKeptAttributes) | kept);
}

DWORD KeptAttributesOf(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? 0
                                               : attributes & kKeptAttributes;
}

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

namespace native {

const int kNameTaken = ERROR_FILE_EXISTS;

std::string SystemName(const std::string& program_name) { return program_name; }

int CheckWritable(const std::string& name, bool& exists) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists) return kNoError;  // open tells
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    return kAccessDenied;
  }
  return kNoError;
}

int Open(const std::string& name, Access access, Handle& handle,
         std::int64_t& size) {
  HANDLE file = INVALID_HANDLE_VALUE;
  int code = kNoError;
  switch (access) {
    case Access::kRead:
      code =
          OpenShared(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, file);
      break;
    case Access::kWrite:
      // Not CREATE_ALWAYS: that refuses a hidden file, and the file should
      // be emptied only once it is ours.
      code =
          OpenShared(name, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, file);
      if (code == kNoError && !SetEndOfFile(file)) {
        code = LastError();
        CloseQuietly(file);
      }
      break;
    case Access::kHold:
      // No one else may write it meanwhile. Sharing deletion lets the
      // replacement itself through.
      code =
          OpenShared(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                     OPEN_EXISTING, file);
      break;
  }
  LARGE_INTEGER file_size;
  size = code == kNoError && access == Access::kRead &&
                 GetFileSizeEx(file, &file_size)
             ? static_cast<std::int64_t>(file_size.QuadPart)
             : -1;
  handle = reinterpret_cast<Handle>(file);
  return code;
}

int CreateTemporary(const std::string& name, Handle, Handle& handle) {
  HANDLE file = INVALID_HANDLE_VALUE;
  const int code =
      OpenShared(name, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, file);
  handle = reinterpret_cast<Handle>(file);
  return code;
}

// It does not start with a dot, which means nothing to Windows and reads
// oddly in its folder windows.
std::string TemporaryName(const std::string& name, int attempt) {
  static std::atomic<unsigned> counter{0};
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%lu.%u.%d.tmp",
                static_cast<unsigned long>(GetCurrentProcessId()),
                counter.fetch_add(1), attempt);
  return name + suffix;
}

int Read(Handle handle, char* buffer, std::size_t size, std::size_t& got) {
  DWORD read = 0;
  const BOOL done =
      ReadFile(FromHandle(handle), buffer, Piece(size), &read, nullptr);
  got = done ? read : 0;
  return done ? kNoError : LastError();
}

int Write(Handle handle, std::string_view bytes, std::size_t& put) {
  DWORD written = 0;
  const BOOL done = WriteFile(FromHandle(handle), bytes.data(),
                              Piece(bytes.size()), &written, nullptr);
  put = done ? written : 0;
  return done ? kNoError : LastError();
}

int Sync(Handle handle) {
  return FlushFileBuffers(FromHandle(handle)) ? kNoError : LastError();
}

int Close(Handle handle) {
  return CloseHandle(FromHandle(handle)) ? kNoError : LastError();
}

int Replace(const std::string& temporary, const std::string& name,
            Handle target) {
  // ReplaceFileA keeps the earlier file's identity (its security and
  // creation time); a file that did not exist is simply moved in place.
  const bool held = target != kNoHandle;
  const DWORD kept = held ? KeptAttributesOf(name) : 0;
  const bool replaced =
      held ? ReplaceFileA(FullPathOf(name).c_str(),
                          FullPathOf(temporary).c_str(), nullptr,
                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
           : MoveFileExA(temporary.c_str(), name.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!replaced) return LastError();
  if (kept != 0) RestoreKeptAttributes(name, kept);
  return kNoError;
}

int Delete(const std::string& name) {
  return DeleteFileA(name.c_str()) ? kNoError : LastError();
}

void Remove(const std::string& name) { DeleteFileA(name.c_str()); }

}  // namespace native

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
