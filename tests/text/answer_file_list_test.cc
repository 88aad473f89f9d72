#include "text/answer_file_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace tabulon::text {
namespace {

using ::tabulon::test_support::Exists;
using ::tabulon::test_support::MakeFolder;
using ::tabulon::test_support::MakeReadOnly;
using ::tabulon::test_support::WriteBytes;
using Names = std::vector<std::string>;

class RecordingBusyPointer : public BusyPointer {
 public:
  void SetBusy(bool busy) override { calls.push_back(busy); }
  std::vector<bool> calls;
};

class AnswerFileListTest : public ::tabulon::test_support::InScratchFolder {
 protected:
  void Make(const Names& names) {
    for (const std::string& name : names) WriteBytes(name, "x");
  }
};

TEST_F(AnswerFileListTest, ListsAnswerFilesInNameOrder) {
  Make({"b.ans", "A.ANS", "2.ans", "10.ans", "1.ans", "_x.ans", "Zz.Ans",
        "notes.txt", "a.ansx"});
  AnswerFileList list;
  EXPECT_EQ(list.Names(), (Names{"_x.ans", "1.ans", "10.ans", "2.ans", "A.ANS",
                                 "b.ans", "Zz.Ans"}));
  EXPECT_EQ(list.Count(), 7);
  EXPECT_EQ(list.Name(1), "_x.ans");
  EXPECT_EQ(list.Name(7), "Zz.Ans");
  EXPECT_EQ(list.Name(0), "");
  EXPECT_EQ(list.Name(8), "");
  EXPECT_EQ(list.Pattern(), "*.ans");
}

TEST_F(AnswerFileListTest, LeavesOutHiddenFilesAndFolders) {
  Make({"a.ans", ".hidden.ans", "ro.ans"});
  MakeReadOnly("ro.ans");  // read-only answer files are listed
  MakeFolder("x.ans");
  AnswerFileList list;
  EXPECT_EQ(list.Names(), (Names{"a.ans", "ro.ans"}));
}

TEST_F(AnswerFileListTest, ReadsTheFolderOnFirstUseAndOnRefreshOnly) {
  AnswerFileList list;
  Make({"1.ans"});  // made after construction, before first use
  EXPECT_EQ(list.Count(), 1);
  Make({"2.ans"});
  list.SetPattern("*.ans");  // the same pattern: no re-reading
  EXPECT_EQ(list.Count(), 1);
  list.Refresh();
  EXPECT_EQ(list.Count(), 2);
  Make({"3.ANS"});
  list.SetPattern("*.ANS");  // differs in case only, so it re-reads
  EXPECT_EQ(list.Count(), 3);
}

TEST_F(AnswerFileListTest, ListsEveryPatternOfTheList) {
  Make({"a.ans", "b.txt", "c.csv"});
  AnswerFileList list;
  list.SetPattern("*.txt;*.ans;a*");
  EXPECT_EQ(list.Names(), (Names{"a.ans", "b.txt"}));
  list.SetPattern("*.none");
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(AnswerFileListTest, ShowsTheBusyPointerFromTheHundredAndFirstName) {
  RecordingBusyPointer busy;
  Names hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back(std::to_string(i) + ".ans");
  Make(hundred);
  AnswerFileList list(&busy);
  EXPECT_EQ(list.Count(), 100);
  EXPECT_TRUE(busy.calls.empty());
  Make({"100.ans"});
  list.Refresh();
  EXPECT_EQ(list.Count(), 101);
  EXPECT_EQ(busy.calls, (std::vector<bool>{true, false}));
}

TEST_F(AnswerFileListTest, DeleteFileReportsSuccess) {
  Make({"1.ans", "ro.ans"});
  MakeReadOnly("ro.ans");
  EXPECT_TRUE(DeleteFile("1.ans"));
  EXPECT_FALSE(Exists("1.ans"));
  EXPECT_FALSE(DeleteFile("1.ans"));
  EXPECT_FALSE(DeleteFile("ro.ans"));
  EXPECT_TRUE(Exists("ro.ans"));
}

}  // namespace
}  // namespace tabulon::text
