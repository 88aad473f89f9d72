// Fixtures saved as today's editors save them: UTF-16 from a readable UTF-8
// literal, worked out here by hand so that it does not lean on the converter
// under test.
#ifndef TABULON_TESTS_SUPPORT_UNICODE_FORMS_H_
#define TABULON_TESTS_SUPPORT_UNICODE_FORMS_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon::test_support {

inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// The UTF-16 bytes (no mark) of well-formed UTF-8, little- or big-endian.
inline std::string Utf16(std::string_view utf8, bool big_endian) {
  std::string out;
  auto unit = [&](char32_t u) {
    const char low = static_cast<char>(u & 0xFF);
    const char high = static_cast<char>(u >> 8);
    out += big_endian ? high : low;
    out += big_endian ? low : high;
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                                             : 4;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length; ++k)
      c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += length;
    if (c < 0x10000) {
      unit(c);
    } else {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_SUPPORT_UNICODE_FORMS_H_
