// The Qt backend's part of live results: an inotify watch of the current
// folder, read through a socket notifier on Qt's own event loop (no thread,
// no polling), and the window's context menu.
#ifndef TABULON_GUI_QT_QT_LIVE_H_
#define TABULON_GUI_QT_QT_LIVE_H_

#include <QTimer>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "gui/backend.h"

class QPoint;
class QSocketNotifier;
class QWidget;

namespace tabulon::gui::qt {

class FolderWatch {
 public:
  using Seen = std::function<void(std::string_view name)>;

  FolderWatch();
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Watches the current folder for files created, written, closed after
  // writing, moved in or out, deleted or changed in their attributes; each
  // change is told with its file's name (empty for the folder itself and for
  // changes the kernel had no room to keep). False when inotify refuses.
  bool Start(Seen seen);
  void Stop();

 private:
  void ReadEvents();

  int inotify_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  Seen seen_;
};

// The backend's watch and its single-shot timer.
struct LiveParts {
  explicit LiveParts(std::function<void()> elapsed);
  FolderWatch watch;
  QTimer timer;
};

// A right click or the menu key on one of `widgets` (or on anything in them
// without a menu of its own) opens the form's context menu there; a chosen
// item runs through the handler guard.
void OfferContextMenu(Backend& backend, Form& form,
                      std::initializer_list<QWidget*> widgets);

// Shows the form's context menu at `where` (on the screen) until it closes.
void ShowContextMenu(Backend& backend, Form& form, const QPoint& where);

}  // namespace tabulon::gui::qt

#endif  // TABULON_GUI_QT_QT_LIVE_H_
