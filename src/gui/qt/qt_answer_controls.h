// The Qt backend's answer controls (private to the backend): radio buttons,
// check boxes and one-line text fields as Qt's own widgets, which a screen
// reader hears by their caption (a text field by its question). What a
// person does in them goes straight back into the control's state.
#ifndef TABULON_GUI_QT_QT_ANSWER_CONTROLS_H_
#define TABULON_GUI_QT_QT_ANSWER_CONTROLS_H_

#include <QWidget>

#include "gui/controls.h"

namespace tabulon::gui::qt {

bool IsAnswerControl(ControlKind kind);

// The widget for a radio button, check box or text field, wired so that a
// click or a keystroke sets the control's Checked or Text.
QWidget* NewAnswerWidget(QWidget* parent, Control& control);

// Brings the widget to the control's caption and state; what the widget
// already shows is left alone (a text field keeps its cursor).
void ApplyAnswerWidget(QWidget* widget, const Control& control);

}  // namespace tabulon::gui::qt

#endif  // TABULON_GUI_QT_QT_ANSWER_CONTROLS_H_
