// A file's lines numbered from 1, as the layouts of "data.txt" and of the
// answer files count them; a line the file does not have reads as empty.
#ifndef TABULON_TEXT_NUMBERED_LINES_H_
#define TABULON_TEXT_NUMBERED_LINES_H_

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::text {

// A view of lines that must outlive it (LineReader gives such views).
class NumberedLines {
 public:
  explicit NumberedLines(std::span<const std::string_view> lines)
      : lines_(lines) {}

  std::size_t Count() const { return lines_.size(); }
  // True for k = 1 to Count().
  bool Has(std::size_t k) const { return k >= 1 && k <= lines_.size(); }
  // Line k, or the empty text for a line the file does not have.
  std::string_view Line(std::size_t k) const {
    return Has(k) ? lines_[k - 1] : std::string_view();
  }

 private:
  std::span<const std::string_view> lines_;
};

// Views of lines held as strings, to number them; valid while `lines` is.
inline std::vector<std::string_view> LineViews(
    const std::vector<std::string>& lines) {
  return {lines.begin(), lines.end()};
}

}  // namespace tabulon::text

#endif  // TABULON_TEXT_NUMBERED_LINES_H_
