// A file's lines numbered from 1, as the layouts of "data.txt" and of the
// answer files count them; a line the file does not have reads as empty.
#ifndef TABULON_TEXT_NUMBERED_LINES_H_
#define TABULON_TEXT_NUMBERED_LINES_H_

#include <cstddef>
#include <string>
#include <vector>

namespace tabulon::text {

// A view of lines that must outlive it.
class NumberedLines {
 public:
  explicit NumberedLines(const std::vector<std::string>& lines)
      : lines_(lines) {}

  std::size_t Count() const { return lines_.size(); }
  // True for k = 1 to Count().
  bool Has(std::size_t k) const { return k >= 1 && k <= lines_.size(); }
  // Line k, or the empty string for a line the file does not have.
  const std::string& Line(std::size_t k) const {
    return Has(k) ? lines_[k - 1] : kNoLine;
  }

 private:
  static inline const std::string kNoLine;
  const std::vector<std::string>& lines_;
};

}  // namespace tabulon::text

#endif  // TABULON_TEXT_NUMBERED_LINES_H_
