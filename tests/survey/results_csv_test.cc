#include "survey/results_csv.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/injected_fault.h"
#include "support/null_listener.h"
#include "support/respondents.h"
#include "support/scratch_folder.h"
#include "survey/tally.h"
#include "text/failure.h"

namespace tabulon::survey {
namespace {

using test_support::Cp932;
using test_support::Exists;
using test_support::FolderListing;
using test_support::HeldByAnotherProgram;
using test_support::InScratchFolder;
using test_support::ReadBytes;
using test_support::StoreOf;
using test_support::WriteBytes;
using Lines = std::vector<std::string>;

using test_support::NullListener;

std::string CrLf(const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// Question 1 "R" with three choices, question 2 "T", question 3 "C" with two.
Questionnaire ThreeKindsQuestionnaire() {
  return ParseQuestionnaire(
      {Cp932("アンケート"), Cp932("説明"), "", Cp932("[R]通学方法"),
       Cp932("徒歩"), Cp932("自転車"), Cp932("バス"), "", Cp932("[T]感想"),
       Cp932("[C]好きな季節"), Cp932("春"), Cp932("夏")});
}

std::string ResultsFile() { return ReadBytes(Cp932("集計結果.csv")); }

const std::string kHeadings = Cp932(
    "質問,,通学方法,,,感想,好きな季節,,\r\n"
    "コンピュータ名,氏名等,徒歩,自転車,バス,,春,夏,\r\n");

class WriteTallyResultsTest : public InScratchFolder {};

// ---- Layout ----

TEST_F(WriteTallyResultsTest, WritesEachQuestionsBlockUnderItsHeadings) {
  const RespondentTable table =
      StoreOf({{"PC01", Cp932("山田"), "[Q1R]", "0", "1", "0", "[END]", "[Q2T]",
                Cp932("楽しい"), "[Q3C]", "1", "1", "[END]"}});
  WriteTallyResults(ThreeKindsQuestionnaire(), table);
  EXPECT_EQ(ResultsFile(),
            kHeadings + Cp932("PC01,山田,0,1,0,楽しい,1,1,\r\n"));
}

TEST_F(WriteTallyResultsTest, NoAnswerFileGivesTheTwoHeadingRows) {
  WriteTallyResults(ThreeKindsQuestionnaire(), {});
  EXPECT_EQ(ResultsFile(), kHeadings);
}

TEST_F(WriteTallyResultsTest, QuestionWithoutTextHasNoColumns) {
  const Questionnaire questionnaire =
      ParseQuestionnaire({"t", "d", "", "[R]", "yes", "no", "", "[T]why"});
  WriteTallyResults(
      questionnaire,
      StoreOf({{"PC", "N", "[Q1R]", "1", "0", "[Q2T]", "because"}}));
  EXPECT_EQ(
      ResultsFile(),
      Cp932("質問,,why,\r\nコンピュータ名,氏名等,,\r\nPC,N,because,\r\n"));
}

TEST_F(WriteTallyResultsTest, CommaInAnAnswerShiftsTheRow) {
  const RespondentTable table =
      StoreOf({{"PC01", Cp932("田中"), "[Q1R]", "1", "0", "0", "[Q2T]",
                Cp932("朝は眠い,でも楽しい"), "[Q3C]", "0", "1"}});
  WriteTallyResults(ThreeKindsQuestionnaire(), table);
  EXPECT_EQ(ResultsFile(),
            kHeadings + Cp932("PC01,田中,1,0,0,朝は眠い,でも楽しい,0,1,\r\n"));
}

TEST_F(WriteTallyResultsTest, MismatchedSectionsLandByPosition) {
  // Section 1 is text where question 1 has choices; section 2 has choices
  // where question 2 is free text: each lands under its position's block.
  const RespondentTable table = StoreOf({{"PC01", "A", "[Q1T]", "walk", "[Q2R]",
                                          "1", "0", "1", "[Q3C]", "1", "0"}});
  WriteTallyResults(ThreeKindsQuestionnaire(), table);
  EXPECT_EQ(ResultsFile(), kHeadings + "PC01,A,walk,,,1,1,0,\r\n");
}

// A store refilled by a shorter tally writes only the rows it now holds.
TEST_F(WriteTallyResultsTest, WritesOnlyTheRowsOfTheLastTally) {
  WriteBytes("PC01.ans", CrLf({"PC01", "A"}));
  WriteBytes("PC02.ans", CrLf({"PC02", "B"}));
  ChoiceCounts counts;
  RespondentTable table;
  NullListener listener;
  TallyAnswerFiles({"PC01.ans", "PC02.ans"}, counts, table, listener);
  TallyAnswerFiles({"PC01.ans"}, counts, table, listener);
  WriteTallyResults(ThreeKindsQuestionnaire(), table);
  EXPECT_EQ(ResultsFile(), kHeadings + "PC01,A,,,,,,,\r\n");
}

// ---- Whole tallies ----

TEST_F(WriteTallyResultsTest, TwoTalliesGiveIdenticalFiles) {
  WriteBytes("PC01.ans", CrLf({"PC01", "A", "[Q1R]", "1", "0", "0", "[Q2T]",
                               "x", "[Q3C]", "1"}));
  WriteBytes("PC02.ans",
             CrLf({"PC02", "B", "[Q1R]", "0", "0", "1", "[Q2T]", "y"}));
  const Lines names = {"PC01.ans", "PC02.ans"};
  ChoiceCounts counts;
  RespondentTable table;
  NullListener listener;

  TallyAnswerFiles(names, counts, table, listener);
  WriteTallyResults(ThreeKindsQuestionnaire(), table);
  const std::string first = ResultsFile();
  TallyAnswerFiles(names, counts, table, listener);
  WriteTallyResults(ThreeKindsQuestionnaire(), table);
  EXPECT_EQ(ResultsFile(), first);
  EXPECT_EQ(first, kHeadings + "PC01,A,1,0,0,x,1,,\r\nPC02,B,0,0,1,y,,,\r\n");
}

TEST_F(WriteTallyResultsTest, FailedTallyLeavesNoResultsFile) {
  WriteBytes("PC01.ans", CrLf({"PC01", "A"}));
  ChoiceCounts counts;
  RespondentTable table;
  NullListener listener;
  // The caller writes the results only after a tally that did not fail.
  EXPECT_THROW(
      TallyAnswerFiles({"PC01.ans", "PC02.ans"}, counts, table, listener),
      text::InputOutputFailure);
  EXPECT_FALSE(Exists(Cp932("集計結果.csv")));
}

// ---- Failures keep the earlier file ----

class ResultsFailureTest : public WriteTallyResultsTest {
 protected:
  void SetUp() override { WriteBytes(Cp932("集計結果.csv"), kEarlier); }

  // Writes, expects the failure code, and checks that the earlier file and
  // nothing else is in the folder.
  void ExpectFailureKeepingEarlierFile(int code) {
    ExpectFailure(code);
    ExpectOnlyTheEarlierFile();
  }
  void ExpectFailure(int code) {
    try {
      WriteTallyResults(ThreeKindsQuestionnaire(), StoreOf({{"PC01", "A"}}));
      ADD_FAILURE() << "no failure";
    } catch (const text::InputOutputFailure& failure) {
      EXPECT_EQ(failure.Code(), code);
    }
  }
  void ExpectOnlyTheEarlierFile() {
    EXPECT_EQ(ResultsFile(), kEarlier);
    EXPECT_EQ(FolderListing(), Lines{Cp932("集計結果.csv")});
  }

  const std::string kEarlier = Cp932("earlier,結果,\r\n");
};

TEST_F(ResultsFailureTest, ReadOnlyFileFailsWithCode5) {
  test_support::MakeReadOnly(Cp932("集計結果.csv"));
  ExpectFailureKeepingEarlierFile(platform::kAccessDenied);
}

TEST_F(ResultsFailureTest, LockedFileFailsWithCode32) {
  {
    const HeldByAnotherProgram held(Cp932("集計結果.csv"));
    ExpectFailure(platform::kSharingViolation);
  }
  ExpectOnlyTheEarlierFile();
}

TEST_F(ResultsFailureTest, FullDiskKeepsTheEarlierFileAndNoTemporary) {
  const test_support::InjectedFault full(platform::FileOperation::kWrite, 1,
                                         platform::kDiskFull);
  ExpectFailureKeepingEarlierFile(platform::kDiskFull);
}

TEST_F(ResultsFailureTest, SucceedsOnceTheLockIsGone) {
  auto held = std::make_unique<HeldByAnotherProgram>(Cp932("集計結果.csv"));
  EXPECT_THROW(WriteTallyResults(ThreeKindsQuestionnaire(), {}),
               text::InputOutputFailure);
  held.reset();
  WriteTallyResults(ThreeKindsQuestionnaire(), {});
  EXPECT_EQ(ResultsFile(), kHeadings);
}

}  // namespace
}  // namespace tabulon::survey
