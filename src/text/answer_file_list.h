// The sorted list of the working folder's answer files, and file deletion.
// The list is a snapshot: it is re-read from the folder at every Refresh.
#ifndef TABULON_TEXT_ANSWER_FILE_LIST_H_
#define TABULON_TEXT_ANSWER_FILE_LIST_H_

#include <string>
#include <string_view>
#include <vector>

namespace tabulon::text {

// The control layer's busy mouse pointer (a backend's, gui/), shown while a
// long list is read.
class BusyPointer {
 public:
  virtual ~BusyPointer() = default;
  virtual void SetBusy(bool busy) = 0;
};

class AnswerFileList {
 public:
  // The list of the current folder with the pattern "*.ans". Nothing is read
  // until the list is first used. `busy` may be null.
  explicit AnswerFileList(BusyPointer* busy = nullptr);

  // Changes the pattern; re-reads the folder only when it differs.
  void SetPattern(std::string_view pattern);
  // Re-reads the folder. Never fails: an unreadable folder lists nothing.
  void Refresh();
  int Count();
  // The i-th name in list order, i = 1 to Count().
  const std::string& Name(int i);
  // All names in list order.
  const std::vector<std::string>& Names();
  const std::string& Pattern() const { return pattern_; }

 private:
  void ListIfNeverListed();
  BusyPointer* busy_;
  std::string pattern_;
  std::vector<std::string> names_;
  bool listed_ = false;
};

// Deletes the named file at once and for good; false when that failed.
bool DeleteFile(const std::string& name);

}  // namespace tabulon::text

#endif  // TABULON_TEXT_ANSWER_FILE_LIST_H_
