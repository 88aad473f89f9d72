#include "robustness_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/codepage.h"

namespace tabulon::test_support {
namespace {

std::string Escaped(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02X", byte);
  return text;
}

// The character a lead byte and its trail make, or empty when code page 932
// has none there.
std::string DoubleByteCharacter(std::string_view pair) {
  const std::string utf8 = platform::Cp932ToUtf8(pair);
  if (utf8.find("\xEF\xBF\xBD") != std::string::npos) return {};
  return utf8;
}

bool LockRange(int fd, int command, struct flock& lock) {
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;
  return fcntl(fd, command, &lock) == 0;
}

}  // namespace

void RecordingListener::ChoiceSectionDone(int q,
                                          const survey::ChoiceCounts& counts) {
  std::string event = "choice " + std::to_string(q) + ":";
  for (int c = 1; c <= survey::kChoiceCount; ++c)
    event += " " + std::to_string(counts.At(q, c));
  events.push_back(event);
}

void RecordingListener::TextAnswerFound(int q, const std::string& text) {
  events.push_back("text " + std::to_string(q) + ": " + Readable(text));
}

std::string Readable(std::string_view cp932) {
  std::string out;
  for (size_t i = 0; i < cp932.size(); ++i) {
    const auto byte = static_cast<unsigned char>(cp932[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      out += static_cast<char>(byte);
      continue;
    }
    if (platform::IsLeadByte(byte) && i + 1 < cp932.size()) {
      const std::string character = DoubleByteCharacter(cp932.substr(i, 2));
      if (!character.empty()) {
        out += character;
        ++i;
        continue;
      }
    }
    out += Escaped(byte);
  }
  return out;
}

std::vector<std::string> FolderListing() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator("."))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

ForeignLock::ForeignLock(const std::string& name)
    : fd_(open(name.c_str(), O_RDWR | O_CLOEXEC)) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  EXPECT_TRUE(fd_ >= 0 && LockRange(fd_, F_OFD_SETLK, lock))
      << "cannot lock " << name;
}

ForeignLock::~ForeignLock() {
  if (fd_ >= 0) close(fd_);
}

bool IsLocked(const std::string& name) {
  const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  const bool locked =
      LockRange(fd, F_OFD_GETLK, lock) && lock.l_type != F_UNLCK;
  close(fd);
  return locked;
}

std::vector<bool> DeleteEveryListedFile(text::AnswerFileList& list) {
  std::vector<bool> deleted;
  for (const std::string& name : std::vector<std::string>(list.Names())) {
    deleted.push_back(text::DeleteFile(name));
  }
  return deleted;
}

}  // namespace tabulon::test_support
