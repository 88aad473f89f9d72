#include "gui/win32/win32_backend.h"

#include <windows.h>

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "gui/win32/win32_confirm.h"
#include "gui/win32/win32_live.h"
#include "gui/win32/win32_png.h"
#include "gui/win32/win32_screen.h"
#include "gui/win32/win32_surface.h"
#include "gui/win32/win32_wide_text.h"

namespace tabulon::gui {

Rgb Pixels::At(int x, int y) const {
  const std::uint32_t pixel = rgb[static_cast<std::size_t>(y) * width + x];
  return {static_cast<std::uint8_t>(pixel >> 16),
          static_cast<std::uint8_t>(pixel >> 8),
          static_cast<std::uint8_t>(pixel)};
}

Win32Backend::Win32Backend()
    : screen_(std::make_unique<win32::Screen>(*this)),
      live_(std::make_unique<win32::LiveParts>()) {
  // tabulon.exe says so in its manifest; a program without one (a test, the
  // screenshot tool) asks here, before its first window.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

Win32Backend::~Win32Backend() {
  DisarmTimer();
  EndWatching();
}

Extent Win32Backend::Measure(const Font& font, std::string_view cp932) {
  const HGDIOBJ old =
      SelectObject(screen_->measure_dc, screen_->fonts.For(font));
  SIZE size = {0, 0};
  GetTextExtentPoint32A(screen_->measure_dc, cp932.data(),
                        static_cast<int>(cp932.size()), &size);
  SelectObject(screen_->measure_dc, old);
  return {static_cast<int>(size.cx), font.pixel_size};
}

void Win32Backend::ShowStop(std::string_view caption,
                            std::string_view message) {
  if (screen_->form != nullptr) Sync(*screen_->form);
  if (AnsweredUnattended(caption, message, "OK")) return;
  const HWND owner = screen_->window;
  const std::string text = win32::WithLineBreaks(message);
  // Before the window exists the box still disables the whole program.
  MessageBoxA(owner, text.c_str(), std::string(caption).c_str(),
              MB_OK | MB_ICONSTOP | (owner == nullptr ? MB_TASKMODAL : 0));
}

void Win32Backend::ShowNotice(NoticeIcon icon, std::string_view caption,
                              std::string_view message_utf8) {
  if (screen_->form != nullptr) Sync(*screen_->form);
  if (AnsweredUnattended(caption, message_utf8, "OK", kMessageInUtf8)) return;
  const std::wstring message =
      win32::Widened(CP_UTF8, win32::WithLineBreaks(message_utf8));
  const HWND owner = screen_->window;
  // The wide box shows every character typed, whatever the code page.
  MessageBoxW(
      owner, message.c_str(), win32::Widened(CP_ACP, caption).c_str(),
      MB_OK | (icon == NoticeIcon::kStop ? MB_ICONSTOP : MB_ICONINFORMATION) |
          (owner == nullptr ? MB_TASKMODAL : 0));
}

bool Win32Backend::Confirm(const Confirmation& box) {
  if (screen_->form != nullptr) Sync(*screen_->form);
  if (AnsweredUnattended(box.caption, box.message, box.yes_button)) {
    return true;
  }
  return win32::AskYesNo(screen_->instance, screen_->window, box);
}

void Win32Backend::SetBusy(bool busy) {
  if (busy) {
    ++screen_->busy_depth;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return;
  }
  if (screen_->busy_depth == 0) return;
  if (--screen_->busy_depth == 0) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

// The task bar names the program by the executable's version resource
// ("Tabulon"); a window's own button there carries its caption. The error
// box is captioned by the handler guard. Nothing is left to set here.
void Win32Backend::SetApplicationTitle(std::string_view) {}

void Win32Backend::Realise(Form& form) {
  screen_->Realise(form);
  Sync(form);
}

void Win32Backend::Sync(Form& form) { screen_->Sync(form); }

int Win32Backend::Run(Form& form, ShowState show_state) {
  if (screen_->window == nullptr) Realise(form);
  Sync(form);
  const HWND window = screen_->window;
  switch (show_state) {
    case ShowState::kNormal:
      ShowWindow(window, SW_SHOWNORMAL);
      break;
    case ShowState::kMaximised:
      ShowWindow(window, SW_SHOWMAXIMIZED);
      break;
    case ShowState::kMinimisedNoActivate:
      ShowWindow(window, SW_SHOWMINNOACTIVE);
      break;
  }
  UpdateWindow(window);
  // Wide messages: a text field's typed characters reach it unconverted
  // (the system converts for the other windows).
  return RunMessageLoop();
}

void Win32Backend::Quit(Form&) {
  // The window's WM_DESTROY ends the message loop.
  if (screen_->window != nullptr) DestroyWindow(screen_->window);
}

void Win32Backend::Pump() {
  PollFolderChange();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    screen_->Dispatch(message);
  }
}

Pixels Win32Backend::Capture(Form& form, bool frame) {
  if (screen_->window == nullptr) Realise(form);
  Sync(form);
  const HWND window = screen_->window;
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNORMAL);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RedrawWindow(
      window, nullptr, nullptr,
      RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // The display receives what was drawn a moment later.
  for (int round = 0; round < 5; ++round) {
    Pump();
    GdiFlush();
    Sleep(20);
  }
  RECT area;
  if (frame) {
    GetWindowRect(window, &area);
  } else {
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
  }
  Pixels pixels;
  pixels.width = area.right - area.left;
  pixels.height = area.bottom - area.top;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const HDC copy = CreateCompatibleDC(screen);
  const HBITMAP bitmap =
      CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(copy, bitmap);
  BitBlt(copy, 0, 0, pixels.width, pixels.height, screen, area.left, area.top,
         SRCCOPY | CAPTUREBLT);
  GdiFlush();
  const auto* words = static_cast<const std::uint32_t*>(bits);
  pixels.rgb.assign(
      words, words + static_cast<std::size_t>(pixels.width) * pixels.height);
  for (std::uint32_t& pixel : pixels.rgb) pixel &= 0xFFFFFF;
  SelectObject(copy, old);
  DeleteObject(bitmap);
  DeleteDC(copy);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool Win32Backend::SaveScreenshot(Form& form, const std::string& path) {
  const Pixels pixels = Capture(form, true);
  return win32::WritePng(path, pixels.width, pixels.height, pixels.rgb);
}

ClientRect Win32Backend::RectOf(const Control& control) const {
  const RECT place = screen_->ScreenRect(control);
  ClientRect rect = {place.left, place.top, place.right - place.left,
                     place.bottom - place.top};
  for (const Control* parent = control.Parent();
       parent != nullptr && parent != screen_->form;
       parent = parent->Parent()) {
    const RECT outer = screen_->ScreenRect(*parent);
    rect.left += outer.left;
    rect.top += outer.top;
  }
  rect.left -= screen_->scroll.x;
  rect.top -= screen_->scroll.y;
  return rect;
}

void* Win32Backend::Window() const { return screen_->window; }

void* Win32Backend::WindowOf(const Control& control) const {
  const auto found = screen_->realised.find(&control);
  return found == screen_->realised.end() ? nullptr : found->second.window;
}

void Win32Backend::ResizeClient(int width, int height) {
  const HWND window = screen_->window;
  RECT outer = {0, 0, width, height};
  AdjustWindowRectEx(&outer, GetWindowLongA(window, GWL_STYLE), FALSE,
                     GetWindowLongA(window, GWL_EXSTYLE));
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
  screen_->UpdateScrollBars();
  Pump();
}

std::unique_ptr<Backend> NewDesktopBackend(int&, char**) {
  return std::make_unique<Win32Backend>();
}

}  // namespace tabulon::gui
