// The failure messages, the fixed texts they come from, and the error box.
#include "text/failure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scratch_folder.h"
#include "text/error_box.h"
#include "text/fixed_texts.h"

namespace tabulon::text {
namespace {

using ::tabulon::test_support::Cp932;

TEST(MessageForCode, ChoosesTheFixedMessage) {
  const struct {
    int code;
    const char* message;
  } kCases[] = {
      {2, "ファイルが見つかりません"},
      {3, "不正なファイル名です"},
      {4, "オープンしたファイルが多すぎます"},
      {5, "ファイルへのアクセスが拒否されました"},
      {100, "ファイルの末尾以降を読み込みました"},
      {101, "ディスクがいっぱいです"},
      {106, "入力値が数値ではありません"},
      {32, "I/O エラー (32)"},
      {112, "I/O エラー (112)"},
      {1, "I/O エラー (1)"},
      {-7, "I/O エラー (-7)"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(MessageForCode(c.code), Cp932(c.message)) << c.code;
    InputOutputFailure failure(c.code);
    EXPECT_EQ(failure.Code(), c.code);
    EXPECT_EQ(failure.Message(), Cp932(c.message));
  }
}

TEST(ThrowIfFailed, RaisesOnlyForNonZeroCodes) {
  EXPECT_NO_THROW(ThrowIfFailed(0));
  EXPECT_THROW(ThrowIfFailed(32), InputOutputFailure);
  EXPECT_THROW(ThrowIfFailed(2), Failure);
}

TEST(FixedTexts, HaveTheirKnownCp932Bytes) {
  EXPECT_EQ(Text(FixedText::kPersons), "\x90\x6C");  // 人
  EXPECT_EQ(Text(FixedText::kApplicationTitle), "Tabulon");
  EXPECT_EQ(Text(FixedText::kIoErrorFormat),
            "I/O \x83\x47\x83\x89\x81\x5B (%d)");  // エラー
  EXPECT_EQ(Text(FixedText::kResultsFileName),
            "\x8F\x57\x8C\x76\x8C\x8B\x89\xCA.csv");  // 集計結果.csv
  EXPECT_EQ(Text(FixedText::kEraseQuestion),
            Cp932("個人データファイルを消去しますか？") + "\r" + "\x81\x69" +
                Cp932("集計結果.csvは残します") + ")");
  EXPECT_EQ(Text(FixedText::kYesButton), "\x82\xCD\x82\xA2(&Y)");  // はい
}

TEST(FixedTexts, AreAllDefinedAndSharedOnce) {
  for (int id = 0; id <= static_cast<int>(FixedText::kNoButton); ++id) {
    const std::string& text = Text(static_cast<FixedText>(id));
    EXPECT_FALSE(text.empty()) << id;
    EXPECT_EQ(&text, &Text(static_cast<FixedText>(id)));
  }
}

// ----- The standard error box -----

TEST(WithFullStop, AppendsAStopUnlessTheTextEndsInOne) {
  const struct {
    std::string message, shown;
  } kCases[] = {
      {"", ""},
      {Cp932("ファイルが見つかりません"),
       Cp932("ファイルが見つかりません") + "."},
      {Cp932("I/O エラー (32)"), Cp932("I/O エラー (32)")},
      {"done.", "done."},
      {"wow!", "wow!"},
      {"space ", "space "},
      {"slash/", "slash/."},  // "/" is 47
      {"a", "a."},
      {"0", "0."},
      // A double-byte character whose trail byte is small still gets it.
      {"\x81\x40", "\x81\x40."},
      {"\x83\x29", "\x83\x29."},
      {"x\x83\x29", "x\x83\x29."},
      // Read from the start: here ")" is a character of its own.
      {"\x83\x29)", "\x83\x29)"},
      // A lead byte cut off at the end is a single byte above 46.
      {"abc\x83", "abc\x83."},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(WithFullStop(c.message), c.shown) << c.message;
  }
}

class RecordingStopBox : public StopBox {
 public:
  void ShowStop(std::string_view caption, std::string_view message) override {
    shown.emplace_back(caption, message);
  }
  std::vector<std::pair<std::string, std::string>> shown;
};

TEST(StandardErrorBox, ShowsTheMessageUnderTheApplicationTitle) {
  RecordingStopBox box;
  StandardErrorBox(InputOutputFailure(2).Message(), box);
  StandardErrorBox(InputOutputFailure(32).Message(), box);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].first, "Tabulon");
  EXPECT_EQ(box.shown[0].second, Cp932("ファイルが見つかりません") + ".");
  EXPECT_EQ(box.shown[1].second, Cp932("I/O エラー (32)"));
}

}  // namespace
}  // namespace tabulon::text
