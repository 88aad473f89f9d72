#include "survey/respondent_table.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace tabulon::survey {
namespace {

// Most rows of a tally share a block of this size; a row larger than that
// gets a block of its own.
constexpr std::size_t kBlockSize = 64 * 1024;

// A packed field: its number (one byte), its length (seven bits a byte, the
// high bit set on all bytes but the last), its bytes.
constexpr std::size_t kMostHeaderBytes = 1 + 10;

std::size_t PutLength(char* out, std::size_t length) {
  std::size_t n = 0;
  while (length >= 0x80) {
    out[n++] = static_cast<char>((length & 0x7F) | 0x80);
    length >>= 7;
  }
  out[n++] = static_cast<char>(length);
  return n;
}

}  // namespace

void RespondentTable::Clear() {
  rows_.clear();
  rows_.shrink_to_fit();
  blocks_.clear();
  kept_.clear();
}

void RespondentTable::AddRow(std::size_t field_bytes) {
  const std::size_t room =
      field_bytes + static_cast<std::size_t>(kFieldCount) * kMostHeaderBytes;
  if (field_bytes > 0 &&
      (blocks_.empty() ||
       blocks_.back().capacity - blocks_.back().used < room)) {
    Block block;
    block.capacity = std::max(kBlockSize, room);
    block.bytes = std::make_unique_for_overwrite<char[]>(block.capacity);
    blocks_.push_back(std::move(block));
  }
  Place place;
  if (!blocks_.empty()) {
    place.block = static_cast<std::uint32_t>(blocks_.size() - 1);
    place.offset = static_cast<std::uint32_t>(blocks_.back().used);
  }
  rows_.push_back(place);
}

void RespondentTable::AddRowKeeping(std::unique_ptr<const std::string> file) {
  kept_.push_back({std::move(file), {}});
  Place place;
  place.kept = static_cast<std::uint32_t>(kept_.size());
  rows_.push_back(place);
}

char* RespondentTable::MakeRoom(std::size_t more) {
  Place& row = rows_.back();
  if (!blocks_.empty() && row.block == blocks_.size() - 1 &&
      blocks_.back().capacity - blocks_.back().used >= more) {
    return blocks_.back().bytes.get() + blocks_.back().used;
  }
  // The row so far moves with its new field, so that a row stays in one
  // block.
  const std::size_t needed = row.size + more;
  Block block;
  block.capacity = std::max(kBlockSize, needed);
  block.bytes = std::make_unique_for_overwrite<char[]>(block.capacity);
  if (row.size > 0) {
    const Block& old = blocks_[row.block];
    std::memcpy(block.bytes.get(), old.bytes.get() + row.offset, row.size);
    // The row was the last thing in its block.
    blocks_[row.block].used = row.offset;
  }
  block.used = row.size;
  blocks_.push_back(std::move(block));
  row.block = static_cast<std::uint32_t>(blocks_.size() - 1);
  row.offset = 0;
  return blocks_.back().bytes.get() + blocks_.back().used;
}

void RespondentTable::SetFieldElsewhere(int field, std::string_view bytes) {
  if (rows_.empty()) throw std::logic_error("SetField before AddRow");
  if (const std::uint32_t kept = rows_.back().kept) {
    Kept& row = kept_[kept - 1];
    const std::string& file = *row.file;
    if (bytes.data() < file.data() ||
        bytes.data() + bytes.size() > file.data() + file.size()) {
      throw std::logic_error("a kept row's field lies outside its file");
    }
    row.fields[static_cast<std::size_t>(field)] = bytes;
    return;
  }
  char* out = MakeRoom(kMostHeaderBytes + bytes.size());
  std::size_t n = 0;
  out[n++] = static_cast<char>(field);
  n += PutLength(out + n, bytes.size());
  std::memcpy(out + n, bytes.data(), bytes.size());
  n += bytes.size();
  blocks_.back().used += n;
  rows_.back().size += static_cast<std::uint32_t>(n);
}

RespondentTable::Fields RespondentTable::FieldsOf(std::size_t r) const {
  Fields fields{};
  const Place& row = rows_.at(r);
  if (row.kept > 0) return kept_[row.kept - 1].fields;
  if (row.size == 0) return fields;
  const char* p = blocks_[row.block].bytes.get() + row.offset;
  const char* const end = p + row.size;
  while (p < end) {
    const auto field = static_cast<unsigned char>(*p++);
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
      const auto byte = static_cast<unsigned char>(*p++);
      length |= static_cast<std::size_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) break;
    }
    fields[field] = std::string_view(p, length);
    p += length;
  }
  return fields;
}

RespondentRow RespondentTable::Row(std::size_t r) const {
  const Fields fields = FieldsOf(r);
  RespondentRow row;
  row.computer_name = fields[kComputerNameField];
  row.respondent_name = fields[kRespondentNameField];
  for (int q = 1; q <= kQuestionCount; ++q) {
    for (int c = 1; c <= kChoiceCount; ++c) {
      row.answers[q - 1][c - 1] = fields[AnswerField(q, c)];
    }
  }
  return row;
}

}  // namespace tabulon::survey
