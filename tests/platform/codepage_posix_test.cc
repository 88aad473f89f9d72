// Code page 932 on POSIX: the lead-byte rule against glibc's own decoder,
// and the emulated desktop name order in full.
#include <errno.h>
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "platform/codepage.h"

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

TEST(CompareNames, OrdersNamesByTheEmulatedDesktopRule) {
  // Control characters < punctuation < digits < letters < non-ASCII bytes.
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

TEST(Cp932ToUtf8, ByteEightyIsNoCharacterForGlibc) {
  EXPECT_EQ(Cp932ToUtf8("a\x80"
                        "b"),
            "a\uFFFDb");
}

// The wave dash as a Mac writes it (U+301C): glibc gives it the code page's
// wave dash, which Windows keeps for U+FF5E alone.
TEST(UnicodeToCp932, TheMacWaveDashBecomesTheCodePagesWaveDash) {
  std::string out;
  UnicodeToCp932("\xE3\x80\x9C", UnicodeForm::kUtf8, out);
  EXPECT_EQ(out, "\x81\x60");
}

}  // namespace
}  // namespace tabulon::platform
