#include "gui/qt/qt_live.h"

#include <errno.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QMenu>
#include <QPoint>
#include <QSocketNotifier>
#include <QWidget>
#include <cstring>

#include "gui/qt/qt_backend.h"
#include "gui/qt/qt_widgets.h"

namespace tabulon::gui::qt {
namespace {

// Writes (IN_MODIFY) are watched too, so a file written slowly keeps the
// folder from being quiet until its writer is done.
constexpr std::uint32_t kWatched = IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE |
                                   IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE |
                                   IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;

}  // namespace

FolderWatch::FolderWatch() = default;

FolderWatch::~FolderWatch() { Stop(); }

bool FolderWatch::Start(Seen seen) {
  Stop();
  inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (inotify_ < 0) return false;
  if (inotify_add_watch(inotify_, ".", kWatched) < 0) {
    Stop();
    return false;
  }
  seen_ = std::move(seen);
  notifier_ =
      std::make_unique<QSocketNotifier>(inotify_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated,
                   [this] { ReadEvents(); });
  return true;
}

void FolderWatch::Stop() {
  notifier_.reset();
  if (inotify_ >= 0) close(inotify_);
  inotify_ = -1;
  seen_ = nullptr;
}

void FolderWatch::ReadEvents() {
  alignas(inotify_event) char buffer[16 * 1024];
  while (inotify_ >= 0) {
    const ssize_t got = read(inotify_, buffer, sizeof buffer);
    if (got <= 0) return;  // EAGAIN: all read
    for (ssize_t at = 0; at < got;) {
      inotify_event event;
      std::memcpy(&event, buffer + at, sizeof event);
      const char* name = buffer + at + sizeof event;
      at += static_cast<ssize_t>(sizeof event + event.len);
      if (event.mask & IN_IGNORED) continue;
      // The listener may stop the watch; nothing of this buffer is told then.
      const Seen seen = seen_;
      if (!seen) return;
      seen(event.len > 0 ? std::string_view(name, strnlen(name, event.len))
                         : std::string_view());
    }
  }
}

LiveParts::LiveParts(std::function<void()> elapsed) {
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, std::move(elapsed));
}

void OfferContextMenu(Backend& backend, Form& form,
                      std::initializer_list<QWidget*> widgets) {
  for (QWidget* widget : widgets) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(widget, &QWidget::customContextMenuRequested, widget,
                     [&backend, &form, widget](const QPoint& at) {
                       ShowContextMenu(backend, form, widget->mapToGlobal(at));
                     });
  }
}

void ShowContextMenu(Backend& backend, Form& form, const QPoint& where) {
  if (form.context_menu.empty()) return;
  QMenu menu;
  for (const MenuItem& item : form.context_menu) {
    QAction* action = menu.addAction(ToQString(item.caption));
    action->setCheckable(true);
    action->setChecked(item.checked);
  }
  QAction* chosen = menu.exec(where);
  if (chosen == nullptr) return;
  const auto index = menu.actions().indexOf(chosen);
  // A copy: the handler may change the menu it came from.
  const std::function<void()> on_click = form.context_menu.at(index).on_click;
  RunHandler(backend, form, on_click);
}

}  // namespace tabulon::gui::qt

namespace tabulon::gui {

bool QtBackend::BeginWatching() {
  return live_->watch.Start(
      [this](std::string_view name) { FolderChanged(name); });
}

void QtBackend::EndWatching() { live_->watch.Stop(); }

void QtBackend::ArmTimer(int milliseconds) { live_->timer.start(milliseconds); }

void QtBackend::DisarmTimer() { live_->timer.stop(); }

}  // namespace tabulon::gui
