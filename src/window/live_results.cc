#include "window/live_results.h"

#include "platform/file_stamps.h"
#include "text/error_box.h"
#include "text/failure.h"
#include "text/fixed_texts.h"
#include "window/main_window.h"

namespace tabulon::window {
namespace {

using text::FixedText;
using text::Text;

}  // namespace

LiveResults::LiveResults(gui::Backend& backend, TForm1& window)
    : backend_(backend), window_(window) {}

void LiveResults::SetOn(bool on) {
  if (on == on_) return;
  if (on) {
    if (!backend_.WatchFolder(
            [this](std::string_view name) { FolderChanged(name); })) {
      text::StandardErrorBox(Text(FixedText::kLiveUnavailable), backend_);
      return;
    }
    plain_caption_ = window_.Form().Caption();
    decisions_.Begin();
    on_ = true;
    // What the folder holds already counts as arrived.
    StartQuietTime();
  } else {
    backend_.StopWatchingFolder();
    backend_.StopTimer();
    on_ = false;
  }
  ShowOnOrOff();
}

// The menu's check mark, and the marker after the caption.
void LiveResults::ShowOnOrOff() {
  gui::Form& form = window_.Form();
  for (gui::MenuItem& item : form.context_menu) {
    if (item.caption == Text(FixedText::kLiveMenuItem)) item.checked = on_;
  }
  form.SetCaption(on_ ? plain_caption_ + Text(FixedText::kLiveCaptionMarker)
                      : plain_caption_);
  backend_.Sync(form);
}

void LiveResults::FolderChanged(std::string_view name) {
  if (decisions_.FolderChanged(name)) StartQuietTime();
}

void LiveResults::StartQuietTime() {
  backend_.StartTimer(LiveTally::kQuietMilliseconds,
                      [this] { QuietTimeOver(); });
}

void LiveResults::QuietTimeOver() {
  const AnswerFolder folder = LookAtFolder();
  if (decisions_.QuietTimeOver(folder)) RunTally(folder);
}

// Button1's own handler, through the guard; only the failures LiveTally
// lets through reach the box.
void LiveResults::RunTally(const AnswerFolder& folder) {
  gui::Form& form = window_.Form();
  LiveTally::Verdict verdict = LiveTally::Verdict::kShow;
  TallyFailure failure;
  const bool done =
      gui::RunHandler(backend_, form, form["Button1"].on_click,
                      [&](const text::Failure& raised) {
                        failure = FailureOf(raised);
                        verdict = decisions_.TallyFailed(failure, folder);
                        return verdict == LiveTally::Verdict::kShow;
                      });
  if (done) {
    decisions_.TallyDone();
    return;
  }
  if (verdict == LiveTally::Verdict::kTryAgain) StartQuietTime();
  // A results file that cannot be written leaves the counts fresh; the
  // enlarged view shows them too.
  if (failure.stage == TallyFailure::Stage::kWriting &&
      window_.InEnlargedMode()) {
    gui::RunHandler(backend_, form, form["Button6"].on_click);
  }
}

TallyFailure LiveResults::FailureOf(const text::Failure& failure) const {
  const auto* io = dynamic_cast<const text::InputOutputFailure*>(&failure);
  return {window_.TallyStage(), io != nullptr ? io->Code() : 0,
          failure.Message()};
}

// The answer files as the tally lists them, with their stamps; one gone
// since the listing is left out.
AnswerFolder LiveResults::LookAtFolder() {
  files_.Refresh();
  AnswerFolder folder;
  folder.files.reserve(files_.Names().size());
  for (const std::string& name : files_.Names()) {
    const platform::FileStamp stamp = platform::StampOf(name);
    if (stamp.size >= 0)
      folder.files.push_back({name, stamp.size, stamp.modified});
  }
  folder.now = platform::FileClockNow();
  return folder;
}

}  // namespace tabulon::window
