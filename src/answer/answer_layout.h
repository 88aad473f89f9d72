// The answer window's layout, computed from the questionnaire: the title and
// description, the name field, one block per question (radio buttons, check
// boxes or a text field) and the save button, top to bottom in Tab order.
// Sizes follow the captions' measured widths, so any questionnaire fits.
#ifndef TABULON_ANSWER_ANSWER_LAYOUT_H_
#define TABULON_ANSWER_ANSWER_LAYOUT_H_

#include <string>
#include <utility>
#include <vector>

#include "gui/controls.h"
#include "survey/questionnaire.h"

namespace tabulon::answer {

// Control names.
inline constexpr char kFormName[] = "AnswerForm";
inline constexpr char kTitleName[] = "Title";
inline constexpr char kDescriptionName[] = "Description";
inline constexpr char kNameLabelName[] = "NameLabel";
inline constexpr char kNameFieldName[] = "NameField";
inline constexpr char kSaveButtonName[] = "SaveButton";
// Question q's block, its choice c (a radio button or check box) and its
// text field.
std::string BlockName(int q);
std::string ChoiceName(int q, int c);
std::string TextFieldName(int q);

// The window at most this tall (outer pixels); a longer form scrolls.
inline constexpr int kMostWindowHeight = 700;

struct AnswerLayout {
  // The window itself, sized to the content (at most kMostWindowHeight).
  gui::ControlLayout form;
  // Every control, in creation and Tab order.
  std::vector<gui::ControlLayout> controls;
  // The captions that come from the questionnaire, by control name: CP932
  // as data.txt has them, set once the form is built (a layout row's
  // caption is UTF-8, which an odd byte of data.txt would not survive).
  std::vector<std::pair<std::string, std::string>> captions;
};

AnswerLayout LayOutAnswerForm(const survey::Questionnaire& questionnaire,
                              gui::TextMetrics& metrics);

// What the block of question q is captioned with (CP932): its text, or
// "第q問目" for a question without text.
std::string BlockCaption(const survey::Questionnaire& questionnaire, int q);

}  // namespace tabulon::answer

#endif  // TABULON_ANSWER_ANSWER_LAYOUT_H_
