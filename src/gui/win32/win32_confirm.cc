#include "gui/win32/win32_confirm.h"

#include <algorithm>
#include <string>

#include "gui/win32/win32_surface.h"

namespace tabulon::gui::win32 {
namespace {

constexpr int kMargin = 16;
constexpr int kIconSize = 32;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 8;

// An empty dialog: its controls are made in WM_INITDIALOG, sized to the
// texts. The template's strings are always UTF-16 and all empty here.
struct alignas(4) EmptyDialog {
  DLGTEMPLATE header;
  WORD menu = 0;
  WORD window_class = 0;
  WORD title = 0;
};

struct Dialog {
  const Confirmation* box = nullptr;
  HFONT font = nullptr;
};

SIZE TextExtent(HWND window, HFONT font, const std::string& text, UINT flags) {
  const HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  RECT rect = {0, 0, 0, 0};
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rect,
            flags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

HWND Child(HWND dialog, const char* window_class, const std::string& text,
           DWORD style, int id, HFONT font) {
  const HWND child = CreateWindowExA(
      0, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
      dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)),
      nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

// Makes the icon, the message and the buttons, then sizes the dialog to
// them and centres it on the screen's work area.
void LayOutConfirmation(HWND dialog, Dialog& state) {
  const Confirmation& box = *state.box;
  SetWindowTextA(dialog, box.caption.c_str());
  const std::string message = WithLineBreaks(box.message);
  const SIZE text = TextExtent(dialog, state.font, message, DT_NOPREFIX);
  const HWND icon = Child(dialog, "STATIC", "", SS_ICON, -1, state.font);
  SendMessageA(icon, STM_SETICON,
               reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_QUESTION)), 0);
  const HWND label =
      Child(dialog, "STATIC", message, SS_LEFT | SS_NOPREFIX, -1, state.font);
  int button_width = kButtonWidth;
  for (const std::string* caption : {&box.yes_button, &box.no_button}) {
    button_width = std::max<int>(
        button_width, TextExtent(dialog, state.font, *caption, 0).cx + 24);
  }
  const HWND yes = Child(dialog, "BUTTON", box.yes_button,
                         BS_DEFPUSHBUTTON | WS_TABSTOP, IDYES, state.font);
  const HWND no = Child(dialog, "BUTTON", box.no_button,
                        BS_PUSHBUTTON | WS_TABSTOP, IDNO, state.font);

  const int text_left = kMargin + kIconSize + kIconGap;
  const int body = std::max<int>(kIconSize, text.cy);
  const int width = std::max<int>(text_left + text.cx + kMargin,
                                  2 * kMargin + 2 * button_width + kButtonGap);
  const int buttons_top = kMargin + body + kMargin;
  const int height = buttons_top + kButtonHeight + kMargin;
  MoveWindow(icon, kMargin, kMargin, kIconSize, kIconSize, FALSE);
  MoveWindow(label, text_left, kMargin + (body - text.cy) / 2, text.cx, text.cy,
             FALSE);
  const int buttons_left = (width - 2 * button_width - kButtonGap) / 2;
  MoveWindow(yes, buttons_left, buttons_top, button_width, kButtonHeight,
             FALSE);
  MoveWindow(no, buttons_left + button_width + kButtonGap, buttons_top,
             button_width, kButtonHeight, FALSE);

  RECT outer = {0, 0, width, height};
  AdjustWindowRectEx(&outer, GetWindowLongA(dialog, GWL_STYLE), FALSE,
                     GetWindowLongA(dialog, GWL_EXSTYLE));
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int outer_width = outer.right - outer.left;
  const int outer_height = outer.bottom - outer.top;
  MoveWindow(dialog, work.left + (work.right - work.left - outer_width) / 2,
             work.top + (work.bottom - work.top - outer_height) / 2,
             outer_width, outer_height, FALSE);
  SendMessageA(dialog, DM_SETDEFID, IDYES, 0);
  SetFocus(yes);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM w_param,
                                 LPARAM l_param) {
  switch (message) {
    case WM_INITDIALOG:
      LayOutConfirmation(dialog, *reinterpret_cast<Dialog*>(l_param));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      switch (LOWORD(w_param)) {
        case IDYES:
          EndDialog(dialog, IDYES);
          return TRUE;
        case IDNO:
        case IDCANCEL:  // Escape, and the close box
          EndDialog(dialog, IDNO);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

bool AskYesNo(HINSTANCE instance, HWND owner, const Confirmation& box) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  Dialog state{&box, CreateFontIndirectA(&metrics.lfMessageFont)};
  EmptyDialog dialog = {};
  dialog.header.style =
      WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;
  dialog.header.cx = 200;
  dialog.header.cy = 80;
  const INT_PTR answer =
      DialogBoxIndirectParamA(instance, &dialog.header, owner, DialogProcedure,
                              reinterpret_cast<LPARAM>(&state));
  DeleteObject(state.font);
  return answer == IDYES;
}

}  // namespace tabulon::gui::win32
