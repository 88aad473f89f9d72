// The main window TForm1: builds Form1 from its description and holds the
// handlers of its events. The handlers see only controls by name (through
// the panels resolved once below), the questionnaire and the tally.
#ifndef TABULON_WINDOW_MAIN_WINDOW_H_
#define TABULON_WINDOW_MAIN_WINDOW_H_

#include <array>
#include <cstdint>
#include <string>

#include "gui/backend.h"
#include "gui/controls.h"
#include "survey/questionnaire.h"
#include "survey/respondent_table.h"
#include "survey/tally.h"
#include "text/answer_file_list.h"
#include "window/live_results.h"
#include "window/live_tally.h"

namespace tabulon::window {

class TForm1 : public survey::TallyListener {
 public:
  // Creates Form1 from its static layout and binds every button to its
  // handler. Nothing is read or shown yet.
  explicit TForm1(gui::Backend& backend);

  // The last step of creation: runs FormCreate through the handler guard,
  // so a failure is reported and creation goes on.
  void Create();

  gui::Form& Form() { return form_; }
  LiveResults& Live() { return live_; }
  int CurrentQuestion() const { return current_question_; }
  const survey::Questionnaire& Questionnaire() const { return questionnaire_; }

  // Handlers. Each is run through the guard by the control layer.
  void FormCreate();
  void Button1Click();   // tally
  void Button2Click();   // erase the answer files
  void Button3Click();   // toggle the display mode
  void Button4Click();   // previous question
  void Button5Click();   // next question
  void Button6Click();   // draw CurrentQuestion into the enlarged panel
  void LiveMenuClick();  // live results on or off

  // The display mode is the caption of Button3.
  bool InEnlargedMode() const;
  // How far the last tally got: reading the answer files, or writing the
  // results file.
  TallyFailure::Stage TallyStage() const { return tally_stage_; }

  // The tally's notifications.
  void ChoiceSectionDone(int q, const survey::ChoiceCounts& counts) override;
  void TextAnswerFound(int q, std::string_view text) override;

 private:
  struct ChoiceRow {
    gui::Control* choice;
    gui::Control* count;
    gui::Control* bar;
  };
  // One question's controls; `question_text` is LblQ0q for panels 1 to 8
  // and the panel itself for 9 and 10. The enlarged panel is number 11.
  struct QuestionPanel {
    gui::Control* box;
    gui::Control* question_text;
    std::array<ChoiceRow, survey::kChoiceCount> rows;
    gui::Control* list;
  };

  QuestionPanel ResolvePanel(int q);
  QuestionPanel& Panel(int q) { return panels_.at(q - 1); }
  ChoiceRow& Row(int q, int c) { return Panel(q).rows.at(c - 1); }
  bool QuestionExists(int q) const { return questionnaire_.At(q).InUse(); }
  // The answer-file list, re-read from the folder as it is now.
  text::AnswerFileList& RefreshedAnswerFiles();

  // Steps of the handlers.
  void HideResultsAndEnlargedView();
  void FillQuestionPanel(int q);
  void ExplainMissingQuestions();
  void PrepareRowsForTally();
  bool ConfirmErase();
  void EnterEnlargedMode();
  void ReturnToOverview();
  void DrawHeadline(int q);
  void CopyAnswerList(int q);
  void CopyChoiceRows(int q);

  gui::Backend& backend_;
  gui::Form form_;
  std::array<QuestionPanel, survey::kQuestionCount + 1> panels_;
  survey::Questionnaire questionnaire_;
  survey::RespondentTable respondents_;
  // The caption of a count, rebuilt in place for every section: its memory
  // is kept from one to the next.
  std::string count_caption_;
  // What each overview row shows since the tally began, kUnknownCount
  // before its first section: a section that leaves a count as it was
  // leaves its row alone, since the row shows that count already.
  static constexpr std::int64_t kUnknownCount = INT64_MIN;
  std::array<std::array<std::int64_t, survey::kChoiceCount>,
             survey::kQuestionCount>
      shown_counts_{};
  int current_question_ = 1;
  TallyFailure::Stage tally_stage_ = TallyFailure::Stage::kReading;
  LiveResults live_;
};

}  // namespace tabulon::window

#endif  // TABULON_WINDOW_MAIN_WINDOW_H_
