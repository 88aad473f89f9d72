// The bundled sample survey stays something Tabulon tallies cleanly: every
// section matches its question and every count fits the bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "support/scratch_folder.h"
#include "support/unicode_forms.h"
#include "survey/questionnaire.h"
#include "survey/results_csv.h"
#include "survey/tally.h"
#include "text/answer_file_list.h"

namespace tabulon::survey {
namespace {

// Checks every section against the questionnaire as it is reported.
class CheckingListener : public TallyListener {
 public:
  explicit CheckingListener(const Questionnaire& questionnaire)
      : questionnaire_(questionnaire) {}
  void ChoiceSectionDone(int q, const ChoiceCounts&) override {
    EXPECT_NE(questionnaire_.At(q).kind, "T") << q;
  }
  void TextAnswerFound(int q, std::string_view) override {
    EXPECT_EQ(questionnaire_.At(q).kind, "T") << q;
  }

 private:
  const Questionnaire& questionnaire_;
};

class SampleSurveyTest : public test_support::InScratchFolder {};

TEST_F(SampleSurveyTest, TalliesCleanly) {
  test_support::CopyFilesFrom(TABULON_SAMPLE_FOLDER);
  const Questionnaire questionnaire = LoadQuestionnaire();
  int questions = 0;
  while (questions < kQuestionCount && questionnaire.At(questions + 1).InUse())
    ++questions;
  EXPECT_GE(questions, 6);
  EXPECT_LE(questions, 8);

  text::AnswerFileList list;
  const std::vector<std::string> names = list.Names();
  ASSERT_GE(names.size(), 25u);
  ASSERT_LE(names.size(), 35u);

  ChoiceCounts counts;
  RespondentTable table;
  CheckingListener listener(questionnaire);
  TallyAnswerFiles(names, counts, table, listener);
  for (int q = 1; q <= questions; ++q) {
    for (int c = 1; c <= kChoiceCount; ++c) {
      EXPECT_GE(counts.At(q, c), 0);
      EXPECT_LE(counts.At(q, c), 40) << "bar too long at " << q << "," << c;
      if (questionnaire.At(q).Choice(c).empty()) {
        EXPECT_EQ(counts.At(q, c), 0);
      }
    }
  }

  WriteTallyResults(questionnaire, table);
  const std::string csv =
      test_support::ReadBytes(test_support::Cp932("集計結果.csv"));
  EXPECT_EQ(static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n')),
            names.size() + 2);
}

// The results file of a tally of the files in the current folder.
std::string TallyResults() {
  const Questionnaire questionnaire = LoadQuestionnaire();
  text::AnswerFileList list;
  ChoiceCounts counts;
  RespondentTable table;
  CheckingListener listener(questionnaire);
  TallyAnswerFiles(list.Names(), counts, table, listener);
  WriteTallyResults(questionnaire, table);
  return test_support::ReadBytes(test_support::Cp932("集計結果.csv"));
}

// The sample saved by today's editors, each file in one Unicode form: the
// results file is the very same, byte for byte.
TEST_F(SampleSurveyTest, EveryEncodingGivesTheSameResultsFile) {
  test_support::CopyFilesFrom(TABULON_SAMPLE_FOLDER);
  const std::string expected = TallyResults();
  std::vector<std::string> names = text::AnswerFileList().Names();
  names.push_back("data.txt");
  std::vector<std::string> utf8;
  for (const std::string& name : names)
    utf8.push_back(platform::Cp932ToUtf8(test_support::ReadBytes(name)));

  using test_support::Utf16;
  const struct {
    const char* what;
    std::string (*save)(const std::string& utf8);
  } kForms[] = {
      {"UTF-8", [](const std::string& u) { return u; }},
      {"UTF-8 with mark",
       [](const std::string& u) {
         return std::string(test_support::kUtf8Mark) + u;
       }},
      {"UTF-16 LE",
       [](const std::string& u) {
         return std::string(test_support::kUtf16LeMark) + Utf16(u, false);
       }},
      {"UTF-16 BE",
       [](const std::string& u) {
         return std::string(test_support::kUtf16BeMark) + Utf16(u, true);
       }},
  };
  for (const auto& form : kForms) {
    for (std::size_t i = 0; i < names.size(); ++i)
      test_support::WriteBytes(names[i], form.save(utf8[i]));
    EXPECT_EQ(TallyResults(), expected) << form.what;
  }
}

}  // namespace
}  // namespace tabulon::survey
