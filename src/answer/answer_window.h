// The answer window: builds the form from its computed layout and holds the
// save button's handler, which reads the controls, refuses what code page
// 932 cannot hold, and writes the answer file. It knows nothing of the
// tally window.
#ifndef TABULON_ANSWER_ANSWER_WINDOW_H_
#define TABULON_ANSWER_ANSWER_WINDOW_H_

#include <optional>
#include <string>

#include "gui/backend.h"
#include "gui/controls.h"
#include "survey/answer_file.h"
#include "survey/questionnaire.h"

namespace tabulon::answer {

// One pupil per computer (the file is named after it, a second save asks
// before it replaces), or several in turn (a numbered file each, and the
// form is cleared for the next).
enum class SaveMode { kOnePupil, kEachPupil };

class AnswerWindow {
 public:
  // Builds the form and binds the save button. `computer_name` is CP932.
  AnswerWindow(gui::Backend& backend, survey::Questionnaire questionnaire,
               std::string computer_name, SaveMode mode);

  gui::Form& Form() { return form_; }
  // The name of the last file saved; empty before the first save.
  const std::string& SavedName() const { return saved_name_; }

  // The save button's handler (run through the guard).
  void SaveClick();

 private:
  // Steps of the handler.
  std::optional<survey::Answers> ReadAnswers();
  bool TakeTypedText(const gui::Control& field, const std::string& question,
                     std::string& cp932);
  bool MayReplace(const std::string& name);
  void ClearForNextPupil();
  void Tell(gui::NoticeIcon icon, const std::string& message_utf8);

  gui::Backend& backend_;
  survey::Questionnaire questionnaire_;
  std::string computer_name_;
  SaveMode mode_;
  gui::Form form_;
  std::string saved_name_;
};

// The whole program once the folder is entered: reads "data.txt" (a failure
// shows the standard error box, a questionnaire without questions says so),
// then shows the form until it is saved or closed. Returns the exit status:
// 0, or 1 when there was nothing to answer.
int RunAnswerProgram(gui::Backend& backend, SaveMode mode);

}  // namespace tabulon::answer

#endif  // TABULON_ANSWER_ANSWER_WINDOW_H_
