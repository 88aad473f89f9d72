#include "gui/win32/win32_state.h"

#include <algorithm>
#include <utility>

namespace tabulon::gui {

bool win32::IsWindowed(ControlKind kind) {
  return kind != ControlKind::kLabel && kind != ControlKind::kForm;
}

bool win32::TakesFocus(const Control& control) {
  return control.TabOrder() >= 0 && (control.Kind() == ControlKind::kListBox ||
                                     control.Kind() == ControlKind::kButton);
}

namespace {

using win32::ColorOf;
using win32::IsWindowed;
using win32::TakesFocus;

constexpr char kWindowClass[] = "TabulonWindow";
// The content and the group boxes: surfaces that labels are painted on.
constexpr char kSurfaceClass[] = "TabulonSurface";
constexpr int kScrollLine = 16;
// Where a group box's caption starts.
constexpr int kGroupCaptionLeft = 8;

LRESULT CALLBACK WindowProcedure(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK SurfaceProcedure(HWND, UINT, WPARAM, LPARAM);

void RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXA window = {};
  window.cbSize = sizeof window;
  window.lpfnWndProc = WindowProcedure;
  window.hInstance = instance;
  window.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  window.lpszClassName = kWindowClass;
  RegisterClassExA(&window);  // fails harmlessly when already registered
  WNDCLASSEXA surface = window;
  surface.lpfnWndProc = SurfaceProcedure;
  surface.hIcon = nullptr;
  surface.lpszClassName = kSurfaceClass;
  RegisterClassExA(&surface);
}

Win32Backend::State* StateOf(HWND window) {
  return reinterpret_cast<Win32Backend::State*>(
      GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Keeps the state of CreateWindowEx's last argument with the window.
bool Attach(HWND window, UINT message, LPARAM l_param) {
  if (message != WM_NCCREATE) return false;
  const auto* create = reinterpret_cast<const CREATESTRUCTA*>(l_param);
  SetWindowLongPtrA(window, GWLP_USERDATA,
                    reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  return true;
}

bool ShowBusyCursor(Win32Backend::State* state) {
  if (state == nullptr || state->busy_depth == 0) return false;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  return true;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM w_param,
                                 LPARAM l_param) {
  Attach(window, message, l_param);
  Win32Backend::State* state = StateOf(window);
  switch (message) {
    case WM_SIZE:
      if (state != nullptr && state->content != nullptr) {
        state->UpdateScrollBars();
      }
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (state != nullptr) {
        state->OnScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, w_param);
      }
      return 0;
    case WM_MOUSEWHEEL:
      if (state != nullptr) {
        const int notches = GET_WHEEL_DELTA_WPARAM(w_param) / WHEEL_DELTA;
        state->ScrollTo(
            state->scroll.x,
            state->scroll.y - 3 * state->scale.Px(kScrollLine) * notches);
      }
      return 0;
    case WM_ERASEBKGND: {
      if (state == nullptr || state->form == nullptr) break;
      RECT client;
      GetClientRect(window, &client);
      const HBRUSH brush =
          CreateSolidBrush(ColorOf(state->form->PaintColour()));
      FillRect(reinterpret_cast<HDC>(w_param), &client, brush);
      DeleteObject(brush);
      return 1;
    }
    case WM_SETCURSOR:
      if (ShowBusyCursor(state)) return TRUE;
      break;
    case WM_DPICHANGED:
      if (state == nullptr || state->form == nullptr) break;
      state->OnDpiChanged(HIWORD(w_param),
                          reinterpret_cast<const RECT*>(l_param));
      return 0;
    case WM_DESTROY:
      if (state != nullptr && state->window == window) {
        state->window = nullptr;
        PostQuitMessage(0);
      }
      return 0;
  }
  return DefWindowProcA(window, message, w_param, l_param);
}

win32::SurfaceFacts ReadSurface(HWND surface) {
  Win32Backend::State* state = StateOf(surface);
  if (state == nullptr || state->form == nullptr) return {};
  const auto found = state->control_of.find(surface);
  if (found == state->control_of.end()) return {};
  return state->FactsOf(*found->second);
}

LRESULT CALLBACK SurfaceProcedure(HWND window, UINT message, WPARAM w_param,
                                  LPARAM l_param) {
  Attach(window, message, l_param);
  Win32Backend::State* state = StateOf(window);
  switch (message) {
    case WM_GETOBJECT:
      if (const LRESULT answer =
              win32::AnswerGetObject(window, w_param, l_param, ReadSurface)) {
        return answer;
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      if (state == nullptr) break;
      state->PaintSurface(window);
      return 0;
    case WM_COMMAND: {
      if (state == nullptr || HIWORD(w_param) != BN_CLICKED) break;
      const auto found =
          state->control_of.find(reinterpret_cast<HWND>(l_param));
      if (found == state->control_of.end()) break;
      RunHandler(state->backend, *state->form, found->second->on_click);
      return 0;
    }
    case WM_SETCURSOR:
      if (ShowBusyCursor(state)) return TRUE;
      break;
  }
  return DefWindowProcA(window, message, w_param, l_param);
}

}  // namespace

Win32Backend::State::State(Win32Backend& owner)
    : backend(owner),
      instance(GetModuleHandleA(nullptr)),
      measure_dc(CreateCompatibleDC(nullptr)) {
  RegisterClasses(instance);
}

Win32Backend::State::~State() {
  Forget();
  DeleteDC(measure_dc);
}

void Win32Backend::State::Forget() {
  const HWND old = std::exchange(window, nullptr);
  if (old != nullptr && IsWindow(old)) DestroyWindow(old);
  content = nullptr;
  form = nullptr;
  realised.clear();
  control_of.clear();
  labels_of.clear();
  tab_order.clear();
  scroll = {0, 0};
}

void Win32Backend::State::CreateWindows(Form& owner) {
  form = &owner;
  window = CreateWindowExA(
      WS_EX_CONTROLPARENT, kWindowClass, owner.Caption().c_str(),
      WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN,
      owner.Left(), owner.Top(), owner.Width(), owner.Height(), nullptr,
      nullptr, instance, this);
  content =
      CreateWindowExA(WS_EX_CONTROLPARENT, kSurfaceClass, "",
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                      0, 0, 1, 1, window, nullptr, instance, this);
  control_of[content] = &owner;
  // The monitor the window opens on decides its scale.
  scale = win32::Scale(static_cast<int>(GetDpiForWindow(window)));
  const RECT outer =
      scale.Rect(owner.Left(), owner.Top(), owner.Width(), owner.Height());
  SetWindowPos(window, nullptr, outer.left, outer.top, outer.right - outer.left,
               outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Win32Backend::State::CreateControlWindow(Control& control) {
  const HWND parent = ParentWindow(control);
  const DWORD style =
      WS_CHILD | WS_CLIPSIBLINGS | (TakesFocus(control) ? WS_TABSTOP : 0);
  HWND created = nullptr;
  switch (control.Kind()) {
    case ControlKind::kGroupBox:
      created = CreateWindowExA(WS_EX_CONTROLPARENT, kSurfaceClass, "",
                                style | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                                nullptr, instance, this);
      break;
    case ControlKind::kButton:
      created = CreateWindowExA(0, "BUTTON", "", style | BS_PUSHBUTTON, 0, 0, 0,
                                0, parent, nullptr, instance, nullptr);
      break;
    case ControlKind::kListBox:
    case ControlKind::kFileList:
      created = CreateWindowExA(
          WS_EX_CLIENTEDGE, "LISTBOX", "",
          style | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, 0, 0, 0, 0,
          parent, nullptr, instance, nullptr);
      break;
    case ControlKind::kLabel:
    case ControlKind::kForm:
      return nullptr;
  }
  ApplyFont(created, control);
  control_of[created] = &control;
  return created;
}

// Windowed controls lie in creation order, later ones above earlier ones.
void Win32Backend::State::Stack() {
  for (const auto& control : form->Controls()) {
    const HWND handle = realised[control.get()].window;
    if (handle == nullptr) continue;
    SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Win32Backend::State::Apply(Control& control) {
  if (&control == form) {
    SetWindowTextA(window, control.Caption().c_str());
    return;
  }
  if (control.Kind() == ControlKind::kLabel) return ApplyLabel(control);
  Realised& state = realised.at(&control);
  const RECT place = ScreenRect(control);
  SetWindowPos(state.window, nullptr, place.left, place.top,
               place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  switch (control.Kind()) {
    case ControlKind::kButton:
      SetWindowTextA(state.window, control.Caption().c_str());
      break;
    case ControlKind::kGroupBox:
      InvalidateRect(state.window, nullptr, FALSE);
      break;
    case ControlKind::kListBox:
    case ControlKind::kFileList:
      ApplyItems(control, state);
      break;
    default:
      break;
  }
  ShowWindow(state.window, control.Visible() ? SW_SHOWNA : SW_HIDE);
}

// A label is paint on its parent: the places it left and takes are
// painted again.
void Win32Backend::State::ApplyLabel(const Control& label) {
  Realised& state = realised[&label];
  const RECT now = ScreenRect(label);
  const HWND parent = ParentWindow(label);
  if (state.painted_visible) InvalidateRect(parent, &state.painted, FALSE);
  if (label.Visible()) InvalidateRect(parent, &now, FALSE);
  state.painted = now;
  state.painted_visible = label.Visible();
}

// Only the new items are added when the list has merely grown.
void Win32Backend::State::ApplyItems(const Control& list, Realised& state) {
  const ItemList& items = list.Items();
  if (state.items_generation != list.ItemsGeneration() ||
      state.items_shown > items.size()) {
    SendMessageA(state.window, LB_RESETCONTENT, 0, 0);
    state.items_shown = 0;
    state.items_generation = list.ItemsGeneration();
  }
  for (; state.items_shown < items.size(); ++state.items_shown) {
    // The list box takes a NUL-ended copy.
    const std::string item(items[state.items_shown]);
    SendMessageA(state.window, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(item.c_str()));
  }
}

// The scrolled area reaches as far as the window's controls do.
void Win32Backend::State::UpdateContentSize() {
  int right = 1;
  int bottom = 1;
  for (const auto& control : form->Controls()) {
    if (control->Parent() != form) continue;
    const RECT place = ScreenRect(*control);
    right = std::max<int>(right, place.right);
    bottom = std::max<int>(bottom, place.bottom);
  }
  content_size = {right, bottom};
  UpdateScrollBars();
}

// A scroll bar shows only where the client area is smaller than the
// content; showing one makes the client area smaller, so the sizes are
// settled again until they agree.
void Win32Backend::State::UpdateScrollBars() {
  for (int round = 0; round < 3; ++round) {
    RECT client;
    GetClientRect(window, &client);
    SCROLLINFO horizontal = {sizeof horizontal,
                             SIF_RANGE | SIF_PAGE,
                             0,
                             content_size.cx - 1,
                             static_cast<UINT>(client.right),
                             0,
                             0};
    SCROLLINFO vertical = {sizeof vertical,
                           SIF_RANGE | SIF_PAGE,
                           0,
                           content_size.cy - 1,
                           static_cast<UINT>(client.bottom),
                           0,
                           0};
    SetScrollInfo(window, SB_HORZ, &horizontal, TRUE);
    SetScrollInfo(window, SB_VERT, &vertical, TRUE);
    RECT after;
    GetClientRect(window, &after);
    if (after.right == client.right && after.bottom == client.bottom) break;
  }
  ScrollTo(scroll.x, scroll.y);
}

void Win32Backend::State::ScrollTo(int x, int y) {
  RECT client;
  GetClientRect(window, &client);
  const LONG right_most = std::max<LONG>(0, content_size.cx - client.right);
  const LONG bottom_most = std::max<LONG>(0, content_size.cy - client.bottom);
  scroll.x = std::clamp<LONG>(x, 0, right_most);
  scroll.y = std::clamp<LONG>(y, 0, bottom_most);
  SetScrollPos(window, SB_HORZ, scroll.x, TRUE);
  SetScrollPos(window, SB_VERT, scroll.y, TRUE);
  MoveWindow(content, -scroll.x, -scroll.y, content_size.cx, content_size.cy,
             TRUE);
}

void Win32Backend::State::OnScroll(int bar, WPARAM request) {
  SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(window, bar, &info);
  int position = info.nPos;
  switch (LOWORD(request)) {
    case SB_LINEUP:
      position -= scale.Px(kScrollLine);
      break;
    case SB_LINEDOWN:
      position += scale.Px(kScrollLine);
      break;
    case SB_PAGEUP:
      position -= static_cast<int>(info.nPage);
      break;
    case SB_PAGEDOWN:
      position += static_cast<int>(info.nPage);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = 0;
      break;
    case SB_BOTTOM:
      position = info.nMax;
      break;
  }
  if (bar == SB_HORZ) {
    ScrollTo(position, scroll.y);
  } else {
    ScrollTo(scroll.x, position);
  }
}

// The whole surface at once, off screen first: its fill (or a group box's
// frame and caption), then its labels in creation order.
void Win32Backend::State::PaintSurface(HWND surface) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(surface, &paint);
  RECT client;
  GetClientRect(surface, &client);
  const HDC buffer = CreateCompatibleDC(dc);
  const HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(1L, client.right),
                                                std::max(1L, client.bottom));
  const HGDIOBJ old_bitmap = SelectObject(buffer, bitmap);
  const Control& owner = *control_of.at(surface);
  if (owner.Kind() == ControlKind::kGroupBox) {
    win32::PaintGroupBox(
        buffer, owner, fonts.For(scale.FontAt(owner.EffectiveFont())),
        {client.right, client.bottom}, scale.Px(kGroupCaptionLeft));
  } else {
    const HBRUSH brush = CreateSolidBrush(ColorOf(owner.PaintColour()));
    FillRect(buffer, &client, brush);
    DeleteObject(brush);
  }
  for (const Control* label : labels_of[&owner]) {
    if (!label->Visible()) continue;
    win32::PaintLabel(buffer, ScreenRect(*label), *label,
                      fonts.For(scale.FontAt(label->EffectiveFont())));
  }
  BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(buffer);
  EndPaint(surface, &paint);
}

// The Tab key follows the layout's Tab order, which is not the stacking
// order that the dialog manager would follow.
void Win32Backend::State::MoveFocus(bool backwards) {
  if (tab_order.empty()) return;
  const HWND focus = GetFocus();
  std::size_t at = tab_order.size() - 1;
  for (std::size_t i = 0; i < tab_order.size(); ++i) {
    const HWND handle = realised.at(tab_order[i]).window;
    if (handle == focus || IsChild(handle, focus)) at = i;
  }
  for (std::size_t step = 1; step <= tab_order.size(); ++step) {
    const std::size_t next =
        (at + (backwards ? tab_order.size() - step : step)) % tab_order.size();
    const HWND handle = realised.at(tab_order[next]).window;
    if (IsWindowVisible(handle) && IsWindowEnabled(handle)) {
      SetFocus(handle);
      return;
    }
  }
}

// One message as the window's loop handles it: Tab in the layout's order,
// the dialog keys, then the window procedures.
void Win32Backend::State::Dispatch(MSG& message) {
  const bool ours = window != nullptr && IsChild(window, message.hwnd);
  if (ours && message.message == WM_KEYDOWN && message.wParam == VK_TAB) {
    MoveFocus(GetKeyState(VK_SHIFT) < 0);
    return;
  }
  if (window != nullptr && IsDialogMessageA(window, &message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace tabulon::gui
