// The bundled sample survey stays something Tabulon tallies cleanly: every
// section matches its question and every count fits the bars.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "support/scratch_folder.h"
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
  void TextAnswerFound(int q, const std::string&) override {
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

}  // namespace
}  // namespace tabulon::survey
