#include "survey/tally.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/recording_listener.h"
#include "support/scratch_folder.h"
#include "survey/choice_value.h"
#include "text/failure.h"

namespace tabulon::survey {
namespace {

using test_support::Cp932;
using test_support::InScratchFolder;
using test_support::RecordingListener;
using test_support::WriteBytes;
using Lines = std::vector<std::string>;
using Answers = std::array<std::string, kChoiceCount>;

std::string CrLf(const Lines& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// ---- One file's sections ----

struct Sections {
  const char* what;
  Lines lines;
  Lines events;
  std::vector<Answers>
      answers;  // answers of questions 1, 2, ... (the rest empty)
  // Test listings name the case, not its bytes.
  friend void PrintTo(const Sections& c, std::ostream* os) { *os << c.what; }
};

class TallyAnswerLinesTest : public ::testing::TestWithParam<Sections> {};

TEST_P(TallyAnswerLinesTest, RecordsAndReportsEachSection) {
  const Sections& sections = GetParam();
  RespondentTable table;
  ChoiceCounts counts;
  RecordingListener listener;
  TallyAnswerLines(sections.lines, table, counts, listener);
  const RespondentRow row = table.Row(0);
  EXPECT_EQ(listener.events, sections.events);
  for (int q = 1; q <= kQuestionCount; ++q) {
    const Answers expected = q <= static_cast<int>(sections.answers.size())
                                 ? sections.answers[q - 1]
                                 : Answers{};
    EXPECT_EQ(row.answers[q - 1], expected) << "question " << q;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, TallyAnswerLinesTest,
    ::testing::Values(
        Sections{"three choice lines and [END] touch choices 1 to 3 only",
                 {"PC01", "name", "[Q1R]", "1", "0", "1", "[END]"},
                 {"choice 1: 1 0 1 0 0"},
                 {{"1", "0", "1", "", ""}}},
        Sections{
            "a sixth choice line is skipped",
            {"PC01", "name", "[Q1C]", "1", "1", "1", "1", "1", "7", "[END]"},
            {"choice 1: 1 1 1 1 1"},
            {{"1", "1", "1", "1", "1"}}},
        Sections{"choices run to the end of the file without [END]",
                 {"PC01", "name", "[Q1R]", "0", "1"},
                 {"choice 1: 0 1 0 0 0"},
                 {{"0", "1", "", "", ""}}},
        Sections{"a text section takes the one line after its header",
                 {"PC01", "name", "[Q1T]", "free, text", "second line", "[Q2R]",
                  "1"},
                 {"text 1: free, text", "choice 2: 1 0 0 0 0"},
                 {{"free, text", "", "", "", ""}, {"1", "", "", "", ""}}},
        Sections{"a header taken as text also opens the next section",
                 {"PC01", "name", "[Q1T]", "[Q2R]", "1", "[END]"},
                 {"text 1: [Q2R]", "choice 2: 1 0 0 0 0"},
                 {{"[Q2R]", "", "", "", ""}, {"1", "", "", "", ""}}},
        Sections{"a text header on the last line gives an empty answer",
                 {"PC01", "name", "[Q1T]"},
                 {"text 1: "},
                 {}},
        Sections{"R] or C] is tested before T], anywhere in the header",
                 {"PC01", "name", "[Q1T]R]", "1", "[Q2xC]", "1", "[QT]", "t"},
                 {"choice 1: 1 0 0 0 0", "choice 2: 1 0 0 0 0", "text 3: t"},
                 {{"1", "", "", "", ""},
                  {"1", "", "", "", ""},
                  {"t", "", "", "", ""}}},
        Sections{"the kind follows the header, not the questionnaire",
                 {"PC01", "name", "[Q1T]", "1", "[Q2T]", "0"},
                 {"text 1: 1", "text 2: 0"},
                 {{"1", "", "", "", ""}, {"0", "", "", "", ""}}},
        Sections{"line 1 is never a header; the name line can be",
                 {"[Q1R]", "[Q1T]", "x"},
                 {"text 1: x"},
                 {{"x", "", "", "", ""}}},
        Sections{"a one-line file has no sections", {"PC01"}, {}, {}},
        Sections{"an empty file has no sections", {}, {}, {}},
        Sections{"lines between sections are skipped",
                 {"PC01", "name", "junk", "[END]", "[Q1R]", "1", "[END]",
                  "junk", "[Q2R]", "0"},
                 {"choice 1: 1 0 0 0 0", "choice 2: 0 0 0 0 0"},
                 {{"1", "", "", "", ""}, {"0", "", "", "", ""}}},
        Sections{
            "a header without a kind records nothing; later sections are read",
            {"PC01", "name", "[Q1]", "1", "[Q2R]", "1", "[END]"},
            {"choice 2: 1 0 0 0 0"},
            {{}, {"1", "", "", "", ""}}},
        Sections{"markers on trail bytes are not markers",
                 // "コ" is 0x83 0x52: its trail byte reads as "R".
                 {"PC01", "name", Cp932("[Qコ]"), "[Q1R]", "1"},
                 {"choice 2: 1 0 0 0 0"},
                 {{}, {"1", "", "", "", ""}}}),
    [](const ::testing::TestParamInfo<Sections>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST(TallyAnswerLinesSectionsTest, SectionsAfterTheTenthAreNotRead) {
  Lines lines = {"PC01", "name"};
  for (int q = 1; q <= 12; ++q)
    lines.insert(lines.end(), {"[Q" + std::to_string(q) + "R]", "1"});
  RespondentTable table;
  ChoiceCounts counts;
  RecordingListener listener;
  TallyAnswerLines(lines, table, counts, listener);
  EXPECT_EQ(listener.events.size(), 10u);
  EXPECT_EQ(listener.events.back(), "choice 10: 1 0 0 0 0");
}

TEST(TallyAnswerLinesSectionsTest, IdentityLinesAreKeptAsTheyCame) {
  RespondentTable table;
  ChoiceCounts counts;
  RecordingListener listener;
  TallyAnswerLines({Cp932(" ＰＣ０１ "), Cp932("山田, 太郎")}, table, counts,
                   listener);
  const RespondentRow row = table.Row(0);
  EXPECT_EQ(row.computer_name, Cp932(" ＰＣ０１ "));
  EXPECT_EQ(row.respondent_name, Cp932("山田, 太郎"));
}

// ---- Whole tallies over files ----

class TallyAnswerFilesTest : public InScratchFolder {
 protected:
  void Tally(const Lines& names) {
    TallyAnswerFiles(names, counts_, table_, listener_);
  }

  ChoiceCounts counts_;
  RespondentTable table_;
  RecordingListener listener_;
};

TEST_F(TallyAnswerFilesTest, AddsChoiceLinesOverFiles) {
  WriteBytes("a.ans", CrLf({"PC01", "A", "[Q1R]", "1", "0", "0", "[END]"}));
  WriteBytes("b.ans",
             "PC02\nB\n[Q1R]\n1\n1\n0\n[END]\n");  // LF alone reads the same
  Tally({"a.ans", "b.ans"});
  EXPECT_EQ(listener_.events,
            (Lines{"choice 1: 1 0 0 0 0", "choice 1: 2 1 0 0 0"}));
  ASSERT_EQ(table_.size(), 2u);
  EXPECT_EQ(table_.Row(0).computer_name, "PC01");
  EXPECT_EQ(table_.Row(1).respondent_name, "B");
  EXPECT_EQ(table_.Row(1).Answer(1, 2), "1");
}

TEST_F(TallyAnswerFilesTest, ValuesAreAddedUnchanged) {
  WriteBytes("a.ans", CrLf({"PC01", "A", "[Q1C]", "2", "-1", " 3", "$10"}));
  Tally({"a.ans"});
  EXPECT_EQ(counts_.At(1, 1), 2);
  EXPECT_EQ(counts_.At(1, 2), -1);
  EXPECT_EQ(counts_.At(1, 3), 3);
  EXPECT_EQ(counts_.At(1, 4), 16);
  EXPECT_EQ(table_.Row(0).Answer(1, 3), " 3");  // the raw text, not the value
}

TEST_F(TallyAnswerFilesTest, SumsStayExactBeyond32Bits) {
  Lines names;
  for (int i = 0; i < 3; ++i) {
    names.push_back("f" + std::to_string(i) + ".ans");
    WriteBytes(names.back(),
               CrLf({"PC", "N", "[Q1R]", "2147483647", "-2147483648"}));
  }
  Tally(names);
  EXPECT_EQ(counts_.At(1, 1), 3 * std::int64_t{2147483647});
  EXPECT_EQ(counts_.At(1, 2), -3 * std::int64_t{2147483648});
}

TEST_F(TallyAnswerFilesTest, NonIntegerLineStopsTheTallyThere) {
  WriteBytes("a.ans", CrLf({"PC01", "A", "[Q1R]", "1", "0", "[Q2R]", "1"}));
  WriteBytes("b.ans", CrLf({"PC02", "B", "[Q1R]", "1", Cp932("はい"), "1",
                            "[Q2R]", "1"}));
  WriteBytes("c.ans", CrLf({"PC03", "C", "[Q1R]", "1"}));
  try {
    Tally({"a.ans", "b.ans", "c.ans"});
    FAIL() << "no failure";
  } catch (const NotAnIntegerFailure& failure) {
    EXPECT_EQ(failure.Message(), Cp932("'はい' は整数ではありません"));
  }
  // b's first line was added, its section never reported done, c never read.
  EXPECT_EQ(listener_.events,
            (Lines{"choice 1: 1 0 0 0 0", "choice 2: 1 0 0 0 0"}));
  EXPECT_EQ(counts_.At(1, 1), 2);
  EXPECT_EQ(counts_.At(1, 3), 0);
  EXPECT_EQ(counts_.At(2, 1), 1);
  EXPECT_EQ(table_.size(), 2u);
}

TEST_F(TallyAnswerFilesTest, EmptyChoiceLineIsNoInteger) {
  WriteBytes("a.ans", CrLf({"PC01", "A", "[Q1R]", "1", "", "1"}));
  EXPECT_THROW(Tally({"a.ans"}), NotAnIntegerFailure);
  EXPECT_EQ(counts_.At(1, 1), 1);
  EXPECT_TRUE(listener_.events.empty());
}

TEST_F(TallyAnswerFilesTest, MissingFileStopsWithCode2) {
  WriteBytes("a.ans", CrLf({"PC01", "A", "[Q1T]", "hello"}));
  WriteBytes("c.ans", CrLf({"PC03", "C", "[Q1T]", "never"}));
  try {
    Tally({"a.ans", "b.ans", "c.ans"});
    FAIL() << "no failure";
  } catch (const text::InputOutputFailure& failure) {
    EXPECT_EQ(failure.Code(), 2);
  }
  EXPECT_EQ(listener_.events, (Lines{"text 1: hello"}));
  EXPECT_EQ(table_.size(), 1u);
}

TEST_F(TallyAnswerFilesTest, EveryTallyStartsFromNothing) {
  WriteBytes("a.ans", CrLf({"PC01", "A", "[Q1R]", "1", "1", "1", "[Q2T]",
                            "long answer"}));
  WriteBytes("b.ans", CrLf({"PC02", "B", "[Q1R]", "1"}));
  Tally({"a.ans", "b.ans"});
  WriteBytes("a.ans", CrLf({"PC01", "A", "[Q1R]", "0"}));
  Tally({"a.ans"});
  ASSERT_EQ(table_.size(), 1u);
  EXPECT_EQ(table_.Row(0).answers[0], (Answers{"0", "", "", "", ""}));
  EXPECT_EQ(table_.Row(0).Answer(2, 1), "");
  EXPECT_EQ(counts_.At(1, 1), 0);
  EXPECT_EQ(counts_.At(1, 2), 0);

  Tally({});
  EXPECT_TRUE(table_.empty());
  EXPECT_EQ(counts_.At(1, 1), 0);
}

TEST_F(TallyAnswerFilesTest, NoFixedCapacities) {
  Lines names;
  for (int i = 0; i < 150; ++i) {
    names.push_back("f" + std::to_string(1000 + i) + ".ans");
    Lines lines = {"PC" + std::to_string(i), "N"};
    for (int k = 0; k < 300; ++k)
      lines.push_back("filler");  // far past 201 lines
    lines.insert(lines.end(), {"[Q1R]", "1", "[END]"});
    WriteBytes(names.back(), CrLf(lines));
  }
  Tally(names);
  ASSERT_EQ(table_.size(), 150u);
  EXPECT_EQ(table_.Row(149).computer_name, "PC149");
  EXPECT_EQ(counts_.At(1, 1), 150);
}

}  // namespace
}  // namespace tabulon::survey
