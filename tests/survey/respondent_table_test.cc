#include "survey/respondent_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/null_listener.h"
#include "support/respondents.h"
#include "support/scratch_folder.h"
#include "survey/choice_value.h"
#include "survey/results_csv.h"
#include "text/fixed_texts.h"

namespace tabulon::survey {
namespace {

using test_support::Cp932;
using test_support::InScratchFolder;
using test_support::ReadBytes;
using test_support::WriteBytes;
using Lines = std::vector<std::string>;

using test_support::NullListener;

// ---- Rows as written ----

TEST(RespondentTable, GivesBackEveryFieldAsSetAndEmptyOnesEmpty) {
  RespondentTable store;
  store.AddRow();
  store.SetField(RespondentTable::kComputerNameField, "PC01");
  store.SetField(RespondentTable::AnswerField(1, 2), "1");
  store.SetField(RespondentTable::AnswerField(10, 5), "last");
  store.AddRow();  // a row with nothing in it
  store.AddRow();
  store.SetField(RespondentTable::kRespondentNameField, Cp932("山田"));
  ASSERT_EQ(store.size(), 3u);
  const RespondentRow first = store.Row(0);
  EXPECT_EQ(first.computer_name, "PC01");
  EXPECT_EQ(first.respondent_name, "");
  EXPECT_EQ(first.Answer(1, 1), "");
  EXPECT_EQ(first.Answer(1, 2), "1");
  EXPECT_EQ(first.Answer(10, 5), "last");
  for (int field = 0; field < RespondentTable::kFieldCount; ++field)
    EXPECT_EQ(store.Field(1, field), "") << field;
  EXPECT_EQ(store.Field(2, RespondentTable::kRespondentNameField),
            Cp932("山田"));
  EXPECT_THROW(store.FieldsOf(3), std::out_of_range);
}

// Field lengths that take one, two and three length bytes, a NUL and every
// byte value, and a field longer than a block, which moves its row to a
// block of its own without disturbing the rows before it.
TEST(RespondentTable, KeepsFieldsOfEveryLengthAndByte) {
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte += static_cast<char>(b);
  const std::vector<std::string> kTexts = {"x",
                                           std::string(127, 'a'),
                                           std::string(128, 'b'),
                                           std::string(16383, 'c'),
                                           std::string(16384, 'd'),
                                           every_byte,
                                           std::string(200000, 'e')};
  RespondentTable store;
  for (const std::string& text : kTexts) {
    store.AddRow();
    store.SetField(RespondentTable::kComputerNameField, "before");
    store.SetField(RespondentTable::AnswerField(3, 1), text);
    store.SetField(RespondentTable::AnswerField(3, 2), "after");
  }
  for (std::size_t r = 0; r < kTexts.size(); ++r) {
    EXPECT_EQ(store.Field(r, RespondentTable::kComputerNameField), "before");
    EXPECT_EQ(store.Field(r, RespondentTable::AnswerField(3, 1)), kTexts[r])
        << "row " << r;
    EXPECT_EQ(store.Field(r, RespondentTable::AnswerField(3, 2)), "after");
  }
}

TEST(RespondentTable, ManyRowsAcrossBlocksAndClearing) {
  RespondentTable store;
  store.Reserve(50000);
  for (int r = 0; r < 50000; ++r) {
    store.AddRow();
    store.SetField(RespondentTable::kComputerNameField,
                   "PC" + std::to_string(r));
    for (int c = 1; c <= kChoiceCount; ++c)
      store.SetField(RespondentTable::AnswerField(1, c), r % c ? "0" : "1");
  }
  EXPECT_EQ(store.Field(0, RespondentTable::kComputerNameField), "PC0");
  EXPECT_EQ(store.Field(49999, RespondentTable::kComputerNameField), "PC49999");
  EXPECT_EQ(store.Field(12345, RespondentTable::AnswerField(1, 5)), "1");
  EXPECT_EQ(store.Field(12346, RespondentTable::AnswerField(1, 5)), "0");
  store.Clear();
  EXPECT_TRUE(store.empty());
  EXPECT_THROW(store.SetField(0, "x"), std::logic_error);
}

// ---- The tally into the store ----

std::string CrLf(const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

class StoreTallyTest : public InScratchFolder {};

// A tally of the files holds what their lines tallied one by one hold, and
// the two give the same results file, byte for byte.
TEST_F(StoreTallyTest, HoldsWhatTheFilesLinesHold) {
  const std::vector<Lines> kFiles = {
      {"PC01", Cp932("山田"), "[Q1R]", "1", "0", "[END]", "[Q2T]",
       Cp932("楽しい, とても")},
      {"PC02", "", "[Q1C]", " 1", "0", "1", "0", "1", "1", "[Q2T]", "[Q3R]",
       "0"},
      {"PC03"},
      {"PC04", "B", "[Q]", "[Q1T]", "", "[Q2R]", "1"},
  };
  Lines names;
  for (std::size_t f = 0; f < kFiles.size(); ++f) {
    names.push_back("f" + std::to_string(f) + ".ans");
    WriteBytes(names.back(), CrLf(kFiles[f]));
  }
  WriteBytes("data.txt", CrLf({"t", "d", "", "[R]q1", "a", "b", "", "[T]q2",
                               "[R]q3", "x", "y", "z"}));
  const Questionnaire questionnaire = LoadQuestionnaire();
  ChoiceCounts counts;
  NullListener listener;
  const RespondentTable from_lines = test_support::StoreOf(kFiles);
  WriteTallyResults(questionnaire, from_lines);
  const std::string lines_csv = ReadBytes(Cp932("集計結果.csv"));

  RespondentTable store;
  TallyAnswerFiles(names, counts, store, listener);
  ASSERT_EQ(store.size(), from_lines.size());
  for (std::size_t r = 0; r < store.size(); ++r) {
    const RespondentRow row = store.Row(r);
    EXPECT_EQ(row.computer_name, from_lines.Row(r).computer_name) << r;
    EXPECT_EQ(row.respondent_name, from_lines.Row(r).respondent_name) << r;
    EXPECT_EQ(row.answers, from_lines.Row(r).answers) << r;
  }
  WriteTallyResults(questionnaire, store);
  EXPECT_EQ(ReadBytes(Cp932("集計結果.csv")), lines_csv);
}

// A bad choice line stops the tally with the failing file's row kept as far
// as it got; the next tally starts from nothing.
TEST_F(StoreTallyTest, FailureKeepsTheRowsSoFarAndTheNextTallyStartsAfresh) {
  WriteBytes("a.ans", CrLf({"PC01", "A", "[Q1R]", "1"}));
  WriteBytes("b.ans", CrLf({"PC02", "B", "[Q1R]", "1", "x", "1"}));
  ChoiceCounts counts;
  NullListener listener;
  RespondentTable store;
  EXPECT_THROW(TallyAnswerFiles({"a.ans", "b.ans"}, counts, store, listener),
               NotAnIntegerFailure);
  ASSERT_EQ(store.size(), 2u);
  EXPECT_EQ(store.Field(1, RespondentTable::kComputerNameField), "PC02");
  EXPECT_EQ(store.Field(1, RespondentTable::AnswerField(1, 2)), "x");
  EXPECT_EQ(store.Field(1, RespondentTable::AnswerField(1, 3)), "");

  TallyAnswerFiles({"a.ans"}, counts, store, listener);
  ASSERT_EQ(store.size(), 1u);
  EXPECT_EQ(store.Field(0, RespondentTable::AnswerField(1, 1)), "1");
  EXPECT_EQ(counts.At(1, 1), 1);
}

}  // namespace
}  // namespace tabulon::survey
