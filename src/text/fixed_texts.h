// The program's own fixed texts (messages, headings, captions the handlers
// set), written once here in readable UTF-8 and handed out as CP932 bytes.
#ifndef TABULON_TEXT_FIXED_TEXTS_H_
#define TABULON_TEXT_FIXED_TEXTS_H_

#include <string>

namespace tabulon::text {

enum class FixedText {
  kApplicationTitle,  // Tabulon
  kFileNotFound,      // ファイルが見つかりません
  kInvalidFileName,   // 不正なファイル名です
  kTooManyOpenFiles,  // オープンしたファイルが多すぎます
  kAccessDenied,      // ファイルへのアクセスが拒否されました
  kReadPastEnd,       // ファイルの末尾以降を読み込みました
  kDiskFull,          // ディスクがいっぱいです
  kNotANumber,        // 入力値が数値ではありません
  kIoErrorFormat,     // I/O エラー (%d)
  kNotAnIntegerFormat,  // '%s' は整数ではありません
  kResultsFileName,     // 集計結果.csv
  kDefinitionFileName,  // data.txt
  kAnswerFilePattern,   // *.ans
  kCsvQuestionHeading,  // 質問,,
  kCsvIdentityHeading,  // コンピュータ名,氏名等,
  kPersons,             // 人
  kTalliedSuffix,       // 人のデータを集計しました
  kEnlargeCaption,      // １問ごと拡大表示
  kOverviewCaption,     // 一覧表示
  kHeadlinePrefix,      // 第
  kHeadlineSuffix,      // 問目
  kEraseQuestion,  // 個人データファイルを消去しますか？ CR
                   // （集計結果.csvは残します)
  kEraseCaption,   // 確認
  kYesButton,      // はい(&Y)
  kNoButton,       // いいえ(&N)
  kChooseFolderCaption,  // 回答ファイルのフォルダを選んでください
  kNoQuestionFound,  // data.txt に質問が見つかりませんでした。 CR 質問の行は…
  kFullWidthMarkerLineFormat,  // CR %d 行目の「［」「］」が全角になっています。
  kFullWidthMarkerR,   // ［Ｒ］
  kFullWidthMarkerC,   // ［Ｃ］
  kFullWidthMarkerT,   // ［Ｔ］
  kLiveMenuItem,       // 回答が届くたびに集計する
  kLiveCaptionMarker,  // 　［回答が届くたびに集計中］
  kLiveUnavailable,  // このフォルダの変化を知ることができないため、…
  // The answer program's texts, for pupils.
  kNameFieldLabel,  // 名前・番号
  kSaveCaption,     // 保存する
  kSavedMessage,    // 回答を保存しました。
  kSavedNextPupil,  // 回答を保存しました。次の人と交代してください。
  kReplaceQuestion,  // このコンピュータの回答はもう保存されています。...
  kReplaceCaption,   // 確認
  kUnsavableFormat,  // 「%c」は保存できない文字です。... %q ...
};

// The CP932 bytes of a fixed text; converted once, then shared.
const std::string& Text(FixedText id);

}  // namespace tabulon::text

#endif  // TABULON_TEXT_FIXED_TEXTS_H_
