// The confirmation of the Win32 backend (private to it): a modal dialog in
// the look of the system's message box, question icon and two buttons. A
// yes/no message box would not do: it ignores Escape and has no close box.
#ifndef TABULON_GUI_WIN32_WIN32_CONFIRM_H_
#define TABULON_GUI_WIN32_WIN32_CONFIRM_H_

#include <windows.h>

#include "gui/backend.h"

namespace tabulon::gui::win32 {

// Shows `box` over `owner` (which it disables meanwhile), centred on the
// screen, and waits. The first button is the default (Enter); it alone
// answers yes. The second button, Escape and the close box answer no.
bool AskYesNo(HINSTANCE instance, HWND owner, const Confirmation& box);

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_CONFIRM_H_
