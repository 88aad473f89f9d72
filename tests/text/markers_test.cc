#include "text/markers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codepage.h"

namespace tabulon::text {
namespace {

// The plain reading of the rule: mark where each character starts, then try
// the marker at every marked place.
int OracleMarkerPos(const std::string& marker, const std::string& text) {
  std::vector<bool> starts(text.size(), false);
  for (size_t i = 0; i < text.size(); ++i) {
    starts[i] = true;
    if (platform::IsLeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    if (starts[i] && text.substr(i, marker.size()) == marker) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

TEST(MarkerPos, AgreesWithTheOracleForEveryBytePair) {
  // Every first byte before a marker byte: a lead byte hides the marker's
  // first byte as its trail byte, any other byte leaves it visible.
  for (int first = 1; first < 256; ++first) {
    for (int second = 1; second < 256; ++second) {
      std::string text = {static_cast<char>(first), static_cast<char>(second),
                          '[', 'Q'};
      for (const std::string& marker :
           std::vector<std::string>{"[Q", std::string(1, second)}) {
        ASSERT_EQ(MarkerPos(marker, text), OracleMarkerPos(marker, text))
            << first << " " << second << " " << marker;
      }
    }
  }
}

// The search jumps from candidate to candidate and decides from the bytes
// before one whether it begins a character: runs of lead-byte values of
// every length before a marker, some of them followed by a would-be match
// in their trail byte, and markers that start with a lead-byte value.
TEST(MarkerPos, AgreesWithTheOracleAfterRunsOfLeadBytes) {
  const std::vector<std::string> kPieces = {
      "\x81", "\x9F", "\xE0", "\xFC", "a", "[", "Q", "[Q", "\x81[", "]"};
  const std::vector<std::string> kMarkers = {"[Q", "Q",     "R]",
                                             "[",  "\x81[", "\xE0\x81"};
  // Texts of up to 24 pieces (short ones are swept, longer ones searched),
  // in a fixed pseudo-random sample.
  unsigned state = 12345;
  for (int n = 0; n < 40000; ++n) {
    std::string text;
    const int pieces = 1 + n % 24;
    for (int k = 0; k < pieces; ++k) {
      state = state * 1103515245 + 12345;
      text += kPieces[(state >> 16) % kPieces.size()];
    }
    for (const std::string& marker : kMarkers) {
      ASSERT_EQ(MarkerPos(marker, text), OracleMarkerPos(marker, text))
          << testing::PrintToString(text) << " " << marker;
    }
  }
}

TEST(MarkerPos, LongRunsAndLongTexts) {
  const std::string run(1001, '\x81');  // odd: the byte after is a trail
  EXPECT_EQ(MarkerPos("[Q", run + "[Q"), 0);
  EXPECT_EQ(MarkerPos("[Q", run + "[Q[Q"), 1004);
  EXPECT_EQ(MarkerPos("[Q", "\x81" + run + "[Q"), 1003);
  const std::string plain(100000, 'x');
  EXPECT_EQ(MarkerPos("[END]", plain + "[END]"), 100001);
  EXPECT_EQ(MarkerPos("[END]", plain + "[END"), 0);
}

TEST(MarkerPos, SkipsMarkersHiddenInTrailBytes) {
  const std::string long_vowel_q = "\x81\x5BQ";  // ーQ
  const std::string katakana_ko = "\x83\x52]";   // コ]
  EXPECT_EQ(MarkerPos("[Q", long_vowel_q), 0);
  EXPECT_EQ(MarkerPos("R]", katakana_ko), 0);
  EXPECT_EQ(MarkerPos("[Q", long_vowel_q + "[Q1"), 4);
  EXPECT_EQ(MarkerPos("R]", "a" + katakana_ko + "R]"), 5);
  // A lead byte at the very end has no trail byte to hide.
  EXPECT_EQ(MarkerPos("\x81", "ab\x81"), 3);
}

TEST(MarkerPos, EdgeCases) {
  EXPECT_EQ(MarkerPos("[R]", "[r]abc"), 0);  // case-sensitive
  EXPECT_EQ(MarkerPos("[R]", "[R]abc"), 1);
  EXPECT_EQ(MarkerPos("", "abc"), 0);
  EXPECT_EQ(MarkerPos("a", ""), 0);
  EXPECT_EQ(MarkerPos("abcd", "abc"), 0);
  // Both are cut at their first NUL.
  EXPECT_EQ(MarkerPos("[T]", std::string("ab\0[T]", 6)), 0);
  EXPECT_EQ(MarkerPos(std::string("[T]\0x", 5), "a[T]"), 2);
  EXPECT_EQ(MarkerPos(std::string("\0x", 2), "x"), 0);
  EXPECT_TRUE(BeginsWithMarker("[END]", "[END]"));
  EXPECT_FALSE(BeginsWithMarker(" [END]", "[END]"));
  EXPECT_TRUE(ContainsMarker(" [END]", "[END]"));
  // Beginning with a marker is MarkerPos at 1, NULs included.
  EXPECT_TRUE(BeginsWithMarker("[END]x", std::string("[END]\0y", 7)));
  EXPECT_FALSE(BeginsWithMarker(std::string("[E\0ND]", 6), "[END]"));
  EXPECT_FALSE(BeginsWithMarker("[END]", std::string("\0", 1)));
  EXPECT_FALSE(BeginsWithMarker("", "[Q"));
}

TEST(RemoveFirstMarker, RemovesTheFirstOccurrenceWhateverItsCase) {
  const struct {
    std::string text, marker, expected;
  } kCases[] = {
      {"[R]Question", "[R]", "Question"},
      {"[r]Question", "[R]", "Question"},
      {"[Q1R]text", "[q1r]", "text"},
      {"a[R]b[R]", "[R]", "ab[R]"},
      {"no marker", "[R]", "no marker"},
      {"[R]MiXed Case", "[r]", "MiXed Case"},
      // Trail bytes with the value of "[" or of a letter are not matched.
      {"\x81\x5Bq[Q]", "[q]", "\x81\x5Bq"},
      {"\x83\x72x", "rX", "\x83\x72x"},
      {"", "[R]", ""},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(RemoveFirstMarker(c.text, c.marker), c.expected)
        << c.text << " - " << c.marker;
  }
}

}  // namespace
}  // namespace tabulon::text
