#include "gui/win32/win32_live.h"

#include <windowsx.h>

#include <unordered_map>

#include "gui/win32/win32_backend.h"
#include "gui/win32/win32_screen.h"

namespace tabulon::gui {
namespace {

// Names created, deleted or renamed, sizes and times of last writing: what
// an answer file arriving or being written changes. The desktop names no
// file, so every change is told with an empty name.
constexpr DWORD kWatched = FILE_NOTIFY_CHANGE_FILE_NAME |
                           FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE;

// A thread timer's procedure is told only the timer's id.
std::unordered_map<UINT_PTR, Win32Backend*>& TimerOwners() {
  static std::unordered_map<UINT_PTR, Win32Backend*> owners;
  return owners;
}

}  // namespace

bool Win32Backend::BeginWatching() {
  const HANDLE change = FindFirstChangeNotificationA(".", FALSE, kWatched);
  if (change == INVALID_HANDLE_VALUE) return false;
  live_->change = change;
  return true;
}

void Win32Backend::EndWatching() {
  if (live_->change == INVALID_HANDLE_VALUE) return;
  FindCloseChangeNotification(live_->change);
  live_->change = INVALID_HANDLE_VALUE;
}

void Win32Backend::ArmTimer(int milliseconds) {
  DisarmTimer();
  live_->timer = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds),
                          [](HWND, UINT, UINT_PTR id, DWORD) {
                            const auto found = TimerOwners().find(id);
                            if (found != TimerOwners().end())
                              found->second->TimerElapsed();
                          });
  if (live_->timer != 0) TimerOwners()[live_->timer] = this;
}

void Win32Backend::DisarmTimer() {
  if (live_->timer == 0) return;
  KillTimer(nullptr, live_->timer);
  TimerOwners().erase(live_->timer);
  live_->timer = 0;
}

// The notification is set up again before the change is told, so a change
// made while the window handles this one is not missed. A folder that can
// no longer be watched (it was removed) is told once and then let go, so
// the signalled handle cannot keep the loop awake.
void Win32Backend::SeeFolderChange() {
  if (!FindNextChangeNotification(live_->change)) EndWatching();
  FolderChanged("");
}

void Win32Backend::PollFolderChange() {
  if (live_->change != INVALID_HANDLE_VALUE &&
      WaitForSingleObject(live_->change, 0) == WAIT_OBJECT_0) {
    SeeFolderChange();
  }
}

// Sleeps until a message or a change of the folder arrives.
int Win32Backend::RunMessageLoop() {
  while (true) {
    const HANDLE change = live_->change;
    const DWORD handles = change != INVALID_HANDLE_VALUE ? 1 : 0;
    const DWORD woken = MsgWaitForMultipleObjectsEx(
        handles, &change, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (handles == 1 && woken == WAIT_OBJECT_0) {
      SeeFolderChange();
      continue;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
      screen_->Dispatch(message);
    }
  }
}

// At the pointer, or for the menu key (no point) at the window's corner.
void win32::Screen::OpenContextMenu(LPARAM where) {
  if (form == nullptr || form->context_menu.empty()) return;
  POINT at = {GET_X_LPARAM(where), GET_Y_LPARAM(where)};
  if (where == -1) {
    at = {0, 0};
    ClientToScreen(window, &at);
  }
  const HMENU menu = CreatePopupMenu();
  UINT_PTR id = 1;
  for (const MenuItem& item : form->context_menu) {
    AppendMenuA(menu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED),
                id++, item.caption.c_str());
  }
  SetForegroundWindow(window);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                    at.y, 0, window, nullptr);
  DestroyMenu(menu);
  if (chosen <= 0) return;
  // A copy: the handler may change the menu it came from.
  const std::function<void()> on_click =
      form->context_menu.at(static_cast<std::size_t>(chosen - 1)).on_click;
  RunHandler(backend, *form, on_click);
}

}  // namespace tabulon::gui
