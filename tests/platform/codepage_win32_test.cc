// Code page 932 on Windows: the lead-byte rule against the system's own
// test, and where the system's conversion and name order differ from the
// POSIX emulation.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/codepage.h"

namespace tabulon::platform {
namespace {

TEST(IsLeadByte, AgreesWithTheSystemOnAllBytes) {
  ASSERT_EQ(GetACP(), 932u) << "the tests need a Japanese desktop";
  for (int byte = 0; byte < 256; ++byte) {
    const bool lead = IsDBCSLeadByteEx(932, static_cast<BYTE>(byte)) != FALSE;
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(byte)), lead)
        << "byte " << byte;
    const std::string pair = {static_cast<char>(byte), 'A'};
    EXPECT_EQ(CharacterLength(pair, 0), lead ? 2u : 1u) << "byte " << byte;
    EXPECT_EQ(CharacterLength(pair.substr(0, 1), 0), 1u) << "byte " << byte;
  }
}

TEST(CompareNames, FollowsTheSystemsOwnComparison) {
  // Where the system decides otherwise than the POSIX emulation: the
  // ideographic space sorts before every visible character, and a control
  // character counts for nothing (so "\x01.ans" sorts as ".ans" would).
  EXPECT_LT(CompareNames("\x81\x40.ans", " x.ans"), 0);
  EXPECT_LT(CompareNames("\x81\x40.ans", "0.ans"), 0);
  EXPECT_GT(CompareNames("\x01.ans", "#.ans"), 0);
  // Names the system calls equal still have one order.
  EXPECT_LT(CompareNames("A.ANS", "a.ans"), 0);
  EXPECT_GT(CompareNames("a.ans", "A.ANS"), 0);
}

TEST(Cp932ToUtf8, ByteEightyIsTheSystemsOwnCharacter) {
  EXPECT_EQ(Cp932ToUtf8("a\x80"
                        "b"),
            "a\u0080b");
}

// The wave dash as a Mac writes it (U+301C) has no exact form in the
// system's code page 932, which keeps 0x81 0x60 for U+FF5E.
TEST(UnicodeToCp932, TheMacWaveDashHasNoExactForm) {
  std::string out;
  UnicodeToCp932("\xE3\x80\x9C", UnicodeForm::kUtf8, out);
  EXPECT_EQ(out, kGetaMark);
}

}  // namespace
}  // namespace tabulon::platform
