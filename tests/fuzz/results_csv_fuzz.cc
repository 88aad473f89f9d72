// The results file written from a fuzzed questionnaire and table: every row
// ends in CR LF, there is one row per respondent plus two headings, and the
// rows have the same number of fields whenever no text holds a comma. Runs in
// a scratch folder of its own under the temporary folder.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "support/null_listener.h"
#include "survey/choice_value.h"
#include "survey/questionnaire.h"
#include "survey/respondent_table.h"
#include "survey/results_csv.h"
#include "survey/tally.h"
#include "text/fixed_texts.h"
#include "text/textfile.h"

namespace {

using tabulon::fuzz::Check;
using tabulon::survey::kChoiceCount;
using tabulon::survey::kQuestionCount;
using tabulon::survey::Questionnaire;
using tabulon::survey::RespondentRow;
using tabulon::survey::RespondentTable;

bool HasComma(std::string_view s) {
  return s.find(',') != std::string_view::npos;
}

// The columns the questionnaire gives every row, and whether any text that
// goes into the file holds a comma.
size_t ColumnCount(const Questionnaire& questionnaire,
                   const RespondentTable& table, bool& comma) {
  std::vector<RespondentRow> rows;
  for (size_t r = 0; r < table.size(); ++r) rows.push_back(table.Row(r));
  size_t columns = 2;
  for (int q = 1; q <= kQuestionCount; ++q) {
    const auto& question = questionnaire.At(q);
    if (question.text.empty()) continue;
    comma = comma || HasComma(question.text);
    for (int k = 1; k <= kChoiceCount; ++k) {
      if (k > 1 && question.Choice(k).empty()) continue;
      ++columns;
      comma = comma || HasComma(question.Choice(k));
      for (const auto& row : rows) comma = comma || HasComma(row.Answer(q, k));
    }
  }
  for (const auto& row : rows) {
    comma =
        comma || HasComma(row.computer_name) || HasComma(row.respondent_name);
  }
  return columns;
}

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string folder =
      (std::filesystem::temp_directory_path() / "tabulon-fuzz-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr || chdir(folder.c_str()) != 0) abort();
  return 0;
}

// The first file is the definition file, the others are answer files.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string_view> files =
      tabulon::fuzz::SplitFiles(tabulon::fuzz::AsBytes(data, size));
  const Questionnaire questionnaire =
      tabulon::survey::ParseQuestionnaire(tabulon::text::SplitLines(files[0]));
  RespondentTable table;
  tabulon::survey::ChoiceCounts counts;
  tabulon::test_support::NullListener listener;
  for (size_t f = 1; f < files.size(); ++f) {
    try {
      tabulon::survey::TallyAnswerLines(tabulon::text::SplitLines(files[f]),
                                        table, counts, listener);
    } catch (const tabulon::survey::NotAnIntegerFailure&) {
      // The row keeps what came before the bad line; writing it is still
      // a fair test of the writer.
    }
  }

  tabulon::survey::WriteTallyResults(questionnaire, table);
  const std::string csv =
      ReadAll(tabulon::text::Text(tabulon::text::FixedText::kResultsFileName));

  bool comma = false;
  const size_t columns = ColumnCount(questionnaire, table, comma);
  size_t rows = 0;
  size_t start = 0;
  while (start < csv.size()) {
    const size_t end = csv.find("\r\n", start);
    Check(end != std::string::npos, "a row without CR LF");
    const std::string_view row(csv.data() + start, end - start);
    Check(row.find('\n') == std::string_view::npos &&
              row.find('\r') == std::string_view::npos,
          "a line end inside a row");
    Check(!row.empty() && row.back() == ',', "a row does not end in a comma");
    if (!comma) {
      size_t fields = 0;
      for (char c : row) fields += c == ',';
      Check(fields == columns, "rows of different widths");
    }
    ++rows;
    start = end + 2;
  }
  Check(rows == table.size() + 2, "not one row per respondent plus two");
  return 0;
}
