#include "gui/backend.h"

#include <cstdio>

#include "text/error_box.h"
#include "text/failure.h"

namespace tabulon::gui {

bool Backend::AnsweredUnattended(std::string_view caption,
                                 std::string_view message,
                                 std::string_view button,
                                 MessageEncoding encoding) const {
  if (!unattended_) return false;
  const std::string text =
      encoding == kMessageInUtf8 ? std::string(message) : ConsoleText(message);
  // A lone CR, or CR LF, breaks a box's line; on the console a line ends
  // in LF. Neither byte can be the second byte of a CP932 character.
  std::string line = ConsoleText(caption) + ": ";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      line += text[i];
      continue;
    }
    line += '\n';
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  line += " [" + ConsoleText(WithoutAmpersands(button)) + "]";
  std::fprintf(stderr, "%s\n", line.c_str());
  return true;
}

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
