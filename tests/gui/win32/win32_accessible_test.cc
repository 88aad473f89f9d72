// What a screen reader finds in the Win32 window, walked as one walks it,
// through the system's accessibility library: after a tally of the sample,
// every count and bar of a panel is a child of the panel's object, named
// with the count the results file's columns add up to (a bar as a progress
// bar), the summary names the pupils, and the enlarged view names its
// headline. TABULON_PRINT_WALK=1 prints the walk.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gui/win32/win32_sample_window.h"
#include "gui/win32/win32_wide_text.h"
#include "support/results_sums.h"
#include "window/form_description.h"

namespace tabulon::gui {
namespace {

using test_support::Cp932;

// One child of an object, as the walk meets it.
struct Heard {
  std::wstring name;
  long role = 0;
  long state = 0;
};

std::wstring Wide(std::string_view cp932) { return win32::Widened(932, cp932); }

std::string Narrow(const std::wstring& wide) {
  std::string utf8(wide.size() * 3, '\0');
  utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(
      CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
      static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

// The simple children of a window's client object, by their place on the
// screen (left, top), and the object's own name and role.
class Walk {
 public:
  explicit Walk(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT,
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
      ADD_FAILURE() << "no accessible object";
      return;
    }
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    own_ = Ask(*object, self);
    long count = 0;
    object->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    long got = 0;
    AccessibleChildren(object, 0, count, children.data(), &got);
    for (long i = 0; i < got; ++i) {
      VARIANT& child = children[static_cast<std::size_t>(i)];
      if (child.vt == VT_I4) {
        long left = 0, top = 0, width = 0, height = 0;
        object->accLocation(&left, &top, &width, &height, child);
        by_place_[{left, top}] = Ask(*object, child);
      }
      VariantClear(&child);
    }
    object->Release();
  }
  const Heard& Own() const { return own_; }
  // The child that lies at the control's place.
  Heard At(Win32Backend& backend, const Control& control) const {
    const ClientRect rect = backend.RectOf(control);
    POINT corner = {rect.left, rect.top};
    ClientToScreen(static_cast<HWND>(backend.Window()), &corner);
    const auto found = by_place_.find({corner.x, corner.y});
    return found == by_place_.end() ? Heard{} : found->second;
  }
  void Print(const char* what) const {
    if (std::getenv("TABULON_PRINT_WALK") == nullptr) return;
    std::printf("%s: \"%s\" role %ld\n", what, Narrow(own_.name).c_str(),
                own_.role);
    for (const auto& [place, heard] : by_place_) {
      std::printf("  (%ld,%ld) \"%s\" role %ld%s\n", place.first, place.second,
                  Narrow(heard.name).c_str(), heard.role,
                  heard.state & STATE_SYSTEM_INVISIBLE ? " invisible" : "");
    }
  }

 private:
  static Heard Ask(IAccessible& object, VARIANT child) {
    Heard heard;
    BSTR name = nullptr;
    if (object.get_accName(child, &name) == S_OK && name != nullptr) {
      heard.name = name;
    }
    SysFreeString(name);
    VARIANT role = {}, state = {};
    if (SUCCEEDED(object.get_accRole(child, &role)) && role.vt == VT_I4) {
      heard.role = role.lVal;
    }
    if (SUCCEEDED(object.get_accState(child, &state)) && state.vt == VT_I4) {
      heard.state = state.lVal;
    }
    return heard;
  }

  Heard own_;
  std::map<std::pair<long, long>, Heard> by_place_;
};

class Win32AccessibleTest : public Win32SampleWindow {
 protected:
  void SetUp() override {
    Win32SampleWindow::SetUp();
    backend_.Capture(window_->Form());
  }
  HWND WindowOf(const std::string& name) {
    return static_cast<HWND>(backend_.WindowOf((*this)[name]));
  }
};

TEST_F(Win32AccessibleTest, TheCountsAndBarsReadAsTheResultsFileAddsUp) {
  Click("Button1");
  const auto rows =
      test_support::CsvRows(test_support::ReadBytes(Cp932("集計結果.csv")));
  int heard = 0;
  std::map<int, std::unique_ptr<Walk>> walks;
  for (const auto& [q, c, sum] :
       test_support::ChoiceSums(rows, window_->Questionnaire(), 10)) {
    if (sum == 0) continue;
    auto& walk = walks[q];
    if (walk == nullptr) {
      walk = std::make_unique<Walk>(WindowOf(window::PanelName(q)));
      walk->Print(window::PanelName(q).c_str());
      EXPECT_EQ(walk->Own().role, ROLE_SYSTEM_GROUPING);
    }
    const std::wstring persons = std::to_wstring(sum) + L"\x4EBA";  // 人
    const Heard count =
        walk->At(backend_, (*this)[window::CountLabelName(q, c)]);
    const Heard bar = walk->At(backend_, (*this)[window::BarLabelName(q, c)]);
    EXPECT_EQ(count.name, persons) << "question " << q << " choice " << c;
    EXPECT_EQ(count.role, ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(bar.name, persons) << "question " << q << " choice " << c;
    EXPECT_EQ(bar.role, ROLE_SYSTEM_PROGRESSBAR);
    ++heard;
  }
  EXPECT_GT(heard, 10);
  const Walk top(GetParent(WindowOf(window::PanelName(1))));
  top.Print("content");
  EXPECT_EQ(top.At(backend_, (*this)["LblSum"]).name,
            std::to_wstring(rows.size() - 2) +
                Wide(Cp932("人のデータを集計しました")));
}

std::vector<HWND> g_reordered;

void CALLBACK Reordered(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG,
                        DWORD, DWORD) {
  if (object == OBJID_CLIENT) g_reordered.push_back(window);
}

TEST_F(Win32AccessibleTest, ATallyTellsTheScreenReaderToReadThePanelsAgain) {
  const HWINEVENTHOOK hook = SetWinEventHook(
      EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER, nullptr, Reordered,
      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  g_reordered.clear();
  Click("Button1");
  backend_.Pump();
  UnhookWinEvent(hook);
  const HWND panel = WindowOf(window::PanelName(1));
  EXPECT_EQ(std::count(g_reordered.begin(), g_reordered.end(), panel), 1);
}

TEST_F(Win32AccessibleTest, TheEnlargedViewNamesItsHeadlineAndQuestion) {
  Click("Button1");
  Click("Button3");
  const Walk enlarged(WindowOf(window::PanelName(window::kEnlargedPanel)));
  enlarged.Print("enlarged");
  EXPECT_EQ(enlarged.Own().name, Wide(Cp932("第1問目")));
  EXPECT_EQ(enlarged.Own().role, ROLE_SYSTEM_GROUPING);
  EXPECT_EQ(enlarged.At(backend_, (*this)["Lbl110"]).name,
            Wide(WithoutAmpersands(window_->Questionnaire().At(1).text)));
}

}  // namespace
}  // namespace tabulon::gui
