// What only POSIX has: errno values, named pipes, sockets, links, permission
// bits and the immutable flag.
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/errno_codes.h"
#include "platform/files.h"
#include "support/scratch_folder.h"

namespace tabulon::platform {
namespace {

using ::tabulon::test_support::FolderListing;
using ::tabulon::test_support::MakeFolder;
using ::tabulon::test_support::MakeNamedPipe;
using ::tabulon::test_support::MakeSymbolicLink;
using ::tabulon::test_support::ReadBytes;
using ::tabulon::test_support::WriteBytes;
using Names = std::vector<std::string>;

// Marks a file immutable, which denies writing even to root; false where the
// file system or the process's rights do not allow it.
bool SetImmutable(const std::string& name, bool immutable) {
  int fd = open(name.c_str(), O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
  done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  close(fd);
  return done;
}

mode_t ModeOf(const std::string& name) {
  struct stat info;
  EXPECT_EQ(stat(name.c_str(), &info), 0) << name;
  return info.st_mode & 0777;
}

class PosixFilesTest : public ::tabulon::test_support::InScratchFolder {};

TEST(ErrorCodeFromErrno, MapsToTheDesktopCodes) {
  const struct {
    int error_number;
    int code;
  } kCases[] = {
      {0, kNoError}, {ENOENT, 2},    {ENOTDIR, 3},  {ENAMETOOLONG, 3},
      {EMFILE, 4},   {ENFILE, 4},    {EACCES, 5},   {EPERM, 5},
      {EROFS, 5},    {EISDIR, 5},    {ENOSPC, 112}, {EDQUOT, 112},
      {EIO, EIO},    {EBUSY, EBUSY},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ErrorCodeFromErrno(c.error_number), c.code) << c.error_number;
  }
}

TEST_F(PosixFilesTest, NamedPipeIsRefusedInsteadOfWaitedFor) {
  ASSERT_TRUE(MakeNamedPipe("pipe.ans"));
  File file;
  EXPECT_EQ(File::OpenForReading("pipe.ans", file), kAccessDenied);
  EXPECT_EQ(File::CreateForWriting("pipe.ans", file), kAccessDenied);
  ReplacementFile replacement;
  EXPECT_EQ(replacement.Begin("pipe.ans"), kAccessDenied);
}

TEST_F(PosixFilesTest, ImmutableFileIsReallyDenied) {
  WriteBytes("fixed.csv", "old");
  if (!SetImmutable("fixed.csv", true)) {
    GTEST_SKIP() << "cannot mark a file immutable here (needs root and a "
                    "file system with the immutable flag)";
  }
  File file;
  int create = File::CreateForWriting("fixed.csv", file);
  ReplacementFile replacement;
  int begin = replacement.Begin("fixed.csv");
  int remove = DeleteFileByName("fixed.csv");
  SetImmutable("fixed.csv", false);
  EXPECT_EQ(create, kAccessDenied);
  EXPECT_EQ(begin, kAccessDenied);
  EXPECT_EQ(remove, kAccessDenied);
  EXPECT_EQ(ReadBytes("fixed.csv"), "old");
}

TEST_F(PosixFilesTest, ReplacementKeepsPermissionsOrGivesTheUsualMode) {
  WriteBytes("r.csv", "old");
  chmod("r.csv", 0640);
  const mode_t mask = umask(022);
  for (const char* name : {"r.csv", "new.csv"}) {
    ReplacementFile replacement;
    ASSERT_EQ(replacement.Begin(name), kNoError);
    ASSERT_EQ(replacement.Write("x"), kNoError);
    // The content is never readable by more people while it is written.
    if (std::string(name) == "r.csv") {
      const Names during = FolderListing();
      ASSERT_EQ(during.size(), 2u);
      EXPECT_EQ(ModeOf(during[0]), 0640u) << during[0];
    }
    ASSERT_EQ(replacement.Commit(), kNoError);
  }
  umask(mask);
  EXPECT_EQ(ModeOf("r.csv"), 0640u);
  EXPECT_EQ(ModeOf("new.csv"), 0644u);
  EXPECT_EQ(FolderListing(), (Names{"new.csv", "r.csv"}));
}

TEST_F(PosixFilesTest, FindsOnlyOrdinaryVisibleFilesAndLinksToThem) {
  for (const char* name : {"a.ans", "B.ANS", ".hidden.ans", "c.ansx",
                           "target.txt", "\x90\x6C.ans"}) {
    WriteBytes(name, "x");
  }
  MakeFolder("x.ans");
  ASSERT_TRUE(MakeSymbolicLink("target.txt", "link.ans"));
  ASSERT_TRUE(MakeSymbolicLink("missing.txt", "dangling.ans"));
  ASSERT_TRUE(MakeSymbolicLink("x.ans", "dirlink.ans"));
  int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, "sock.ans");
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address),
            0);
  std::vector<std::string> found = FindFiles("*.ans");
  close(sock);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (Names{"B.ANS", "a.ans", "link.ans", "\x90\x6C.ans"}));
}

TEST_F(PosixFilesTest, ListingLeavesOutPipesByTheirEntryAlone) {
  WriteBytes("a.ans", "x");
  ASSERT_TRUE(MakeNamedPipe("pipe.ans"));
  ASSERT_TRUE(MakeSymbolicLink("pipe.ans", "pipelink.ans"));
  EXPECT_EQ(FindFiles("*.ans"), (Names{"a.ans"}));
}

// Reading uses the size the file had when it was opened; a file that grew
// or shrank since is still read to its real end.
TEST_F(PosixFilesTest, ReadingFollowsAFileThatChangedSinceItWasOpened) {
  const struct {
    const char* what;
    std::string before;
    std::string after;
  } kCases[] = {
      {"grew", "0123456789", "0123456789" + std::string(100000, 'g')},
      {"shrank", "0123456789", "0123"},
      {"emptied", "0123456789", ""},
      {"filled", "", "late"},
  };
  for (const auto& c : kCases) {
    WriteBytes("f.txt", c.before);
    File file;
    ASSERT_EQ(File::OpenForReading("f.txt", file), kNoError) << c.what;
    // Past the lock, as another program that ignores it would write.
    const int fd = open("f.txt", O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, c.after.data(), c.after.size()),
              static_cast<ssize_t>(c.after.size()));
    close(fd);
    std::string read;
    ASSERT_EQ(file.ReadAll(read), kNoError) << c.what;
    EXPECT_EQ(read, c.after) << c.what;
    // A second ReadAll finds the end at once.
    ASSERT_EQ(file.ReadAll(read), kNoError) << c.what;
    EXPECT_EQ(read, c.after) << c.what;
  }
}

}  // namespace
}  // namespace tabulon::platform
