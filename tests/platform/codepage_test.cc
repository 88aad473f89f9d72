// What code page 932 does alike on every platform: letters, the properties
// of the name order, and conversion of valid text.
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace tabulon::platform {
namespace {

TEST(UpperCaseLetter, ChangesOnlyAsciiLowerCaseLetters) {
  for (int byte = 0; byte < 256; ++byte) {
    char c = static_cast<char>(byte);
    char expected = (byte < 128 && std::islower(byte))
                        ? static_cast<char>(std::toupper(byte))
                        : c;
    EXPECT_EQ(UpperCaseLetter(c), expected) << "byte " << byte;
  }
}

// ----- Name order -----

TEST(CompareNames, SortsNamesAsTextWithDigitsBeforeLettersAndCaseFolded) {
  // Each name sorts strictly before the next, on every platform.
  const std::vector<std::string> ordered = {
      "0.ans",  "1.ans", "10.ans", "2.ans",    "9z.ans",      "a.ans",
      "ab.ans", "B.ANS", "b1.ans", "Zeta.ans", "\x90\x6C.ans"};
  for (size_t i = 0; i + 1 < ordered.size(); ++i) {
    EXPECT_LT(CompareNames(ordered[i], ordered[i + 1]), 0)
        << '"' << ordered[i] << "\" before \"" << ordered[i + 1] << '"';
    EXPECT_GT(CompareNames(ordered[i + 1], ordered[i]), 0);
  }
}

TEST(CompareNames, IsATotalOrderOverAllBytePairs) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      std::string x(1, static_cast<char>(a));
      std::string y(1, static_cast<char>(b));
      int forward = CompareNames(x, y);
      EXPECT_EQ(forward == 0, a == b) << a << " vs " << b;
      EXPECT_EQ(forward, -CompareNames(y, x)) << a << " vs " << b;
    }
  }
}

TEST(CompareNames, FoldsCaseBeforeLookingAtRawBytes) {
  // "b" folds after "A" although its raw byte is larger than "Z"'s.
  EXPECT_LT(CompareNames("A.ANS", "b.ans"), 0);
  EXPECT_LT(CompareNames("a.ans", "B.ANS"), 0);
  // Equal after folding: the raw bytes decide, so the order stays total.
  EXPECT_LT(CompareNames("ABC", "abc"), 0);
  EXPECT_EQ(CompareNames("abc", "abc"), 0);
}

// ----- Conversion -----

TEST(Cp932ToUtf8, ConvertsDoubleByteCharacters) {
  EXPECT_EQ(Cp932ToUtf8("\x90\x6C"), "人");
  EXPECT_EQ(Cp932ToUtf8("\x81\x5B"
                        "Q"),
            "ーQ");
  EXPECT_EQ(Cp932ToUtf8("\x83\x52]"), "コ]");
  EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp932ToUtf8, ShowsEachInvalidByteAsAReplacementCharacter) {
  EXPECT_EQ(Cp932ToUtf8("\xFD\xFE\xFF"), "\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Cp932ToUtf8("x\x81"), "x\uFFFD");  // cut off after a lead byte
  // A lead byte whose trail is no trail byte: the next byte is its own.
  EXPECT_EQ(Cp932ToUtf8("\x81\x20z"), "\uFFFD z");
}

TEST(Utf8ToCp932, SpellsFixedTextsAndRefusesWhatCp932Lacks) {
  EXPECT_EQ(Utf8ToCp932("人"), "\x90\x6C");
  EXPECT_EQ(Utf8ToCp932("\u3000"), "\x81\x40");
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932("校内アンケート")), "校内アンケート");
  EXPECT_THROW(Utf8ToCp932("\U0001F600"), std::invalid_argument);
}

TEST(IsWellFormedUtf8, AcceptsOnlyWhatUnicodeCallsWellFormed) {
  const struct {
    std::string bytes;
    bool well_formed;
  } kCases[] = {
      {"", true},
      {"a\x7F", true},
      {"\xC3\xA9\xE4\xBA\xBA\xF0\x9F\x98\x80", true},
      {"\xF4\x8F\xBF\xBF", true},   // the last code point
      {"\xF4\x90\x80\x80", false},  // beyond it
      {"\xC0\x80", false},          // an overlong form
      {"\xED\xA0\x80", false},      // a surrogate
      {"\x80", false},              // a continuation alone
      {"\xE4\xBA", false},          // cut off at the end
      {"\x90\x6C", false},          // 人 in code page 932
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(IsWellFormedUtf8(c.bytes), c.well_formed) << c.bytes;
  }
}

TEST(UnicodeToCp932, PutsTheGetaMarkForWhatCp932Lacks) {
  auto convert = [](std::string_view bytes, UnicodeForm form) {
    std::string out = "x";  // appended to
    UnicodeToCp932(bytes, form, out);
    return out;
  };
  EXPECT_EQ(convert("\xE4\xBA\xBA\xF0\x9F\x98\x80!", UnicodeForm::kUtf8),
            "x\x90\x6C\x81\xAC!");
  EXPECT_EQ(convert(std::string("\xBA\x4E\x3D\xD8\x00\xDE", 6),
                    UnicodeForm::kUtf16Le),
            "x\x90\x6C\x81\xAC");
  EXPECT_EQ(convert(std::string("\xD8\x3D\x00!", 4), UnicodeForm::kUtf16Be),
            "x\x81\xAC!");  // a lone surrogate
  EXPECT_EQ(convert("\xEF\xBD\x9E", UnicodeForm::kUtf8), "x\x81\x60");
}

}  // namespace
}  // namespace tabulon::platform
