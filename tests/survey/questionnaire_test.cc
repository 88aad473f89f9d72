#include "survey/questionnaire.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "support/scratch_folder.h"
#include "text/failure.h"

namespace tabulon::survey {
namespace {

using test_support::Cp932;
using test_support::InScratchFolder;
using test_support::WriteBytes;
using Choices = std::array<std::string, kChoiceCount>;

// The number of questions in use; also checks that they run without gaps
// and that an unused number holds nothing at all.
int QuestionsInUse(const Questionnaire& questionnaire) {
  int used = 0;
  while (used < kQuestionCount && questionnaire.At(used + 1).InUse()) ++used;
  for (int q = used + 1; q <= kQuestionCount; ++q) {
    const Question& question = questionnaire.At(q);
    EXPECT_FALSE(question.InUse()) << "gap before question " << q;
    EXPECT_EQ(question.text, "") << q;
    EXPECT_EQ(question.choices, Choices{}) << q;
  }
  return used;
}

// ---- The worked layout: every rule in one file ----

TEST(ParseQuestionnaireTest, ReadsTheLayoutLineByLine) {
  const Questionnaire questionnaire = ParseQuestionnaire({
      "title",          // 1
      "description",    // 2
      "[R]line three",  // 3: never examined
      "no marker",      // 4
      "[R]first",       // 5
      "a",              // 6
      "b",              // 7
      "",               // 8: ends the choices
      "after empty",    // 9
      "[T]second",      // 10
      "after T",        // 11
      "[C]third",       // 12
      "1", "2", "3", "4", "5",
      "sixth",  // 18
  });
  EXPECT_EQ(questionnaire.title, "title");
  EXPECT_EQ(questionnaire.description, "description");
  ASSERT_EQ(QuestionsInUse(questionnaire), 3);
  EXPECT_EQ(questionnaire.At(1).kind, "R");
  EXPECT_EQ(questionnaire.At(1).text, "first");
  EXPECT_EQ(questionnaire.At(1).choices, (Choices{"a", "b", "", "", ""}));
  EXPECT_EQ(questionnaire.At(2).kind, "T");
  EXPECT_EQ(questionnaire.At(2).text, "second");
  EXPECT_EQ(questionnaire.At(2).choices, Choices{});
  EXPECT_EQ(questionnaire.At(3).kind, "C");
  EXPECT_EQ(questionnaire.At(3).choices, (Choices{"1", "2", "3", "4", "5"}));
}

// ---- Short files ----

TEST(ParseQuestionnaireTest, ShortFilesGiveEmptyFieldsAndNoQuestion) {
  const Questionnaire empty = ParseQuestionnaire({});
  EXPECT_EQ(empty.title, "");
  EXPECT_EQ(empty.description, "");
  EXPECT_EQ(QuestionsInUse(empty), 0);

  const Questionnaire one_line = ParseQuestionnaire({"only"});
  EXPECT_EQ(one_line.title, "only");
  EXPECT_EQ(one_line.description, "");
  EXPECT_EQ(QuestionsInUse(one_line), 0);

  EXPECT_EQ(QuestionsInUse(ParseQuestionnaire({"t", "d", "[R]three"})), 0);
}

// ---- Choice runs ----

TEST(ParseQuestionnaireTest, ChoiceRunsEndWhereTheyShould) {
  struct Case {
    const char* what;
    std::vector<std::string> after_question;  // lines after "[R]q1"
    Choices choices_of_1;
    int used;
  };
  const Case cases[] = {
      {"six lines: five choices, the next question still found",
       {"1", "2", "3", "4", "5", "6", "[T]q2"},
       {"1", "2", "3", "4", "5"},
       2},
      {"an empty line ends the run; the line after it is ignored",
       {"a", "", "b", "[C]q2"},
       {"a", "", "", "", ""},
       2},
      {"a question line ends the run at once", {"[C]q2", "x"}, {}, 2},
      {"a line of blanks is a choice",
       {" ", "  b  ", "", "[T]q2"},
       {" ", "  b  ", "", "", ""},
       2},
      {"a lower-case marker is a choice",
       {"[r]x", "[Q]y"},
       {"[r]x", "[Q]y", "", "", ""},
       1},
      {"the run ends with the file", {"a"}, {"a", "", "", "", ""}, 1},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = {"t", "d", "", "[R]q1"};
    lines.insert(lines.end(), c.after_question.begin(), c.after_question.end());
    const Questionnaire questionnaire = ParseQuestionnaire(lines);
    EXPECT_EQ(questionnaire.At(1).choices, c.choices_of_1) << c.what;
    EXPECT_EQ(QuestionsInUse(questionnaire), c.used) << c.what;
  }
}

TEST(ParseQuestionnaireTest, FreeTextQuestionCollectsNothing) {
  const Questionnaire questionnaire = ParseQuestionnaire(
      {"t", "d", "", "[T]free", "plain 1", "plain 2", "[R]next", "yes"});
  ASSERT_EQ(QuestionsInUse(questionnaire), 2);
  EXPECT_EQ(questionnaire.At(1).choices, Choices{});
  EXPECT_EQ(questionnaire.At(2).text, "next");
  EXPECT_EQ(questionnaire.At(2).Choice(1), "yes");
}

// ---- Question lines ----

TEST(ParseQuestionnaireTest, OnlyAnExactLeadingMarkerMakesAQuestionLine) {
  const Questionnaire questionnaire = ParseQuestionnaire({
      "t",
      "d",
      "",
      "[r]lower",                 // lower-case letter
      " [R]indented",             // not at the very start
      Cp932("［Ｒ］full width"),  // full-width brackets
      "[X]other letter",
      "R]no bracket",
  });
  EXPECT_EQ(QuestionsInUse(questionnaire), 0);
}

TEST(ParseQuestionnaireTest, TextLosesOnlyTheLeadingMarker) {
  const Questionnaire questionnaire =
      ParseQuestionnaire({"t", "d", "", "[C]pick [C] one", "[R]",
                          "[T]" + Cp932("好きな教科は？")});
  ASSERT_EQ(QuestionsInUse(questionnaire), 3);
  EXPECT_EQ(questionnaire.At(1).text, "pick [C] one");
  EXPECT_EQ(questionnaire.At(2).kind,
            "R");  // the marker alone: in use, empty text
  EXPECT_EQ(questionnaire.At(2).text, "");
  EXPECT_EQ(questionnaire.At(3).text, Cp932("好きな教科は？"));
}

TEST(ParseQuestionnaireTest, QuestionsAfterTheTenthAreIgnored) {
  std::vector<std::string> lines = {"t", "d", ""};
  for (int q = 1; q <= 12; ++q) {
    lines.push_back("[R]q" + std::to_string(q));
    lines.push_back("c" + std::to_string(q));
  }
  const Questionnaire questionnaire = ParseQuestionnaire(lines);
  ASSERT_EQ(QuestionsInUse(questionnaire), 10);
  EXPECT_EQ(questionnaire.At(10).text, "q10");
  EXPECT_EQ(questionnaire.At(10).Choice(1), "c10");
}

// ---- The file ----

class LoadQuestionnaireTest : public InScratchFolder {};

TEST_F(LoadQuestionnaireTest, ReadsDataTxtBytesUnchanged) {
  WriteBytes("data.txt", Cp932("学校生活アンケート\r\n説明\r\n\r\n[R]"
                               "ソフト部？\r\n はい \r\nいいえ"));
  const Questionnaire questionnaire = LoadQuestionnaire();
  EXPECT_EQ(questionnaire.title, Cp932("学校生活アンケート"));
  ASSERT_EQ(QuestionsInUse(questionnaire), 1);
  EXPECT_EQ(questionnaire.At(1).text,
            Cp932("ソフト部？"));  // 0x83 0x5C keeps its trail byte
  EXPECT_EQ(questionnaire.At(1).choices,
            (Choices{Cp932(" はい "), Cp932("いいえ"), "", "", ""}));
}

TEST_F(LoadQuestionnaireTest, HasNoLineLimit) {
  std::string bytes = "t\r\nd\r\n\r\n";
  for (int i = 0; i < 500; ++i) bytes += "filler\r\n";
  bytes += "[T]late question\r\n";
  WriteBytes("data.txt", bytes);
  const Questionnaire questionnaire = LoadQuestionnaire();
  ASSERT_EQ(QuestionsInUse(questionnaire), 1);
  EXPECT_EQ(questionnaire.At(1).text, "late question");
}

TEST_F(LoadQuestionnaireTest, MissingFileFailsWithCode2) {
  try {
    LoadQuestionnaire();
    FAIL() << "no failure";
  } catch (const text::InputOutputFailure& failure) {
    EXPECT_EQ(failure.Code(), 2);
    EXPECT_EQ(failure.Message(), Cp932("ファイルが見つかりません"));
  }
}

}  // namespace
}  // namespace tabulon::survey
