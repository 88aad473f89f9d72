// A backend without a screen, for fast tests of the handlers: fixed text
// metrics, message boxes that record what they showed and answer from a
// script, a window that is never shown, and a folder watcher and timer that
// the test drives.
#ifndef TABULON_GUI_HEADLESS_BACKEND_H_
#define TABULON_GUI_HEADLESS_BACKEND_H_

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gui/backend.h"

namespace tabulon::gui {

class HeadlessBackend : public Backend {
 public:
  struct StopShown {
    std::string caption;  // CP932, as shown
    std::string message;
  };

  // A single-byte character is (pixel_size + 1) / 2 px wide, a double-byte
  // one twice that; the height is the pixel size. Face and weight are
  // ignored.
  Extent Measure(const Font& font, std::string_view cp932) override;

  void ShowStop(std::string_view caption, std::string_view message) override;
  struct NoticeShown {
    NoticeIcon icon;
    std::string caption;  // CP932
    std::string message;  // UTF-8
  };
  void ShowNotice(NoticeIcon icon, std::string_view caption,
                  std::string_view message_utf8) override;
  const std::vector<NoticeShown>& Notices() const { return notices_; }
  // Answers with the next queued answer, or no when the queue is empty.
  bool Confirm(const Confirmation& box) override;
  void SetBusy(bool busy) override;
  void SetApplicationTitle(std::string_view title) override {
    application_title_ = title;
  }
  const std::string& ApplicationTitle() const { return application_title_; }

  void Realise(Form& form) override;
  // Clears every dirty mark, as a screen update would.
  void Sync(Form& form) override;
  // Records the state and returns 0 at once.
  int Run(Form& form, ShowState state) override;
  void Quit(Form&) override { quit_ = true; }
  bool QuitCalled() const { return quit_; }
  // There is no screen to picture: writes nothing and returns false.
  bool SaveScreenshot(Form&, const std::string&) override { return false; }

  // The script and the record.
  void QueueAnswer(bool yes) { answers_.push_back(yes); }
  const std::vector<StopShown>& Stops() const { return stops_; }
  const std::vector<Confirmation>& Confirmations() const {
    return confirmations_;
  }
  const std::vector<bool>& BusyCalls() const { return busy_calls_; }
  int SyncCount() const { return sync_count_; }
  bool Realised() const { return realised_; }
  std::optional<ShowState> ShownAs() const { return shown_as_; }

  // The watcher and the timer, as the test drives them: a change the
  // watcher saw, and the timer's time running out (nothing when it is not
  // running).
  void SeeFolderChange(std::string_view name = "") { FolderChanged(name); }
  void ElapseTimer() { TimerElapsed(); }
  int TimerMilliseconds() const { return timer_milliseconds_; }
  // Makes the folder unwatchable (as when the desktop's watchers run out).
  void RefuseWatching() { refuse_watching_ = true; }

  // Called as each box shows, so a test can look at the controls then.
  std::function<void(const StopShown&)> on_stop;
  std::function<void(const Confirmation&)> on_confirm;

 protected:
  bool BeginWatching() override { return !refuse_watching_; }
  void ArmTimer(int milliseconds) override {
    timer_milliseconds_ = milliseconds;
  }

 private:
  std::string application_title_;
  int timer_milliseconds_ = 0;
  bool refuse_watching_ = false;
  std::deque<bool> answers_;
  std::vector<StopShown> stops_;
  std::vector<NoticeShown> notices_;
  std::vector<Confirmation> confirmations_;
  std::vector<bool> busy_calls_;
  int sync_count_ = 0;
  bool realised_ = false;
  bool quit_ = false;
  std::optional<ShowState> shown_as_;
};

}  // namespace tabulon::gui

#endif  // TABULON_GUI_HEADLESS_BACKEND_H_
