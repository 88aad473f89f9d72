// The static layout of the main window: every control, its parent, place,
// size, font, colour, initial caption, visibility, stacking and Tab order;
// and the naming and layout facts the handlers rely on.
#ifndef TABULON_WINDOW_FORM_DESCRIPTION_H_
#define TABULON_WINDOW_FORM_DESCRIPTION_H_

#include <string>
#include <string_view>
#include <vector>

#include "gui/controls.h"

namespace tabulon::window {

// The window itself (Form1): caption, outer size and place, font, colour.
gui::ControlLayout MainWindowLayout();

// Every control of Form1 in creation order. Windowed controls of one parent
// come bottom to top; each panel's labels come in drawing order (choice,
// count, bar, question label) before its list box.
const std::vector<gui::ControlLayout>& MainWindowControls();

// The enlarged panel's number in the naming scheme (GroupBox11, Lbl111...).
inline constexpr int kEnlargedPanel = 11;

// The never-visible file list that holds the answer-file list.
inline constexpr std::string_view kFileListName = "FileListBox1";

// Panels 1 to 8 show their question in a label of their own (LblQ01 to
// LblQ08); panels 9 and 10 in their own caption, the enlarged panel in
// Lbl110.
constexpr bool HasQuestionLabel(int q) { return q <= 8; }

// The width a tally gives every choice label: a longer choice text is cut
// off where its row's count begins.
inline constexpr int kTalliedChoiceWidth = 80;

// Control names of the naming scheme, question q = 1 to 10 (11 is the
// enlarged panel) and choice c = 1 to 5; question 10 writes the digit 0 in
// its row names.
std::string PanelName(int q);
// Where question q's text is shown: LblQ0q, the panel itself, or Lbl110.
std::string QuestionTextName(int q);
std::string ChoiceLabelName(int q, int c);
std::string CountLabelName(int q, int c);
std::string BarLabelName(int q, int c);
std::string ListBoxName(int q);

}  // namespace tabulon::window

#endif  // TABULON_WINDOW_FORM_DESCRIPTION_H_
