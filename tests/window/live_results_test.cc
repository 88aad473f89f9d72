// Live results in the main window on the headless backend: the test plays
// the watcher and the timer, the scratch folder is real.
#include "window/live_results.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gui/headless_backend.h"
#include "support/scratch_folder.h"
#include "text/fixed_texts.h"
#include "window/main_window.h"

namespace tabulon::window {
namespace {

using test_support::Cp932;
using test_support::Exists;
using test_support::HeldByAnotherProgram;
using test_support::ReadBytes;
using test_support::WriteBytes;
using text::FixedText;
using text::Text;

const std::string kResults = Cp932("集計結果.csv");

// One choice question of two choices; an answer file choosing `choice`.
void WriteQuestionnaire() {
  WriteBytes("data.txt", Cp932("校内アンケート\r\n朝\r\n\r\n[R]朝ごはんは？\r\n"
                               "食べた\r\n食べない\r\n"));
}
void WriteAnswer(const std::string& name, int choice,
                 const std::string& second_line = "0") {
  const std::string first = choice == 1 ? "1" : "0";
  const std::string second = choice == 2 ? "1" : second_line;
  WriteBytes(name, "PC\r\n" + name + "\r\n[Q1R]\r\n" + first + "\r\n" + second +
                       "\r\n[END]\r\n");
}

class LiveResultsTest : public test_support::InScratchFolder {
 protected:
  void SetUp() override {
    WriteQuestionnaire();
    window_ = std::make_unique<TForm1>(backend_);
    window_->Create();
    // Every run of Button1's handler, however it was started, is counted.
    gui::Control& button = Form()["Button1"];
    button.on_click = [this, press = button.on_click] {
      ++tallies_;
      press();
    };
  }
  gui::Form& Form() { return window_->Form(); }
  std::string Caption(const std::string& name) {
    return Form()[name].Caption();
  }
  void Run(const std::function<void()>& handler) {
    gui::RunHandler(backend_, Form(), handler);
  }
  // The window's menu item, chosen as the user chooses it.
  void ChooseLiveItem() { Run(Form().context_menu.at(0).on_click); }
  // The watcher sees the folder change, then the folder stays quiet.
  void ArriveAndWait(const std::string& name, int choice) {
    WriteAnswer(name, choice);
    backend_.SeeFolderChange(name);
    backend_.ElapseTimer();
  }

  gui::HeadlessBackend backend_;
  std::unique_ptr<TForm1> window_;
  int tallies_ = 0;
};

TEST_F(LiveResultsTest, TheMenuItemTurnsItOnAndOffWithCheckMarkAndCaption) {
  const std::string plain = Caption("Form1");
  ASSERT_EQ(Form().context_menu.size(), 1u);
  EXPECT_EQ(Form().context_menu[0].caption, Cp932("回答が届くたびに集計する"));
  EXPECT_FALSE(Form().context_menu[0].checked) << "off by default";
  EXPECT_FALSE(backend_.WatchingFolder());

  ChooseLiveItem();
  EXPECT_TRUE(Form().context_menu[0].checked);
  EXPECT_EQ(Caption("Form1"), plain + Text(FixedText::kLiveCaptionMarker));
  EXPECT_TRUE(backend_.WatchingFolder());
  EXPECT_EQ(backend_.TimerMilliseconds(), LiveTally::kQuietMilliseconds);

  ChooseLiveItem();
  EXPECT_FALSE(Form().context_menu[0].checked);
  EXPECT_EQ(Caption("Form1"), plain);
  EXPECT_FALSE(backend_.WatchingFolder());
  EXPECT_FALSE(backend_.TimerRunning());
}

TEST_F(LiveResultsTest, AFolderThatCannotBeWatchedIsReportedAndStaysOff) {
  backend_.RefuseWatching();
  ChooseLiveItem();
  ASSERT_EQ(backend_.Stops().size(), 1u);
  EXPECT_EQ(backend_.Stops()[0].message,
            text::WithFullStop(Text(FixedText::kLiveUnavailable)));
  EXPECT_FALSE(window_->Live().On());
  EXPECT_FALSE(Form().context_menu[0].checked);
}

TEST_F(LiveResultsTest, TheEnlargedViewStaysOnItsQuestionWithNewCounts) {
  window_->Live().SetOn(true);
  backend_.ElapseTimer();
  Run(Form()["Button3"].on_click);
  ArriveAndWait("a.ans", 2);
  EXPECT_EQ(window_->CurrentQuestion(), 1);
  EXPECT_EQ(Caption("Lbln112"), Cp932("1人"));
  ArriveAndWait("b.ans", 2);
  EXPECT_EQ(Caption("Lbln112"), Cp932("2人"));
  EXPECT_EQ(Caption("Lblg112"), "  ");
}

TEST_F(LiveResultsTest, OwnFilesAndRemovalsNeverRewriteTheResultsFile) {
  WriteAnswer("a.ans", 1);
  WriteAnswer("b.ans", 1);
  window_->Live().SetOn(true);
  backend_.ElapseTimer();
  ASSERT_EQ(tallies_, 1);
  const std::string two = ReadBytes(kResults);

  backend_.SeeFolderChange(test_support::Cp932("集計結果.csv"));
  EXPECT_FALSE(backend_.TimerRunning()) << "the tally's own file";

  backend_.QueueAnswer(true);
  Run(Form()["Button2"].on_click);  // the erase command
  ASSERT_FALSE(Exists("a.ans"));
  backend_.SeeFolderChange("a.ans");
  backend_.SeeFolderChange("b.ans");
  backend_.ElapseTimer();
  EXPECT_EQ(tallies_, 1);
  EXPECT_EQ(ReadBytes(kResults), two);

  ArriveAndWait("c.ans", 2);
  EXPECT_EQ(tallies_, 2) << "live results go on after the erase";
  EXPECT_EQ(Caption("LblSum"), Cp932("1人のデータを集計しました"));
}

TEST_F(LiveResultsTest, AHeldAnswerFileIsTriedAgainWithoutABox) {
  WriteAnswer("a.ans", 1);
  window_->Live().SetOn(true);
  {
    const HeldByAnotherProgram writer("a.ans");
    backend_.ElapseTimer();
    EXPECT_TRUE(backend_.TimerRunning()) << "tried again after a quiet time";
  }
  backend_.ElapseTimer();
  EXPECT_EQ(tallies_, 2);
  EXPECT_TRUE(backend_.Stops().empty());
  EXPECT_EQ(Caption("Lbln11"), Cp932("1人"));
}

TEST_F(LiveResultsTest, AHeldResultsFileIsShownOnceAndCountsStayFresh) {
  WriteBytes(kResults, "");
  window_->Live().SetOn(true);
  Run(Form()["Button3"].on_click);
  const HeldByAnotherProgram spreadsheet(kResults);
  ArriveAndWait("a.ans", 1);
  ASSERT_EQ(backend_.Stops().size(), 1u);
  EXPECT_EQ(backend_.Stops()[0].message, Cp932("I/O エラー (32)"));
  EXPECT_EQ(Caption("Lbln111"), Cp932("1人")) << "the enlarged view too";
  ArriveAndWait("b.ans", 1);
  EXPECT_EQ(backend_.Stops().size(), 1u);
  EXPECT_EQ(Caption("Lbln111"), Cp932("2人"));
}

TEST_F(LiveResultsTest, ABoxOpenWhileChangesArriveLeavesOneTallyPending) {
  WriteBytes(kResults, "");
  const HeldByAnotherProgram spreadsheet(kResults);
  WriteAnswer("a.ans", 1);
  window_->Live().SetOn(true);
  int during_box = -1;
  backend_.on_stop = [&](const gui::HeadlessBackend::StopShown&) {
    during_box = tallies_;
    for (const char* name : {"b.ans", "c.ans", "d.ans"}) {
      WriteAnswer(name, 1);
      backend_.SeeFolderChange(name);
      backend_.ElapseTimer();
    }
    EXPECT_EQ(tallies_, during_box) << "nothing runs while the box is open";
  };
  backend_.ElapseTimer();
  ASSERT_EQ(backend_.Stops().size(), 1u);
  EXPECT_TRUE(backend_.TimerRunning()) << "one quiet time pending";
  backend_.ElapseTimer();
  EXPECT_EQ(tallies_, during_box + 1);
  EXPECT_EQ(Caption("Lbln11"), Cp932("4人"));
  EXPECT_FALSE(backend_.TimerRunning());
  EXPECT_EQ(backend_.Stops().size(), 1u);
}

}  // namespace
}  // namespace tabulon::window
