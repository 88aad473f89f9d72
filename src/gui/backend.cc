#include "gui/backend.h"

#include <cstdio>

#include "text/error_box.h"
#include "text/failure.h"

namespace tabulon::gui {

bool Backend::AnsweredUnattended(std::string_view caption,
                                 std::string_view message,
                                 std::string_view button) const {
  if (!unattended_) return false;
  // A lone CR, or CR LF, breaks a box's line; on the console a line ends
  // in LF. Neither byte can be the second byte of a CP932 character.
  std::string line(caption);
  line += ": ";
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] != '\r') {
      line += message[i];
      continue;
    }
    line += '\n';
    if (i + 1 < message.size() && message[i + 1] == '\n') ++i;
  }
  line += " [" + WithoutAmpersands(button) + "]";
  std::fprintf(stderr, "%s\n", ConsoleText(line).c_str());
  return true;
}

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
