// What a screen reader needs that the layout says only by placement, the
// same for every backend.
#ifndef TABULON_GUI_ACCESSIBILITY_H_
#define TABULON_GUI_ACCESSIBILITY_H_

#include "gui/controls.h"

namespace tabulon::gui {

// The control `control` is read with, or null: for a label, the label just
// left of it in its row (a bar's count); for a list box, the label just
// above it that shares its left edge (its question), or else its panel.
const Control* AccessibleNeighbour(const Form& form, const Control& control);

}  // namespace tabulon::gui

#endif  // TABULON_GUI_ACCESSIBILITY_H_
