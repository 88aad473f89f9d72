// A pupil's answers filled into the answer form, for the pictures of it:
// a name, the first choice of every radio question, the first two of every
// check-box question, and a line in every text field.
#ifndef TABULON_APP_ANSWER_EXAMPLE_H_
#define TABULON_APP_ANSWER_EXAMPLE_H_

#include "answer/answer_layout.h"
#include "answer/answer_window.h"
#include "survey/answer_file.h"

namespace tabulon::app {

inline void FillInExample(answer::AnswerWindow& window,
                          const survey::Questionnaire& questionnaire) {
  gui::Form& form = window.Form();
  form[answer::kNameFieldName].SetText("山田 花子");
  for (int q = 1; q <= survey::kQuestionCount; ++q) {
    const survey::Question& question = questionnaire.At(q);
    if (!question.InUse()) break;
    if (question.IsText()) {
      form[answer::TextFieldName(q)].SetText("合唱コンクールで歌ったこと");
      continue;
    }
    const int chosen = question.kind == "R" ? 1 : 2;
    for (int c = 1; c <= chosen && c <= survey::ChoicesOffered(question); ++c) {
      form[answer::ChoiceName(q, c)].SetChecked(true);
    }
  }
}

}  // namespace tabulon::app

#endif  // TABULON_APP_ANSWER_EXAMPLE_H_
