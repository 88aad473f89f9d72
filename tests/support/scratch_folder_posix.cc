// Scratch folders and fixtures with POSIX calls.
#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/file_names.h"
#include "support/scratch_folder.h"

namespace tabulon::test_support {
namespace {

std::string CurrentFolder() {
  char name[PATH_MAX];
  return getcwd(name, sizeof name) != nullptr ? name : ".";
}

// Entries of a folder, "." and ".." left out.
std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  return names;
}

// Removes a tree whatever a test did to it: read-only entries and folders
// without rights are given their rights back first.
void RemoveTree(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return;
  if (S_ISDIR(info.st_mode)) {
    chmod(path.c_str(), 0700);
    for (const std::string& name : EntriesOf(path))
      RemoveTree(path + "/" + name);
    rmdir(path.c_str());
    return;
  }
  unlink(path.c_str());
}

bool Lock(int fd, short type) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

}  // namespace

ScratchFolder::ScratchFolder() : previous_(CurrentFolder()) {
  const char* temporary = getenv("TMPDIR");
  std::string pattern =
      std::string(temporary != nullptr && *temporary != '\0' ? temporary
                                                             : "/tmp") +
      "/tabulon-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
    ADD_FAILURE() << "cannot make a scratch folder: " << std::strerror(errno);
    path_ = previous_;
    return;
  }
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  if (chdir(previous_.c_str()) != 0) return;
  if (path_ != previous_) RemoveTree(path_);
}

void WriteBytes(const std::string& name, std::string_view bytes) {
  std::ofstream out(platform::FileSystemName(name),
                    std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << name;
}

std::string ReadBytes(const std::string& name) {
  std::ifstream in(platform::FileSystemName(name), std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot read " << name;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& name) {
  struct stat info;
  return lstat(platform::FileSystemName(name).c_str(), &info) == 0;
}

std::vector<std::string> FolderListing() {
  std::vector<std::string> names;
  for (const std::string& name : EntriesOf(".")) {
    names.push_back(platform::ProgramName(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void MakeFolder(const std::string& name) {
  ASSERT_EQ(mkdir(platform::FileSystemName(name).c_str(), 0777), 0)
      << "cannot make folder " << name;
}

void CopyFilesFrom(const std::string& folder) {
  for (const std::string& name : EntriesOf(folder)) {
    WriteBytes(platform::ProgramName(name),
               ReadBytes(platform::ProgramName(folder + "/" + name)));
  }
}

void MakeReadOnly(const std::string& name) {
  ASSERT_EQ(chmod(platform::FileSystemName(name).c_str(), 0444), 0)
      << "cannot protect " << name;
}

bool MakeNamedPipe(const std::string& name) {
  return mkfifo(platform::FileSystemName(name).c_str(), 0644) == 0;
}

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  return symlink(platform::FileSystemName(target).c_str(),
                 platform::FileSystemName(link).c_str()) == 0;
}

bool MakeHidden(const std::string&) { return false; }
bool MakeSystem(const std::string&) { return false; }

struct HeldByAnotherProgram::Handle {
  int fd = -1;
};

HeldByAnotherProgram::HeldByAnotherProgram(const std::string& name,
                                           Holding holding)
    : handle_(std::make_unique<Handle>()) {
  const bool reading = holding == Holding::kForReading;
  handle_->fd = open(platform::FileSystemName(name).c_str(),
                     (reading ? O_RDONLY : O_RDWR) | O_CLOEXEC);
  EXPECT_TRUE(handle_->fd >= 0 &&
              Lock(handle_->fd, reading ? F_RDLCK : F_WRLCK))
      << "cannot hold " << name;
}

HeldByAnotherProgram::~HeldByAnotherProgram() {
  if (handle_->fd >= 0) close(handle_->fd);
}

bool IsHeld(const std::string& name) {
  const int fd =
      open(platform::FileSystemName(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  const bool held =
      fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
  close(fd);
  return held;
}

}  // namespace tabulon::test_support
