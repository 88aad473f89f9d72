#include "window/live_tally.h"

#include <algorithm>
#include <unordered_map>

#include "platform/files.h"
#include "text/fixed_texts.h"

namespace tabulon::window {
namespace {

// The names the tally lists: "*.ans", hidden ones left out.
bool IsAnswerFileName(std::string_view name) {
  return !name.empty() && name.front() != '.' &&
         platform::WildcardMatch(
             text::Text(text::FixedText::kAnswerFilePattern), name);
}

struct Difference {
  bool arrived_or_changed = false;
  bool removed = false;
};

Difference Compare(const std::vector<AnswerFileStamp>& before,
                   const std::vector<AnswerFileStamp>& now) {
  std::unordered_map<std::string_view, const AnswerFileStamp*> earlier;
  for (const AnswerFileStamp& file : before) earlier.emplace(file.name, &file);
  Difference difference;
  std::size_t still_there = 0;
  for (const AnswerFileStamp& file : now) {
    const auto found = earlier.find(file.name);
    if (found == earlier.end()) {
      difference.arrived_or_changed = true;
      continue;
    }
    ++still_there;
    if (!(*found->second == file)) difference.arrived_or_changed = true;
  }
  difference.removed = still_there < earlier.size();
  return difference;
}

}  // namespace

void LiveTally::Begin() {
  seen_.clear();
  try_again_ = false;
  retries_ = 0;
  shown_.reset();
}

bool LiveTally::FolderChanged(std::string_view name) {
  if (!name.empty() && !IsAnswerFileName(name)) return false;
  // A writer still at work is no lasting failure.
  retries_ = 0;
  return true;
}

bool LiveTally::QuietTimeOver(const AnswerFolder& folder) {
  const Difference difference = Compare(seen_, folder.files);
  seen_ = folder.files;
  const bool try_again = try_again_;
  try_again_ = false;
  // Files disappearing never rewrite the results file from fewer files:
  // only a file that arrived or changed does.
  return difference.arrived_or_changed || (try_again && !difference.removed);
}

LiveTally::Verdict LiveTally::TallyFailed(const TallyFailure& failure,
                                          const AnswerFolder& folder) {
  if (retries_ < kRetries && StillBeingWritten(failure, folder)) {
    ++retries_;
    try_again_ = true;
    return Verdict::kTryAgain;
  }
  retries_ = 0;
  const bool of_answer_files = failure.stage == TallyFailure::Stage::kReading;
  ShownFailure now{
      failure.stage, failure.message,
      of_answer_files ? folder.files : std::vector<AnswerFileStamp>{}};
  if (shown_ == now) return Verdict::kKeepQuiet;
  shown_ = std::move(now);
  return Verdict::kShow;
}

void LiveTally::TallyDone() {
  retries_ = 0;
  shown_.reset();
}

// A file held by its writer, or any answer file changed a moment ago: the
// writer may not be done.
bool LiveTally::StillBeingWritten(const TallyFailure& failure,
                                  const AnswerFolder& folder) const {
  if (failure.stage != TallyFailure::Stage::kReading) return false;
  if (failure.code == platform::kSharingViolation) return true;
  return std::any_of(folder.files.begin(), folder.files.end(),
                     [&](const AnswerFileStamp& file) {
                       return folder.now - file.modified < kSettlingTicks;
                     });
}

}  // namespace tabulon::window
