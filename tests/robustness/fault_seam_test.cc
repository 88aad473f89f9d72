// Failures injected through the file seam: a results file that cannot be
// written, an answer file that cannot be read, a file that cannot be deleted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "robustness_support.h"
#include "support/injected_fault.h"
#include "support/recording_listener.h"
#include "support/respondents.h"
#include "support/scratch_folder.h"
#include "survey/questionnaire.h"
#include "survey/results_csv.h"
#include "survey/tally.h"
#include "text/answer_file_list.h"
#include "text/failure.h"
#include "text/fixed_texts.h"

namespace tabulon {
namespace {

using platform::FileOperation;
using test_support::Cp932;
using test_support::DeleteEveryListedFile;
using test_support::FolderListing;
using test_support::InjectedFault;
using test_support::ReadBytes;
using test_support::RecordingListener;
using test_support::WriteBytes;
using Lines = std::vector<std::string>;

class FaultSeamTest : public test_support::InScratchFolder {};

const std::string& ResultsName() {
  return text::Text(text::FixedText::kResultsFileName);
}

survey::Questionnaire SmallQuestionnaire() {
  return survey::ParseQuestionnaire(
      {"title", "description", "", "[R]q1", "yes", "no", "[T]q2"});
}

// One respondent; a long computer name makes the writer go to the file
// twice (once when its buffer fills, once at the end).
survey::RespondentTable Respondents(bool long_name) {
  return test_support::StoreOf({{long_name ? std::string(100000, 'P') : "PC01",
                                 "name", "[Q1R]", "1", "0", "[Q2T]", "fun"}});
}

// ---- Writing the results file ----

struct WriteFault {
  const char* what;
  FileOperation operation;
  int nth;
  int code;
  const char* message;  // UTF-8
  bool long_name;
  // Test listings name the case, not its bytes.
  friend void PrintTo(const WriteFault& c, std::ostream* os) { *os << c.what; }
};

class ResultsWriteFaultTest : public FaultSeamTest,
                              public ::testing::WithParamInterface<WriteFault> {
};

TEST_P(ResultsWriteFaultTest, EarlierFileStaysAndNoTemporaryFileIsLeft) {
  const WriteFault& fault = GetParam();
  const std::string earlier = Cp932("質問,,前回の結果,\r\n");
  WriteBytes(ResultsName(), earlier);

  {
    const InjectedFault injected(fault.operation, fault.nth, fault.code);
    try {
      survey::WriteTallyResults(SmallQuestionnaire(),
                                Respondents(fault.long_name));
      FAIL() << "the write did not fail";
    } catch (const text::InputOutputFailure& failure) {
      EXPECT_EQ(failure.Code(), fault.code);
      EXPECT_EQ(failure.Message(), Cp932(fault.message));
    }
  }
  EXPECT_EQ(ReadBytes(ResultsName()), earlier);
  EXPECT_EQ(FolderListing(), Lines{ResultsName()});

  // Nothing stays open or locked: the next tally writes the file.
  survey::WriteTallyResults(SmallQuestionnaire(), Respondents(false));
  EXPECT_EQ(ReadBytes(ResultsName()),
            Cp932("質問,,q1,,q2,\r\nコンピュータ名,氏名等,yes,no,,\r\n"
                  "PC01,name,1,0,fun,\r\n"));
  EXPECT_EQ(FolderListing(), Lines{ResultsName()});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ResultsWriteFaultTest,
    ::testing::Values(
        WriteFault{"disk full at the first write", FileOperation::kWrite, 1,
                   112, "I/O エラー (112)", false},
        WriteFault{"disk full at a later write", FileOperation::kWrite, 2, 112,
                   "I/O エラー (112)", true},
        // Open 1 takes the earlier file's lock, open 2 makes the new file.
        WriteFault{"the earlier file is held", FileOperation::kOpen, 1, 32,
                   "I/O エラー (32)", false},
        WriteFault{"the new file cannot be made", FileOperation::kOpen, 2, 112,
                   "I/O エラー (112)", false},
        WriteFault{"flushing the new file fails", FileOperation::kSync, 1, 5,
                   "ファイルへのアクセスが拒否されました", false},
        WriteFault{"closing the new file fails", FileOperation::kClose, 1, 112,
                   "I/O エラー (112)", false},
        WriteFault{"putting the new file in place is denied",
                   FileOperation::kRename, 1, 5,
                   "ファイルへのアクセスが拒否されました", false}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(FaultSeamTest, FailedFirstResultsFileLeavesTheFolderEmpty) {
  const InjectedFault fault(FileOperation::kWrite, 1, 112);
  EXPECT_THROW(
      survey::WriteTallyResults(SmallQuestionnaire(), Respondents(false)),
      text::InputOutputFailure);
  EXPECT_EQ(FolderListing(), Lines{});
}

// ---- Reading the answer files ----

struct ReadFault {
  const char* what;
  FileOperation operation;
  int code;
  const char* message;  // UTF-8
  friend void PrintTo(const ReadFault& c, std::ostream* os) { *os << c.what; }
};

class AnswerReadFaultTest : public FaultSeamTest,
                            public ::testing::WithParamInterface<ReadFault> {};

TEST_P(AnswerReadFaultTest, TallyStopsAtTheSecondFile) {
  const ReadFault& fault = GetParam();
  WriteBytes("a.ans", "PC01\r\nA\r\n[Q1R]\r\n1\r\n0\r\n[Q2T]\r\nfun\r\n");
  WriteBytes("b.ans", "PC02\r\nB\r\n[Q1R]\r\n0\r\n1\r\n");
  WriteBytes("c.ans", "PC03\r\nC\r\n[Q1R]\r\n1\r\n1\r\n");
  text::AnswerFileList list;
  ASSERT_EQ(list.Names(), (Lines{"a.ans", "b.ans", "c.ans"}));

  const InjectedFault injected(fault.operation, 2, fault.code);
  survey::ChoiceCounts counts;
  survey::RespondentTable table;
  RecordingListener listener;
  try {
    survey::TallyAnswerFiles(list.Names(), counts, table, listener);
    FAIL() << "the tally did not fail";
  } catch (const text::InputOutputFailure& failure) {
    EXPECT_EQ(failure.Code(), fault.code);
    EXPECT_EQ(failure.Message(), Cp932(fault.message));
  }
  EXPECT_EQ(listener.events, (Lines{"choice 1: 1 0 0 0 0", "text 2: fun"}));
  EXPECT_EQ(counts.At(1, 2), 0);
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table.Row(0).computer_name, "PC01");
  // The file that failed was closed at once.
  EXPECT_FALSE(test_support::IsHeld("b.ans"));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, AnswerReadFaultTest,
    ::testing::Values(ReadFault{"opening is denied", FileOperation::kOpen, 5,
                                "ファイルへのアクセスが拒否されました"},
                      ReadFault{"a device error while reading",
                                FileOperation::kRead, 23, "I/O エラー (23)"},
                      ReadFault{"closing fails", FileOperation::kClose, 1117,
                                "I/O エラー (1117)"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// ---- Deleting the answer files ----

TEST_F(FaultSeamTest, FailedDeleteKeepsThatFileAndTheOthersGo) {
  for (const char* name : {"a.ans", "b.ans", "c.ans"}) WriteBytes(name, "x");
  WriteBytes("data.txt", "t");
  text::AnswerFileList list;
  const InjectedFault fault(FileOperation::kDelete, 2, 5);
  EXPECT_EQ(DeleteEveryListedFile(list),
            (std::vector<bool>{true, false, true}));
  list.Refresh();
  EXPECT_EQ(list.Names(), Lines{"b.ans"});
  EXPECT_EQ(FolderListing(), (Lines{"b.ans", "data.txt"}));
}

}  // namespace
}  // namespace tabulon
