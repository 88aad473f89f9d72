#include "survey/questionnaire.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "text/fixed_texts.h"
#include "text/markers.h"
#include "text/numbered_lines.h"
#include "text/textfile.h"

namespace tabulon::survey {
namespace {

using text::NumberedLines;

constexpr std::string_view kQuestionMarkers[] = {"[R]", "[C]", "[T]"};

// The marker a question line begins with, or empty for any other line. The
// marker must stand at the very start, in single-byte upper case.
std::string_view QuestionMarker(std::string_view line) {
  for (std::string_view marker : kQuestionMarkers) {
    if (text::BeginsWithMarker(line, marker)) return marker;
  }
  return {};
}

bool IsQuestionLine(std::string_view line) {
  return !QuestionMarker(line).empty();
}

bool BeginsWithFullWidthMarker(std::string_view line) {
  using text::FixedText;
  for (FixedText marker :
       {FixedText::kFullWidthMarkerR, FixedText::kFullWidthMarkerC,
        FixedText::kFullWidthMarkerT}) {
    if (text::BeginsWithMarker(line, text::Text(marker))) return true;
  }
  return false;
}

// The first line from line p on that begins with a full-width marker; 0
// when there is none.
std::size_t FindFullWidthMarkerLine(const NumberedLines& lines, std::size_t p) {
  for (; p <= lines.Count(); ++p) {
    if (BeginsWithFullWidthMarker(lines.Line(p))) return p;
  }
  return 0;
}

// The first question line at or after line p; past the last line when there
// is none. Every other line is passed over.
std::size_t FindQuestionLine(const NumberedLines& lines, std::size_t p) {
  while (p <= lines.Count() && !IsQuestionLine(lines.Line(p))) ++p;
  return p;
}

// A choice run: the lines after a choice question's line up to an empty
// line, a question line or the file's end, five at most. A line of blanks
// is a choice. Returns the line after the run.
std::size_t ReadChoices(const NumberedLines& lines, std::size_t p,
                        Question& question) {
  for (std::string& choice : question.choices) {
    const std::string_view line = lines.Line(p);
    if (!lines.Has(p) || line.empty() || IsQuestionLine(line)) break;
    choice = line;
    ++p;
  }
  return p;
}

// The question whose line is line p: the marker gives its kind, the rest of
// the line its text, and a choice question takes its choice run. Returns the
// line after what it took; a free-text question takes no line after its own.
std::size_t ReadQuestion(const NumberedLines& lines, std::size_t p,
                         Question& question) {
  const std::string_view marker = QuestionMarker(lines.Line(p));
  question.kind = QuestionKind(marker.substr(1, 1));
  question.text = text::RemoveFirstMarker(lines.Line(p), marker);
  ++p;
  return question.IsChoice() ? ReadChoices(lines, p, question) : p;
}

// The questionnaire from the numbered lines of a definition file.
Questionnaire ParseLines(const NumberedLines& lines) {
  Questionnaire questionnaire;
  questionnaire.title = lines.Line(1);
  questionnaire.description = lines.Line(2);
  // Line 3 is never examined; questions after the tenth are ignored.
  constexpr std::size_t kFirstQuestionLine = 4;
  std::size_t p = kFirstQuestionLine;
  for (Question& question : questionnaire.questions) {
    p = FindQuestionLine(lines, p);
    if (p > lines.Count()) break;
    p = ReadQuestion(lines, p, question);
  }
  if (!questionnaire.At(1).InUse()) {
    questionnaire.full_width_marker_line =
        FindFullWidthMarkerLine(lines, kFirstQuestionLine);
  }
  return questionnaire;
}

}  // namespace

Questionnaire ParseQuestionnaire(const std::vector<std::string>& file_lines) {
  const std::vector<std::string_view> views = text::LineViews(file_lines);
  return ParseLines(NumberedLines(views));
}

Questionnaire LoadQuestionnaire() {
  // The whole file, however long, before anything is filled: a failure
  // leaves nothing behind.
  text::LineReader reader;
  return ParseLines(NumberedLines(
      reader.Read(text::Text(text::FixedText::kDefinitionFileName))));
}

std::string NoQuestionExplanation(const Questionnaire& questionnaire) {
  using text::FixedText;
  std::string message = text::Text(FixedText::kNoQuestionFound);
  if (questionnaire.full_width_marker_line != 0) {
    std::string line = text::Text(FixedText::kFullWidthMarkerLineFormat);
    line.replace(line.find("%d"), 2,
                 std::to_string(questionnaire.full_width_marker_line));
    message += line;
  }
  return message;
}

}  // namespace tabulon::survey
