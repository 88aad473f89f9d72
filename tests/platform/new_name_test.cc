// Taking a name no file has yet, and the computer's own name.
#include "platform/new_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/computer_name.h"
#include "platform/files.h"
#include "support/scratch_folder.h"

namespace tabulon::platform {
namespace {

using test_support::Cp932;
using test_support::FolderListing;
using test_support::ReadBytes;
using test_support::WriteBytes;
using Names = std::vector<std::string>;

class MoveToNewNameTest : public test_support::InScratchFolder {};

TEST_F(MoveToNewNameTest, TakesAFreeNameAndNeverReplaces) {
  WriteBytes("a.tmp", "new");
  WriteBytes("taken.ans", "earlier");
  EXPECT_EQ(MoveToNewName("a.tmp", "taken.ans"), kFileExists);
  EXPECT_EQ(ReadBytes("taken.ans"), "earlier");
  EXPECT_EQ(ReadBytes("a.tmp"), "new");
  const std::string free_name = Cp932("名前.ans");
  EXPECT_EQ(MoveToNewName("a.tmp", free_name), kNoError);
  EXPECT_EQ(ReadBytes(free_name), "new");
  EXPECT_EQ(FolderListing(), (Names{"taken.ans", free_name}));
  EXPECT_EQ(MoveToNewName("a.tmp", "b.ans"), kFileNotFound);
}

TEST(ComputerNameTest, IsOneNameWithoutDomain) {
  const std::string name = ComputerName();
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name.find('.'), std::string::npos) << name;
}

}  // namespace
}  // namespace tabulon::platform
