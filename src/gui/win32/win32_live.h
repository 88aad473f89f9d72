// The Win32 backend's part of live results: a change notification of the
// current folder, waited on by the message loop together with the window's
// messages (MsgWaitForMultipleObjectsEx: no thread, no polling), a thread
// timer, and the window's context menu.
#ifndef TABULON_GUI_WIN32_WIN32_LIVE_H_
#define TABULON_GUI_WIN32_WIN32_LIVE_H_

#include <windows.h>

namespace tabulon::gui::win32 {

struct LiveParts {
  // The folder's change notification; INVALID_HANDLE_VALUE when not
  // watching.
  HANDLE change = INVALID_HANDLE_VALUE;
  UINT_PTR timer = 0;
};

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_LIVE_H_
