#include "platform/files.h"

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
#include <filesystem>
#include <string>
#include <vector>

#include "platform/errno_codes.h"
#include "support/injected_fault.h"
#include "support/scratch_folder.h"

namespace tabulon::platform {
namespace {

using ::tabulon::test_support::Exists;
using ::tabulon::test_support::InjectedFault;
using ::tabulon::test_support::ReadBytes;
using ::tabulon::test_support::WriteBytes;

// Another program holding the file: a lock from a description of its own.
class ForeignLock {
 public:
  ForeignLock(const std::string& name, short type) {
    fd_ = open(name.c_str(), type == F_RDLCK ? O_RDONLY : O_RDWR);
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    EXPECT_EQ(fcntl(fd_, F_OFD_SETLK, &lock), 0) << "cannot lock " << name;
  }
  ~ForeignLock() { close(fd_); }

 private:
  int fd_;
};

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

// Every entry of the current folder, hidden ones included, sorted.
std::vector<std::string> AllEntries() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class FilesTest : public ::tabulon::test_support::InScratchFolder {};

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

// ----- Opening: missing, denied, locked -----

TEST_F(FilesTest, MissingFileAndMissingFolderHaveTheirCodes) {
  File file;
  EXPECT_EQ(File::OpenForReading("absent.txt", file), kFileNotFound);
  EXPECT_EQ(File::OpenForReading("nofolder/a.txt", file), kPathNotFound);
  EXPECT_EQ(File::CreateForWriting("nofolder/a.txt", file), kPathNotFound);
  WriteBytes("plain", "x");
  EXPECT_EQ(File::OpenForReading("plain/a.txt", file), kPathNotFound);
  ReplacementFile replacement;
  EXPECT_EQ(replacement.Begin("nofolder/a.csv"), kPathNotFound);
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(FilesTest, FolderIsDeniedLikeAFile) {
  std::filesystem::create_directory("folder");
  File file;
  EXPECT_EQ(File::OpenForReading("folder", file), kAccessDenied);
  EXPECT_EQ(File::CreateForWriting("folder", file), kAccessDenied);
  EXPECT_EQ(DeleteFileByName("folder"), kAccessDenied);
}

TEST_F(FilesTest, NamedPipeIsRefusedInsteadOfWaitedFor) {
  ASSERT_EQ(mkfifo("pipe.ans", 0666), 0);
  File file;
  EXPECT_EQ(File::OpenForReading("pipe.ans", file), kAccessDenied);
  EXPECT_EQ(File::CreateForWriting("pipe.ans", file), kAccessDenied);
  ReplacementFile replacement;
  EXPECT_EQ(replacement.Begin("pipe.ans"), kAccessDenied);
}

TEST_F(FilesTest, ReadOnlyFileIsReadButNeitherWrittenNorDeleted) {
  WriteBytes("ro.csv", "old");
  chmod("ro.csv", 0444);
  File file;
  EXPECT_EQ(File::OpenForReading("ro.csv", file), kNoError);
  file.Close();
  EXPECT_EQ(File::CreateForWriting("ro.csv", file), kAccessDenied);
  ReplacementFile replacement;
  EXPECT_EQ(replacement.Begin("ro.csv"), kAccessDenied);
  EXPECT_EQ(DeleteFileByName("ro.csv"), kAccessDenied);
  EXPECT_EQ(ReadBytes("ro.csv"), "old");
}

TEST_F(FilesTest, ImmutableFileIsReallyDenied) {
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

TEST_F(FilesTest, ForeignWriteLockBlocksEverythingAndEmptiesNothing) {
  WriteBytes("held.csv", "content");
  ForeignLock lock("held.csv", F_WRLCK);
  File file;
  EXPECT_EQ(File::OpenForReading("held.csv", file), kSharingViolation);
  EXPECT_EQ(File::CreateForWriting("held.csv", file), kSharingViolation);
  ReplacementFile replacement;
  EXPECT_EQ(replacement.Begin("held.csv"), kSharingViolation);
  EXPECT_EQ(DeleteFileByName("held.csv"), kSharingViolation);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ReadBytes("held.csv"), "content");
  EXPECT_EQ(AllEntries(), std::vector<std::string>{"held.csv"});
}

TEST_F(FilesTest, ForeignReaderAllowsReadingButNotWriting) {
  WriteBytes("shared.txt", "abc");
  ForeignLock lock("shared.txt", F_RDLCK);
  File reader;
  ASSERT_EQ(File::OpenForReading("shared.txt", reader), kNoError);
  File writer;
  EXPECT_EQ(File::CreateForWriting("shared.txt", writer), kSharingViolation);
  EXPECT_EQ(ReadBytes("shared.txt"), "abc");
}

TEST_F(FilesTest, OwnWriterKeepsOtherOpensOut) {
  File writer;
  ASSERT_EQ(File::CreateForWriting("out.txt", writer), kNoError);
  File reader;
  EXPECT_EQ(File::OpenForReading("out.txt", reader), kSharingViolation);
  ASSERT_EQ(writer.Close(), kNoError);
  EXPECT_EQ(File::OpenForReading("out.txt", reader), kNoError);
}

// ----- Reading and writing -----

TEST_F(FilesTest, WritesAndReadsBackEveryByte) {
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += static_cast<char>(i * 7);
  File file;
  ASSERT_EQ(File::CreateForWriting("big.bin", file), kNoError);
  ASSERT_EQ(file.Write(bytes), kNoError);
  ASSERT_EQ(file.Close(), kNoError);
  std::string read = "prefix";
  ASSERT_EQ(File::OpenForReading("big.bin", file), kNoError);
  ASSERT_EQ(file.ReadAll(read), kNoError);
  EXPECT_EQ(read, "prefix" + bytes);
  EXPECT_EQ(file.Close(), kNoError);
  EXPECT_EQ(file.Close(), kNoError);  // closing twice is harmless
}

TEST_F(FilesTest, CreatingEmptiesAnExistingFile) {
  WriteBytes("old.txt", "old content");
  File file;
  ASSERT_EQ(File::CreateForWriting("old.txt", file), kNoError);
  ASSERT_EQ(file.Write("new"), kNoError);
  ASSERT_EQ(file.Close(), kNoError);
  EXPECT_EQ(ReadBytes("old.txt"), "new");
}

TEST_F(FilesTest, FailedReadOrWriteClosesTheFileAtOnce) {
  WriteBytes("a.txt", "abc");
  File file;
  ASSERT_EQ(File::OpenForReading("a.txt", file), kNoError);
  const InjectedFault read_fault(FileOperation::kRead, 1, 5);
  std::string bytes;
  EXPECT_EQ(file.ReadAll(bytes), 5);
  EXPECT_FALSE(file.IsOpen());

  ASSERT_EQ(File::CreateForWriting("b.txt", file), kNoError);
  const InjectedFault write_fault(FileOperation::kWrite, 1, kDiskFull);
  EXPECT_EQ(file.Write("x"), kDiskFull);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.Write("x"), kInvalidHandle);
  // The lock went with the descriptor.
  EXPECT_EQ(File::CreateForWriting("b.txt", file), kNoError);
}

TEST_F(FilesTest, InjectedFaultHitsTheNthCallOnly) {
  WriteBytes("a.txt", "abc");
  const InjectedFault open_fault(FileOperation::kOpen, 2, 4);
  File first, second, third;
  EXPECT_EQ(File::OpenForReading("a.txt", first), kNoError);
  EXPECT_EQ(File::OpenForReading("a.txt", second), kTooManyOpenFiles);
  EXPECT_EQ(File::OpenForReading("a.txt", third), kNoError);
  const InjectedFault close_fault(FileOperation::kClose, 1, 55);
  EXPECT_EQ(first.Close(), 55);
  EXPECT_FALSE(first.IsOpen());
}

// ----- Replacement -----

TEST_F(FilesTest, ReplacementPutsTheNewContentInPlaceKeepingPermissions) {
  WriteBytes("r.csv", "old old old");
  chmod("r.csv", 0640);
  ReplacementFile replacement;
  ASSERT_EQ(replacement.Begin("r.csv"), kNoError);
  ASSERT_EQ(replacement.Write("new"), kNoError);
  EXPECT_EQ(ReadBytes("r.csv"), "old old old");  // untouched until Commit
  File reader;
  EXPECT_EQ(File::OpenForReading("r.csv", reader), kSharingViolation);
  ASSERT_EQ(replacement.Commit(), kNoError);
  EXPECT_EQ(ReadBytes("r.csv"), "new");
  struct stat info;
  ASSERT_EQ(stat("r.csv", &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(AllEntries(), std::vector<std::string>{"r.csv"});
}

TEST_F(FilesTest, ReplacementCreatesAMissingFileWithTheUsualMode) {
  mode_t mask = umask(022);
  ReplacementFile replacement;
  ASSERT_EQ(replacement.Begin("new.csv"), kNoError);
  ASSERT_EQ(replacement.Write("x"), kNoError);
  ASSERT_EQ(replacement.Commit(), kNoError);
  umask(mask);
  struct stat info;
  ASSERT_EQ(stat("new.csv", &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  EXPECT_EQ(AllEntries(), std::vector<std::string>{"new.csv"});
}

TEST_F(FilesTest, FailedReplacementLeavesTheEarlierFileAndNoTemporary) {
  const std::string earlier = "a,b\r\n\x90\x6C\r\n";
  const struct {
    FileOperation operation;
    int code;
  } kFaults[] = {
      {FileOperation::kWrite, kDiskFull},
      {FileOperation::kClose, 5},
      {FileOperation::kRename, 5},
  };
  for (const auto& fault : kFaults) {
    WriteBytes("r.csv", earlier);
    ReplacementFile replacement;
    ASSERT_EQ(replacement.Begin("r.csv"), kNoError);
    const InjectedFault injected(fault.operation, 1, fault.code);
    int code = replacement.Write("partial");
    if (code == kNoError) code = replacement.Commit();
    EXPECT_EQ(code, fault.code);
    EXPECT_EQ(ReadBytes("r.csv"), earlier);
    EXPECT_EQ(AllEntries(), std::vector<std::string>{"r.csv"});
    EXPECT_EQ(replacement.Commit(), kInvalidHandle);
    // Nothing is left locked: the file can be replaced again.
    ASSERT_EQ(replacement.Begin("r.csv"), kNoError);
  }
}

TEST_F(FilesTest, AbandonedReplacementLeavesNoTrace) {
  WriteBytes("r.csv", "earlier");
  {
    ReplacementFile replacement;
    ASSERT_EQ(replacement.Begin("r.csv"), kNoError);
    ASSERT_EQ(replacement.Write("never"), kNoError);
  }
  EXPECT_EQ(ReadBytes("r.csv"), "earlier");
  EXPECT_EQ(AllEntries(), std::vector<std::string>{"r.csv"});
}

// ----- Deleting and searching -----

TEST_F(FilesTest, DeletesAFileOnce) {
  WriteBytes("1.ans", "x");
  EXPECT_EQ(DeleteFileByName("1.ans"), kNoError);
  EXPECT_FALSE(Exists("1.ans"));
  EXPECT_EQ(DeleteFileByName("1.ans"), kFileNotFound);
  const InjectedFault fault(FileOperation::kDelete, 1, 32);
  WriteBytes("2.ans", "x");
  EXPECT_EQ(DeleteFileByName("2.ans"), 32);
  EXPECT_TRUE(Exists("2.ans"));
}

TEST(WildcardMatch, MatchesLikeTheDesktopSearch) {
  const struct {
    const char* pattern;
    const char* name;
    bool match;
  } kCases[] = {
      {"*.ans", "a.ans", true},
      {"*.ans", "A.ANS", true},
      {"*.ans", ".ans", true},
      {"*.ans", "a.ansx", false},
      {"*.ans", "a.an", false},
      {"*.ans", "x.ans.ans", true},
      {"?.ans", "ab.ans", false},
      {"?.ans", "b.ans", true},
      {"*", "", true},
      {"", "a", false},
      {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "aXbYbZ", false},
      {"\x90\x6C*", "\x90\x6C.ans", true},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match)
        << c.pattern << " / " << c.name;
  }
}

TEST_F(FilesTest, FindsOnlyOrdinaryVisibleFiles) {
  for (const char* name : {"a.ans", "B.ANS", ".hidden.ans", "c.ansx",
                           "target.txt", "\x90\x6C.ans"}) {
    WriteBytes(name, "x");
  }
  std::filesystem::create_directory("x.ans");
  std::filesystem::create_symlink("target.txt", "link.ans");
  std::filesystem::create_symlink("missing.txt", "dangling.ans");
  std::filesystem::create_directory_symlink("x.ans", "dirlink.ans");
  int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, "sock.ans");
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address),
            0);
  std::vector<std::string> found = FindFiles("*.ans");
  close(sock);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"B.ANS", "a.ans", "link.ans",
                                             "\x90\x6C.ans"}));
}

}  // namespace
}  // namespace tabulon::platform
