// A backend without a screen, for fast tests of the handlers: fixed text
// metrics, message boxes that record what they showed and answer from a
// script, and a window that is never shown.
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

  // Called as each box shows, so a test can look at the controls then.
  std::function<void(const StopShown&)> on_stop;
  std::function<void(const Confirmation&)> on_confirm;

 private:
  std::string application_title_;
  std::deque<bool> answers_;
  std::vector<StopShown> stops_;
  std::vector<Confirmation> confirmations_;
  std::vector<bool> busy_calls_;
  int sync_count_ = 0;
  bool realised_ = false;
  std::optional<ShowState> shown_as_;
};

}  // namespace tabulon::gui

#endif  // TABULON_GUI_HEADLESS_BACKEND_H_
