#include "gui/win32/win32_backend.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <utility>
#include <vector>

#include "gui/win32/win32_confirm.h"
#include "gui/win32/win32_png.h"
#include "gui/win32/win32_state.h"
#include "gui/win32/win32_surface.h"

namespace tabulon::gui {
namespace {

using win32::IsWindowed;
using win32::TakesFocus;

// What an unattended box would have shown, and how it was answered, in the
// console's code page 932.
void ReportBox(std::string_view caption, std::string_view message,
               std::string_view answer) {
  const std::string text = win32::WithLineBreaks(message);
  std::fprintf(stderr, "%.*s: %s [%.*s]\n", static_cast<int>(caption.size()),
               caption.data(), text.c_str(), static_cast<int>(answer.size()),
               answer.data());
}

}  // namespace

Rgb Pixels::At(int x, int y) const {
  const std::uint32_t pixel = rgb[static_cast<std::size_t>(y) * width + x];
  return {static_cast<std::uint8_t>(pixel >> 16),
          static_cast<std::uint8_t>(pixel >> 8),
          static_cast<std::uint8_t>(pixel)};
}

Win32Backend::Win32Backend() : state_(std::make_unique<State>(*this)) {
  // tabulon.exe says so in its manifest; a program without one (a test, the
  // screenshot tool) asks here, before its first window.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

Win32Backend::~Win32Backend() = default;

Extent Win32Backend::Measure(const Font& font, std::string_view cp932) {
  const HGDIOBJ old = SelectObject(state_->measure_dc, state_->fonts.For(font));
  SIZE size = {0, 0};
  GetTextExtentPoint32A(state_->measure_dc, cp932.data(),
                        static_cast<int>(cp932.size()), &size);
  SelectObject(state_->measure_dc, old);
  return {static_cast<int>(size.cx), font.pixel_size};
}

void Win32Backend::ShowStop(std::string_view caption,
                            std::string_view message) {
  if (state_->form != nullptr) Sync(*state_->form);
  if (state_->unattended) return ReportBox(caption, message, "OK");
  const HWND owner = state_->window;
  const std::string text = win32::WithLineBreaks(message);
  // Before the window exists the box still disables the whole program.
  MessageBoxA(owner, text.c_str(), std::string(caption).c_str(),
              MB_OK | MB_ICONSTOP | (owner == nullptr ? MB_TASKMODAL : 0));
}

bool Win32Backend::Confirm(const Confirmation& box) {
  if (state_->form != nullptr) Sync(*state_->form);
  if (state_->unattended) {
    ReportBox(box.caption, box.message, WithoutAmpersands(box.yes_button));
    return true;
  }
  return win32::AskYesNo(state_->instance, state_->window, box);
}

void Win32Backend::AnswerBoxesUnattended(bool unattended) {
  state_->unattended = unattended;
}

void Win32Backend::SetBusy(bool busy) {
  if (busy) {
    ++state_->busy_depth;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return;
  }
  if (state_->busy_depth == 0) return;
  if (--state_->busy_depth == 0) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

// The task bar names the program by the executable's version resource
// ("Tabulon"); a window's own button there carries its caption. The error
// box is captioned by the handler guard. Nothing is left to set here.
void Win32Backend::SetApplicationTitle(std::string_view) {}

void Win32Backend::Realise(Form& form) {
  State& state = *state_;
  state.Forget();
  state.CreateWindows(form);
  for (const auto& owned : form.Controls()) {
    Control& control = *owned;
    if (IsWindowed(control.Kind())) {
      state.realised[&control].window = state.CreateControlWindow(control);
    } else if (control.Kind() == ControlKind::kLabel) {
      const Control* surface = control.Parent() ? control.Parent() : &form;
      state.labels_of[surface].push_back(&control);
    }
    if (TakesFocus(control)) state.tab_order.push_back(&control);
  }
  std::stable_sort(state.tab_order.begin(), state.tab_order.end(),
                   [](const Control* a, const Control* b) {
                     return a->TabOrder() < b->TabOrder();
                   });
  state.Stack();
  // Every window starts from the form's whole state.
  std::vector<Control*>& dirty = form.DirtyControls();
  dirty.clear();
  dirty.push_back(&form);
  for (const auto& control : form.Controls()) dirty.push_back(control.get());
  Sync(form);
}

void Win32Backend::Sync(Form& form) {
  State& state = *state_;
  // A form not (yet) on screen is realised whole when it is.
  if (state.window == nullptr || &form != state.form) return;
  bool layout_changed = false;
  std::vector<HWND> relabelled;
  std::vector<Control*>& dirty = form.DirtyControls();
  for (Control* control : dirty) {
    control->MarkClean();
    state.Apply(*control);
    if (control->Parent() == &form) layout_changed = true;
    if (control->Kind() == ControlKind::kLabel) {
      relabelled.push_back(state.ParentWindow(*control));
    }
  }
  dirty.clear();
  if (layout_changed) state.UpdateContentSize();
  // A screen reader reads a surface's labels again (their names and which
  // are shown) when told they changed.
  std::sort(relabelled.begin(), relabelled.end());
  relabelled.erase(std::unique(relabelled.begin(), relabelled.end()),
                   relabelled.end());
  for (const HWND surface : relabelled) {
    NotifyWinEvent(EVENT_OBJECT_REORDER, surface, OBJID_CLIENT, CHILDID_SELF);
  }
}

int Win32Backend::Run(Form& form, ShowState show_state) {
  if (state_->window == nullptr) Realise(form);
  Sync(form);
  const HWND window = state_->window;
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
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) state_->Dispatch(message);
  return static_cast<int>(message.wParam);
}

void Win32Backend::Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    state_->Dispatch(message);
  }
}

Pixels Win32Backend::Capture(Form& form, bool frame) {
  if (state_->window == nullptr) Realise(form);
  Sync(form);
  const HWND window = state_->window;
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

bool Win32Backend::CaptureToPng(Form& form, const std::string& path,
                                bool frame) {
  const Pixels pixels = Capture(form, frame);
  return win32::WritePng(path, pixels.width, pixels.height, pixels.rgb);
}

ClientRect Win32Backend::RectOf(const Control& control) const {
  const RECT place = state_->ScreenRect(control);
  ClientRect rect = {place.left, place.top, place.right - place.left,
                     place.bottom - place.top};
  for (const Control* parent = control.Parent();
       parent != nullptr && parent != state_->form; parent = parent->Parent()) {
    const RECT outer = state_->ScreenRect(*parent);
    rect.left += outer.left;
    rect.top += outer.top;
  }
  rect.left -= state_->scroll.x;
  rect.top -= state_->scroll.y;
  return rect;
}

void* Win32Backend::Window() const { return state_->window; }

void* Win32Backend::WindowOf(const Control& control) const {
  const auto found = state_->realised.find(&control);
  return found == state_->realised.end() ? nullptr : found->second.window;
}

void Win32Backend::ResizeClient(int width, int height) {
  const HWND window = state_->window;
  RECT outer = {0, 0, width, height};
  AdjustWindowRectEx(&outer, GetWindowLongA(window, GWL_STYLE), FALSE,
                     GetWindowLongA(window, GWL_EXSTYLE));
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
  state_->UpdateScrollBars();
  Pump();
}

}  // namespace tabulon::gui
