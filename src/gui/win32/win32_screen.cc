#include "gui/win32/win32_screen.h"

#include <algorithm>
#include <utility>

#include "gui/win32/win32_answer_controls.h"

namespace tabulon::gui::win32 {
namespace {

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

Screen* ScreenOf(HWND window) {
  return reinterpret_cast<Screen*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Keeps the screen of CreateWindowEx's last argument with the window.
bool Attach(HWND window, UINT message, LPARAM l_param) {
  if (message != WM_NCCREATE) return false;
  const auto* create = reinterpret_cast<const CREATESTRUCTA*>(l_param);
  SetWindowLongPtrA(window, GWLP_USERDATA,
                    reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  return true;
}

bool ShowBusyCursor(Screen* screen) {
  if (screen == nullptr || screen->busy_depth == 0) return false;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  return true;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM w_param,
                                 LPARAM l_param) {
  Attach(window, message, l_param);
  Screen* screen = ScreenOf(window);
  switch (message) {
    case WM_SIZE:
      if (screen != nullptr && screen->content != nullptr) {
        screen->UpdateScrollBars();
      }
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (screen != nullptr) {
        screen->OnScroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, w_param);
      }
      return 0;
    case WM_MOUSEWHEEL:
      if (screen != nullptr) {
        const int notches = GET_WHEEL_DELTA_WPARAM(w_param) / WHEEL_DELTA;
        screen->ScrollTo(
            screen->scroll.x,
            screen->scroll.y - 3 * screen->scale.Px(kScrollLine) * notches);
      }
      return 0;
    case WM_ERASEBKGND: {
      if (screen == nullptr || screen->form == nullptr) break;
      RECT client;
      GetClientRect(window, &client);
      const HBRUSH brush =
          CreateSolidBrush(ColorOf(screen->form->PaintColour()));
      FillRect(reinterpret_cast<HDC>(w_param), &client, brush);
      DeleteObject(brush);
      return 1;
    }
    case WM_SETCURSOR:
      if (ShowBusyCursor(screen)) return TRUE;
      break;
    case WM_CONTEXTMENU:
      if (screen != nullptr) screen->OpenContextMenu(l_param);
      return 0;
    case WM_DPICHANGED:
      if (screen == nullptr || screen->form == nullptr) break;
      screen->OnDpiChanged(HIWORD(w_param),
                           reinterpret_cast<const RECT*>(l_param));
      return 0;
    case WM_DESTROY:
      if (screen != nullptr && screen->window == window) {
        screen->window = nullptr;
        PostQuitMessage(0);
      }
      return 0;
  }
  return DefWindowProcA(window, message, w_param, l_param);
}

SurfaceFacts ReadSurface(HWND surface) {
  Screen* screen = ScreenOf(surface);
  if (screen == nullptr || screen->form == nullptr) return {};
  const auto found = screen->control_of.find(surface);
  if (found == screen->control_of.end()) return {};
  return screen->FactsOf(*found->second);
}

LRESULT CALLBACK SurfaceProcedure(HWND window, UINT message, WPARAM w_param,
                                  LPARAM l_param) {
  Attach(window, message, l_param);
  Screen* screen = ScreenOf(window);
  switch (message) {
    case WM_GETOBJECT:
      if (const LRESULT answer =
              AnswerGetObject(window, w_param, l_param, ReadSurface)) {
        return answer;
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      if (screen == nullptr) break;
      screen->PaintSurface(window);
      return 0;
    case WM_COMMAND: {
      if (screen == nullptr) break;
      const auto found =
          screen->control_of.find(reinterpret_cast<HWND>(l_param));
      if (found == screen->control_of.end()) break;
      if (IsAnswerControl(found->second->Kind())) {
        TakeAnswerInput(found->first, HIWORD(w_param), *found->second);
      }
      if (HIWORD(w_param) != BN_CLICKED) break;
      RunHandler(screen->backend, *screen->form, found->second->on_click);
      return 0;
    }
    case WM_SETCURSOR:
      if (ShowBusyCursor(screen)) return TRUE;
      break;
  }
  return DefWindowProcA(window, message, w_param, l_param);
}

}  // namespace

Screen::Screen(Backend& owner)
    : backend(owner),
      instance(GetModuleHandleA(nullptr)),
      measure_dc(CreateCompatibleDC(nullptr)) {
  RegisterClasses(instance);
}

Screen::~Screen() {
  Forget();
  DeleteDC(measure_dc);
}

void Screen::Forget() {
  const HWND old = std::exchange(window, nullptr);
  if (old != nullptr && IsWindow(old)) DestroyWindow(old);
  content = nullptr;
  form = nullptr;
  realised.clear();
  control_of.clear();
  labels_of.clear();
  tab_chain.clear();
  scroll = {0, 0};
}

void Screen::CreateWindows(Form& owner) {
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

void Screen::Realise(Form& owner) {
  Forget();
  CreateWindows(owner);
  for (const auto& each : owner.Controls()) {
    Control& control = *each;
    if (IsWindowed(control.Kind())) {
      realised[&control].window = CreateControlWindow(control);
    } else if (control.Kind() == ControlKind::kLabel) {
      const Control* surface = control.Parent() ? control.Parent() : &owner;
      labels_of[surface].push_back(&control);
    }
  }
  tab_chain = TabChain(owner);
  Stack();
  owner.MarkAllDirty();
}

void Screen::Sync(Form& owner) {
  // A form not (yet) on screen is realised whole when it is.
  if (window == nullptr || &owner != form) return;
  std::vector<HWND> relabelled;
  const bool window_changed =
      TakeChanges(owner, [this, &relabelled](Control& control) {
        Apply(control);
        if (control.Kind() == ControlKind::kLabel) {
          relabelled.push_back(ParentWindow(control));
        }
      });
  if (window_changed) UpdateContentSize();
  // A screen reader reads a surface's labels again (their names and which
  // are shown) when told they changed.
  std::sort(relabelled.begin(), relabelled.end());
  relabelled.erase(std::unique(relabelled.begin(), relabelled.end()),
                   relabelled.end());
  for (const HWND surface : relabelled) {
    NotifyWinEvent(EVENT_OBJECT_REORDER, surface, OBJID_CLIENT, CHILDID_SELF);
  }
}

HWND Screen::CreateControlWindow(Control& control) {
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
    case ControlKind::kRadioButton:
    case ControlKind::kCheckBox:
    case ControlKind::kTextField:
      created = win32::CreateAnswerWindow(control, parent, style, instance);
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
void Screen::Stack() {
  for (const auto& control : form->Controls()) {
    const HWND handle = realised[control.get()].window;
    if (handle == nullptr) continue;
    SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Screen::Apply(Control& control) {
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
      // The caption is painted; as the window's text a screen reader
      // hears the block by it.
      SetWindowTextA(state.window, control.Caption().c_str());
      InvalidateRect(state.window, nullptr, FALSE);
      break;
    case ControlKind::kRadioButton:
    case ControlKind::kCheckBox:
    case ControlKind::kTextField:
      win32::ApplyAnswerWindow(state.window, control);
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
void Screen::ApplyLabel(const Control& label) {
  Realised& state = realised[&label];
  const RECT now = ScreenRect(label);
  const HWND parent = ParentWindow(label);
  if (state.painted_visible) InvalidateRect(parent, &state.painted, FALSE);
  if (label.Visible()) InvalidateRect(parent, &now, FALSE);
  state.painted = now;
  state.painted_visible = label.Visible();
}

void Screen::ApplyItems(const Control& list, Realised& state) {
  const HWND handle = state.window;
  bool first = true;
  state.items.CatchUp(
      list, [handle] { SendMessageA(handle, LB_RESETCONTENT, 0, 0); },
      [handle, &list, &first](std::size_t i) {
        const ItemList& items = list.Items();
        if (first) {
          // Room for all the new items at once, not item by item: a tally
          // of thousands of answers fills the list in one Sync.
          first = false;
          std::size_t bytes = 0;
          for (std::size_t k = i; k < items.size(); ++k)
            bytes += items[k].size() + 1;
          SendMessageA(handle, LB_INITSTORAGE, items.size() - i,
                       static_cast<LPARAM>(bytes));
        }
        // The list box takes a NUL-ended copy.
        const std::string item(items[i]);
        SendMessageA(handle, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(item.c_str()));
      });
}

// The scrolled area reaches as far as the window's controls do on the
// screen's scale, where a label is as wide as its caption in the scaled font.
void Screen::UpdateContentSize() {
  const Extent extent = ContentExtent(*form, [this](const Control& control) {
    const RECT place = ScreenRect(control);
    return Extent{static_cast<int>(place.right),
                  static_cast<int>(place.bottom)};
  });
  content_size = {extent.width, extent.height};
  UpdateScrollBars();
}

// A scroll bar shows only where the client area is smaller than the
// content; showing one makes the client area smaller, so the sizes are
// settled again until they agree.
void Screen::UpdateScrollBars() {
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

void Screen::ScrollTo(int x, int y) {
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

void Screen::OnScroll(int bar, WPARAM request) {
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
void Screen::PaintSurface(HWND surface) {
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
    PaintGroupBox(buffer, owner, fonts.For(scale.FontAt(owner.EffectiveFont())),
                  {client.right, client.bottom}, scale.Px(kGroupCaptionLeft));
  } else {
    const HBRUSH brush = CreateSolidBrush(ColorOf(owner.PaintColour()));
    FillRect(buffer, &client, brush);
    DeleteObject(brush);
  }
  for (const Control* label : labels_of[&owner]) {
    if (!label->Visible()) continue;
    PaintLabel(buffer, ScreenRect(*label), *label,
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
void Screen::MoveFocus(bool backwards) {
  if (tab_chain.empty()) return;
  const HWND focus = GetFocus();
  std::size_t at = tab_chain.size() - 1;
  for (std::size_t i = 0; i < tab_chain.size(); ++i) {
    const HWND handle = realised.at(tab_chain[i]).window;
    if (handle == focus || IsChild(handle, focus)) at = i;
  }
  for (std::size_t step = 1; step <= tab_chain.size(); ++step) {
    const std::size_t next =
        (at + (backwards ? tab_chain.size() - step : step)) % tab_chain.size();
    const HWND handle = realised.at(tab_chain[next]).window;
    if (IsWindowVisible(handle) && IsWindowEnabled(handle)) {
      SetFocus(handle);
      return;
    }
  }
}

// One message as the window's loop handles it: Tab in the layout's order,
// the dialog keys, then the window procedures.
void Screen::Dispatch(MSG& message) {
  const bool ours = window != nullptr && IsChild(window, message.hwnd);
  if (ours && message.message == WM_KEYDOWN && message.wParam == VK_TAB) {
    MoveFocus(GetKeyState(VK_SHIFT) < 0);
    return;
  }
  if (window != nullptr && IsDialogMessageW(window, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace tabulon::gui::win32
