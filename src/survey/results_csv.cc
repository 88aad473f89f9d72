#include "survey/results_csv.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text/fixed_texts.h"
#include "text/textfile.h"

namespace tabulon::survey {
namespace {

// Every field, the last of a row included, is followed by a comma; nothing
// is quoted, so a comma inside a field splits it.
void WriteField(text::TextOutputFile& out, std::string_view field) {
  out.Write(field);
  out.Write(",");
}

// One column of the question blocks: question q, choice k.
struct Column {
  int q;
  int k;
};

// The question blocks' columns: for every question with a text, the column
// of choice 1 always and those of choices 2 to 5 where the choice has a
// text. Decided once, so every row has the same columns and they line up.
std::vector<Column> QuestionColumns(const Questionnaire& questionnaire) {
  std::vector<Column> columns;
  for (int q = 1; q <= kQuestionCount; ++q) {
    const Question& question = questionnaire.At(q);
    if (question.text.empty()) continue;
    columns.push_back({q, 1});
    for (int k = 2; k <= kChoiceCount; ++k) {
      if (!question.Choice(k).empty()) columns.push_back({q, k});
    }
  }
  return columns;
}

// Writes one row's question blocks; `field(q, k)` gives the field of
// question q, column k.
template <typename FieldOf>
void WriteQuestionBlocks(text::TextOutputFile& out,
                         const std::vector<Column>& columns, FieldOf field) {
  for (const Column& column : columns)
    WriteField(out, field(column.q, column.k));
}

// The first heading row: each question's text over its block.
void WriteQuestionRow(text::TextOutputFile& out,
                      const Questionnaire& questionnaire,
                      const std::vector<Column>& columns) {
  out.Write(text::Text(text::FixedText::kCsvQuestionHeading));
  WriteQuestionBlocks(out, columns, [&](int q, int k) {
    return k == 1 ? std::string_view(questionnaire.At(q).text)
                  : std::string_view();
  });
  out.EndLine();
}

// The second heading row: the choice texts over their columns.
void WriteChoiceRow(text::TextOutputFile& out,
                    const Questionnaire& questionnaire,
                    const std::vector<Column>& columns) {
  out.Write(text::Text(text::FixedText::kCsvIdentityHeading));
  WriteQuestionBlocks(out, columns, [&](int q, int k) {
    return std::string_view(questionnaire.At(q).Choice(k));
  });
  out.EndLine();
}

// One answer file's row: who answered, then the raw answers by position.
void WriteRespondentRow(text::TextOutputFile& out,
                        const std::vector<Column>& columns,
                        const RespondentTable::Fields& row) {
  WriteField(out, row[RespondentTable::kComputerNameField]);
  WriteField(out, row[RespondentTable::kRespondentNameField]);
  WriteQuestionBlocks(out, columns, [&](int q, int k) {
    return row[RespondentTable::AnswerField(q, k)];
  });
  out.EndLine();
}

}  // namespace

void WriteTallyResults(const Questionnaire& questionnaire,
                       const RespondentTable& table) {
  const std::vector<Column> columns = QuestionColumns(questionnaire);
  // The new content replaces the earlier file only at Close.
  text::TextOutputFile out;
  out.Create(text::Text(text::FixedText::kResultsFileName));
  WriteQuestionRow(out, questionnaire, columns);
  WriteChoiceRow(out, questionnaire, columns);
  for (std::size_t r = 0; r < table.size(); ++r) {
    WriteRespondentRow(out, columns, table.FieldsOf(r));
  }
  out.Close();
}

}  // namespace tabulon::survey
