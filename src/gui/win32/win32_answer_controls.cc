#include "gui/win32/win32_answer_controls.h"

// Defines the accessibility GUIDs in this file only.
#include <initguid.h>
//
#include <oleacc.h>

#include <string>

#include "gui/win32/win32_wide_text.h"

namespace tabulon::gui::win32 {
namespace {

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1,
                    L'\0');
  const int length =
      GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return text;
}

// An EDIT's name for a screen reader would otherwise come from a label
// window before it, which the painted labels are not: the name is given to
// the accessibility layer directly. Where that layer is missing, the field
// still works, only unnamed.
void NameForScreenReaders(HWND window, std::string_view caption_cp932) {
  static const bool com_ready =
      SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (!com_ready) return;
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr,
                              CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&services)))) {
    return;
  }
  const std::wstring name = Widened(CP_ACP, WithoutAmpersands(caption_cp932));
  services->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT),
                           CHILDID_SELF, PROPID_ACC_NAME, name.c_str());
  services->Release();
}

}  // namespace

bool IsAnswerControl(ControlKind kind) {
  return kind == ControlKind::kRadioButton || kind == ControlKind::kCheckBox ||
         kind == ControlKind::kTextField;
}

HWND CreateAnswerWindow(const Control& control, HWND parent, DWORD style,
                        HINSTANCE instance) {
  if (control.Kind() == ControlKind::kTextField) {
    // A wide window keeps every character typed, CP932 or not; Return in
    // a one-line EDIT does nothing.
    return CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                           style | ES_AUTOHSCROLL, 0, 0, 0, 0, parent, nullptr,
                           instance, nullptr);
  }
  const DWORD kind = control.Kind() == ControlKind::kRadioButton
                         ? BS_AUTORADIOBUTTON
                         : BS_AUTOCHECKBOX;
  return CreateWindowExA(0, "BUTTON", "", style | kind, 0, 0, 0, 0, parent,
                         nullptr, instance, nullptr);
}

void ApplyAnswerWindow(HWND window, const Control& control) {
  if (control.Kind() == ControlKind::kTextField) {
    const std::wstring text = Widened(CP_UTF8, control.Text());
    if (TextOf(window) != text) SetWindowTextW(window, text.c_str());
    NameForScreenReaders(window, control.Caption());
    return;
  }
  SetWindowTextA(window, control.Caption().c_str());
  const WPARAM check = control.Checked() ? BST_CHECKED : BST_UNCHECKED;
  if (SendMessageA(window, BM_GETCHECK, 0, 0) != static_cast<LRESULT>(check)) {
    SendMessageA(window, BM_SETCHECK, check, 0);
  }
}

void TakeAnswerInput(HWND window, WORD notification, Control& control) {
  if (control.Kind() == ControlKind::kTextField) {
    if (notification == EN_CHANGE) control.SetText(Utf8Of(TextOf(window)));
    return;
  }
  if (notification != BN_CLICKED) return;
  control.SetChecked(SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED);
}

}  // namespace tabulon::gui::win32
