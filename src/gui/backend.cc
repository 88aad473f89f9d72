#include "gui/backend.h"

#include "text/error_box.h"
#include "text/failure.h"

namespace tabulon::gui {

void RunHandler(Backend& backend, Form& form,
                const std::function<void()>& handler) {
  if (handler) {
    try {
      handler();
    } catch (const text::Failure& failure) {
      // The box shows over the state the handler had reached.
      backend.Sync(form);
      text::StandardErrorBox(failure.Message(), backend);
    }
  }
  backend.Sync(form);
}

}  // namespace tabulon::gui
