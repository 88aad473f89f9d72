// The file layer's behaviour that every platform shares: codes for
// missing, denied and held files, reading and writing, atomic replacement,
// deletion and the wildcard match.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/injected_fault.h"
#include "support/scratch_folder.h"

namespace tabulon::platform {
namespace {

using ::tabulon::test_support::Exists;
using ::tabulon::test_support::FolderListing;
using ::tabulon::test_support::HeldByAnotherProgram;
using ::tabulon::test_support::InjectedFault;
using ::tabulon::test_support::MakeFolder;
using ::tabulon::test_support::MakeReadOnly;
using ::tabulon::test_support::ReadBytes;
using ::tabulon::test_support::WriteBytes;
using Holding = HeldByAnotherProgram::Holding;
using Names = std::vector<std::string>;

class FilesTest : public ::tabulon::test_support::InScratchFolder {};

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
  MakeFolder("folder");
  File file;
  EXPECT_EQ(File::OpenForReading("folder", file), kAccessDenied);
  EXPECT_EQ(File::CreateForWriting("folder", file), kAccessDenied);
  EXPECT_EQ(DeleteFileByName("folder"), kAccessDenied);
}

TEST_F(FilesTest, ReadOnlyFileIsReadButNeitherWrittenNorDeleted) {
  WriteBytes("ro.csv", "old");
  MakeReadOnly("ro.csv");
  File file;
  EXPECT_EQ(File::OpenForReading("ro.csv", file), kNoError);
  file.Close();
  EXPECT_EQ(File::CreateForWriting("ro.csv", file), kAccessDenied);
  ReplacementFile replacement;
  EXPECT_EQ(replacement.Begin("ro.csv"), kAccessDenied);
  EXPECT_EQ(DeleteFileByName("ro.csv"), kAccessDenied);
  EXPECT_EQ(ReadBytes("ro.csv"), "old");
}

TEST_F(FilesTest, FileHeldUnsharedBlocksEverythingAndEmptiesNothing) {
  WriteBytes("held.csv", "content");
  File file;
  {
    const HeldByAnotherProgram held("held.csv");
    EXPECT_EQ(File::OpenForReading("held.csv", file), kSharingViolation);
    EXPECT_EQ(File::CreateForWriting("held.csv", file), kSharingViolation);
    ReplacementFile replacement;
    EXPECT_EQ(replacement.Begin("held.csv"), kSharingViolation);
    EXPECT_EQ(DeleteFileByName("held.csv"), kSharingViolation);
    EXPECT_FALSE(file.IsOpen());
  }
  // Looked at once it is let go: Windows lets no one read it before.
  EXPECT_EQ(ReadBytes("held.csv"), "content");
  EXPECT_EQ(FolderListing(), Names{"held.csv"});
}

TEST_F(FilesTest, ForeignReaderAllowsReadingButNotWriting) {
  WriteBytes("shared.txt", "abc");
  const HeldByAnotherProgram reader_elsewhere("shared.txt",
                                              Holding::kForReading);
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

TEST_F(FilesTest, FailedReadWriteOrSyncClosesTheFileAtOnce) {
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

  const InjectedFault sync_fault(FileOperation::kSync, 1, 5);
  EXPECT_EQ(file.Sync(), 5);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.Sync(), kInvalidHandle);
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

TEST_F(FilesTest, ReplacementPutsTheNewContentInPlaceOnlyOnCommit) {
  WriteBytes("r.csv", "old old old");
  ReplacementFile replacement;
  ASSERT_EQ(replacement.Begin("r.csv"), kNoError);
  ASSERT_EQ(replacement.Write("new"), kNoError);
  EXPECT_EQ(ReadBytes("r.csv"), "old old old");  // untouched until Commit
  File reader;
  EXPECT_EQ(File::OpenForReading("r.csv", reader), kSharingViolation);
  ASSERT_EQ(replacement.Commit(), kNoError);
  EXPECT_EQ(ReadBytes("r.csv"), "new");
  EXPECT_EQ(FolderListing(), Names{"r.csv"});
}

TEST_F(FilesTest, FailedReplacementLeavesTheEarlierFileAndNoTemporary) {
  const std::string earlier = "a,b\r\n\x90\x6C\r\n";
  const struct {
    FileOperation operation;
    int code;
  } kFaults[] = {
      {FileOperation::kWrite, kDiskFull},
      {FileOperation::kSync, kDiskFull},
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
    EXPECT_EQ(FolderListing(), Names{"r.csv"});
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
  EXPECT_EQ(FolderListing(), Names{"r.csv"});
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

}  // namespace
}  // namespace tabulon::platform
