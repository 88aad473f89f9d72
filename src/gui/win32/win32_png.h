// Saves pixels as a PNG file through the system's own image encoder (the
// Windows Imaging Component), for the Win32 backend's screenshots.
#ifndef TABULON_GUI_WIN32_WIN32_PNG_H_
#define TABULON_GUI_WIN32_WIN32_PNG_H_

#include <cstdint>
#include <string>
#include <vector>

namespace tabulon::gui::win32 {

// Writes `width` x `height` pixels, 0x00RRGGBB each, top row first, to the
// file `path` (the system's code page). False when the file cannot be made
// or the encoder fails; a file begun is then removed.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& rgb);

}  // namespace tabulon::gui::win32

#endif  // TABULON_GUI_WIN32_WIN32_PNG_H_
