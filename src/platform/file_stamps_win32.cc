#include <windows.h>

#include "platform/file_stamps.h"

namespace tabulon::platform {
namespace {

std::int64_t Ticks(const FILETIME& time) {
  return static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
      time.dwLowDateTime);
}

}  // namespace

FileStamp StampOf(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) {
    return {};
  }
  const std::int64_t size = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
      data.nFileSizeLow);
  return {size, Ticks(data.ftLastWriteTime)};
}

std::int64_t FileClockNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return Ticks(now);
}

}  // namespace tabulon::platform
