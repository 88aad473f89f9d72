// What live results need of a desktop besides the window: a watcher of the
// current folder and one single-shot timer. Both come from outside any
// handler, so their calls wait here while a handler runs (a box it shows
// runs the desktop's event loop) and reach the window between handlers,
// never during one. A backend that cannot watch says so.
#ifndef TABULON_GUI_LIVE_SERVICES_H_
#define TABULON_GUI_LIVE_SERVICES_H_

#include <functional>
#include <string>
#include <string_view>

namespace tabulon::gui {

class LiveServices {
 public:
  // Told the name (file system bytes) of the file a change concerns, or an
  // empty name when the watcher cannot tell (the folder itself, a lost
  // event, a desktop that names nothing).
  using FolderListener = std::function<void(std::string_view name)>;

  virtual ~LiveServices() = default;

  // Watches the current folder from now on; false (and nothing watched)
  // when the folder cannot be watched. Watching again replaces the listener.
  bool WatchFolder(FolderListener on_change);
  void StopWatchingFolder();
  bool WatchingFolder() const { return static_cast<bool>(on_change_); }

  // Runs `on_time` once, `milliseconds` from now; starting it again before
  // then starts it afresh (one timer only).
  void StartTimer(int milliseconds, std::function<void()> on_time);
  void StopTimer();
  bool TimerRunning() const { return static_cast<bool>(on_time_); }

  // For the handler guard: a handler begins and ends. What arrived while it
  // ran is delivered as it ends: one folder change at most (its name kept
  // only when every change named the same file) and the timer.
  void EnterHandler() { ++handler_depth_; }
  void LeaveHandler();
  bool InHandler() const { return handler_depth_ > 0; }

 protected:
  // The backend's side: start and stop its watcher and its timer...
  virtual bool BeginWatching() { return false; }
  virtual void EndWatching() {}
  virtual void ArmTimer(int /*milliseconds*/) {}
  virtual void DisarmTimer() {}
  // ... and report what they saw, from the desktop's event loop.
  void FolderChanged(std::string_view name);
  void TimerElapsed();

 private:
  void DeliverWaiting();

  FolderListener on_change_;
  std::function<void()> on_time_;
  int handler_depth_ = 0;
  bool change_waiting_ = false;
  std::string waiting_name_;
  bool time_waiting_ = false;
};

}  // namespace tabulon::gui

#endif  // TABULON_GUI_LIVE_SERVICES_H_
