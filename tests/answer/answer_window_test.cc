#include "answer/answer_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "answer/answer_layout.h"
#include "gui/headless_backend.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "support/injected_fault.h"
#include "support/scratch_folder.h"
#include "text/fixed_texts.h"

namespace tabulon::answer {
namespace {

using test_support::Cp932;
using test_support::FolderListing;
using test_support::HeldByAnotherProgram;
using test_support::ReadBytes;
using test_support::WriteBytes;
using Names = std::vector<std::string>;

// [R] with two choices, [T], [C] with two choices.
survey::Questionnaire ThreeQuestions() {
  return survey::ParseQuestionnaire(
      {Cp932("調査"), Cp932("説明"), "", Cp932("[R]通学"), Cp932("徒歩"),
       Cp932("バス"), "", Cp932("[T]感想"), Cp932("[C]季節"), Cp932("春"),
       Cp932("夏")});
}

class AnswerWindowTest : public test_support::InScratchFolder {
 protected:
  AnswerWindow& Open(SaveMode mode = SaveMode::kOnePupil) {
    window_.emplace(backend_, ThreeQuestions(), "PC01", mode);
    return *window_;
  }
  gui::Control& At(const std::string& name) { return window_->Form()[name]; }
  void Save() {
    gui::RunHandler(backend_, window_->Form(),
                    window_->Form()[kSaveButtonName].on_click);
  }
  std::string LastNotice() const {
    return backend_.Notices().empty() ? "" : backend_.Notices().back().message;
  }

  gui::HeadlessBackend backend_;
  std::optional<AnswerWindow> window_;
  const std::string kEarlier = "PC01\r\nearlier\r\n";
};

TEST_F(AnswerWindowTest, SavesSaysSoAndEnds) {
  Open();
  At(kNameFieldName).SetText("山田");
  At(ChoiceName(1, 2)).SetChecked(true);
  At(TextFieldName(2)).SetText("とても\tよい");
  At(ChoiceName(3, 1)).SetChecked(true);
  Save();
  EXPECT_EQ(ReadBytes("PC01.ans"),
            Cp932("PC01\r\n山田\r\n[Q1R]\r\n0\r\n1\r\n[END]\r\n[Q2T]\r\n"
                  "とても よい\r\n[Q3C]\r\n1\r\n0\r\n[END]\r\n"));
  EXPECT_EQ(LastNotice(), "回答を保存しました。");
  EXPECT_TRUE(backend_.QuitCalled());
}

TEST_F(AnswerWindowTest, RefusesWhatCodePage932CannotHoldAndKeepsTheForm) {
  const struct {
    std::string field, typed, message;
  } kCases[] = {
      {TextFieldName(2), "いいね\U0001F600",
       "「\U0001F600」は保存できない文字です。\r「感想」の答えを、"
       "別の字で書き直してください。"},
      {kNameFieldName, "\U00020BB7田",
       "「\U00020BB7」は保存できない文字です。\r「名前・番号」の答えを、"
       "別の字で書き直してください。"},
  };
  for (const auto& c : kCases) {
    Open();
    At(ChoiceName(1, 1)).SetChecked(true);
    At(c.field).SetText(c.typed);
    Save();
    EXPECT_EQ(LastNotice(), c.message);
    EXPECT_EQ(backend_.Notices().back().icon, gui::NoticeIcon::kStop);
    EXPECT_EQ(FolderListing(), Names{});
    EXPECT_EQ(At(c.field).Text(), c.typed);
    EXPECT_TRUE(At(ChoiceName(1, 1)).Checked());
    EXPECT_FALSE(backend_.QuitCalled());
  }
}

TEST_F(AnswerWindowTest, AnEarlierAnswerIsReplacedOnlyWhenThePupilSaysYes) {
  WriteBytes("PC01.ans", kEarlier);
  Open();
  At(kNameFieldName).SetText("B");
  Save();  // the headless box answers no
  ASSERT_EQ(backend_.Confirmations().size(), 1u);
  EXPECT_EQ(backend_.Confirmations()[0].message,
            text::Text(text::FixedText::kReplaceQuestion));
  EXPECT_EQ(ReadBytes("PC01.ans"), kEarlier);
  EXPECT_EQ(At(kNameFieldName).Text(), "B");
  EXPECT_FALSE(backend_.QuitCalled());
  backend_.QueueAnswer(true);
  Save();
  EXPECT_EQ(ReadBytes("PC01.ans").substr(0, 9), "PC01\r\nB\r\n");
  EXPECT_TRUE(backend_.QuitCalled());
}

// A failed save shows the system's reason, keeps every entry, leaves the
// earlier file as it was and nothing else behind.
TEST_F(AnswerWindowTest, AFailedSaveKeepsTheFormAndTheEarlierFile) {
  WriteBytes("PC01.ans", kEarlier);
  backend_.QueueAnswer(true);
  backend_.QueueAnswer(true);
  Open();
  At(kNameFieldName).SetText("C");
  At(ChoiceName(3, 2)).SetChecked(true);
  {
    HeldByAnotherProgram holder("PC01.ans");
    Save();
  }
  {
    test_support::InjectedFault full(platform::FileOperation::kWrite, 1,
                                     platform::kDiskFull);
    Save();
  }
  ASSERT_EQ(backend_.Stops().size(), 2u);
  EXPECT_EQ(backend_.Stops()[0].message, Cp932("I/O エラー (32)"));
  EXPECT_EQ(backend_.Stops()[1].message, Cp932("I/O エラー (112)"));
  EXPECT_EQ(ReadBytes("PC01.ans"), kEarlier);
  EXPECT_EQ(FolderListing(), Names{"PC01.ans"});
  EXPECT_EQ(At(kNameFieldName).Text(), "C");
  EXPECT_TRUE(At(ChoiceName(3, 2)).Checked());
  EXPECT_FALSE(backend_.QuitCalled());
}

TEST_F(AnswerWindowTest, EachPupilGetsANumberedFileAndAClearedForm) {
  WriteBytes("PC01-1.ans", kEarlier);
  Open(SaveMode::kEachPupil);
  for (const std::string pupil : {"A", "B"}) {
    At(kNameFieldName).SetText(pupil);
    At(ChoiceName(1, 2)).SetChecked(true);
    At(TextFieldName(2)).SetText("x");
    Save();
    EXPECT_EQ(At(kNameFieldName).Text(), "");
    EXPECT_FALSE(At(ChoiceName(1, 2)).Checked());
    EXPECT_EQ(At(TextFieldName(2)).Text(), "");
  }
  EXPECT_EQ(FolderListing(), (Names{"PC01-1.ans", "PC01-2.ans", "PC01-3.ans"}));
  EXPECT_EQ(ReadBytes("PC01-1.ans"), kEarlier);
  EXPECT_EQ(ReadBytes("PC01-3.ans").substr(0, 9), "PC01\r\nB\r\n");
  EXPECT_EQ(LastNotice(), "回答を保存しました。次の人と交代してください。");
  EXPECT_FALSE(backend_.QuitCalled());
}

TEST_F(AnswerWindowTest, NothingToAnswerIsSaidAndEndsTheProgram) {
  EXPECT_EQ(RunAnswerProgram(backend_, SaveMode::kOnePupil), 1);
  ASSERT_EQ(backend_.Stops().size(), 1u);
  EXPECT_EQ(backend_.Stops()[0].message, Cp932("ファイルが見つかりません."));
  // The tally window's explanation, the full-width marker's line named.
  WriteBytes("data.txt", Cp932("Title\r\n\r\n\r\n［Ｒ］好きな教科は？\r\n"));
  EXPECT_EQ(RunAnswerProgram(backend_, SaveMode::kOnePupil), 1);
  EXPECT_EQ(LastNotice(),
            "data.txt に質問が見つかりませんでした。\r"
            "質問の行は、半角の「[R]」「[C]」「[T]」のどれかで始めてください。"
            "\r4 行目の「［」「］」が全角になっています。");
  EXPECT_FALSE(backend_.Realised());
}

}  // namespace
}  // namespace tabulon::answer
