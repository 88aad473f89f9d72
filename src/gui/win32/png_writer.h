// Writes 24-bit pixels as a PNG file, for the Win32 backend's screenshots
// (the desktop itself has no PNG encoder in its plain API). Rows are
// filtered against their left neighbour and compressed as runs, which
// suits a window of flat colours.
#ifndef TABULON_GUI_WIN32_PNG_WRITER_H_
#define TABULON_GUI_WIN32_PNG_WRITER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace tabulon::gui::win32 {

// The PNG bytes of `width` x `height` pixels, 0x00RRGGBB each, top row first.
std::string EncodePng(int width, int height,
                      const std::vector<std::uint32_t>& rgb);

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_PNG_WRITER_H_
