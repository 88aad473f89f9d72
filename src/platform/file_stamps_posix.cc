#include <sys/stat.h>
#include <time.h>

#include "platform/file_names.h"
#include "platform/file_stamps.h"

namespace tabulon::platform {
namespace {

std::int64_t Ticks(const struct timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * kFileClockTicksPerSecond +
         time.tv_nsec / 100;
}

}  // namespace

FileStamp StampOf(const std::string& name) {
  struct stat info;
  if (stat(FileSystemName(name).c_str(), &info) != 0) return {};
  return {static_cast<std::int64_t>(info.st_size), Ticks(info.st_mtim)};
}

std::int64_t FileClockNow() {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return Ticks(now);
}

}  // namespace tabulon::platform
