// What the window layer needs of a desktop: text metrics, the two message
// boxes, the busy pointer, realising a form on screen and running it. One
// interface, two backends: headless (tests) and Qt.
#ifndef TABULON_GUI_BACKEND_H_
#define TABULON_GUI_BACKEND_H_

#include <functional>
#include <string>
#include <string_view>

#include "gui/controls.h"
#include "text/answer_file_list.h"
#include "text/error_box.h"

namespace tabulon::gui {

// A confirmation box: question icon, caption, message, two buttons (the
// first the default for Enter, the second the cancel button for Escape and
// the close box), centred on the screen. All texts CP932.
struct Confirmation {
  std::string caption;
  std::string message;
  std::string yes_button;
  std::string no_button;
};

// The icon of a box with one OK button.
enum class NoticeIcon { kStop, kInformation };

// How the window is asked to open.
enum class ShowState { kNormal, kMaximised, kMinimisedNoActivate };

class Backend : public TextMetrics,
                public text::StopBox,
                public text::BusyPointer {
 public:
  // True only when the first (yes) button closed the box.
  virtual bool Confirm(const Confirmation& box) = 0;
  // A modal box with the icon and one OK button. The caption is CP932; the
  // message is UTF-8, since it may quote typed text that CP932 cannot hold.
  virtual void ShowNotice(NoticeIcon icon, std::string_view caption,
                          std::string_view message_utf8) = 0;

  // The application's title (CP932): its name in the task bar. It is not
  // the window's caption.
  virtual void SetApplicationTitle(std::string_view title) = 0;

  // Creates the on-screen form for `form` (once, after Build).
  virtual void Realise(Form& form) = 0;
  // Brings the screen up to date with every control changed since the last
  // Sync. Cheap when nothing changed.
  virtual void Sync(Form& form) = 0;
  // Shows the window and runs until it is closed; returns the exit code.
  virtual int Run(Form& form, ShowState state) = 0;
  // Closes the window as its close box would, so that Run returns (once
  // the running handler has ended).
  virtual void Quit(Form& form) = 0;
};

// Runs a handler: a text::Failure ends it and is shown in the standard error
// box; the program goes on. The screen is brought up to date afterwards (and
// before any box is shown).
void RunHandler(Backend& backend, Form& form,
                const std::function<void()>& handler);

}  // namespace tabulon::gui

#endif  // TABULON_GUI_BACKEND_H_
