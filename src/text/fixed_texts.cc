#include "text/fixed_texts.h"

#include <array>
#include <string_view>

#include "platform/codepage.h"

namespace tabulon::text {
namespace {

// In the order of FixedText.
constexpr std::string_view kUtf8Texts[] = {
    "Tabulon",
    "ファイルが見つかりません",
    "不正なファイル名です",
    "オープンしたファイルが多すぎます",
    "ファイルへのアクセスが拒否されました",
    "ファイルの末尾以降を読み込みました",
    "ディスクがいっぱいです",
    "入力値が数値ではありません",
    "I/O エラー (%d)",
    "'%s' は整数ではありません",
    "集計結果.csv",
    "data.txt",
    "*.ans",
    "質問,,",
    "コンピュータ名,氏名等,",
    "人",
    "人のデータを集計しました",
    "１問ごと拡大表示",
    "一覧表示",
    "第",
    "問目",
    // A lone CR breaks the box's line; the closing parenthesis is ASCII.
    "個人データファイルを消去しますか？\r（集計結果.csvは残します)",
    "確認",
    "はい(&Y)",
    "いいえ(&N)",
    "回答ファイルのフォルダを選んでください",
    "data.txt に質問が見つかりませんでした。\r"
    "質問の行は、半角の「[R]」「[C]」「[T]」のどれかで始めてください。",
    "\r%d 行目の「［」「］」が全角になっています。",
    // A question marker as the Japanese input method types it.
    "［Ｒ］",
    "［Ｃ］",
    "［Ｔ］",
    "回答が届くたびに集計する",
    "　［回答が届くたびに集計中］",
    "このフォルダの変化を知ることができないため、回答が届くたびに集計することは"
    "できません",
    "名前・番号",
    "保存する",
    "回答を保存しました。",
    "回答を保存しました。次の人と交代してください。",
    "このコンピュータの回答はもう保存されています。\r"
    "いまの回答で置き換えますか？",
    "確認",
    // %c the character, %q the question (or the name field's label).
    "「%c」は保存できない文字です。\r"
    "「%q」の答えを、別の字で書き直してください。",
};
constexpr size_t kCount = sizeof kUtf8Texts / sizeof kUtf8Texts[0];
static_assert(kCount == static_cast<size_t>(FixedText::kUnsavableFormat) + 1,
              "one text for every FixedText");

}  // namespace

const std::string& Text(FixedText id) {
  static const std::array<std::string, kCount> kTexts = [] {
    std::array<std::string, kCount> texts;
    for (size_t i = 0; i < kCount; ++i) {
      texts[i] = platform::Utf8ToCp932(kUtf8Texts[i]);
    }
    return texts;
  }();
  return kTexts[static_cast<size_t>(id)];
}

}  // namespace tabulon::text
