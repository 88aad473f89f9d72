// Code page 932 (Shift-JIS) services. Text stays CP932 bytes everywhere;
// conversion to UTF-8 is for display only, and from UTF-8 or UTF-16 only for
// spelling the program's fixed texts readably in the source and for reading
// a text file that today's editors saved in Unicode.
#ifndef TABULON_PLATFORM_CODEPAGE_H_
#define TABULON_PLATFORM_CODEPAGE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulon::platform {

// True for 0x81-0x9F and 0xE0-0xFC, the first bytes of double-byte characters.
constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The length in bytes, 1 or 2, of the character that begins at byte `i` of
// `s` (i < s.size()): a lead byte with a byte after it begins a double-byte
// character; a lead byte at the very end is a character of its own.
constexpr std::size_t CharacterLength(std::string_view s, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2
                                                                          : 1;
}

// 'a'-'z' become 'A'-'Z'; every other byte is returned unchanged.
constexpr char UpperCaseLetter(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The desktop's case-insensitive name order: ASCII letters fold case;
// control characters < punctuation and symbols < digits < letters < every
// non-ASCII byte (by value). Names equal under that order fall back to their
// raw bytes, so the order is total. Negative, zero or positive like strcmp.
int CompareNames(std::string_view a, std::string_view b);

// CP932 bytes to UTF-8. Never fails: an invalid byte becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932 bytes. Only for texts known to be representable; a character
// CP932 lacks throws std::invalid_argument (a programming error).
std::string Utf8ToCp932(std::string_view utf8);

// The stand-in for a character that code page 932 has no form for: 〓.
inline constexpr std::string_view kGetaMark = "\x81\xAC";

// The Unicode encodings a text file may be saved in, without their mark.
enum class UnicodeForm { kUtf8, kUtf16Le, kUtf16Be };

// True when all of `bytes` is well-formed UTF-8, as the platform's own
// converter judges it (a sequence cut off at the end is not).
bool IsWellFormedUtf8(std::string_view bytes);

// Unicode text to CP932, appended to `out`, by the platform's own converter.
// Never fails: a character CP932 lacks, a malformed sequence and a cut-off
// last character each become kGetaMark, and the rest converts on.
void UnicodeToCp932(std::string_view bytes, UnicodeForm form, std::string& out);

}  // namespace tabulon::platform

#endif  // TABULON_PLATFORM_CODEPAGE_H_
