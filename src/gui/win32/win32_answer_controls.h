// The Win32 backend's answer controls (private to the backend): the
// system's own radio buttons and check boxes (BUTTON) and a Unicode EDIT
// for typed text, so that a screen reader hears them as such. What a person
// does in them goes straight back into the control's state.
#ifndef TABULON_GUI_WIN32_WIN32_ANSWER_CONTROLS_H_
#define TABULON_GUI_WIN32_WIN32_ANSWER_CONTROLS_H_

#include <windows.h>

#include "gui/controls.h"

namespace tabulon::gui::win32 {

bool IsAnswerControl(ControlKind kind);

// The window for a radio button, check box or text field, with the given
// child styles added.
HWND CreateAnswerWindow(const Control& control, HWND parent, DWORD style,
                        HINSTANCE instance);

// Brings the window to the control's caption and state; a text field that
// already shows the text keeps its cursor.
void ApplyAnswerWindow(HWND window, const Control& control);

// Takes a notification from the window (a click, a changed text) into the
// control's state.
void TakeAnswerInput(HWND window, WORD notification, Control& control);

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_ANSWER_CONTROLS_H_
