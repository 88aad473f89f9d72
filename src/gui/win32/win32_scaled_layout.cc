// The Win32 backend's layout at the screen's scale: where each control
// lies, the fonts of its windows, and everything laid out anew when the
// window moves to a monitor of another scale.
#include <string>
#include <vector>

#include "gui/win32/win32_screen.h"

namespace tabulon::gui::win32 {

void Screen::ApplyFont(HWND handle, const Control& control) {
  const HFONT font = fonts.For(scale.FontAt(control.EffectiveFont()));
  SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // After the font, which would set the items' height anew.
  if (control.ItemHeight() > 0) {
    SendMessageA(handle, LB_SETITEMHEIGHT, 0, scale.Px(control.ItemHeight()));
  }
}

RECT Screen::ScreenRect(const Control& control) {
  RECT rect = scale.Rect(control.Left(), control.Top(), control.Width(),
                         control.Height());
  if (control.Kind() != ControlKind::kLabel || !control.AutoSize()) {
    return rect;
  }
  const std::string shown = WithoutAmpersands(control.Caption());
  const std::string measured = shown.empty() ? " " : shown;
  const Font& font = control.EffectiveFont();
  // A width set by a handler is kept (scaled); one that follows the
  // caption follows it in the scaled font.
  if (backend.Measure(font, measured).width != control.Width()) return rect;
  const Font scaled = scale.FontAt(font);
  rect.right = rect.left + backend.Measure(scaled, measured).width;
  rect.bottom = rect.top + scaled.pixel_size;
  return rect;
}

void Screen::OnDpiChanged(int dpi, const RECT* suggested) {
  scale = Scale(dpi);
  if (suggested != nullptr) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left,
                 suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (const auto& [control, realised_as] : realised) {
    if (realised_as.window != nullptr) ApplyFont(realised_as.window, *control);
  }
  std::vector<Control*>& dirty = form->DirtyControls();
  dirty.push_back(form);
  for (const auto& control : form->Controls()) dirty.push_back(control.get());
  backend.Sync(*form);
  UpdateContentSize();
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace tabulon::gui::win32
