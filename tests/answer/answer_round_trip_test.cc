// The point of the answer program: what pupils fill in comes out of the
// project's own tally exactly, for questionnaires of every shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "answer/answer_layout.h"
#include "answer/answer_window.h"
#include "gui/headless_backend.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "support/scratch_folder.h"
#include "survey/respondent_table.h"
#include "survey/tally.h"

namespace tabulon::answer {
namespace {

using survey::kChoiceCount;
using survey::kQuestionCount;
using survey::RespondentTable;

// What one pupil filled in, and what the files must then say.
struct Expected {
  std::int64_t counts[kQuestionCount][kChoiceCount] = {};
  std::vector<std::string> texts[kQuestionCount];  // CP932, in file order
  std::vector<std::vector<std::string>> rows;      // raw fields per file
};

class TextRecorder : public survey::TallyListener {
 public:
  void ChoiceSectionDone(int, const survey::ChoiceCounts&) override {}
  void TextAnswerFound(int q, std::string_view text) override {
    texts[q - 1].emplace_back(text);
  }
  std::vector<std::string> texts[kQuestionCount];
};

// Typed texts (UTF-8) and what the file holds for each (CP932).
const struct {
  const char* typed;
  const char* saved;
} kTyped[] = {
    {"", ""},
    {"楽しかった", "楽しかった"},
    {"一行目\n二行目", "一行目 二行目"},
    {"タブ\tあり", "タブ あり"},
    {"[Q9R] と書いた", " [Q9R] と書いた"},
    {"[END]", "[END]"},
    {"ｶﾀｶﾅ, comma", "ｶﾀｶﾅ, comma"},
};

std::vector<std::string> DataLines(std::mt19937& random, int questions,
                                   const std::string& kinds) {
  std::vector<std::string> lines = {"Survey", "About school", ""};
  for (int q = 1; q <= questions; ++q) {
    const char kind = kinds[random() % kinds.size()];
    lines.push_back(std::string("[") + kind + "]" +
                    test_support::Cp932("質問") + std::to_string(q));
    if (kind == 'T') continue;
    const int choices = 1 + static_cast<int>(random() % kChoiceCount);
    for (int c = 1; c <= choices; ++c) {
      lines.push_back(test_support::Cp932("選択肢") + std::to_string(c));
    }
    lines.push_back("");
  }
  return lines;
}

// Fills one pupil's form at random and notes what the file must hold.
void FillIn(AnswerWindow& window, const survey::Questionnaire& questionnaire,
            std::mt19937& random, const std::string& computer,
            Expected& expected) {
  gui::Form& form = window.Form();
  const std::string name = "Pupil " + computer;
  form[kNameFieldName].SetText(name);
  std::vector<std::string> row = {computer, name};
  for (int q = 1; q <= kQuestionCount && questionnaire.At(q).InUse(); ++q) {
    const survey::Question& question = questionnaire.At(q);
    if (question.IsText()) {
      const auto& typed = kTyped[random() % std::size(kTyped)];
      form[TextFieldName(q)].SetText(typed.typed);
      expected.texts[q - 1].push_back(test_support::Cp932(typed.saved));
      row.push_back(test_support::Cp932(typed.saved));
      row.resize(2 + q * kChoiceCount);
      continue;
    }
    const int offered = survey::ChoicesOffered(question);
    for (int c = 1; c <= offered; ++c) {
      // A radio button chosen later lets go of the earlier one.
      if (random() % 3 == 0) form[ChoiceName(q, c)].SetChecked(true);
    }
    for (int c = 1; c <= offered; ++c) {
      const bool chosen = form[ChoiceName(q, c)].Checked();
      expected.counts[q - 1][c - 1] += chosen ? 1 : 0;
      row.push_back(chosen ? "1" : "0");
    }
    row.resize(2 + q * kChoiceCount);
  }
  row.resize(RespondentTable::kFieldCount);
  expected.rows.push_back(row);
}

void CheckTally(const Expected& expected, int case_number) {
  std::vector<std::string> names = platform::FindFiles("*.ans");
  std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
    return platform::CompareNames(a, b) < 0;
  });
  survey::ChoiceCounts counts;
  RespondentTable store;
  TextRecorder recorder;
  survey::TallyAnswerFiles(names, counts, store, recorder);
  ASSERT_EQ(store.size(), expected.rows.size()) << case_number;
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (int c = 1; c <= kChoiceCount; ++c) {
      EXPECT_EQ(counts.At(q, c), expected.counts[q - 1][c - 1])
          << "case " << case_number << " q" << q << " c" << c;
    }
    EXPECT_EQ(recorder.texts[q - 1], expected.texts[q - 1]) << case_number;
  }
  for (std::size_t r = 0; r < store.size(); ++r) {
    const RespondentTable::Fields fields = store.FieldsOf(r);
    EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.end()),
              expected.rows[r])
        << "case " << case_number << " row " << r;
  }
}

class AnswerRoundTripTest : public ::testing::Test {};

TEST_F(AnswerRoundTripTest, EveryShapeOfQuestionnaireTalliesAsFilledIn) {
  const std::string kMixes[] = {"R", "C", "T", "RC", "RT", "CT", "RCT"};
  std::mt19937 random(20261209);
  int case_number = 0;
  for (const std::string& kinds : kMixes) {
    for (int questions = 1; questions <= kQuestionCount; ++questions) {
      test_support::ScratchFolder folder;
      ++case_number;
      const survey::Questionnaire questionnaire =
          survey::ParseQuestionnaire(DataLines(random, questions, kinds));
      Expected expected;
      const int pupils = 1 + static_cast<int>(random() % 4);
      for (int pupil = 1; pupil <= pupils; ++pupil) {
        gui::HeadlessBackend backend;
        const std::string computer = "PC0" + std::to_string(pupil);
        AnswerWindow window(backend, questionnaire, computer,
                            SaveMode::kOnePupil);
        FillIn(window, questionnaire, random, computer, expected);
        gui::RunHandler(backend, window.Form(),
                        window.Form()[kSaveButtonName].on_click);
        ASSERT_EQ(window.SavedName(), computer + ".ans");
        ASSERT_TRUE(backend.QuitCalled());
      }
      CheckTally(expected, case_number);
    }
  }
}

}  // namespace
}  // namespace tabulon::answer
