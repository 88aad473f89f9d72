#include "survey/answer_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "support/injected_fault.h"
#include "support/scratch_folder.h"
#include "text/failure.h"

namespace tabulon::survey {
namespace {

using platform::FileOperation;
using test_support::Cp932;
using test_support::FolderListing;
using test_support::HeldByAnotherProgram;
using test_support::InjectedFault;
using test_support::ReadBytes;
using test_support::WriteBytes;
using Lines = std::vector<std::string>;

// ---- File names ----

TEST(AnswerFileNameTest, ReplacesWhatAFileNameCannotHold) {
  const struct {
    std::string computer, file;
  } kCases[] = {
      {"PC01", "PC01.ans"},
      {"a\\b/c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j.ans"},
      {"tab\there\x7F", "tab_here_.ans"},
      {"", "_.ans"},
      // 0x5C and 0x7C as second bytes belong to their characters.
      {Cp932("表計算ソ"), Cp932("表計算ソ") + ".ans"},
      {"\x95", "\x95.ans"},  // a lead byte at the end is kept as it is
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(AnswerFileName(c.computer), c.file) << c.computer;
  }
  EXPECT_EQ(NumberedAnswerFileName("PC:1", 12), "PC_1-12.ans");
}

TEST(AsOneLineTest, BreaksTabsAndControlsBecomeSpaces) {
  const struct {
    std::string typed, line;
  } kCases[] = {
      {"a\r\nb", "a b"},
      {"a\rb\nc", "a b c"},
      {"a\tb", "a b"},
      {"\x1A"
       "z",
       " z"},
      {"[Q5R]", " [Q5R]"},
      {"[q", "[q"},
      {"x[Q", "x[Q"},
      {Cp932("ソ表"), Cp932("ソ表")},
  };
  for (const auto& c : kCases) EXPECT_EQ(AsOneLine(c.typed), c.line);
}

// ---- Content ----

class AnswerFileLinesTest : public test_support::InScratchFolder {};

TEST_F(AnswerFileLinesTest, SampleWithKnownAnswersIsByteExact) {
  const Questionnaire questionnaire = ParseQuestionnaire(
      {Cp932("アンケート"), Cp932("説明"), "", Cp932("[R]通学"), Cp932("徒歩"),
       Cp932("バス"), "", Cp932("[T]感想"), Cp932("[C]季節"), Cp932("春"),
       Cp932("夏"), Cp932("秋"), "", Cp932("[R]選択肢なし"), Cp932("[T]")});
  Answers answers;
  answers.computer_name = "PC07";
  answers.respondent_name = Cp932("山田\t花子");
  answers.At(1).chosen = {false, true};
  answers.At(2).text = Cp932("楽しかった\r\nまた来たい");
  answers.At(3).chosen = {true, false, true};
  WriteAnswerFile("PC07.ans", AnswerFileLines(questionnaire, answers));
  EXPECT_EQ(ReadBytes("PC07.ans"),
            Cp932("PC07\r\n山田 花子\r\n[Q1R]\r\n0\r\n1\r\n[END]\r\n[Q2T]\r\n"
                  "楽しかった また来たい\r\n[Q3C]\r\n1\r\n0\r\n1\r\n[END]\r\n"
                  "[Q4R]\r\n[END]\r\n[Q5T]\r\n\r\n"));
}

// ---- Writing ----

class WriteAnswerFileTest : public test_support::InScratchFolder {
 protected:
  const Lines kLines = {"PC01", "new", "[Q1T]", "text"};
  const std::string kEarlier = "PC01\r\nearlier\r\n";
};

TEST_F(WriteAnswerFileTest, ReplacesAnEarlierFileWhole) {
  WriteBytes("PC01.ans", kEarlier);
  EXPECT_TRUE(AnswerFileExists("PC01.ans"));
  EXPECT_FALSE(AnswerFileExists("PC02.ans"));
  WriteAnswerFile("PC01.ans", kLines);
  EXPECT_EQ(ReadBytes("PC01.ans"), "PC01\r\nnew\r\n[Q1T]\r\ntext\r\n");
  EXPECT_EQ(FolderListing(), Lines{"PC01.ans"});
}

// Whatever fails, the earlier file stays byte for byte and nothing else is
// left in the folder.
TEST_F(WriteAnswerFileTest, AFailureLeavesTheEarlierFileAlone) {
  const struct {
    FileOperation operation;
    int code;
  } kFaults[] = {
      {FileOperation::kOpen, platform::kAccessDenied},  // folder not writable
      {FileOperation::kWrite, platform::kDiskFull},
      {FileOperation::kRename, platform::kAccessDenied},
  };
  WriteBytes("PC01.ans", kEarlier);
  for (const auto& fault : kFaults) {
    InjectedFault injected(fault.operation, 1, fault.code);
    try {
      WriteAnswerFile("PC01.ans", kLines);
      ADD_FAILURE() << "no failure for code " << fault.code;
    } catch (const text::InputOutputFailure& failure) {
      EXPECT_EQ(failure.Code(), fault.code);
    }
    EXPECT_EQ(ReadBytes("PC01.ans"), kEarlier);
    EXPECT_EQ(FolderListing(), Lines{"PC01.ans"});
  }
}

TEST_F(WriteAnswerFileTest, AFileHeldByAnotherProgramIsNotReplaced) {
  WriteBytes("PC01.ans", kEarlier);
  {
    HeldByAnotherProgram holder("PC01.ans");
    try {
      WriteAnswerFile("PC01.ans", kLines);
      ADD_FAILURE() << "replaced a held file";
    } catch (const text::InputOutputFailure& failure) {
      EXPECT_EQ(failure.Code(), platform::kSharingViolation);
    }
  }
  EXPECT_EQ(ReadBytes("PC01.ans"), kEarlier);
  EXPECT_EQ(FolderListing(), Lines{"PC01.ans"});
}

TEST_F(WriteAnswerFileTest, NumberedFilesTakeTheNextFreeNumber) {
  WriteBytes("PC01-1.ans", kEarlier);
  WriteBytes("PC01-3.ans", kEarlier);
  EXPECT_EQ(WriteNumberedAnswerFile("PC01", kLines), "PC01-2.ans");
  EXPECT_EQ(WriteNumberedAnswerFile("PC01", kLines), "PC01-4.ans");
  EXPECT_EQ(ReadBytes("PC01-1.ans"), kEarlier);
  EXPECT_EQ(ReadBytes("PC01-4.ans"), "PC01\r\nnew\r\n[Q1T]\r\ntext\r\n");
  EXPECT_EQ(FolderListing(),
            (Lines{"PC01-1.ans", "PC01-2.ans", "PC01-3.ans", "PC01-4.ans"}));
}

TEST_F(WriteAnswerFileTest, AFailedNumberedWriteLeavesNothingBehind) {
  WriteBytes("PC01-1.ans", kEarlier);
  for (FileOperation operation :
       {FileOperation::kWrite, FileOperation::kRename}) {
    // The second rename is the one that takes a number.
    InjectedFault injected(operation,
                           operation == FileOperation::kRename ? 2 : 1,
                           platform::kDiskFull);
    EXPECT_THROW(WriteNumberedAnswerFile("PC01", kLines),
                 text::InputOutputFailure);
    EXPECT_EQ(FolderListing(), Lines{"PC01-1.ans"});
  }
}

}  // namespace
}  // namespace tabulon::survey
