#include "answer/answer_window.h"

#include <utility>

#include "answer/answer_layout.h"
#include "platform/codepage.h"
#include "platform/computer_name.h"
#include "text/error_box.h"
#include "text/failure.h"
#include "text/fixed_texts.h"

namespace tabulon::answer {
namespace {

using text::FixedText;

constexpr int kNothingToAnswer = 1;

// "%c" and "%q" of the refusal, filled in (UTF-8).
std::string RefusalMessage(const std::string& character,
                           const std::string& question_cp932) {
  std::string message =
      platform::Cp932ToUtf8(text::Text(FixedText::kUnsavableFormat));
  message.replace(message.find("%c"), 2, character);
  message.replace(message.find("%q"), 2, platform::Cp932ToUtf8(question_cp932));
  return message;
}

}  // namespace

AnswerWindow::AnswerWindow(gui::Backend& backend,
                           survey::Questionnaire questionnaire,
                           std::string computer_name, SaveMode mode)
    : backend_(backend),
      questionnaire_(std::move(questionnaire)),
      computer_name_(std::move(computer_name)),
      mode_(mode),
      form_(LayOutAnswerForm(questionnaire_, backend).form, backend, &backend) {
  AnswerLayout layout = LayOutAnswerForm(questionnaire_, backend);
  form_.Build(layout.controls);
  for (const auto& [name, caption] : layout.captions) {
    form_[name].SetCaption(caption);
  }
  form_[kSaveButtonName].on_click = [this] { SaveClick(); };
}

void AnswerWindow::SaveClick() {
  std::optional<survey::Answers> answers = ReadAnswers();
  if (!answers) return;
  const std::vector<std::string> lines =
      survey::AnswerFileLines(questionnaire_, *answers);
  if (mode_ == SaveMode::kEachPupil) {
    saved_name_ = survey::WriteNumberedAnswerFile(computer_name_, lines);
    Tell(gui::NoticeIcon::kInformation,
         platform::Cp932ToUtf8(text::Text(FixedText::kSavedNextPupil)));
    ClearForNextPupil();
    return;
  }
  const std::string name = survey::AnswerFileName(computer_name_);
  if (!MayReplace(name)) return;
  survey::WriteAnswerFile(name, lines);
  saved_name_ = name;
  Tell(gui::NoticeIcon::kInformation,
       platform::Cp932ToUtf8(text::Text(FixedText::kSavedMessage)));
  backend_.Quit(form_);
}

// The answers as the controls hold them; nothing when a typed text cannot
// be saved (the pupil has been told which and where).
std::optional<survey::Answers> AnswerWindow::ReadAnswers() {
  survey::Answers answers;
  answers.computer_name = computer_name_;
  if (!TakeTypedText(form_[kNameFieldName],
                     text::Text(FixedText::kNameFieldLabel),
                     answers.respondent_name)) {
    return std::nullopt;
  }
  for (int q = 1; q <= survey::kQuestionCount; ++q) {
    const survey::Question& question = questionnaire_.At(q);
    if (!question.InUse()) break;
    survey::QuestionAnswer& answer = answers.At(q);
    if (question.IsText()) {
      if (!TakeTypedText(form_[TextFieldName(q)],
                         BlockCaption(questionnaire_, q), answer.text)) {
        return std::nullopt;
      }
      continue;
    }
    for (int c = 1; c <= survey::ChoicesOffered(question); ++c) {
      answer.chosen.at(c - 1) = form_[ChoiceName(q, c)].Checked();
    }
  }
  return answers;
}

// The field's text in CP932; false (and the refusal shown) when it holds a
// character CP932 lacks. Never saved with a stand-in character.
bool AnswerWindow::TakeTypedText(const gui::Control& field,
                                 const std::string& question,
                                 std::string& cp932) {
  std::string missing;
  if (platform::TryUtf8ToCp932(field.Text(), cp932, missing)) return true;
  Tell(gui::NoticeIcon::kStop, RefusalMessage(missing, question));
  return false;
}

bool AnswerWindow::MayReplace(const std::string& name) {
  if (!survey::AnswerFileExists(name)) return true;
  return backend_.Confirm({text::Text(FixedText::kReplaceCaption),
                           text::Text(FixedText::kReplaceQuestion),
                           text::Text(FixedText::kYesButton),
                           text::Text(FixedText::kNoButton)});
}

void AnswerWindow::ClearForNextPupil() {
  for (const auto& control : form_.Controls()) {
    control->SetChecked(false);
    control->SetText("");
  }
}

void AnswerWindow::Tell(gui::NoticeIcon icon, const std::string& message_utf8) {
  backend_.ShowNotice(icon, text::Text(FixedText::kApplicationTitle),
                      message_utf8);
}

int RunAnswerProgram(gui::Backend& backend, SaveMode mode) {
  survey::Questionnaire questionnaire;
  try {
    questionnaire = survey::LoadQuestionnaire();
  } catch (const text::Failure& failure) {
    text::StandardErrorBox(failure.Message(), backend);
    return kNothingToAnswer;
  }
  if (!questionnaire.At(1).InUse()) {
    backend.ShowNotice(
        gui::NoticeIcon::kStop, text::Text(FixedText::kApplicationTitle),
        platform::Cp932ToUtf8(survey::NoQuestionExplanation(questionnaire)));
    return kNothingToAnswer;
  }
  AnswerWindow window(backend, std::move(questionnaire),
                      platform::ComputerName(), mode);
  backend.Realise(window.Form());
  return backend.Run(window.Form(), gui::ShowState::kNormal);
}

}  // namespace tabulon::answer
