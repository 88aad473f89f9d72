// GDI pieces of the Win32 backend (private to it): fonts by face name and
// character height, system colours read from the system, and labels and
// group boxes painted as the desktop paints them.
#ifndef TABULON_GUI_WIN32_WIN32_SURFACE_H_
#define TABULON_GUI_WIN32_WIN32_SURFACE_H_

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "gui/controls.h"

namespace tabulon::gui::win32 {

// An RGB as it is; a system colour as this desktop shows it.
COLORREF ColorOf(const Colour& colour);

// One HFONT per face, size and weight: the face by its desktop name in
// code page 932, the Shift-JIS character set, and the size as a character
// height (a negative lfHeight).
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  HFONT For(const Font& font);

 private:
  std::map<std::tuple<std::string, int, bool>, HFONT> fonts_;
};

// A label on its parent's surface, at `rect` in `dc`: the whole rectangle
// filled in its colour, then its caption left-aligned and clipped to it,
// with the ampersand rule and, if it has it, word wrap.
void PaintLabel(HDC dc, const RECT& rect, const Control& label, HFONT font);

// A group box of `size` in `dc`: filled in its colour, an etched frame from
// half the caption height down, and the caption `caption_left` from the
// left over the frame.
void PaintGroupBox(HDC dc, const Control& box, HFONT font, SIZE size,
                   int caption_left);

// CP932 with a lone CR (or CR LF) as the system's line break, CR LF.
std::string WithLineBreaks(std::string_view cp932);

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_SURFACE_H_
