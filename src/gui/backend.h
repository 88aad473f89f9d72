// What the handlers need of a desktop: text metrics, the two message boxes,
// the busy pointer, realising a form on screen, running it and picturing it.
// One interface; a backend each for tests (headless), Qt and Win32.
#ifndef TABULON_GUI_BACKEND_H_
#define TABULON_GUI_BACKEND_H_

#include <functional>
#include <memory>
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

// How the window is asked to open.
enum class ShowState { kNormal, kMaximised, kMinimisedNoActivate };

class Backend : public TextMetrics,
                public text::StopBox,
                public text::BusyPointer {
 public:
  // True only when the first (yes) button closed the box.
  virtual bool Confirm(const Confirmation& box) = 0;

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
  // Writes the window as this desktop shows it to a PNG file, without
  // waiting for anybody; false when it could not be written.
  virtual bool SaveScreenshot(Form& form, const std::string& path) = 0;

  // With nobody at the screen (a tool run offscreen), every message box is
  // answered at once as Enter would answer it (the stop box: OK; the
  // confirmation: its first button), its caption and text printed on stderr
  // instead. The headless backend answers from its script either way.
  void AnswerBoxesUnattended(bool unattended) { unattended_ = unattended; }

 protected:
  // With boxes unattended, prints what the box would have said and the
  // button that answered it (ampersand markers dropped), and returns true;
  // otherwise returns false and the box is the backend's to show. All CP932.
  bool AnsweredUnattended(std::string_view caption, std::string_view message,
                          std::string_view button) const;
  // CP932 text as this desktop's console writes it: its bytes as they are,
  // unless a backend's desktop speaks another encoding.
  virtual std::string ConsoleText(std::string_view cp932) const {
    return std::string(cp932);
  }

 private:
  bool unattended_ = false;
};

// The backend of the desktop this program is built for, made for the
// program's arguments (Qt may take its own from them). Defined by the backend
// library the program links: tabulon_qt or tabulon_win32.
std::unique_ptr<Backend> NewDesktopBackend(int& argc, char** argv);

// Runs a handler: a text::Failure ends it and is shown in the standard error
// box; the program goes on. The screen is brought up to date afterwards (and
// before any box is shown).
void RunHandler(Backend& backend, Form& form,
                const std::function<void()>& handler);

}  // namespace tabulon::gui

#endif  // TABULON_GUI_BACKEND_H_
