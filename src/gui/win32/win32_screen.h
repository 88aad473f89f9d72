// The Win32 backend's windows (private to the backend): the main window,
// the content surface and every control's window, and how they are made,
// brought up to date, scrolled, painted and tabbed through. The backend
// owns one; the window procedures reach it through their windows.
#ifndef TABULON_GUI_WIN32_WIN32_SCREEN_H_
#define TABULON_GUI_WIN32_WIN32_SCREEN_H_

#include <windows.h>

#include <unordered_map>
#include <vector>

#include "gui/backend.h"
#include "gui/realisation.h"
#include "gui/win32/win32_accessible.h"
#include "gui/win32/win32_scale.h"
#include "gui/win32/win32_surface.h"

namespace tabulon::gui::win32 {

struct Screen {
  // A control's window, what of its list it shows, and where a label was
  // last painted (so a change repaints the old place too).
  struct Realised {
    HWND window = nullptr;
    ShownItems items;
    RECT painted = {};
    bool painted_visible = false;
  };

  // `owner` runs the handlers of clicks and shows their boxes.
  explicit Screen(Backend& owner);
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  // Lets go of the windows of an earlier Realise. Only the window the user
  // closes ends the program's message loop.
  void Forget();

  HWND ParentWindow(const Control& control) const {
    const Control* parent = control.Parent();
    return parent == nullptr || parent == form ? content
                                               : realised.at(parent).window;
  }

  // The main window and the windows of `form`'s controls.
  void Realise(Form& form);
  void CreateWindows(Form& form);
  HWND CreateControlWindow(Control& control);
  void ApplyFont(HWND handle, const Control& control);
  // A control's place in its parent window's client area, on the screen's
  // scale; a label as wide as its caption is measured in the scaled font.
  RECT ScreenRect(const Control& control);
  // The window has moved to a monitor of another scale (or was created on
  // one): everything is laid out, and its fonts made, anew.
  void OnDpiChanged(int dpi, const RECT* suggested);
  void Stack();
  void Apply(Control& control);
  void ApplyLabel(const Control& label);
  void ApplyItems(const Control& list, Realised& realised);
  // The screen brought up to `form`'s changes since the last sync.
  void Sync(Form& form);
  void UpdateContentSize();
  void UpdateScrollBars();
  void ScrollTo(int x, int y);
  void OnScroll(int bar, WPARAM request);
  void PaintSurface(HWND surface);
  void MoveFocus(bool backwards);
  // The form's context menu (win32_live.cc); `where` as WM_CONTEXTMENU
  // gives it.
  void OpenContextMenu(LPARAM where);
  // What a screen reader is told of the surface that `owner` paints on.
  win32::SurfaceFacts FactsOf(const Control& owner);
  bool IsCovered(const Control& control) const;
  void Dispatch(MSG& message);

  Backend& backend;
  HINSTANCE instance;
  HDC measure_dc;
  win32::FontCache fonts;
  win32::Scale scale;
  HWND window = nullptr;
  HWND content = nullptr;
  Form* form = nullptr;
  std::unordered_map<const Control*, Realised> realised;
  std::unordered_map<HWND, Control*> control_of;
  // Each surface's labels in creation order: later ones paint over earlier.
  std::unordered_map<const Control*, std::vector<const Control*>> labels_of;
  std::vector<const Control*> tab_chain;
  int busy_depth = 0;
  POINT scroll = {0, 0};
  SIZE content_size = {1, 1};
};

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_SCREEN_H_
