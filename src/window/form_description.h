// The static layout of the main window: every control, its parent, place,
// size, font, colour, initial caption, visibility, stacking and Tab order.
#ifndef TABULON_WINDOW_FORM_DESCRIPTION_H_
#define TABULON_WINDOW_FORM_DESCRIPTION_H_

#include <string>
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

// Control names of the naming scheme, question q = 1 to 10 (11 is the
// enlarged panel) and choice c = 1 to 5.
std::string PanelName(int q);
// LblQ01 to LblQ08: only panels 1 to 8 have a question label.
std::string QuestionLabelName(int q);
std::string ChoiceLabelName(int q, int c);
std::string CountLabelName(int q, int c);
std::string BarLabelName(int q, int c);
std::string ListBoxName(int q);

}  // namespace tabulon::window

#endif  // TABULON_WINDOW_FORM_DESCRIPTION_H_
