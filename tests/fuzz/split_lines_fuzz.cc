// Bytes to lines: SplitLines against a second, plainer reading of the same
// rules, and a round trip through CR LF; and the encoding decision, which
// leaves every file it takes for code page 932 exactly as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "text/textfile.h"

namespace {

using tabulon::fuzz::Check;

// Cuts at every LF (a final LF makes no further line), stops at the first
// piece that starts with byte 26, and drops every CR of the pieces kept.
std::vector<std::string> OracleLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view piece = bytes.substr(start, end - start);
    if (!piece.empty() && piece.front() == '\x1A') break;
    std::string line;
    for (char c : piece) {
      if (c != '\r') line += c;
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = tabulon::fuzz::AsBytes(data, size);
  const std::vector<std::string> lines = tabulon::text::SplitLines(bytes);

  for (const std::string& line : lines) {
    Check(line.find('\n') == std::string::npos, "a line holds an LF");
    Check(line.find('\r') == std::string::npos, "a line holds a CR");
  }
  Check(lines == OracleLines(bytes), "lines differ from the plain reading");

  // Written back with CR LF (as the results file is), the lines read the
  // same, up to a line that begins with byte 26: it can come from a piece
  // that began with a dropped lone CR ("\r\x1A..."), and written back it
  // would end the file.
  std::vector<std::string> kept;
  std::string written;
  for (const std::string& line : lines) {
    if (!line.empty() && line.front() == '\x1A') break;
    kept.push_back(line);
    written += line + "\r\n";
  }
  Check(tabulon::text::SplitLines(written) == kept, "CR LF round trip");

  // No line can be longer than the input, and there are at most as many
  // lines as line ends plus one.
  size_t line_ends = 0;
  for (char c : bytes) line_ends += c == '\n';
  Check(lines.size() <= line_ends + 1, "more lines than line ends");

  std::string converted(bytes);
  std::string scratch;
  const auto encoding = tabulon::text::ConvertToCp932(converted, scratch);
  Check(encoding != tabulon::text::TextEncoding::kCp932 || converted == bytes,
        "a code page 932 file was changed");
  return 0;
}
