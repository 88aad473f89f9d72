// The answer controls on the Win32 backend, under Wine on a virtual display.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <string>
#include <vector>

#include "gui/answer_controls_conformance.h"
#include "gui/win32/win32_backend.h"

namespace tabulon::gui {
namespace {

std::string Utf8(const wchar_t* wide, int length = -1) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0,
                                       nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, text.data(), size, nullptr,
                      nullptr);
  if (length < 0 && !text.empty()) text.pop_back();  // the NUL
  return text;
}

class Win32Driver : public conformance::AnswerControlsDriver {
 public:
  Backend& TheBackend() override { return backend_; }
  void Click(const Control& control) override {
    SendMessageA(Handle(control), BM_CLICK, 0, 0);
    backend_.Pump();
  }
  void Type(const Control& field, const std::string& utf8) override {
    const int size = MultiByteToWideChar(
        CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                        wide.data(), size);
    SetFocus(Handle(field));
    // Each UTF-16 unit as its own character message, as a keyboard (or an
    // input method) delivers them.
    for (wchar_t unit : wide) PostMessageW(Handle(field), WM_CHAR, unit, 0);
    backend_.Pump();
  }
  void PressReturn(const Control& field) override {
    PostMessageW(Handle(field), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(Handle(field), WM_CHAR, L'\r', 0);
    PostMessageW(Handle(field), WM_KEYUP, VK_RETURN, 0);
    backend_.Pump();
  }
  bool ShowsChecked(const Control& control) override {
    return SendMessageA(Handle(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  std::string ShownText(const Control& field) override {
    wchar_t text[256] = {};
    GetWindowTextW(Handle(field), text, 256);
    return Utf8(text);
  }
  std::string SpokenName(const Control& control) override {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(
            Handle(control), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
            reinterpret_cast<void**>(&accessible)))) {
      return "";
    }
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string spoken;
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr) {
      spoken = Utf8(name, static_cast<int>(SysStringLen(name)));
      SysFreeString(name);
    }
    accessible->Release();
    return spoken;
  }
  // Wine's accessibility layer keeps no names given to a window (the
  // annotation a real Windows desktop reads); there the field goes unchecked.
  bool NamesTextFields() override {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") ==
           nullptr;
  }
  std::vector<std::string> TabChain(Form& form) override {
    backend_.Capture(form);
    std::vector<std::string> chain;
    SetFocus(Handle(form["Walk"]));
    for (int step = 0; step < 5; ++step) {
      for (const auto& control : form.Controls()) {
        if (backend_.WindowOf(*control) == GetFocus()) {
          chain.push_back(control->Name());
        }
      }
      PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
      backend_.Pump();
    }
    return chain;
  }

 private:
  HWND Handle(const Control& control) {
    return static_cast<HWND>(backend_.WindowOf(control));
  }
  Win32Backend backend_;
};

TEST(Win32AnswerControlsTest, BehaveAsEveryBackendMust) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Win32Driver driver;
  conformance::BuildAndCheckAnswerControls(driver);
}

}  // namespace
}  // namespace tabulon::gui
