// CP932 bytes as UTF-8 for comparing with readable expectations. Header
// only, so that fuzzers, which link no GoogleTest, can use it too.
#ifndef TABULON_TESTS_SUPPORT_READABLE_H_
#define TABULON_TESTS_SUPPORT_READABLE_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace tabulon::test_support {

// Printable ASCII stays, a valid double-byte character becomes its Unicode
// character, every other byte (and the backslash) is written \xNN.
inline std::string Readable(std::string_view cp932) {
  std::string out;
  for (std::size_t i = 0; i < cp932.size(); ++i) {
    const auto byte = static_cast<unsigned char>(cp932[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      out += static_cast<char>(byte);
      continue;
    }
    if (platform::IsLeadByte(byte) && i + 1 < cp932.size()) {
      // A pair code page 932 has no character for converts to U+FFFD.
      const std::string pair = platform::Cp932ToUtf8(cp932.substr(i, 2));
      if (!pair.empty() && pair.find("\xEF\xBF\xBD") == std::string::npos) {
        out += pair;
        ++i;
        continue;
      }
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    out += escaped;
  }
  return out;
}

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_SUPPORT_READABLE_H_
