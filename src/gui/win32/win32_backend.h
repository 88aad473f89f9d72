// The Win32 backend: realises a form as the desktop's own windows. Buttons
// and list boxes are the system's BUTTON and LISTBOX controls; labels and
// group boxes are painted with GDI on their parent's surface; the content
// sits in a child window that the main window's scroll bars move. Message
// boxes are the system's; the confirmation is a small dialog of its own so
// that Escape and the close box answer no. Windows are touched only by
// Realise and Sync (and by the message loop that Run drives).
#ifndef TABULON_GUI_WIN32_WIN32_BACKEND_H_
#define TABULON_GUI_WIN32_WIN32_BACKEND_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/backend.h"

namespace tabulon::gui {

namespace win32 {
struct Screen;
}  // namespace win32

// Pixels read back from the screen, top row first, 0x00RRGGBB each.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;

  Rgb At(int x, int y) const;
  bool Contains(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height;
  }
};

// A rectangle in the main window's client coordinates.
struct ClientRect {
  int left = 0, top = 0, width = 0, height = 0;
};

class Win32Backend : public Backend {
 public:
  Win32Backend();
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  // GetTextExtentPoint32A in the font (ampersands count as characters:
  // callers strip them first), and the font's pixel size as height.
  Extent Measure(const Font& font, std::string_view cp932) override;

  void ShowStop(std::string_view caption, std::string_view message) override;
  bool Confirm(const Confirmation& box) override;
  void SetBusy(bool busy) override;
  void SetApplicationTitle(std::string_view title) override;

  void Realise(Form& form) override;
  void Sync(Form& form) override;
  int Run(Form& form, ShowState state) override;
  // The whole window, frame and all, as Capture reads it.
  bool SaveScreenshot(Form& form, const std::string& path) override;

  // For tests and screenshots: shows the window if it is not shown, lets
  // it paint, and reads its client area (or, with `frame`, the whole
  // window) back from the screen.
  Pixels Capture(Form& form, bool frame = false);
  // Where a control lies in the client area, scrolling included.
  ClientRect RectOf(const Control& control) const;
  // The main window's handle (an HWND), and a control's (null for labels).
  void* Window() const;
  void* WindowOf(const Control& control) const;
  // Resizes the main window's client area and lets it lay out again.
  void ResizeClient(int width, int height);
  // Hands the pending messages to their windows, as the message loop would.
  void Pump();

 private:
  std::unique_ptr<win32::Screen> screen_;
};

}  // namespace tabulon::gui

#endif  // TABULON_GUI_WIN32_WIN32_BACKEND_H_
