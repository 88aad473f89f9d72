// The desktop's file services: opening with read sharing, reading, writing,
// deleting and searching the current folder, with the desktop's error codes.
// Written once (files.cc) over the few calls each platform provides
// (files_primitives.h). Every call reports failure as a code (0 is success)
// and never throws; the text layer turns codes into failures the user sees.
//
// Names are the program's own (code page 932 bytes); on POSIX they are
// spelt on disk through file_names.h, and FindFiles lists them that way.
#ifndef TABULON_PLATFORM_FILES_H_
#define TABULON_PLATFORM_FILES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::platform {

// The desktop's error codes for the failures Tabulon can meet.
inline constexpr int kNoError = 0;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kInvalidHandle = 6;  // an operation on a closed file
inline constexpr int kSharingViolation = 32;
inline constexpr int kDiskFull = 112;

// An open file with its share mode (a sharing mode of the handle on Windows,
// a lock of the open file description on POSIX). Move-only; the destructor
// closes (and so lets go) without reporting.
class File {
 public:
  File() = default;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  // Opens for reading, allowing others to read only: takes a shared lock, so
  // a file held for writing gives kSharingViolation.
  static int OpenForReading(const std::string& name, File& out);
  // Creates or empties the file for writing, allowing others to read only.
  // The exclusive lock is taken before truncating, so a file that another
  // holder has locked is never emptied. A file without any write permission
  // bit counts as read-only (kAccessDenied), whoever runs the program.
  static int CreateForWriting(const std::string& name, File& out);

  // Appends the rest of the file to `bytes`. A file whose size is known from
  // its opening is read in one piece.
  int ReadAll(std::string& bytes);
  int Write(std::string_view bytes);
  // Flushes the file's data to the disk.
  int Sync();
  // Closes and unlocks. Closing a file that is not open is a success.
  int Close();

  bool IsOpen() const { return handle_ != -1; }

 private:
  friend class ReplacementFile;
  explicit File(std::intptr_t handle, std::int64_t size = -1)
      : handle_(handle), size_at_open_(size) {}
  // The system's handle (a descriptor, or a HANDLE as a number), -1 when
  // closed.
  std::intptr_t handle_ = -1;
  // The size the platform gave at opening, -1 when not known: reading needs
  // no second look at the file to size its buffer.
  std::int64_t size_at_open_ = -1;
};

// Writes a file anew without ever leaving it half written: the bytes go to a
// temporary file beside it, which replaces the file only on Commit. Begin
// checks the real file first (read-only -> kAccessDenied, locked ->
// kSharingViolation) and keeps it locked until the replacement is done.
// Abandoning (or destroying without Commit) removes the temporary file.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile();

  int Begin(const std::string& name);
  int Write(std::string_view bytes);
  int Commit();
  void Abandon();

 private:
  // Makes the temporary file beside `name` under a name not yet taken.
  int CreateTemporaryBeside(const std::string& name);

  std::string name_;
  std::string temporary_name_;
  File target_;
  File temporary_;
};

// Deletes the named file at once and for good.
int DeleteFileByName(const std::string& name);

// The ordinary files of the current folder whose names match `pattern`
// ("*" any run, "?" one byte; letters compared without regard to case).
// Directories, sockets, dangling links and hidden names (leading ".") are
// left out; a link counts as what it points to. Unsorted. A folder that
// cannot be searched gives no names.
std::vector<std::string> FindFiles(std::string_view pattern);

// True when `name` matches the wildcard `pattern` as FindFiles matches.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// A seam for tests: makes the n-th next call of one kind fail with a code.
enum class FileOperation {
  kOpen,
  kRead,
  kWrite,
  kSync,
  kClose,
  kRename,
  kDelete,
};
void InjectFaultForTesting(FileOperation operation, int nth, int code);
void ClearFaultsForTesting();

}  // namespace tabulon::platform

#endif  // TABULON_PLATFORM_FILES_H_
