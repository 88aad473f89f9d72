#include "gui/live_services.h"

#include <utility>

namespace tabulon::gui {

bool LiveServices::WatchFolder(FolderListener on_change) {
  if (!on_change_ && !BeginWatching()) return false;
  on_change_ = std::move(on_change);
  return true;
}

void LiveServices::StopWatchingFolder() {
  if (!on_change_) return;
  EndWatching();
  on_change_ = nullptr;
  change_waiting_ = false;
}

void LiveServices::StartTimer(int milliseconds, std::function<void()> on_time) {
  on_time_ = std::move(on_time);
  time_waiting_ = false;
  ArmTimer(milliseconds);
}

void LiveServices::StopTimer() {
  if (!on_time_) return;
  DisarmTimer();
  on_time_ = nullptr;
  time_waiting_ = false;
}

void LiveServices::LeaveHandler() {
  if (--handler_depth_ == 0) DeliverWaiting();
}

void LiveServices::FolderChanged(std::string_view name) {
  if (!on_change_) return;
  if (!InHandler()) {
    on_change_(name);
    return;
  }
  // Changes to different files merge into one whose file is not known.
  if (change_waiting_ && waiting_name_ != name) {
    waiting_name_.clear();
  } else if (!change_waiting_) {
    waiting_name_.assign(name);
  }
  change_waiting_ = true;
}

void LiveServices::TimerElapsed() {
  if (!on_time_) return;
  if (InHandler()) {
    time_waiting_ = true;
    return;
  }
  // The timer is single-shot: it is over before its call runs, which may
  // start it again.
  std::function<void()> on_time = std::move(on_time_);
  on_time_ = nullptr;
  DisarmTimer();
  on_time();
}

void LiveServices::DeliverWaiting() {
  if (change_waiting_ && on_change_) {
    change_waiting_ = false;
    const std::string name = std::move(waiting_name_);
    waiting_name_.clear();
    on_change_(name);
  }
  if (time_waiting_ && !InHandler()) {
    time_waiting_ = false;
    TimerElapsed();
  }
}

}  // namespace tabulon::gui
