// What only Windows has: hidden and system attributes, short names, devices,
// the system's own error codes, and attributes that a replaced file keeps.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/scratch_folder.h"

namespace tabulon::platform {
namespace {

using ::tabulon::test_support::FolderListing;
using ::tabulon::test_support::MakeFolder;
using ::tabulon::test_support::MakeHidden;
using ::tabulon::test_support::MakeReadOnly;
using ::tabulon::test_support::MakeSystem;
using ::tabulon::test_support::ReadBytes;
using ::tabulon::test_support::WriteBytes;
using Names = std::vector<std::string>;

class WindowsFilesTest : public ::tabulon::test_support::InScratchFolder {};

TEST_F(WindowsFilesTest, FindsOnlyOrdinaryFilesOfTheirOwnLongName) {
  for (const char* name : {"a.ans", "B.ANS", "hidden.ans", "system.ans",
                           "ro.ans", "c.ansx", "\x90\x6C.ans"}) {
    WriteBytes(name, "x");
  }
  ASSERT_TRUE(MakeHidden("hidden.ans"));
  ASSERT_TRUE(MakeSystem("system.ans"));
  MakeReadOnly("ro.ans");
  MakeFolder("x.ans");
  std::vector<std::string> found = FindFiles("*.ans");
  std::sort(found.begin(), found.end());
  // "c.ansx" is not found through a short name that ends in ".ANS".
  EXPECT_EQ(found, (Names{"B.ANS", "a.ans", "ro.ans", "\x90\x6C.ans"}));
}

TEST_F(WindowsFilesTest, ReplacedFileKeepsItsAttributesAndNoTemporaryStays) {
  WriteBytes("r.csv", "old");
  ASSERT_TRUE(MakeHidden("r.csv"));
  ReplacementFile replacement;
  ASSERT_EQ(replacement.Begin("r.csv"), kNoError);
  ASSERT_EQ(replacement.Write("new"), kNoError);
  // The temporary file stands beside the real one, under a plain name.
  const Names during = FolderListing();
  ASSERT_EQ(during.size(), 2u);
  EXPECT_NE(during[1].front(), '.');
  ASSERT_EQ(replacement.Commit(), kNoError);
  EXPECT_EQ(ReadBytes("r.csv"), "new");
  EXPECT_NE(GetFileAttributesA("r.csv") & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(FolderListing(), Names{"r.csv"});
}

TEST_F(WindowsFilesTest, DevicesAreNoFiles) {
  File file;
  EXPECT_EQ(File::OpenForReading("NUL", file), kAccessDenied);
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(WindowsFilesTest, TheSystemsOwnCodesPassThrough) {
  File file;
  // A name the system refuses outright: ERROR_INVALID_NAME.
  EXPECT_EQ(File::OpenForReading("a<b>.ans", file), ERROR_INVALID_NAME);
  EXPECT_EQ(DeleteFileByName("a<b>.ans"), ERROR_INVALID_NAME);
}

}  // namespace
}  // namespace tabulon::platform
