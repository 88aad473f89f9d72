#include "gui/backend.h"

#include "text/error_box.h"
#include "text/failure.h"

namespace tabulon::gui {

void RunHandler(Backend& backend, Form& form,
                const std::function<void()>& handler) {
  RunHandler(backend, form, handler, [](const text::Failure&) { return true; });
}

bool RunHandler(Backend& backend, Form& form,
                const std::function<void()>& handler,
                const std::function<bool(const text::Failure&)>& report) {
  // Watcher and timer wait until the handler, and any box it shows, is over.
  struct InHandler {
    explicit InHandler(LiveServices& services) : services(services) {
      services.EnterHandler();
    }
    ~InHandler() { services.LeaveHandler(); }
    LiveServices& services;
  } in_handler(backend);
  bool succeeded = true;
  if (handler) {
    try {
      handler();
    } catch (const text::Failure& failure) {
      succeeded = false;
      if (report(failure)) {
        // The box shows over the state the handler had reached.
        backend.Sync(form);
        text::StandardErrorBox(failure.Message(), backend);
      }
    }
  }
  backend.Sync(form);
  return succeeded;
}

}  // namespace tabulon::gui
