#include "survey/tally.h"

#include <cstddef>
#include <optional>
#include <string_view>

#include "survey/choice_value.h"
#include "text/markers.h"
#include "text/textfile.h"

namespace tabulon::survey {
namespace {

constexpr std::string_view kHeaderMarker = "[Q";
constexpr std::string_view kEndMarker = "[END]";

// An answer file's lines, numbered from 1 as the file's layout counts them.
class AnswerLines {
 public:
  explicit AnswerLines(const std::vector<std::string>& lines) : lines_(lines) {}
  bool Has(std::size_t k) const { return k >= 1 && k <= lines_.size(); }
  // Line k, or the empty string for a line the file does not have.
  const std::string& Line(std::size_t k) const {
    return Has(k) ? lines_[k - 1] : kNoLine;
  }

  // The first line at or after `from` that begins with "[Q".
  std::optional<std::size_t> FindHeader(std::size_t from) const {
    for (std::size_t k = from; Has(k); ++k) {
      if (text::BeginsWithMarker(Line(k), kHeaderMarker)) return k;
    }
    return std::nullopt;
  }

  // A choice line goes on until a header, an end line or the file's end.
  bool IsChoiceLine(std::size_t k) const {
    return Has(k) && !text::BeginsWithMarker(Line(k), kHeaderMarker) &&
           !text::BeginsWithMarker(Line(k), kEndMarker);
  }

 private:
  static inline const std::string kNoLine;
  const std::vector<std::string>& lines_;
};

// "R]" or "C]" anywhere in the header; tested before "T]", so a header with
// both kinds opens a choice section.
bool OpensChoiceSection(std::string_view header) {
  return text::ContainsMarker(header, "R]") ||
         text::ContainsMarker(header, "C]");
}

bool OpensTextSection(std::string_view header) {
  return text::ContainsMarker(header, "T]");
}

}  // namespace

void TallyAnswerLines(const std::vector<std::string>& file_lines,
                      RespondentRow& row, ChoiceCounts& counts,
                      TallyListener& listener) {
  const AnswerLines lines(file_lines);

  // Step 2: the first header; line 1 is never examined for one.
  std::optional<std::size_t> p = lines.FindHeader(2);

  // Step 3: the identity lines.
  row.computer_name = lines.Line(1);
  row.respondent_name = lines.Line(2);

  // Step 4, for questions 1 to 10 in order; step 5: sections after the
  // tenth are not read.
  for (int q = 1; q <= kQuestionCount; ++q) {
    // No header left, nothing more for this file.
    if (!p) return;
    const std::string& header = lines.Line(*p);

    if (OpensChoiceSection(header)) {
      // Each choice line is stored, then its value added, before the
      // next line is looked at; a bad line stops right there.
      *p += 1;
      for (int c = 1; c <= kChoiceCount && lines.IsChoiceLine(*p);
           ++c, *p += 1) {
        const std::string& choice_line = lines.Line(*p);
        row.answers[q - 1][c - 1] = choice_line;
        counts.Add(q, c, ChoiceLineValue(choice_line));
      }
      listener.ChoiceSectionDone(q, counts);
    } else if (OpensTextSection(header)) {
      // The text line is taken whatever it holds, and stays where the
      // next search starts, so a header taken as text opens the next section.
      *p += 1;
      const std::string& text_line = lines.Line(*p);
      row.answers[q - 1][0] = text_line;
      listener.TextAnswerFound(q, text_line);
    } else {
      // A header that names no kind records nothing; searching from the
      // line after it keeps the file's later sections readable.
      *p += 1;
    }

    // The next header, from where this section stopped.
    p = lines.FindHeader(*p);
  }
}

void TallyAnswerFiles(const std::vector<std::string>& names,
                      ChoiceCounts& counts, RespondentTable& table,
                      TallyListener& listener) {
  // Nothing of an earlier tally may reach this one's counts or results file.
  counts.Clear();
  table.clear();
  table.reserve(names.size());
  for (const std::string& name : names) {
    // Step 1: the whole file is read and closed before its lines are examined.
    const std::vector<std::string> lines = text::ReadTextLines(name);
    TallyAnswerLines(lines, table.emplace_back(), counts, listener);
  }
}

}  // namespace tabulon::survey
