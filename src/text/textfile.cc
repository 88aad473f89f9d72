#include "text/textfile.h"

#include "text/failure.h"

namespace tabulon::text {
namespace {

constexpr char kEndOfFile = 26;
// Output is collected up to this size before it goes to the file.
constexpr size_t kOutputBufferSize = 1 << 16;

}  // namespace

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < bytes.size() && bytes[i] != kEndOfFile) {
    std::string line;
    size_t end = bytes.find('\n', i);
    size_t stop = end == std::string_view::npos ? bytes.size() : end;
    line.reserve(stop - i);
    for (; i < stop; ++i) {
      if (bytes[i] != '\r') line += bytes[i];  // CR before LF, or a lone CR
    }
    lines.push_back(std::move(line));
    i = stop + 1;
  }
  return lines;
}

std::vector<std::string> ReadTextLines(const std::string& name) {
  platform::File file;
  ThrowIfFailed(platform::File::OpenForReading(name, file));
  std::string bytes;
  ThrowIfFailed(file.ReadAll(bytes));
  ThrowIfFailed(file.Close());
  return SplitLines(bytes);
}

void TextOutputFile::Create(const std::string& name) {
  buffer_.clear();
  ThrowIfFailed(file_.Begin(name));
}

void TextOutputFile::Write(std::string_view text) {
  buffer_ += text;
  if (buffer_.size() >= kOutputBufferSize) Flush();
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
