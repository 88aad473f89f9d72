#include "survey/tally.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "survey/choice_value.h"
#include "text/markers.h"
#include "text/numbered_lines.h"
#include "text/textfile.h"

namespace tabulon::survey {
namespace {

constexpr std::string_view kHeaderMarker = "[Q";
constexpr std::string_view kEndMarker = "[END]";

using text::NumberedLines;

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

// The sections of one answer file, each recorded in the table's last row
// and added to the counts, with the listener told after each. Fields reach
// the row in the order of their numbers, as the store requires.
class SectionTally {
 public:
  SectionTally(const NumberedLines& lines, RespondentTable& table,
               ChoiceCounts& counts, TallyListener& listener)
      : lines_(lines), table_(table), counts_(counts), listener_(listener) {}

  // The section of question q whose header is line `header`. Returns the
  // line from which the next header is searched.
  std::size_t Section(int q, std::size_t header) {
    const std::string_view header_line = lines_.Line(header);
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
      const std::string_view choice_line = lines_.Line(p);
      table_.SetField(RespondentTable::AnswerField(q, c), choice_line);
      counts_.Add(q, c, ChoiceLineValue(choice_line));
    }
    listener_.ChoiceSectionDone(q, counts_);
    return p;
  }

  // The text line is taken whatever it holds, and the next search starts on
  // it, so a header taken as text still opens the next section.
  std::size_t TextSection(int q, std::size_t p) {
    const std::string_view text_line = lines_.Line(p);
    table_.SetField(RespondentTable::AnswerField(q, 1), text_line);
    listener_.TextAnswerFound(q, text_line);
    return p;
  }

  const NumberedLines& lines_;
  RespondentTable& table_;
  ChoiceCounts& counts_;
  TallyListener& listener_;
};

std::size_t BytesOf(std::span<const std::string_view> lines) {
  std::size_t bytes = 0;
  for (std::string_view line : lines) bytes += line.size();
  return bytes;
}

// A file larger than this is kept whole by the table, its fields views of
// it, rather than copied again field by field.
constexpr std::size_t kKeptFileBytes = 64 * 1024;

// One file's lines into the new last row of `table`.
void TallyLines(std::span<const std::string_view> file_lines,
                RespondentTable& table, ChoiceCounts& counts,
                TallyListener& listener) {
  const NumberedLines lines(file_lines);
  table.SetField(RespondentTable::kComputerNameField, lines.Line(1));
  table.SetField(RespondentTable::kRespondentNameField, lines.Line(2));
  // Sections are matched to questions by their order; those after the tenth
  // are not read. Line 1 is never examined for a header.
  SectionTally sections(lines, table, counts, listener);
  std::optional<std::size_t> header = FindHeader(lines, 2);
  for (int q = 1; q <= kQuestionCount && header; ++q) {
    header = FindHeader(lines, sections.Section(q, *header));
  }
}

}  // namespace

void TallyAnswerLines(const std::vector<std::string>& file_lines,
                      RespondentTable& table, ChoiceCounts& counts,
                      TallyListener& listener) {
  const std::vector<std::string_view> lines = text::LineViews(file_lines);
  table.AddRow(BytesOf(lines));
  TallyLines(lines, table, counts, listener);
}

void TallyAnswerFiles(const std::vector<std::string>& names,
                      ChoiceCounts& counts, RespondentTable& table,
                      TallyListener& listener) {
  // Nothing of an earlier tally may reach this one's counts or results file.
  counts.Clear();
  table.Clear();
  table.Reserve(names.size());
  // Every file in order, each read whole and closed before its lines are
  // examined.
  text::LineReader reader;
  for (const std::string& name : names) {
    const std::vector<std::string_view>& lines = reader.Read(name);
    const std::size_t bytes = BytesOf(lines);
    if (bytes > kKeptFileBytes) {
      table.AddRowKeeping(reader.TakeBytes());
    } else {
      table.AddRow(bytes);
    }
    TallyLines(lines, table, counts, listener);
  }
}

}  // namespace tabulon::survey
