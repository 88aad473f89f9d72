#include "text/answer_file_list.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/files.h"
#include "text/fixed_texts.h"

namespace tabulon::text {
namespace {

// From this many names on, the listing shows the busy pointer.
constexpr size_t kBusyFromCount = 101;

bool NameBefore(const std::string& a, const std::string& b) {
  return platform::CompareNames(a, b) < 0;
}

}  // namespace

AnswerFileList::AnswerFileList(BusyPointer* busy)
    : busy_(busy), pattern_(Text(FixedText::kAnswerFilePattern)) {}

void AnswerFileList::SetPattern(std::string_view pattern) {
  if (pattern == pattern_) return;
  pattern_ = pattern;
  Refresh();
}

void AnswerFileList::Refresh() {
  listed_ = true;
  names_.clear();
  bool busy = false;
  std::string_view patterns = pattern_;
  while (true) {
    size_t separator = patterns.find(';');
    std::string_view pattern = patterns.substr(0, separator);
    for (std::string& name : platform::FindFiles(pattern)) {
      names_.push_back(std::move(name));
      if (!busy && busy_ != nullptr && names_.size() >= kBusyFromCount) {
        busy_->SetBusy(true);
        busy = true;
      }
    }
    if (separator == std::string_view::npos) break;
    patterns.remove_prefix(separator + 1);
  }
  // Sorted once at the end: inserting each name in place costs quadratic
  // time in a folder of thousands of answer files.
  std::sort(names_.begin(), names_.end(), NameBefore);
  // A name that two patterns match is listed once.
  names_.erase(std::unique(names_.begin(), names_.end()), names_.end());
  if (busy) busy_->SetBusy(false);
}

int AnswerFileList::Count() {
  ListIfNeverListed();
  return static_cast<int>(names_.size());
}

const std::string& AnswerFileList::Name(int i) {
  static const std::string kNone;
  ListIfNeverListed();
  if (i < 1 || i > static_cast<int>(names_.size())) return kNone;
  return names_[static_cast<size_t>(i - 1)];
}

const std::vector<std::string>& AnswerFileList::Names() {
  ListIfNeverListed();
  return names_;
}

void AnswerFileList::ListIfNeverListed() {
  if (!listed_) Refresh();
}

bool DeleteFile(const std::string& name) {
  return platform::DeleteFileByName(name) == platform::kNoError;
}

}  // namespace tabulon::text
