#include "text/textfile.h"

#include <algorithm>

#include "platform/codepage.h"
#include "text/failure.h"

namespace tabulon::text {
namespace {

constexpr char kEndOfFile = 26;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

}  // namespace

TextEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return TextEncoding::kUtf8WithMark;
  if (bytes.starts_with(kUtf16LeMark)) return TextEncoding::kUtf16Le;
  if (bytes.starts_with(kUtf16BeMark)) return TextEncoding::kUtf16Be;
  // ASCII reads alike either way; real Shift-JIS text fails the check at
  // its first hiragana, katakana or punctuation, whose lead bytes
  // 0x81-0x9F can only continue a UTF-8 sequence, never begin one.
  const auto first = std::find_if_not(bytes.begin(), bytes.end(), IsAscii);
  if (first == bytes.end()) return TextEncoding::kCp932;
  const std::string_view rest = bytes.substr(first - bytes.begin());
  return platform::IsWellFormedUtf8(rest) ? TextEncoding::kUtf8
                                          : TextEncoding::kCp932;
}

TextEncoding ConvertToCp932(std::string& bytes, std::string& scratch) {
  const TextEncoding encoding = DetectEncoding(bytes);
  std::string_view text = bytes;
  platform::UnicodeForm form = platform::UnicodeForm::kUtf8;
  switch (encoding) {
    case TextEncoding::kCp932:
      return encoding;
    case TextEncoding::kUtf8:
      break;
    case TextEncoding::kUtf8WithMark:
      text.remove_prefix(kUtf8Mark.size());
      break;
    case TextEncoding::kUtf16Le:
      text.remove_prefix(kUtf16LeMark.size());
      form = platform::UnicodeForm::kUtf16Le;
      break;
    case TextEncoding::kUtf16Be:
      text.remove_prefix(kUtf16BeMark.size());
      form = platform::UnicodeForm::kUtf16Be;
      break;
  }
  scratch.clear();
  platform::UnicodeToCp932(text, form, scratch);
  bytes.swap(scratch);
  return encoding;
}

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
  if (bytes_ == nullptr) bytes_ = std::make_unique<std::string>();
  std::string& bytes = *bytes_;
  bytes.clear();
  platform::File file;
  ThrowIfFailed(platform::File::OpenForReading(name, file));
  ThrowIfFailed(file.ReadAll(bytes));
  ThrowIfFailed(file.Close());
  ConvertToCp932(bytes, converted_);
  SplitLinesInPlace(bytes, lines_);
  return lines_;
}

std::unique_ptr<const std::string> LineReader::TakeBytes() {
  return std::move(bytes_);
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
  const int code = file_.Write(buffer_);
  buffer_.clear();  // its memory serves the next lines
  ThrowIfFailed(code);
}

void TextOutputFile::WriteLarge(std::string_view text) {
  Flush();
  ThrowIfFailed(file_.Write(text));
}

}  // namespace tabulon::text
