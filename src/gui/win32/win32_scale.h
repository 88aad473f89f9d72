// The layout's 96-dpi pixels at a monitor's scale (private to the Win32
// backend). The layout itself stays in 96-dpi pixels; only what reaches the
// screen is scaled, by dpi/96 rounded to the nearest pixel. Edges are scaled
// rather than sizes, so controls that abut at 96 dpi abut at every scale and
// none overlaps the next; text is measured again in the scaled font, so a
// label's caption is never clipped and a bar of N blanks is exactly N times
// the scaled font's blank.
#ifndef TABULON_GUI_WIN32_WIN32_SCALE_H_
#define TABULON_GUI_WIN32_WIN32_SCALE_H_

#include <windows.h>

#include "gui/controls.h"

namespace tabulon::gui::win32 {

inline constexpr int kLayoutDpi = 96;

class Scale {
 public:
  explicit Scale(int dpi = kLayoutDpi) : dpi_(dpi > 0 ? dpi : kLayoutDpi) {}

  int Dpi() const { return dpi_; }
  // A 96-dpi length or coordinate (the layout has no negative ones),
  // halves rounded up.
  int Px(int at_96) const {
    return static_cast<int>((2LL * at_96 * dpi_ + kLayoutDpi) /
                            (2 * kLayoutDpi));
  }
  // The rectangle from its scaled edges.
  RECT Rect(int left, int top, int width, int height) const {
    return {Px(left), Px(top), Px(left + width), Px(top + height)};
  }
  // The same face at the scaled character height.
  Font FontAt(const Font& font) const {
    return {font.face, Px(font.pixel_size), font.bold};
  }

 private:
  int dpi_;
};

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_SCALE_H_
