// The respondent table: one row of raw texts per answer file of the last
// tally, in list order, kept for the results file. Every row's non-empty
// fields are packed one after the other into shared blocks of memory, with a
// few bytes of bookkeeping each, instead of 52 strings a row (which would
// take seven times the answer file's own bytes).
#ifndef TABULON_SURVEY_RESPONDENT_TABLE_H_
#define TABULON_SURVEY_RESPONDENT_TABLE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "survey/questionnaire.h"

namespace tabulon::survey {

// One answer file's raw texts, as plain strings.
struct RespondentRow {
  std::string computer_name;
  std::string respondent_name;
  // answer (q, c) at [q - 1][c - 1]; a text answer is answer (q, 1).
  std::array<std::array<std::string, kChoiceCount>, kQuestionCount> answers;

  const std::string& Answer(int q, int c) const {
    return answers.at(q - 1).at(c - 1);
  }
};

class RespondentTable {
 public:
  // A row's fields by number: the computer name, the respondent name, then
  // answer (q, c) at AnswerField(q, c).
  static constexpr int kComputerNameField = 0;
  static constexpr int kRespondentNameField = 1;
  static constexpr int kFieldCount = 2 + kQuestionCount * kChoiceCount;
  static constexpr int AnswerField(int q, int c) {
    return 2 + (q - 1) * kChoiceCount + (c - 1);
  }
  using Fields = std::array<std::string_view, kFieldCount>;

  RespondentTable() = default;
  RespondentTable(const RespondentTable&) = delete;
  RespondentTable& operator=(const RespondentTable&) = delete;
  // A moved store keeps its blocks, so views of its fields stay valid.
  RespondentTable(RespondentTable&&) = default;
  RespondentTable& operator=(RespondentTable&&) = default;

  // Drops every row and gives their memory back.
  void Clear();
  // Room for this many rows' bookkeeping, taken at once.
  void Reserve(std::size_t rows) { rows_.reserve(rows); }
  // The number of rows: one per answer file tallied.
  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }

  // Starts a new row, every field empty, after the last one. `field_bytes`,
  // when known, bounds the bytes of its fields (an answer file's size): a
  // large row then gets its room at once instead of moving as it grows.
  void AddRow(std::size_t field_bytes = 0);
  // Starts a new row whose fields are all views of `file` (an answer file's
  // bytes), which the table keeps: a large file's answers are not copied
  // again.
  void AddRowKeeping(std::unique_ptr<const std::string> file);
  // Sets a field of the last row. Fields are set in increasing order of
  // their numbers, each once; an empty text leaves the field empty.
  void SetField(int field, std::string_view bytes) {
    if (bytes.empty()) return;
    // Most fields are a digit: put at once after the last row's bytes.
    if (bytes.size() < 0x80 && !rows_.empty() && !blocks_.empty() &&
        rows_.back().kept == 0 && rows_.back().block == blocks_.size() - 1 &&
        blocks_.back().capacity - blocks_.back().used >= 2 + bytes.size()) {
      char* out = blocks_.back().bytes.get() + blocks_.back().used;
      out[0] = static_cast<char>(field);
      out[1] = static_cast<char>(bytes.size());
      std::memcpy(out + 2, bytes.data(), bytes.size());
      blocks_.back().used += 2 + bytes.size();
      rows_.back().size += static_cast<std::uint32_t>(2 + bytes.size());
      return;
    }
    SetFieldElsewhere(field, bytes);
  }

  // Row r (from 0): every field, the empty ones included. The views stay
  // valid until Clear.
  Fields FieldsOf(std::size_t r) const;
  std::string_view Field(std::size_t r, int field) const {
    return FieldsOf(r)[static_cast<std::size_t>(field)];
  }
  // Row r as plain strings.
  RespondentRow Row(std::size_t r) const;

 private:
  struct Block {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0;
    std::size_t used = 0;
  };
  // Where a row's packed fields lie: all in one block, or (kept > 0) in
  // kept_[kept - 1].
  struct Place {
    std::uint32_t block = 0;
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
    std::uint32_t kept = 0;
  };
  // A row over a file the table keeps.
  struct Kept {
    std::unique_ptr<const std::string> file;
    Fields fields{};
  };

  // SetField when the field needs a new block or a longer length.
  void SetFieldElsewhere(int field, std::string_view bytes);
  // Room for `more` bytes after the last row's, moving that row to a new
  // block when the current one is full.
  char* MakeRoom(std::size_t more);

  std::vector<Block> blocks_;
  std::vector<Kept> kept_;
  std::vector<Place> rows_;
};

}  // namespace tabulon::survey

#endif  // TABULON_SURVEY_RESPONDENT_TABLE_H_
