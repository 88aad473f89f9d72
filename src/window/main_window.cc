#include "window/main_window.h"

#include <algorithm>
#include <cstdint>

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

std::string CountCaption(std::int64_t persons) {
  return std::to_string(persons) + Text(FixedText::kPersons);
}

std::string BarCaption(std::int64_t persons) {
  return std::string(static_cast<std::size_t>(std::min(persons, kLongestBar)),
                     ' ');
}

}  // namespace

TForm1::TForm1(gui::Backend& backend)
    : backend_(backend), form_(MainWindowLayout(), backend, &backend) {
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
}

void TForm1::Create() { gui::RunHandler(backend_, form_, form_.on_create); }

TForm1::QuestionPanel TForm1::ResolvePanel(int q) {
  QuestionPanel panel{};
  panel.box = &form_[PanelName(q)];
  if (q <= 8) {
    panel.question_text = &form_[QuestionLabelName(q)];
  } else if (q <= kQuestionCount) {
    panel.question_text = panel.box;
  } else {
    panel.question_text = &form_["Lbl110"];
  }
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

// Puts the window into its start state and fills one panel per question.
void TForm1::FormCreate() {
  // 1-2. Counts and bars appear only after a tally.
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (ChoiceRow& row : Panel(q).rows) row.count->Hide();
  }
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (ChoiceRow& row : Panel(q).rows) row.bar->Hide();
  }
  // 3. The enlarged view and its buttons.
  form_["Button4"].Hide();
  form_["Button5"].Hide();
  form_["Button6"].Hide();
  form_["GroupBox11"].Hide();
  // 4-5.
  current_question_ = 1;
  form_["GroupBox1"].Hide();
  // 6. A failure ends the handler here, with the window partly set up.
  questionnaire_ = survey::LoadQuestionnaire();
  // 7.
  form_["Label1"].SetCaption(questionnaire_.title);
  form_["Label2"].SetCaption(questionnaire_.description);
  // 8. The panels of the questions in use.
  for (int q = 1; q <= kQuestionCount; ++q) {
    const survey::Question& question = questionnaire_.At(q);
    if (!question.InUse()) continue;
    QuestionPanel& panel = Panel(q);
    for (ChoiceRow& row : panel.rows) row.count->SetCaption("");
    for (ChoiceRow& row : panel.rows) row.bar->SetCaption("");
    panel.box->Show();
    panel.question_text->SetCaption(question.text);
    if (question.kind == "T") {
      panel.list->Show();
      continue;
    }
    panel.list->Hide();
    for (int c = 1; c <= kChoiceCount; ++c)
      Row(q, c).choice->SetCaption(question.Choice(c));
  }
  // 9. The panels of the numbers not in use.
  for (int q = 1; q <= kQuestionCount; ++q) {
    if (!QuestionExists(q)) Panel(q).box->Hide();
  }
}

// Counts every answer file, shows the results and writes the results file.
void TForm1::Button1Click() {
  ClearEarlierResults();
  // 1. Choice texts wider than this are cut off from now on.
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (ChoiceRow& row : Panel(q).rows) row.choice->SetWidth(80);
  }
  // 2.
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (ChoiceRow& row : Panel(q).rows) row.count->Show();
  }
  // 3.
  for (int q = 1; q <= kQuestionCount; ++q) Panel(q).list->ClearItems();
  // 4.
  text::AnswerFileList& files = form_.FileListNamed("FileListBox1").List();
  files.SetPattern(Text(FixedText::kAnswerFilePattern));
  files.Refresh();
  const int respondents = files.Count();
  // 5. Shown before any answer file is read.
  form_["LblSum"].SetCaption(std::to_string(respondents) +
                             Text(FixedText::kTalliedSuffix));
  // 6. The panels follow the running totals through ChoiceSectionDone and
  // TextAnswerFound.
  survey::ChoiceCounts counts;
  survey::TallyAnswerFiles(files.Names(), counts, respondents_, *this);
  // 7.
  survey::WriteTallyResults(questionnaire_, respondents_, respondents);
  // 8.
  if (InEnlargedMode()) Button6Click();
}

// No count or bar of an earlier tally may survive this one, in either view.
void TForm1::ClearEarlierResults() {
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (ChoiceRow& row : Panel(q).rows) {
      row.count->SetCaption("");
      row.bar->SetCaption("");
      row.bar->Hide();
    }
  }
}

void TForm1::ChoiceSectionDone(int q, const survey::ChoiceCounts& counts) {
  for (int c = 1; c <= kChoiceCount; ++c) {
    ChoiceRow& row = Row(q, c);
    const std::int64_t persons = counts.At(q, c);
    if (persons >= 1) {
      row.count->SetCaption(CountCaption(persons));
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

void TForm1::TextAnswerFound(int q, const std::string& text) {
  Panel(q).list->AppendItem(text);
}

// Deletes every listed answer file once the user has confirmed it.
void TForm1::Button2Click() {
  // 1-2.
  const gui::Confirmation box{
      Text(FixedText::kEraseCaption), Text(FixedText::kEraseQuestion),
      Text(FixedText::kYesButton), Text(FixedText::kNoButton)};
  if (!backend_.Confirm(box)) return;
  // 3.
  text::AnswerFileList& files = form_.FileListNamed("FileListBox1").List();
  files.SetPattern(Text(FixedText::kAnswerFilePattern));
  files.Refresh();
  // 4. A file that cannot be deleted stays, silently.
  const int count = files.Count();
  for (int i = 1; i <= count; ++i) text::DeleteFile(files.Name(i));
  // 5.
  files.Refresh();
}

void TForm1::Button3Click() {
  // 1. Entering the enlarged view.
  if (!InEnlargedMode()) {
    form_["Button3"].SetCaption(Text(FixedText::kOverviewCaption));
    for (int q = 1; q <= kQuestionCount; ++q) Panel(q).box->Hide();
    form_["GroupBox11"].Show();
    form_["Button4"].Show();
    form_["Button5"].Show();
    Button6Click();
    return;
  }
  // 2. Back to the overview.
  form_["Button3"].SetCaption(Text(FixedText::kEnlargeCaption));
  form_["GroupBox11"].Hide();
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

// Draws CurrentQuestion into the enlarged panel, copying the overview's texts.
void TForm1::Button6Click() {
  const int q = current_question_;
  QuestionPanel& enlarged = Panel(kEnlargedPanel);
  QuestionPanel& overview = Panel(q);
  // 1-2.
  enlarged.box->SetCaption(Text(FixedText::kHeadlinePrefix) +
                           std::to_string(q) +
                           Text(FixedText::kHeadlineSuffix));
  enlarged.question_text->SetCaption(questionnaire_.At(q).text);
  if (questionnaire_.At(q).kind == "T") {
    // 3. The rows stay as they were, hidden behind the list.
    enlarged.list->Show();
    enlarged.list->ClearItems();
    for (const std::string& item : overview.list->Items())
      enlarged.list->AppendItem(item);
  } else {
    // 4.
    enlarged.list->Hide();
    for (int c = 1; c <= kChoiceCount; ++c) {
      enlarged.rows[c - 1].choice->SetCaption(
          overview.rows[c - 1].choice->Caption());
    }
    for (int c = 1; c <= kChoiceCount; ++c) {
      enlarged.rows[c - 1].count->SetCaption(
          overview.rows[c - 1].count->Caption());
    }
    for (int c = 1; c <= kChoiceCount; ++c) {
      enlarged.rows[c - 1].bar->SetCaption(overview.rows[c - 1].bar->Caption());
    }
  }
  // 5. A bar shows exactly where its count text is not empty.
  for (ChoiceRow& row : enlarged.rows)
    row.bar->SetVisible(!row.count->Caption().empty());
}

}  // namespace tabulon::window
