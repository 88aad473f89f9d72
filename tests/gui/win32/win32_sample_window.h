// The tally window on the Win32 backend, opened on a scratch copy of the
// sample and shown: where the tests of what the screen shows and what a
// screen reader hears begin.
#ifndef TABULON_TESTS_GUI_WIN32_WIN32_SAMPLE_WINDOW_H_
#define TABULON_TESTS_GUI_WIN32_WIN32_SAMPLE_WINDOW_H_

#include <windows.h>

#include <memory>
#include <string>

#include "gui/win32/win32_backend.h"
#include "support/scratch_folder.h"
#include "window/main_window.h"

namespace tabulon::gui {

// The bars' colours, row by row.
inline const Rgb kRowColours[5] = {
    {0, 0, 0xFF}, {0xFF, 0, 0}, {0, 0xFF, 0}, {0xFF, 0, 0xFF}, {0, 0xFF, 0xFF}};

// How far pixels of `colour` run from (x, y) to the right.
inline int RunRight(const Pixels& pixels, int x, int y, Rgb colour) {
  int n = 0;
  while (pixels.Contains(x + n, y) && pixels.At(x + n, y) == colour) ++n;
  return n;
}

class Win32SampleWindow : public test_support::InScratchFolder {
 protected:
  void SetUp() override {
    test_support::CopyFilesFrom(TABULON_SAMPLE_DIR);
    window_ = std::make_unique<window::TForm1>(backend_);
    window_->Create();
    backend_.Realise(window_->Form());
  }
  Control& operator[](const std::string& name) { return window_->Form()[name]; }
  void Click(const std::string& button) {
    RunHandler(backend_, window_->Form(), (*this)[button].on_click);
  }
  HWND Window() const { return static_cast<HWND>(backend_.Window()); }

  Win32Backend backend_;
  std::unique_ptr<window::TForm1> window_;
};

}  // namespace tabulon::gui

#endif  // TABULON_TESTS_GUI_WIN32_WIN32_SAMPLE_WINDOW_H_
