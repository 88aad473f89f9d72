#include "text/textfile.h"

#include "text/failure.h"

namespace tabulon::text {
namespace {

constexpr char kEndOfFile = 26;

}  // namespace

void SplitLinesInPlace(std::string& bytes,
                       std::vector<std::string_view>& lines) {
  lines.clear();
  char* const data = bytes.data();
  const size_t size = bytes.size();
  size_t i = 0;
  while (i < size && data[i] != kEndOfFile) {
    // Lines are short: one pass for both line-end bytes beats two searches.
    size_t end = i;
    while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
    size_t stop = end;
    if (end < size && data[end] == '\r') {
      // A CR before the LF, or a lone CR: dropped, the rest of the line
      // moved up over it. Only this line's own bytes move.
      while (stop < size && data[stop] != '\n') ++stop;
      for (size_t from = end + 1; from < stop; ++from) {
        if (data[from] != '\r') data[end++] = data[from];
      }
    }
    lines.emplace_back(data + i, end - i);
    i = stop + 1;
  }
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::string copy(bytes);
  std::vector<std::string_view> views;
  SplitLinesInPlace(copy, views);
  return std::vector<std::string>(views.begin(), views.end());
}

std::vector<std::string> ReadTextLines(const std::string& name) {
  LineReader reader;
  const std::vector<std::string_view>& lines = reader.Read(name);
  return std::vector<std::string>(lines.begin(), lines.end());
}

const std::vector<std::string_view>& LineReader::Read(const std::string& name) {
  lines_.clear();
  bytes_.clear();
  platform::File file;
  ThrowIfFailed(platform::File::OpenForReading(name, file));
  ThrowIfFailed(file.ReadAll(bytes_));
  ThrowIfFailed(file.Close());
  SplitLinesInPlace(bytes_, lines_);
  return lines_;
}

void TextOutputFile::Create(const std::string& name) {
  buffer_.clear();
  ThrowIfFailed(file_.Begin(name));
}

void TextOutputFile::EndLine() { Write("\r\n"); }

void TextOutputFile::Close() {
  Flush();
  ThrowIfFailed(file_.Commit());
}

void TextOutputFile::Flush() {
  if (buffer_.empty()) return;
  std::string pending;
  pending.swap(buffer_);
  ThrowIfFailed(file_.Write(pending));
}

}  // namespace tabulon::text
