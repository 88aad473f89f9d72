// Live results of the main window: while they are on, the backend watches
// the folder and, once it has been quiet, the window runs exactly what a
// press of Button1 runs, in either display mode. LiveTally decides when,
// and which failures are shown; this piece only carries its decisions out.
#ifndef TABULON_WINDOW_LIVE_RESULTS_H_
#define TABULON_WINDOW_LIVE_RESULTS_H_

#include <string>
#include <string_view>

#include "gui/backend.h"
#include "text/answer_file_list.h"
#include "window/live_tally.h"

namespace tabulon::window {

class TForm1;

class LiveResults {
 public:
  LiveResults(gui::Backend& backend, TForm1& window);

  // Turns live results on or off, with the menu's check mark and the
  // caption's marker. A folder that cannot be watched is reported, and live
  // results stay off.
  void SetOn(bool on);
  bool On() const { return on_; }

 private:
  void ShowOnOrOff();
  void FolderChanged(std::string_view name);
  void StartQuietTime();
  void QuietTimeOver();
  void RunTally(const AnswerFolder& folder);
  TallyFailure FailureOf(const text::Failure& failure) const;
  AnswerFolder LookAtFolder();

  gui::Backend& backend_;
  TForm1& window_;
  LiveTally decisions_;
  // A list of its own: looking at the folder leaves the window's alone.
  text::AnswerFileList files_;
  std::string plain_caption_;
  bool on_ = false;
};

}  // namespace tabulon::window

#endif  // TABULON_WINDOW_LIVE_RESULTS_H_
