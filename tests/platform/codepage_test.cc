#include "platform/codepage.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace tabulon::platform {
namespace {

// glibc's own CP932 decoder as the oracle: a lead byte alone is an
// incomplete character, every other byte is complete or invalid.
bool IconvSaysIncomplete(unsigned char byte) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  char in[1] = {static_cast<char>(byte)};
  char out[8];
  char* in_pointer = in;
  char* out_pointer = out;
  size_t in_left = 1;
  size_t out_left = sizeof out;
  size_t result = iconv(cd, &in_pointer, &in_left, &out_pointer, &out_left);
  bool incomplete = result == static_cast<size_t>(-1) && errno == EINVAL;
  iconv_close(cd);
  return incomplete;
}

TEST(IsLeadByte, AgreesWithTheSystemDecoderOnAllBytes) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool lead = IconvSaysIncomplete(static_cast<unsigned char>(byte));
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(byte)), lead)
        << "byte " << byte;
    // A lead byte takes the next byte with it, but not past the end.
    const std::string pair = {static_cast<char>(byte), 'A'};
    EXPECT_EQ(CharacterLength(pair, 0), lead ? 2u : 1u) << "byte " << byte;
    EXPECT_EQ(CharacterLength(pair, 1), 1u);
    EXPECT_EQ(CharacterLength(pair.substr(0, 1), 0), 1u) << "byte " << byte;
  }
}

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

TEST(CompareNames, OrdersNamesAsTheDesktopLists) {
  // Each name sorts strictly before the next.
  const std::vector<std::string> ordered = {
      "",       "\x01.ans", " x.ans",       "#.ans",        "_.ans",
      "~.ans",  "0.ans",    "1.ans",        "10.ans",       "2.ans",
      "9z.ans", "A.ANS",    "a.ans",        "ab.ans",       "b.ans",
      "B1.ans", "Zeta.ans", "\x81\x40.ans", "\x82\xA0.ans", "\xE0\x40.ans"};
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
  EXPECT_EQ(Cp932ToUtf8("a\x80"
                        "b"),
            "a\uFFFDb");
  EXPECT_EQ(Cp932ToUtf8("\xFD\xFE\xFF"), "\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Cp932ToUtf8("x\x81"), "x\uFFFD");  // cut off after a lead byte
}

TEST(Utf8ToCp932, SpellsFixedTextsAndRefusesWhatCp932Lacks) {
  EXPECT_EQ(Utf8ToCp932("人"), "\x90\x6C");
  EXPECT_EQ(Utf8ToCp932("\u3000"), "\x81\x40");
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932("校内アンケート")), "校内アンケート");
  EXPECT_THROW(Utf8ToCp932("\U0001F600"), std::invalid_argument);
}

}  // namespace
}  // namespace tabulon::platform
