// What a screen reader is told of the labels that the Win32 backend paints
// on a surface (private to the backend). Labels are no windows, so the
// system's own accessible objects know nothing of them: a surface answers
// WM_GETOBJECT with an object of its own whose children are its child
// windows (as the system describes them) followed by its labels.
#ifndef TABULON_GUI_WIN32_WIN32_ACCESSIBLE_H_
#define TABULON_GUI_WIN32_WIN32_ACCESSIBLE_H_

#include <windows.h>

#include <string>
#include <vector>

namespace tabulon::gui::win32 {

// One label as it is read: its caption as shown (a bar: its count's), where
// it lies in the surface's client area, and whether anything shows it.
struct AccessibleLabel {
  std::wstring name;
  bool bar = false;  // read as a progress bar
  bool covered = false;
  RECT place = {};
};

// A surface as it is read, asked afresh at every question: a panel is a
// grouping named by its caption; the window's content is a plain client.
struct SurfaceFacts {
  bool exists = false;
  bool panel = false;
  bool covered = false;
  std::wstring name;
  std::vector<AccessibleLabel> labels;  // the shown ones, in painting order
};
using SurfaceReader = SurfaceFacts (*)(HWND surface);

// The answer to WM_GETOBJECT on a surface; 0 leaves it to the system.
LRESULT AnswerGetObject(HWND surface, WPARAM w_param, LPARAM l_param,
                        SurfaceReader read);

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_ACCESSIBLE_H_
