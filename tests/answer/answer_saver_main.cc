// One pupil's save, as its own process: fills in the questionnaire of the
// current folder (first choices, a text) through the headless backend and
// presses save, as "COMPUTER" (each pupil: numbered files).
//   answer_saver COMPUTER [each]     exit 0 when a file was written
#include <string>

#include "answer/answer_layout.h"
#include "answer/answer_window.h"
#include "gui/headless_backend.h"

int main(int argc, char** argv) {
  using namespace tabulon;
  if (argc < 2) return 2;
  const bool each = argc > 2 && std::string(argv[2]) == "each";
  gui::HeadlessBackend backend;
  const survey::Questionnaire questionnaire = survey::LoadQuestionnaire();
  answer::AnswerWindow window(
      backend, questionnaire, argv[1],
      each ? answer::SaveMode::kEachPupil : answer::SaveMode::kOnePupil);
  gui::Form& form = window.Form();
  form[answer::kNameFieldName].SetText(argv[1]);
  for (int q = 1; q <= survey::kQuestionCount; ++q) {
    const survey::Question& question = questionnaire.At(q);
    if (!question.InUse()) break;
    if (question.IsText()) {
      form[answer::TextFieldName(q)].SetText("text");
    } else if (survey::ChoicesOffered(question) > 0) {
      form[answer::ChoiceName(q, 1)].SetChecked(true);
    }
  }
  gui::RunHandler(backend, form, form[answer::kSaveButtonName].on_click);
  return window.SavedName().empty() || !backend.Stops().empty() ? 1 : 0;
}
