// When live results tally again, decided without touching a file or a
// clock: folder changes and the quiet timer's end go in, with the folder's
// answer files as they are then; out come "start the quiet time again",
// "run the tally now", and for a failed tally "show it", "keep quiet" or
// "try again after a quiet time". It never runs a tally itself.
#ifndef TABULON_WINDOW_LIVE_TALLY_H_
#define TABULON_WINDOW_LIVE_TALLY_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::window {

// One answer file as the tally would list it, with its size and the time it
// last changed (file clock ticks).
struct AnswerFileStamp {
  std::string name;
  std::int64_t size = 0;
  std::int64_t modified = 0;
  friend bool operator==(const AnswerFileStamp&,
                         const AnswerFileStamp&) = default;
};

// The folder's answer files in list order, and the file clock's time when
// they were looked at.
struct AnswerFolder {
  std::vector<AnswerFileStamp> files;
  std::int64_t now = 0;
};

// Where a failed tally stopped, and why.
struct TallyFailure {
  enum class Stage { kReading, kWriting };
  Stage stage = Stage::kReading;
  int code = 0;  // the platform's error code; 0 when no file operation failed
  std::string message;
};

class LiveTally {
 public:
  // The folder must have been quiet this long before a tally runs.
  static constexpr int kQuietMilliseconds = 1000;
  // An answer file changed more recently than this may still be being
  // written (in file clock ticks).
  static constexpr std::int64_t kSettlingTicks = 2 * 10'000'000;
  // How often a tally that met a file still being written is tried again,
  // the folder otherwise quiet, before its failure counts as lasting.
  static constexpr int kRetries = 3;

  enum class Verdict { kShow, kKeepQuiet, kTryAgain };

  // Live results begin: every answer file in the folder counts as arrived,
  // so the first quiet time tallies them (and an empty folder nothing).
  void Begin();

  // The watcher saw a change; `name` the file it concerns, empty when not
  // known. True when the quiet time must start again; a file that is no
  // answer file (the results file, its temporary) never starts it.
  bool FolderChanged(std::string_view name);

  // The quiet time is over. True when the tally must run: an answer file
  // appeared or changed, or a failed tally is to be tried again and no
  // answer file disappeared since.
  bool QuietTimeOver(const AnswerFolder& folder);

  // What to do with the failure of the tally that QuietTimeOver asked for.
  // kTryAgain: keep quiet and start the quiet time again.
  Verdict TallyFailed(const TallyFailure& failure, const AnswerFolder& folder);
  // That tally ended well: every failure may be shown again.
  void TallyDone();

 private:
  // A failure is shown again only when one of these changes.
  struct ShownFailure {
    TallyFailure::Stage stage;
    std::string message;
    std::vector<AnswerFileStamp> files;  // empty for the results file
    friend bool operator==(const ShownFailure&, const ShownFailure&) = default;
  };

  bool StillBeingWritten(const TallyFailure& failure,
                         const AnswerFolder& folder) const;

  std::vector<AnswerFileStamp> seen_;
  bool try_again_ = false;
  int retries_ = 0;
  std::optional<ShownFailure> shown_;
};

}  // namespace tabulon::window

#endif  // TABULON_WINDOW_LIVE_TALLY_H_
