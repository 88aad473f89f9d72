// The Win32 backend under Wine on a virtual display: text metrics of the
// substituted faces, what the screen shows (bars, stacking, scroll bars),
// the keyboard, and the two boxes answered as a user answers them.
#include "gui/win32/win32_backend.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/ampersand_rule_body.h"
#include "gui/test_window.h"
#include "gui/win32/win32_sample_window.h"
#include "support/scratch_folder.h"
#include "text/failure.h"
#include "window/form_description.h"
#include "window/main_window.h"

namespace tabulon::gui {
namespace {

using test_support::Cp932;

using namespace test_window;

const Rgb kBlack{0, 0, 0};

bool HasPixelOf(const Pixels& pixels, ClientRect area, Rgb colour) {
  for (int y = area.top; y < area.top + area.height; ++y) {
    for (int x = area.left; x < area.left + area.width; ++x) {
      if (pixels.Contains(x, y) && pixels.At(x, y) == colour) return true;
    }
  }
  return false;
}

class Win32BackendTest : public ::testing::Test {
 protected:
  Win32BackendTest() : form_(kFormLayout, backend_, &backend_) {
    form_.Build(Description());
    backend_.Realise(form_);
  }
  HWND WindowOf(const char* name) {
    return static_cast<HWND>(backend_.WindowOf(form_[name]));
  }

  Win32Backend backend_;
  Form form_;
};

TEST_F(Win32BackendTest, FixedFaceBlanksFollowTheDesktopRule) {
  struct Case {
    Font font;
    int blanks;
    Extent extent;
  };
  for (const Case& c :
       {Case{kFixed15, 1, {8, 15}}, Case{kFixed15, 10, {80, 15}},
        Case{kFixed15, 42, {336, 15}}, Case{kFixed35, 1, {18, 35}},
        Case{kFixed35, 41, {738, 35}}}) {
    EXPECT_EQ(backend_.Measure(c.font, std::string(c.blanks, ' ')), c.extent)
        << c.font.pixel_size << " px, " << c.blanks << " blanks";
  }
  // A double-byte character is two cells of the fixed face.
  EXPECT_EQ(backend_.Measure(kFixed15, Cp932("人")).width, 16);
}

TEST_F(Win32BackendTest, LaterControlsLieAboveEarlierOnes) {
  ASSERT_NE(backend_.Window(), nullptr) << "no display for Wine?";
  const ClientRect high = backend_.RectOf(form_["High"]);
  Pixels pixels = backend_.Capture(form_);
  EXPECT_EQ(pixels.At(high.left + 150, high.top + 50), kLime);
  form_["High"].Hide();
  backend_.Sync(form_);
  pixels = backend_.Capture(form_);
  EXPECT_EQ(pixels.At(high.left + 150, high.top + 50), kRed);
}

// The lowest row of a label that holds ink other than its white fill.
int LowestInkRow(const Pixels& pixels, ClientRect label) {
  int lowest = -1;
  for (int y = 0; y < label.height; ++y) {
    for (int x = 0; x < label.width; ++x) {
      if (pixels.At(label.left + x, label.top + y) != kWhite) lowest = y;
    }
  }
  return lowest;
}

TEST_F(Win32BackendTest, AnAmpersandUnderlinesTheNextCharacter) {
  const Pixels pixels = backend_.Capture(form_);
  const int plain = LowestInkRow(pixels, backend_.RectOf(form_["Plain"]));
  ASSERT_GE(plain, 0);
  // "&A" draws the "A" with a line under it; "&&" draws one ampersand.
  EXPECT_GT(LowestInkRow(pixels, backend_.RectOf(form_["Amp"])), plain);
  EXPECT_LE(LowestInkRow(pixels, backend_.RectOf(form_["Doubled"])), plain + 1);
}

TEST_F(Win32BackendTest, FollowsTheAmpersandRule) {
  ExpectTheAmpersandRule([&](std::string_view cp932) {
    form_["Plain"].SetCaption(cp932);
    const Pixels pixels = backend_.Capture(form_);
    const ClientRect at = backend_.RectOf(form_["Plain"]);
    LabelPicture picture{at.width, at.height, {}};
    for (int y = at.top; y < at.top + at.height; ++y) {
      for (int x = at.left; x < at.left + at.width; ++x) {
        picture.rgb.push_back(
            pixels.rgb[static_cast<std::size_t>(y) * pixels.width + x]);
      }
    }
    return picture;
  });
}

TEST_F(Win32BackendTest, ASmallWindowScrollsAndALargeOneDoesNot) {
  const auto scroll_bars = [&] {
    const LONG style =
        GetWindowLongA(static_cast<HWND>(backend_.Window()), GWL_STYLE);
    return std::make_pair((style & WS_HSCROLL) != 0, (style & WS_VSCROLL) != 0);
  };
  backend_.ResizeClient(150, 80);
  EXPECT_EQ(scroll_bars(), std::make_pair(true, true));
  backend_.ResizeClient(800, 600);
  EXPECT_EQ(scroll_bars(), std::make_pair(false, false));
  EXPECT_EQ(backend_.RectOf(form_["Button1"]).left, 220);
}

// A huge answer goes to the list box only as far as it can be seen: the
// list looks exactly as it does with the item's first characters alone.
TEST_F(Win32BackendTest, AHugeItemShowsWhatItsFirstCharactersShow) {
  Control& list = form_["List"];
  std::string start;
  for (int i = 0; i < 60; ++i) start += Cp932("自由記述");
  list.AppendItem(start + std::string(2 << 20, 'x'));
  backend_.Sync(form_);
  const Pixels huge = backend_.Capture(form_);
  list.ClearItems();
  list.AppendItem(start);
  backend_.Sync(form_);
  EXPECT_TRUE(backend_.Capture(form_).rgb == huge.rgb);
}

TEST_F(Win32BackendTest, TabFollowsTheLayoutsOrderAndAClickRunsItsHandler) {
  backend_.Capture(form_);
  SetFocus(WindowOf("List"));
  PostMessageA(WindowOf("List"), WM_KEYDOWN, VK_TAB, 0);
  backend_.Pump();
  EXPECT_EQ(GetFocus(), WindowOf("Button1"));

  int clicks = 0;
  form_["Button1"].on_click = [&] { ++clicks; };
  SendMessageA(WindowOf("Button1"), BM_CLICK, 0, 0);
  backend_.Pump();
  EXPECT_EQ(clicks, 1);
}

TEST_F(Win32BackendTest, TheBusyPointerShowsWhileALongListIsRead) {
  backend_.SetBusy(true);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  backend_.SetBusy(false);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

// ---- The boxes, answered from a timer inside their own message loop ----

struct Box {
  std::string title;
  std::vector<std::string> texts;  // of its static controls and buttons
  HWND window = nullptr;
};

std::function<void(Box&)> g_act;

BOOL CALLBACK CollectText(HWND child, LPARAM box) {
  char text[512] = {};
  GetWindowTextA(child, text, sizeof text);
  if (text[0] != '\0') reinterpret_cast<Box*>(box)->texts.push_back(text);
  return TRUE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  char class_name[32] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (!IsWindowVisible(window) || std::string(class_name) != "#32770") {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK WhenTheBoxShows(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox,
                    reinterpret_cast<LPARAM>(&found));
  if (found == nullptr) return;  // not yet: the timer comes again
  KillTimer(nullptr, timer);
  Box box;
  box.window = found;
  char title[256] = {};
  GetWindowTextA(found, title, sizeof title);
  box.title = title;
  EnumChildWindows(found, CollectText, reinterpret_cast<LPARAM>(&box));
  g_act(box);
}

void PressKey(WPARAM key) {
  const HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, key, 0);
  PostMessageA(focus, WM_KEYUP, key, 0);
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  for (const std::string& each : texts) {
    if (each == text) return true;
  }
  return false;
}

TEST_F(Win32BackendTest, StopBoxShowsTheMessageUnderTheTitle) {
  Box shown;
  bool owner_disabled = false;
  g_act = [&](Box& box) {
    shown = box;
    owner_disabled = !IsWindowEnabled(static_cast<HWND>(backend_.Window()));
    PressKey(VK_RETURN);
  };
  SetTimer(nullptr, 0, 50, WhenTheBoxShows);
  RunHandler(backend_, form_, [] { throw text::InputOutputFailure(2); });
  EXPECT_EQ(shown.title, "Tabulon");
  EXPECT_TRUE(Contains(shown.texts, Cp932("ファイルが見つかりません.")));
  EXPECT_TRUE(owner_disabled);
  EXPECT_TRUE(IsWindowEnabled(static_cast<HWND>(backend_.Window())));
}

TEST_F(Win32BackendTest, ConfirmationIsYesOnlyForEnterAndTheFirstButton) {
  const Confirmation confirmation{Cp932("確認"),
                                  Cp932("個人データファイルを消去しますか？") +
                                      "\r" + Cp932("（集計結果.csvは残します)"),
                                  Cp932("はい(&Y)"), Cp932("いいえ(&N)")};
  const struct {
    const char* how;
    std::function<void(Box&)> close;
    bool yes;
  } kCases[] = {
      {"Enter", [](Box&) { PressKey(VK_RETURN); }, true},
      {"Escape", [](Box&) { PressKey(VK_ESCAPE); }, false},
      {"close box",
       [](Box& box) { PostMessageA(box.window, WM_SYSCOMMAND, SC_CLOSE, 0); },
       false},
      {"second button",
       [](Box& box) {
         SendMessageA(GetDlgItem(box.window, IDNO), BM_CLICK, 0, 0);
       },
       false},
  };
  for (const auto& c : kCases) {
    Box shown;
    bool owner_disabled = false;
    g_act = [&](Box& box) {
      shown = box;
      owner_disabled = !IsWindowEnabled(static_cast<HWND>(backend_.Window()));
      c.close(box);
    };
    SetTimer(nullptr, 0, 50, WhenTheBoxShows);
    EXPECT_EQ(backend_.Confirm(confirmation), c.yes) << c.how;
    EXPECT_EQ(shown.title, Cp932("確認")) << c.how;
    EXPECT_TRUE(Contains(shown.texts, Cp932("はい(&Y)"))) << c.how;
    EXPECT_TRUE(Contains(shown.texts, Cp932("いいえ(&N)"))) << c.how;
    EXPECT_TRUE(owner_disabled) << c.how;
  }
}

// ---- The main window after a tally of the sample ----

class Win32SampleTest : public Win32SampleWindow {
 protected:
  // Every shown bar of panel q paints its caption's length times `cell`
  // pixels in its row colour; returns how many it saw.
  int ExpectBars(const Pixels& pixels, int q, int cell) {
    int seen = 0;
    for (int c = 1; c <= 5; ++c) {
      const Control& bar = window_->Form()[window::BarLabelName(q, c)];
      if (!bar.Visible() || bar.Caption().empty()) continue;
      const ClientRect at = backend_.RectOf(bar);
      const int y = at.top + at.height / 2;
      EXPECT_EQ(RunRight(pixels, at.left, y, kRowColours[c - 1]),
                static_cast<int>(bar.Caption().size()) * cell)
          << "question " << q << " choice " << c;
      ++seen;
    }
    return seen;
  }
};

TEST_F(Win32SampleTest, BarsAreEightPixelsAPersonAndEighteenEnlarged) {
  Click("Button1");
  const Pixels overview = backend_.Capture(window_->Form());
  int bars = 0;
  for (int q = 1; q <= 8; ++q) {
    if (window_->Questionnaire().At(q).IsChoice())
      bars += ExpectBars(overview, q, 8);
  }
  EXPECT_GT(bars, 10);
  Click("Button3");
  EXPECT_GT(
      ExpectBars(backend_.Capture(window_->Form()), window::kEnlargedPanel, 18),
      0);
}

TEST_F(Win32SampleTest, PanelSevenHidesPanelNine) {
  std::string data = Cp932("題\r\n説明\r\n\r\n");
  for (int q = 1; q <= 10; ++q) {
    data += Cp932("[R]問" + std::to_string(q) + "\r\nはい\r\n");
  }
  test_support::WriteBytes("data.txt", data);
  window_ = std::make_unique<window::TForm1>(backend_);
  window_->Create();
  backend_.Realise(window_->Form());
  // Panel 9 shows its question in its own caption, in black; panel 7 lies
  // over it, with no caption and its own question label lower down.
  Control& nine = window_->Form()["GroupBox9"];
  ASSERT_TRUE(nine.Visible());
  ClientRect caption = backend_.RectOf(nine);
  caption.height = 7;
  caption.width = 80;
  EXPECT_FALSE(HasPixelOf(backend_.Capture(window_->Form()), caption, kBlack));
  window_->Form()["GroupBox7"].Hide();
  backend_.Sync(window_->Form());
  EXPECT_TRUE(HasPixelOf(backend_.Capture(window_->Form()), caption, kBlack));
}

}  // namespace
}  // namespace tabulon::gui
