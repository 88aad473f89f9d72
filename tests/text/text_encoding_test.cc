// Which encoding a text file is taken to be in, and the CP932 lines it reads
// as: one table of the files today's editors save and of the code page 932
// files that come closest to looking like UTF-8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codepage.h"
#include "support/scratch_folder.h"
#include "support/unicode_forms.h"
#include "text/textfile.h"

namespace tabulon::text {
namespace {

using test_support::Cp932;
using test_support::kUtf16BeMark;
using test_support::kUtf16LeMark;
using test_support::kUtf8Mark;
using test_support::Utf16;
using Lines = std::vector<std::string>;

std::string Le(std::string_view utf8) { return Utf16(utf8, false); }
std::string Be(std::string_view utf8) { return Utf16(utf8, true); }
std::string Cat(std::string_view a, std::string_view b) {
  return std::string(a) + std::string(b);
}

const std::string kGeta(platform::kGetaMark);

std::string Repeat(std::string_view s, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += s;
  return out;
}

struct Case {
  const char* what;
  std::string bytes;
  TextEncoding encoding;
  Lines lines;
};

std::vector<Case> Cases() {
  const Lines survey = {Cp932("校内アンケート"), Cp932("[R]好きな教科は？")};
  const std::string crlf = "校内アンケート\r\n[R]好きな教科は？\r\n";
  const std::string lf = "校内アンケート\n[R]好きな教科は？";
  return {
      // ---- Saved by today's editors ----
      {"UTF-8, CR LF", crlf, TextEncoding::kUtf8, survey},
      {"UTF-8, LF", lf, TextEncoding::kUtf8, survey},
      {"UTF-8 with mark, CR LF", Cat(kUtf8Mark, crlf),
       TextEncoding::kUtf8WithMark, survey},
      {"UTF-8 with mark, LF", Cat(kUtf8Mark, lf), TextEncoding::kUtf8WithMark,
       survey},
      {"UTF-16 LE, CR LF", Cat(kUtf16LeMark, Le(crlf)), TextEncoding::kUtf16Le,
       survey},
      {"UTF-16 LE, LF", Cat(kUtf16LeMark, Le(lf)), TextEncoding::kUtf16Le,
       survey},
      {"UTF-16 BE, CR LF", Cat(kUtf16BeMark, Be(crlf)), TextEncoding::kUtf16Be,
       survey},
      {"UTF-16 BE, LF", Cat(kUtf16BeMark, Be(lf)), TextEncoding::kUtf16Be,
       survey},
      {"a mark and nothing else",
       std::string(kUtf8Mark),
       TextEncoding::kUtf8WithMark,
       {}},
      // ---- What code page 932 lacks becomes the geta mark ----
      {"UTF-8, a character outside CP932",
       "a\U0001F600b\r\n",
       TextEncoding::kUtf8,
       {"a" + kGeta + "b"}},
      {"UTF-16, a character outside CP932",
       Cat(kUtf16LeMark, Le("a\U0001F600b\n")),
       TextEncoding::kUtf16Le,
       {"a" + kGeta + "b"}},
      {"a mark, then bytes that are no UTF-8",
       Cat(kUtf8Mark, "\xFF[R]\x80x\r\n\xC3"),
       TextEncoding::kUtf8WithMark,
       {kGeta + "[R]" + kGeta + "x", kGeta}},
      // The system converts long texts in pieces: a character cut by a
      // piece's end still reads whole.
      {"UTF-8 longer than a piece",
       Repeat("人", 1 << 19) + "\r\n",
       TextEncoding::kUtf8,
       {Repeat(Cp932("人"), 1 << 19)}},
      {"UTF-16, a pair across a piece's end",
       Cat(kUtf16LeMark, Le("a" + Repeat("あ", (1 << 19) - 2) + "\U0001F600b")),
       TextEncoding::kUtf16Le,
       {"a" + Repeat(Cp932("あ"), (1 << 19) - 2) + kGeta + "b"}},
      {"UTF-16, a lone last byte",
       Cat(kUtf16LeMark, Le("x\r\n") + "y"),
       TextEncoding::kUtf16Le,
       {"x", kGeta}},
      // ---- Code page 932, read as before ----
      {"ASCII only, CR LF",
       "[R]a\r\nb\r\n",
       TextEncoding::kCp932,
       {"[R]a", "b"}},
      {"ASCII only, LF", "[R]a\nb", TextEncoding::kCp932, {"[R]a", "b"}},
      {"CP932, CR LF", Cp932(crlf), TextEncoding::kCp932, survey},
      {"CP932, LF", Cp932(lf), TextEncoding::kCp932, survey},
      // 0xB1 0xDD ...: half-width katakana begin with UTF-8 continuation
      // bytes or with lead bytes whose continuation does not follow.
      {"CP932, half-width katakana only",
       Cp932("ｱﾝｹｰﾄ\r\nﾃｽﾄ\n"),
       TextEncoding::kCp932,
       {Cp932("ｱﾝｹｰﾄ"), Cp932("ﾃｽﾄ")}},
      // 0xE8 0x9F 0x8A starts like a three-byte UTF-8 character; 0xBF then
      // continues nothing.
      {"CP932, kanji in UTF-8's lead range",
       Cp932("陝漢\r\n"),
       TextEncoding::kCp932,
       {Cp932("陝漢")}},
      {"CP932 beginning with what looks like a UTF-16 mark's half",
       "\xFE" + Cp932("題\n"),
       TextEncoding::kCp932,
       {"\xFE" + Cp932("題")}},
  };
}

TEST(ConvertToCp932, DecidesTheEncodingAndReadsTheSameLines) {
  for (const Case& c : Cases()) {
    EXPECT_EQ(DetectEncoding(c.bytes), c.encoding) << c.what;
    std::string bytes = c.bytes;
    std::string scratch;
    EXPECT_EQ(ConvertToCp932(bytes, scratch), c.encoding) << c.what;
    EXPECT_EQ(SplitLines(bytes), c.lines) << c.what;
  }
}

class ReadTextLinesEncodingTest : public test_support::InScratchFolder {};

TEST_F(ReadTextLinesEncodingTest, EveryFileIsJudgedOnItsOwn) {
  test_support::WriteBytes("utf8.txt", Cat(kUtf8Mark, "人\r\n"));
  test_support::WriteBytes("cp932.txt", Cp932("人\r\n"));
  test_support::WriteBytes("utf16.txt", Cat(kUtf16BeMark, Be("人\n")));
  LineReader reader;
  for (const char* name : {"utf8.txt", "cp932.txt", "utf16.txt", "utf8.txt"}) {
    EXPECT_EQ(reader.Read(name), std::vector<std::string_view>{Cp932("人")})
        << name;
  }
  EXPECT_EQ(ReadTextLines("utf16.txt"), Lines{Cp932("人")});
}

}  // namespace
}  // namespace tabulon::text
