#include "window/main_window.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "survey/results_csv.h"
#include "text/fixed_texts.h"
#include "window/form_description.h"

namespace tabulon::window {
namespace {

using survey::kChoiceCount;
using survey::kQuestionCount;
using text::FixedText;
using text::Text;

// A bar longer than either panel is wide is cut off on screen anyway; its
// caption stops here so that a freak count cannot exhaust memory.
constexpr std::int64_t kLongestBar = 100;

// "N人" in `caption`, whose memory is reused.
void CountCaption(std::int64_t persons, std::string& caption) {
  char digits[24];
  const std::to_chars_result end =
      std::to_chars(digits, digits + sizeof digits, persons);
  caption.assign(digits, end.ptr);
  caption += Text(FixedText::kPersons);
}

// N blanks, a view of one string of the longest bar.
std::string_view BarCaption(std::int64_t persons) {
  static const std::string kBlanks(static_cast<std::size_t>(kLongestBar), ' ');
  return std::string_view(kBlanks).substr(
      0, static_cast<std::size_t>(std::min(persons, kLongestBar)));
}

}  // namespace

TForm1::TForm1(gui::Backend& backend)
    : backend_(backend),
      form_(MainWindowLayout(), backend, &backend),
      live_(backend, *this) {
  form_.Build(MainWindowControls());
  for (int q = 1; q <= kQuestionCount + 1; ++q)
    panels_[q - 1] = ResolvePanel(q);
  form_["Button1"].on_click = [this] { Button1Click(); };
  form_["Button2"].on_click = [this] { Button2Click(); };
  form_["Button3"].on_click = [this] { Button3Click(); };
  form_["Button4"].on_click = [this] { Button4Click(); };
  form_["Button5"].on_click = [this] { Button5Click(); };
  form_["Button6"].on_click = [this] { Button6Click(); };
  form_.on_create = [this] { FormCreate(); };
  form_.context_menu = {
      {Text(FixedText::kLiveMenuItem), false, [this] { LiveMenuClick(); }}};
  for (auto& counts : shown_counts_) counts.fill(kUnknownCount);
}

void TForm1::Create() { gui::RunHandler(backend_, form_, form_.on_create); }

TForm1::QuestionPanel TForm1::ResolvePanel(int q) {
  QuestionPanel panel{};
  panel.box = &form_[PanelName(q)];
  panel.question_text = &form_[QuestionTextName(q)];
  for (int c = 1; c <= kChoiceCount; ++c) {
    panel.rows[c - 1] = {&form_[ChoiceLabelName(q, c)],
                         &form_[CountLabelName(q, c)],
                         &form_[BarLabelName(q, c)]};
  }
  panel.list = &form_[ListBoxName(q)];
  return panel;
}

bool TForm1::InEnlargedMode() const {
  return form_["Button3"].Caption() != Text(FixedText::kEnlargeCaption);
}

text::AnswerFileList& TForm1::RefreshedAnswerFiles() {
  text::AnswerFileList& files = form_.FileListNamed(kFileListName).List();
  files.SetPattern(Text(FixedText::kAnswerFilePattern));
  files.Refresh();
  return files;
}

// ---- Start-up --------------------------------------------------------------

// Puts the window into its start state and fills one panel per question.
void TForm1::FormCreate() {
  HideResultsAndEnlargedView();
  current_question_ = 1;
  Panel(1).box->Hide();
  // A failure ends the handler here, with the window partly set up: panels
  // 2 to 10 keep their design-time look.
  questionnaire_ = survey::LoadQuestionnaire();
  form_["Label1"].SetCaption(questionnaire_.title);
  form_["Label2"].SetCaption(questionnaire_.description);
  for (int q = 1; q <= kQuestionCount; ++q) {
    if (QuestionExists(q)) {
      FillQuestionPanel(q);
    } else {
      Panel(q).box->Hide();
    }
  }
  ExplainMissingQuestions();
}

// A questionnaire that yields no question leaves the window empty: a box
// says why, naming the line that a full-width marker probably spoilt.
void TForm1::ExplainMissingQuestions() {
  if (QuestionExists(1)) return;
  backend_.ShowStop(Text(FixedText::kApplicationTitle),
                    survey::NoQuestionExplanation(questionnaire_));
}

// Counts and bars appear only after a tally; the enlarged view and its
// buttons only in the enlarged mode.
void TForm1::HideResultsAndEnlargedView() {
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (ChoiceRow& row : Panel(q).rows) {
      row.count->Hide();
      row.bar->Hide();
    }
  }
  form_["Button4"].Hide();
  form_["Button5"].Hide();
  form_["Button6"].Hide();
  Panel(kEnlargedPanel).box->Hide();
}

// Shows question q's panel with its text, and its choices or its (empty)
// free-text list. Counts and bars stay hidden and empty.
void TForm1::FillQuestionPanel(int q) {
  const survey::Question& question = questionnaire_.At(q);
  QuestionPanel& panel = Panel(q);
  shown_counts_[q - 1].fill(kUnknownCount);
  for (ChoiceRow& row : panel.rows) {
    row.count->SetCaption("");
    row.bar->SetCaption("");
  }
  panel.box->Show();
  panel.question_text->SetCaption(question.text);
  if (question.IsText()) {
    // The list lies over the rows; their choice labels are left alone.
    panel.list->Show();
    return;
  }
  panel.list->Hide();
  for (int c = 1; c <= kChoiceCount; ++c)
    Row(q, c).choice->SetCaption(question.Choice(c));
}

// ---- Tally -----------------------------------------------------------------

// Counts every answer file, shows the results and writes the results file.
void TForm1::Button1Click() {
  PrepareRowsForTally();
  for (int q = 1; q <= kQuestionCount; ++q) Panel(q).list->ClearItems();
  text::AnswerFileList& files = RefreshedAnswerFiles();
  const int respondents = files.Count();
  // Shown before any answer file is read, so it stays when a file fails.
  form_["LblSum"].SetCaption(std::to_string(respondents) +
                             Text(FixedText::kTalliedSuffix));
  // The panels follow the running totals through ChoiceSectionDone and
  // TextAnswerFound; a failure stops the handler with what was shown so far.
  survey::ChoiceCounts counts;
  tally_stage_ = TallyFailure::Stage::kReading;
  survey::TallyAnswerFiles(files.Names(), counts, respondents_, *this);
  tally_stage_ = TallyFailure::Stage::kWriting;
  survey::WriteTallyResults(questionnaire_, respondents_);
  if (InEnlargedMode()) Button6Click();
}

// Every row starts the tally with its count shown and empty and its bar
// hidden, so no count of an earlier tally survives it in either view; a
// choice text is cut off where the count begins.
void TForm1::PrepareRowsForTally() {
  for (auto& counts : shown_counts_) counts.fill(kUnknownCount);
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (ChoiceRow& row : Panel(q).rows) {
      row.count->SetCaption("");
      row.bar->SetCaption("");
      row.bar->Hide();
      row.choice->SetWidth(kTalliedChoiceWidth);
      row.count->Show();
    }
  }
}

void TForm1::ChoiceSectionDone(int q, const survey::ChoiceCounts& counts) {
  for (int c = 1; c <= kChoiceCount; ++c) {
    ChoiceRow& row = Row(q, c);
    const std::int64_t persons = counts.At(q, c);
    std::int64_t& shown = shown_counts_[q - 1][c - 1];
    if (persons == shown) continue;
    shown = persons;
    if (persons >= 1) {
      CountCaption(persons, count_caption_);
      row.count->SetCaption(count_caption_);
      row.bar->SetCaption(BarCaption(persons));
      row.count->Show();
      row.bar->Show();
    } else {
      row.count->SetCaption("");
      row.bar->SetCaption("");
      row.count->Hide();
      row.bar->Hide();
    }
  }
}

void TForm1::TextAnswerFound(int q, std::string_view text) {
  Panel(q).list->AppendItem(text);
}

// Live results: the window tallies again by itself as answers arrive.
void TForm1::LiveMenuClick() { live_.SetOn(!live_.On()); }

// ---- Erasing ---------------------------------------------------------------

// Deletes every listed answer file once the user has confirmed it.
void TForm1::Button2Click() {
  if (!ConfirmErase()) return;
  text::AnswerFileList& files = RefreshedAnswerFiles();
  // A file that cannot be deleted stays, silently; the others still go.
  const int count = files.Count();
  for (int i = 1; i <= count; ++i) text::DeleteFile(files.Name(i));
  files.Refresh();
}

// True only when the user answered yes.
bool TForm1::ConfirmErase() {
  return backend_.Confirm(
      {Text(FixedText::kEraseCaption), Text(FixedText::kEraseQuestion),
       Text(FixedText::kYesButton), Text(FixedText::kNoButton)});
}

// ---- The enlarged view -----------------------------------------------------

void TForm1::Button3Click() {
  if (InEnlargedMode()) {
    ReturnToOverview();
  } else {
    EnterEnlargedMode();
  }
}

void TForm1::EnterEnlargedMode() {
  form_["Button3"].SetCaption(Text(FixedText::kOverviewCaption));
  for (int q = 1; q <= kQuestionCount; ++q) Panel(q).box->Hide();
  Panel(kEnlargedPanel).box->Show();
  form_["Button4"].Show();
  form_["Button5"].Show();
  Button6Click();
}

void TForm1::ReturnToOverview() {
  form_["Button3"].SetCaption(Text(FixedText::kEnlargeCaption));
  Panel(kEnlargedPanel).box->Hide();
  for (int q = 1; q <= kQuestionCount; ++q) {
    if (QuestionExists(q)) Panel(q).box->Show();
  }
  form_["Button4"].Hide();
  form_["Button5"].Hide();
}

void TForm1::Button4Click() {
  current_question_ = std::max(current_question_ - 1, 1);
  Button6Click();
}

void TForm1::Button5Click() {
  current_question_ = std::min(current_question_ + 1, kQuestionCount);
  // One step back lands on the last question, as questions have no gaps.
  if (!QuestionExists(current_question_)) current_question_ -= 1;
  Button6Click();
}

// Draws CurrentQuestion into the enlarged panel from the overview's texts.
void TForm1::Button6Click() {
  const int q = current_question_;
  DrawHeadline(q);
  if (questionnaire_.At(q).IsText()) {
    CopyAnswerList(q);
  } else {
    CopyChoiceRows(q);
  }
  // A bar shows exactly where its count text is not empty.
  for (ChoiceRow& row : Panel(kEnlargedPanel).rows)
    row.bar->SetVisible(!row.count->Caption().empty());
}

// "第q問目" and the question's text.
void TForm1::DrawHeadline(int q) {
  QuestionPanel& enlarged = Panel(kEnlargedPanel);
  enlarged.box->SetCaption(Text(FixedText::kHeadlinePrefix) +
                           std::to_string(q) +
                           Text(FixedText::kHeadlineSuffix));
  enlarged.question_text->SetCaption(questionnaire_.At(q).text);
}

// The overview's answers, afresh; the rows stay as they were, hidden behind
// the list.
void TForm1::CopyAnswerList(int q) {
  gui::Control& list = *Panel(kEnlargedPanel).list;
  list.Show();
  list.ClearItems();
  for (std::string_view item : Panel(q).list->Items()) list.AppendItem(item);
}

// Texts only: the enlarged labels keep their own sizes, fonts and colours.
void TForm1::CopyChoiceRows(int q) {
  QuestionPanel& enlarged = Panel(kEnlargedPanel);
  enlarged.list->Hide();
  for (int c = 1; c <= kChoiceCount; ++c) {
    const ChoiceRow& from = Row(q, c);
    ChoiceRow& to = enlarged.rows[c - 1];
    to.choice->SetCaption(from.choice->Caption());
    to.count->SetCaption(from.count->Caption());
    to.bar->SetCaption(from.bar->Caption());
  }
}

}  // namespace tabulon::window
