// The main window's handlers, run on the headless backend in a scratch
// folder: start-up, tally, the enlarged view and erasing.
#include "window/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/headless_backend.h"
#include "platform/files.h"
#include "support/injected_fault.h"
#include "support/scratch_folder.h"

namespace tabulon::window {
namespace {

using test_support::Cp932;
using test_support::Exists;
using test_support::ReadBytes;
using test_support::WriteBytes;

// Lines given in UTF-8, written as CP932 with CR LF.
void WriteLines(const std::string& name,
                const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += Cp932(line) + "\r\n";
  WriteBytes(name, bytes);
}

// An answer file: computer, pupil, then one section per entry: a choice
// section is its 0/1 lines, a text section a single text.
struct Section {
  char kind;  // 'R', 'C' or 'T'
  std::vector<std::string> lines;
};
void WriteAnswer(const std::string& name, const std::string& computer,
                 const std::string& pupil,
                 const std::vector<Section>& sections) {
  std::vector<std::string> lines{computer, pupil};
  for (std::size_t i = 0; i < sections.size(); ++i) {
    lines.push_back("[Q" + std::to_string(i + 1) + sections[i].kind + "]");
    for (const std::string& line : sections[i].lines) lines.push_back(line);
    if (sections[i].kind != 'T') lines.push_back("[END]");
  }
  WriteLines(name, lines);
}

// Three questions: a choice question of three choices, a text question, a
// choice question of two.
const std::vector<std::string> kThreeQuestions{"校内アンケート",
                                               "学校生活について",
                                               "",
                                               "[R]好きな季節は？",
                                               "春",
                                               "夏",
                                               "秋",
                                               "",
                                               "[T]ひとこと",
                                               "[C]部活動は？",
                                               "運動部",
                                               "文化部"};

class MainWindowTest : public test_support::InScratchFolder {
 protected:
  // Starts the window the way the program does: creation, then FormCreate.
  TForm1& Start() {
    window_ = std::make_unique<TForm1>(backend_);
    window_->Create();
    return *window_;
  }
  gui::Control& operator[](const std::string& name) {
    return window_->Form()[name];
  }
  std::string Caption(const std::string& name) {
    return (*this)[name].Caption();
  }
  bool Visible(const std::string& name) { return (*this)[name].Visible(); }
  // A press of a button, through the handler guard as the window runs it.
  void Click(const std::string& button) {
    gui::RunHandler(backend_, window_->Form(), (*this)[button].on_click);
  }

  gui::HeadlessBackend backend_;
  std::unique_ptr<TForm1> window_;
};

// ---- Start-up ------------------------------------------------------------

TEST_F(MainWindowTest, ShowsOnePanelPerQuestionInUse) {
  WriteLines("data.txt", kThreeQuestions);
  Start();
  EXPECT_EQ(Caption("Label1"), Cp932("校内アンケート"));
  EXPECT_EQ(Caption("Label2"), Cp932("学校生活について"));
  for (int q = 1; q <= 10; ++q) {
    EXPECT_EQ(Visible("GroupBox" + std::to_string(q)), q <= 3) << "panel " << q;
  }
  EXPECT_EQ(Caption("LblQ01"), Cp932("好きな季節は？"));
  EXPECT_EQ(Caption("Lbl11"), Cp932("春"));
  EXPECT_EQ(Caption("Lbl13"), Cp932("秋"));
  EXPECT_EQ(Caption("Lbl14"), "");
  EXPECT_EQ(Caption("Lbl32"), Cp932("文化部"));
  EXPECT_EQ(Caption("Lbl33"), "");
  EXPECT_FALSE(Visible("ListBox1"));
  EXPECT_TRUE(Visible("ListBox2"));
  EXPECT_TRUE((*this)["ListBox2"].Items().empty());
  EXPECT_EQ(Caption("Lbl21"), "Lbl11")
      << "a text question's choice labels are left alone";
  for (const char* name : {"Lbln11", "Lblg11", "Lbln25", "Lblg35"}) {
    EXPECT_FALSE(Visible(name)) << name;
    EXPECT_EQ(Caption(name), "") << name;
  }
  for (const char* name : {"Button4", "Button5", "Button6", "GroupBox11"}) {
    EXPECT_FALSE(Visible(name)) << name;
  }
  EXPECT_TRUE(backend_.Stops().empty());
  EXPECT_EQ(window_->CurrentQuestion(), 1);
  // An ideographic space between the two words.
  EXPECT_EQ(window_->Form().Caption(),
            Cp932("校内アンケート") + "\x81\x40Tabulon");
}

TEST_F(MainWindowTest, WithoutQuestionsOnlyTheHeadingAndButtonsShow) {
  WriteLines("data.txt", {"題", "説明"});
  Start();
  std::vector<std::string> visible;
  for (const auto& control : window_->Form().Controls()) {
    if (control->Parent() == &window_->Form() && control->Visible()) {
      visible.push_back(control->Name());
    }
  }
  EXPECT_EQ(visible,
            (std::vector<std::string>{"Label1", "Label2", "LblSum", "Button1",
                                      "Button2", "Button3"}));
}

// Only a questionnaire that yields no question gets the box, which names the
// first line that begins with a full-width marker.
TEST_F(MainWindowTest, AQuestionnaireWithoutQuestionsSaysWhy) {
  const std::string how = Cp932(
      "data.txt に質問が見つかりませんでした。\r"
      "質問の行は、半角の「[R]」「[C]」「[T]」のどれかで始めてください。");
  const struct {
    std::vector<std::string> lines;
    std::vector<std::string> messages;
  } kCases[] = {
      {{"題", "説明"}, {how}},
      {{"題", "説明", "［Ｒ］line 3 is never read", "", "［Ｔ］ひとこと",
        "［Ｃ］好きな教科は？", "［Ｑ］"},
       {how + Cp932("\r5 行目の「［」「］」が全角になっています。")}},
      {{"題", "説明", "", "［Ｃ］好きな教科は？", "[r]", "[T]ひとこと"}, {}},
  };
  for (const auto& c : kCases) {
    WriteLines("data.txt", c.lines);
    const std::size_t before = backend_.Stops().size();
    Start();
    std::vector<std::string> messages;
    for (std::size_t i = before; i < backend_.Stops().size(); ++i) {
      EXPECT_EQ(backend_.Stops()[i].caption, "Tabulon");
      messages.push_back(backend_.Stops()[i].message);
    }
    EXPECT_EQ(messages, c.messages) << c.lines.size() << " lines";
  }
  EXPECT_EQ(Caption("Label1"), Cp932("題"));
  EXPECT_TRUE(Visible("GroupBox1"));
}

TEST_F(MainWindowTest, QuestionsNineAndTenCarryTheirTextInThePanelCaption) {
  std::vector<std::string> lines{"題", "説明", ""};
  for (int q = 1; q <= 10; ++q) lines.push_back("[R]質問" + std::to_string(q));
  lines.push_back("[T]");  // an eleventh question is ignored
  WriteLines("data.txt", lines);
  Start();
  EXPECT_EQ(Caption("GroupBox9"), Cp932("質問9"));
  EXPECT_EQ(Caption("GroupBox10"), Cp932("質問10"));
  EXPECT_TRUE(Visible("GroupBox10"));
  EXPECT_EQ(Caption("Lbl01"), "")
      << "a question without choices shows empty rows";
}

TEST_F(MainWindowTest, AnEmptyQuestionTextStillShowsItsPanel) {
  WriteLines("data.txt", {"題", "説明", "", "[R]", "はい"});
  Start();
  EXPECT_TRUE(Visible("GroupBox1"));
  EXPECT_EQ(Caption("LblQ01"), "");
  EXPECT_EQ(Caption("Lbl11"), Cp932("はい"));
}

TEST_F(MainWindowTest,
       MissingDefinitionIsReportedAndTheWindowOpensPartlySetUp) {
  Start();
  ASSERT_EQ(backend_.Stops().size(), 1u);
  EXPECT_EQ(backend_.Stops()[0].caption, "Tabulon");
  EXPECT_EQ(backend_.Stops()[0].message, Cp932("ファイルが見つかりません."));
  EXPECT_EQ(Caption("Label1"), "Label1");
  EXPECT_EQ(Caption("Label2"), Cp932("このアンケートの説明"));
  EXPECT_FALSE(Visible("GroupBox1"));
  for (int q = 2; q <= 10; ++q)
    EXPECT_TRUE(Visible("GroupBox" + std::to_string(q))) << q;
  EXPECT_FALSE(Visible("Lbln11"));
  EXPECT_FALSE(Visible("Lblg05"));
  EXPECT_FALSE(Visible("GroupBox11"));
  EXPECT_EQ(Caption("LblQ02"), "Label Quest");
}

// ---- Tally ---------------------------------------------------------------

TEST_F(MainWindowTest, TallyShowsCountsBarsAndTextAnswers) {
  WriteLines("data.txt", kThreeQuestions);
  WriteAnswer("a.ans", "PC01", "山田",
              {{'R', {"1", "0", "0"}}, {'T', {"楽しい"}}, {'C', {"1", "1"}}});
  WriteAnswer("B.ans", "PC02", "鈴木",
              {{'R', {"1", "0", "1"}}, {'T', {"楽しい"}}, {'C', {"0", "1"}}});
  WriteAnswer("c.ans", "PC03", "佐藤",
              {{'R', {"1", "0", "0"}}, {'T', {""}}, {'C', {"0", "1"}}});
  Start();
  Click("Button1");
  EXPECT_TRUE(backend_.Stops().empty());
  EXPECT_EQ(Caption("LblSum"), Cp932("3人のデータを集計しました"));
  EXPECT_EQ(Caption("Lbln11"), Cp932("3人"));
  EXPECT_EQ(Caption("Lblg11"), "   ");
  EXPECT_TRUE(Visible("Lblg11"));
  EXPECT_FALSE(Visible("Lbln12")) << "nobody chose it";
  EXPECT_FALSE(Visible("Lblg12"));
  EXPECT_EQ(Caption("Lbln13"), Cp932("1人"));
  EXPECT_EQ(Caption("Lblg13"), " ");
  EXPECT_EQ(Caption("Lbln32"), Cp932("3人"));
  EXPECT_EQ((*this)["ListBox2"].Items(),
            (std::vector<std::string>{Cp932("楽しい"), Cp932("楽しい"), ""}));
  EXPECT_EQ((*this)["Lbl11"].Width(), 80);
  EXPECT_TRUE(Exists(Cp932("集計結果.csv")));
}

TEST_F(MainWindowTest, TallyingTwiceGivesTheSameDisplayAndFile) {
  WriteLines("data.txt", kThreeQuestions);
  WriteAnswer("a.ans", "PC01", "山田",
              {{'R', {"0", "1", "0"}}, {'T', {"よい"}}});
  Start();
  Click("Button1");
  const std::string csv = ReadBytes(Cp932("集計結果.csv"));
  Click("Button1");
  EXPECT_EQ((*this)["ListBox2"].Items(),
            std::vector<std::string>{Cp932("よい")});
  EXPECT_EQ(Caption("Lbln12"), Cp932("1人"));
  EXPECT_EQ(ReadBytes(Cp932("集計結果.csv")), csv);
}

TEST_F(MainWindowTest, EmptyFolderTalliesNothingAndWritesTheHeadings) {
  WriteLines("data.txt", kThreeQuestions);
  Start();
  Click("Button1");
  EXPECT_EQ(Caption("LblSum"), Cp932("0人のデータを集計しました"));
  EXPECT_TRUE(backend_.Stops().empty());
  EXPECT_EQ(ReadBytes(Cp932("集計結果.csv")),
            Cp932("質問,,好きな季節は？,,,ひとこと,部活動は？,,\r\n"
                  "コンピュータ名,氏名等,春,夏,秋,,運動部,文化部,\r\n"));
}

TEST_F(MainWindowTest, ABadChoiceLineStopsTheTallyWithItsMessage) {
  WriteLines("data.txt", kThreeQuestions);
  WriteAnswer("a.ans", "PC01", "山田", {{'R', {"1", "0", "0"}}});
  WriteAnswer("b.ans", "PC02", "鈴木", {{'R', {"1", "x", "0"}}});
  Start();
  Click("Button1");
  ASSERT_EQ(backend_.Stops().size(), 1u);
  EXPECT_EQ(backend_.Stops()[0].message, Cp932("'x' は整数ではありません."));
  EXPECT_EQ(Caption("LblSum"), Cp932("2人のデータを集計しました"));
  EXPECT_EQ(Caption("Lbln11"), Cp932("1人"))
      << "the display keeps the previous section";
  EXPECT_FALSE(Exists(Cp932("集計結果.csv")));
}

TEST_F(MainWindowTest, AnAnswerFileThatVanishedStopsTheTally) {
  WriteLines("data.txt", kThreeQuestions);
  WriteAnswer("a.ans", "PC01", "山田", {{'R', {"1", "0", "0"}}});
  Start();
  {
    const test_support::InjectedFault vanished(platform::FileOperation::kOpen,
                                               1, platform::kFileNotFound);
    Click("Button1");
  }
  ASSERT_EQ(backend_.Stops().size(), 1u);
  EXPECT_EQ(backend_.Stops()[0].message, Cp932("ファイルが見つかりません."));
  EXPECT_FALSE(Exists(Cp932("集計結果.csv")));
}

TEST_F(MainWindowTest, NoOldCountSurvivesErasingAndTallyingAgain) {
  WriteLines("data.txt", kThreeQuestions);
  WriteAnswer("a.ans", "PC01", "山田",
              {{'R', {"1", "1", "0"}}, {'T', {"よい"}}, {'C', {"1", "0"}}});
  Start();
  Click("Button1");
  backend_.QueueAnswer(true);
  Click("Button2");
  EXPECT_EQ(Caption("Lbln11"), Cp932("1人"))
      << "erasing leaves the window alone";
  Click("Button1");
  for (const char* name : {"Lbln11", "Lbln12", "Lbln31"}) {
    EXPECT_EQ(Caption(name), "") << name;
  }
  for (const char* name : {"Lblg11", "Lblg12", "Lblg31"})
    EXPECT_FALSE(Visible(name)) << name;
  Click("Button3");
  EXPECT_EQ(Caption("Lbln111"), "");
  EXPECT_FALSE(Visible("Lblg111"));
  EXPECT_FALSE(Visible("Lblg112"));
}

// ---- Enlarged view ---------------------------------------------------------

TEST_F(MainWindowTest, EnlargedViewCopiesTheCurrentQuestion) {
  WriteLines("data.txt", kThreeQuestions);
  WriteAnswer("a.ans", "PC01", "山田",
              {{'R', {"1", "0", "0"}}, {'T', {"よい"}}, {'C', {"1", "1"}}});
  WriteAnswer("b.ans", "PC02", "鈴木",
              {{'R', {"1", "0", "0"}}, {'T', {"ふつう"}}, {'C', {"0", "1"}}});
  Start();
  Click("Button3");
  EXPECT_EQ(Caption("Button3"), Cp932("一覧表示"));
  EXPECT_EQ(Caption("GroupBox11"), Cp932("第1問目"));
  EXPECT_EQ(Caption("Lbl110"), Cp932("好きな季節は？"));
  EXPECT_EQ(Caption("Lbl111"), Cp932("春"));
  EXPECT_EQ(Caption("Lbln111"), "") << "no tally yet";
  EXPECT_FALSE(Visible("Lblg111"));
  for (int q = 1; q <= 10; ++q)
    EXPECT_FALSE(Visible("GroupBox" + std::to_string(q)));
  EXPECT_TRUE(Visible("Button4"));

  Click("Button1");  // a tally in the enlarged view draws at once
  EXPECT_EQ(Caption("Lbln111"), Cp932("2人"));
  EXPECT_EQ(Caption("Lblg111"), "  ");
  EXPECT_TRUE(Visible("Lblg111"));
  EXPECT_FALSE(Visible("Lblg112"));

  Click("Button5");
  EXPECT_EQ(Caption("GroupBox11"), Cp932("第2問目"));
  EXPECT_TRUE(Visible("ListBox11"));
  Click("Button4");
  Click("Button5");  // drawn twice: the list is copied, not appended to
  EXPECT_EQ((*this)["ListBox11"].Items(),
            (std::vector<std::string>{Cp932("よい"), Cp932("ふつう")}));
  Click("Button5");
  Click("Button5");  // the last question stays
  EXPECT_EQ(window_->CurrentQuestion(), 3);
  EXPECT_FALSE(Visible("ListBox11"));
  EXPECT_EQ(Caption("Lbln112"), Cp932("2人"));

  Click("Button3");  // back to the overview, and in again at the same question
  EXPECT_EQ(Caption("Button3"), Cp932("１問ごと拡大表示"));
  EXPECT_FALSE(Visible("GroupBox11"));
  EXPECT_FALSE(Visible("Button5"));
  for (int q = 1; q <= 10; ++q)
    EXPECT_EQ(Visible("GroupBox" + std::to_string(q)), q <= 3) << q;
  Click("Button3");
  EXPECT_EQ(Caption("GroupBox11"), Cp932("第3問目"));
}

TEST_F(MainWindowTest, NavigationStaysWithinTheQuestions) {
  struct Case {
    int questions;
    std::vector<std::string> presses;
    int expected;
  };
  const std::vector<Case> cases{
      {0, {"Button5"}, 1},  // to 2 and straight back
      {3, {"Button4"}, 1},  // no wrap at the start
      {10, std::vector<std::string>(12, "Button5"), 10},  // none past ten
      {10, {"Button5", "Button5", "Button4"}, 2},
  };
  for (const Case& c : cases) {
    test_support::ScratchFolder folder;
    std::vector<std::string> lines{"題", "説明", ""};
    for (int q = 1; q <= c.questions; ++q)
      lines.push_back("[C]問" + std::to_string(q));
    WriteLines("data.txt", lines);
    Start();
    Click("Button3");
    for (const std::string& press : c.presses) Click(press);
    EXPECT_EQ(window_->CurrentQuestion(), c.expected)
        << c.questions << " questions";
    EXPECT_EQ(Caption("GroupBox11"),
              Cp932("第" + std::to_string(c.expected) + "問目"));
  }
}

// ---- Erasing ---------------------------------------------------------------

TEST_F(MainWindowTest, EraseAsksFirstAndDeletesOnlyTheAnswerFiles) {
  WriteLines("data.txt", kThreeQuestions);
  for (const char* name : {"a.ans", "b.ANS", "c.ans"})
    WriteAnswer(name, "PC", "名", {});
  WriteBytes(".hidden.ans", "x");
  WriteBytes("notes.txt", "x");
  Start();
  Click("Button1");

  backend_.QueueAnswer(false);
  Click("Button2");
  ASSERT_EQ(backend_.Confirmations().size(), 1u);
  const gui::Confirmation& box = backend_.Confirmations()[0];
  EXPECT_EQ(box.caption, Cp932("確認"));
  EXPECT_EQ(box.message, Cp932("個人データファイルを消去しますか？") + "\r" +
                             Cp932("（集計結果.csvは残します)"));
  EXPECT_EQ(box.yes_button, Cp932("はい(&Y)"));
  EXPECT_EQ(box.no_button, Cp932("いいえ(&N)"));
  EXPECT_TRUE(Exists("a.ans"));

  backend_.QueueAnswer(true);
  Click("Button2");
  for (const char* gone : {"a.ans", "b.ANS", "c.ans"})
    EXPECT_FALSE(Exists(gone)) << gone;
  for (const char* kept : {".hidden.ans", "notes.txt", "data.txt"}) {
    EXPECT_TRUE(Exists(kept)) << kept;
  }
  EXPECT_TRUE(Exists(Cp932("集計結果.csv")));
  EXPECT_TRUE(backend_.Stops().empty());
}

TEST_F(MainWindowTest, AFileThatCannotBeDeletedSurvivesSilently) {
  WriteLines("data.txt", kThreeQuestions);
  for (const char* name : {"a.ans", "b.ans", "c.ans"})
    WriteAnswer(name, "PC", "名", {});
  Start();
  {
    const test_support::InjectedFault denied(platform::FileOperation::kDelete,
                                             2, platform::kAccessDenied);
    backend_.QueueAnswer(true);
    Click("Button2");
  }
  EXPECT_FALSE(Exists("a.ans"));
  EXPECT_TRUE(Exists("b.ans"));
  EXPECT_FALSE(Exists("c.ans"));
  EXPECT_TRUE(backend_.Stops().empty());
}

}  // namespace
}  // namespace tabulon::window
