#include "survey/tally.h"

#include <cstddef>
#include <optional>
#include <string_view>

#include "survey/choice_value.h"
#include "text/markers.h"
#include "text/numbered_lines.h"
#include "text/textfile.h"

namespace tabulon::survey {
namespace {

using text::NumberedLines;

constexpr std::string_view kHeaderMarker = "[Q";
constexpr std::string_view kEndMarker = "[END]";

// The first line at or after `from` that begins with "[Q".
std::optional<std::size_t> FindHeader(const NumberedLines& lines,
                                      std::size_t from) {
  for (std::size_t k = from; lines.Has(k); ++k) {
    if (text::BeginsWithMarker(lines.Line(k), kHeaderMarker)) return k;
  }
  return std::nullopt;
}

// Choice lines go on until a header, an end line or the file's end.
bool IsChoiceLine(const NumberedLines& lines, std::size_t k) {
  return lines.Has(k) &&
         !text::BeginsWithMarker(lines.Line(k), kHeaderMarker) &&
         !text::BeginsWithMarker(lines.Line(k), kEndMarker);
}

// "R]" or "C]" anywhere in the header; tested before "T]", so a header with
// both kinds opens a choice section.
bool OpensChoiceSection(std::string_view header) {
  return text::ContainsMarker(header, "R]") ||
         text::ContainsMarker(header, "C]");
}

bool OpensTextSection(std::string_view header) {
  return text::ContainsMarker(header, "T]");
}

// The sections of one answer file, each recorded in the file's row and
// added to the counts, with the listener told after each.
class SectionTally {
 public:
  SectionTally(const NumberedLines& lines, RespondentRow& row,
               ChoiceCounts& counts, TallyListener& listener)
      : lines_(lines), row_(row), counts_(counts), listener_(listener) {}

  // The section of question q whose header is line `header`. Returns the
  // line from which the next header is searched.
  std::size_t Section(int q, std::size_t header) {
    const std::string& header_line = lines_.Line(header);
    if (OpensChoiceSection(header_line)) return ChoiceSection(q, header + 1);
    if (OpensTextSection(header_line)) return TextSection(q, header + 1);
    // A header that names no kind records nothing; searching from the line
    // after it keeps the file's later sections readable.
    return header + 1;
  }

 private:
  // Each choice line is stored, then its value added, before the next line
  // is looked at: a bad line stops the tally right there, before the
  // listener hears of this section.
  std::size_t ChoiceSection(int q, std::size_t p) {
    for (int c = 1; c <= kChoiceCount && IsChoiceLine(lines_, p); ++c, ++p) {
      const std::string& choice_line = lines_.Line(p);
      row_.answers[q - 1][c - 1] = choice_line;
      counts_.Add(q, c, ChoiceLineValue(choice_line));
    }
    listener_.ChoiceSectionDone(q, counts_);
    return p;
  }

  // The text line is taken whatever it holds, and the next search starts on
  // it, so a header taken as text still opens the next section.
  std::size_t TextSection(int q, std::size_t p) {
    const std::string& text_line = lines_.Line(p);
    row_.answers[q - 1][0] = text_line;
    listener_.TextAnswerFound(q, text_line);
    return p;
  }

  const NumberedLines& lines_;
  RespondentRow& row_;
  ChoiceCounts& counts_;
  TallyListener& listener_;
};

}  // namespace

void TallyAnswerLines(const std::vector<std::string>& file_lines,
                      RespondentRow& row, ChoiceCounts& counts,
                      TallyListener& listener) {
  const NumberedLines lines(file_lines);
  // Line 1 is never examined for a header.
  std::optional<std::size_t> header = FindHeader(lines, 2);
  row.computer_name = lines.Line(1);
  row.respondent_name = lines.Line(2);
  // Sections are matched to questions by their order; those after the tenth
  // are not read.
  SectionTally sections(lines, row, counts, listener);
  for (int q = 1; q <= kQuestionCount && header; ++q) {
    header = FindHeader(lines, sections.Section(q, *header));
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
    // The whole file is read and closed before its lines are examined.
    const std::vector<std::string> lines = text::ReadTextLines(name);
    TallyAnswerLines(lines, table.emplace_back(), counts, listener);
  }
}

}  // namespace tabulon::survey
