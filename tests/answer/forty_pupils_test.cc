// Forty answer programs saving into one folder at once, as processes: a
// computer room pressing save together.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "processes.h"
#include "support/null_listener.h"
#include "support/scratch_folder.h"
#include "survey/respondent_table.h"
#include "survey/tally.h"

namespace tabulon::answer {
namespace {

constexpr int kPupils = 40;

class FortyPupilsTest : public test_support::InScratchFolder {
 protected:
  void SetUp() override {
    test_support::WriteBytes("data.txt",
                             "Room\r\nAll at once\r\n\r\n[R]Q1\r\nyes\r\nno\r\n"
                             "\r\n[T]Q2\r\n[C]Q3\r\na\r\nb\r\n");
  }
  // Tallies the folder: every file complete, every pupil counted once.
  void ExpectTalliedPupils(std::size_t files) {
    const std::vector<std::string> names = platform::FindFiles("*.ans");
    ASSERT_EQ(names.size(), files);
    survey::ChoiceCounts counts;
    survey::RespondentTable store;
    test_support::NullListener listener;
    survey::TallyAnswerFiles(names, counts, store, listener);
    EXPECT_EQ(counts.At(1, 1), kPupils);
    EXPECT_EQ(counts.At(1, 2), 0);
    EXPECT_EQ(counts.At(3, 1), kPupils);
    for (std::size_t r = 0; r < store.size(); ++r) {
      EXPECT_EQ(store.Field(r, survey::RespondentTable::AnswerField(2, 1)),
                "text");
    }
  }
  std::vector<int> SaveAll(bool each) {
    std::vector<std::vector<std::string>> commands;
    for (int pupil = 1; pupil <= kPupils; ++pupil) {
      std::vector<std::string> command = {
          TABULON_ANSWER_SAVER,
          each ? "PC" : "PC" + std::to_string(100 + pupil)};
      if (each) command.push_back("each");
      commands.push_back(command);
    }
    return test_support::RunAllAtOnce(commands);
  }
};

TEST_F(FortyPupilsTest, FortyComputersLeaveFortyCompleteFiles) {
  EXPECT_EQ(SaveAll(false), std::vector<int>(kPupils, 0));
  ExpectTalliedPupils(kPupils);
  EXPECT_EQ(test_support::FolderListing().size(), kPupils + 1u);  // data.txt
}

TEST_F(FortyPupilsTest, FortyPupilsAtOneComputerGetFortyNumbers) {
  EXPECT_EQ(SaveAll(true), std::vector<int>(kPupils, 0));
  ExpectTalliedPupils(kPupils);
  for (int k = 1; k <= kPupils; ++k) {
    EXPECT_TRUE(test_support::Exists("PC-" + std::to_string(k) + ".ans")) << k;
  }
  EXPECT_EQ(test_support::FolderListing().size(), kPupils + 1u);
}

}  // namespace
}  // namespace tabulon::answer
