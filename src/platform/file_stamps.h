// A file's size and the time it last changed, so that a watcher of the
// folder can tell a file that changed from one that stayed as it was. One
// implementation per platform (file_stamps_posix.cc, file_stamps_win32.cc).
#ifndef TABULON_PLATFORM_FILE_STAMPS_H_
#define TABULON_PLATFORM_FILE_STAMPS_H_

#include <cstdint>
#include <string>

namespace tabulon::platform {

struct FileStamp {
  std::int64_t size = -1;     // -1: the file could not be looked at
  std::int64_t modified = 0;  // in ticks of FileClockNow
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the named file of the current folder (a program name, as
// FindFiles lists it). Never fails: a file that is gone gets size -1.
FileStamp StampOf(const std::string& name);

// The file system's clock now, in 100 ns ticks from the platform's own
// epoch: only differences to a FileStamp's time mean something.
std::int64_t FileClockNow();
inline constexpr std::int64_t kFileClockTicksPerSecond = 10'000'000;

}  // namespace tabulon::platform

#endif  // TABULON_PLATFORM_FILE_STAMPS_H_
