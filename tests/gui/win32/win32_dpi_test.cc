// The Win32 window at a monitor's scale: the sample after a tally at the
// scale it opens on (96 dpi in the usual run; scripts/test-windows runs it
// again with the prefix's LogPixels at 144), and again after the window is
// told it moved to a monitor at 144 dpi. A bar of N persons is N times the
// scaled blank, rows never overlap, and the layout itself stays at 96 dpi.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "gui/win32/win32_sample_window.h"
#include "support/scratch_folder.h"
#include "window/form_description.h"
#include "window/main_window.h"

namespace tabulon::gui {
namespace {

class Win32DpiTest : public Win32SampleWindow {
 protected:
  void SetUp() override {
    Win32SampleWindow::SetUp();
    Click("Button1");
  }
  // As the system tells a window dragged onto another monitor: the new
  // scale, and the window's size at that scale.
  void MoveToMonitorAt(int dpi) {
    RECT outer;
    GetWindowRect(Window(), &outer);
    outer.right = outer.left + (outer.right - outer.left) * dpi / dpi_;
    outer.bottom = outer.top + (outer.bottom - outer.top) * dpi / dpi_;
    dpi_ = dpi;
    SendMessageA(Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&outer));
  }
  // Every shown bar of panel q is its count of blanks times `cell` wide,
  // in its row colour where the screen shows it, and lies below the row
  // above it; how many it saw painted.
  int ExpectBars(const Pixels& pixels, int q, int cell) {
    int seen = 0;
    int row_bottom = -1;
    for (int c = 1; c <= 5; ++c) {
      const Control& bar = window_->Form()[window::BarLabelName(q, c)];
      if (!bar.Visible() || bar.Caption().empty()) continue;
      const ClientRect at = backend_.RectOf(bar);
      const int persons = static_cast<int>(bar.Caption().size());
      EXPECT_EQ(at.width, persons * cell) << "question " << q << " row " << c;
      EXPECT_EQ(
          RunRight(pixels, at.left, at.top + at.height / 2, kRowColours[c - 1]),
          persons * cell)
          << "question " << q << " row " << c;
      EXPECT_GE(at.top, row_bottom) << "question " << q << " row " << c;
      row_bottom = at.top + at.height;
      ++seen;
    }
    return seen;
  }
  // The bars of every shown choice question, and of the enlarged view.
  void ExpectAllBars(int cell, int enlarged_cell) {
    Form& form = window_->Form();
    int bars = 0;
    const Pixels overview = backend_.Capture(form);
    for (int q = 1; q <= 8; ++q) {
      if (window_->Questionnaire().At(q).IsChoice()) {
        bars += ExpectBars(overview, q, cell);
      }
    }
    EXPECT_GT(bars, 5);
    RunHandler(backend_, form, form["Button3"].on_click);
    EXPECT_GT(ExpectBars(backend_.Capture(form), window::kEnlargedPanel,
                         enlarged_cell),
              0);
    RunHandler(backend_, form, form["Button3"].on_click);
  }
  // The width of a blank in the fixed face at the scaled height.
  int Blank(int pixel_size, int dpi) {
    const int scaled = (2 * pixel_size * dpi + 96) / 192;
    return backend_.Measure({std::string(kFixedPitchFace), scaled, false}, " ")
        .width;
  }

  int dpi_ = 0;  // the monitor's the window is on
};

TEST_F(Win32DpiTest, ABarIsItsPersonsTimesTheScaledBlankAtEveryScale) {
  const int opened = static_cast<int>(GetDpiForWindow(Window()));
  dpi_ = opened;
  if (const char* expected = std::getenv("TABULON_EXPECT_DPI")) {
    ASSERT_EQ(opened, std::atoi(expected)) << "the prefix's LogPixels";
  }
  ExpectAllBars(Blank(15, opened), Blank(35, opened));
  MoveToMonitorAt(144);
  ExpectAllBars(12, Blank(35, 144));
  // The layout the handlers see stays at 96 dpi.
  const Control& bar = window_->Form()[window::BarLabelName(1, 1)];
  EXPECT_EQ(bar.Width(), static_cast<int>(bar.Caption().size()) * 8);
  MoveToMonitorAt(96);
  ExpectAllBars(8, 18);
}

}  // namespace
}  // namespace tabulon::gui
