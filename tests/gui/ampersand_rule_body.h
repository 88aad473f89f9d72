// The ampersand rule as a backend paints it, one test body for every
// backend: each backend gives a way to paint one fixed-size label with a
// caption, and the body compares the pictures of captions that must (or
// must not) look alike.
#ifndef TABULON_TESTS_GUI_AMPERSAND_RULE_BODY_H_
#define TABULON_TESTS_GUI_AMPERSAND_RULE_BODY_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "support/scratch_folder.h"

namespace tabulon::gui::test_window {

// A label's pixels, 0x00RRGGBB, top row first.
struct LabelPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;
  friend bool operator==(const LabelPicture&, const LabelPicture&) = default;

  // The lowest row that is not the label's fill (its top-left pixel), or -1.
  int LowestInkRow() const {
    for (int y = height - 1; y >= 0; --y) {
      for (int x = 0; x < width; ++x) {
        if (rgb[static_cast<std::size_t>(y) * width + x] != rgb[0]) return y;
      }
    }
    return -1;
  }
};

// Paints the label with a caption (CP932) and reads it back.
using LabelPainter = std::function<LabelPicture(std::string_view cp932)>;

inline void ExpectTheAmpersandRule(const LabelPainter& paint) {
  struct Case {
    const char* caption;  // UTF-8
    const char* looks_like;
    bool alike;
  };
  for (const Case& c : {
           Case{"&", "", true},  // a lone trailing "&" shows nothing
           Case{"A&", "A", true},
           Case{"表&", "表", true},
           Case{"&&&", "&&", true},  // one "&", then nothing
           Case{"&A&", "&A", true},
           Case{"&&", "", false},   // "&&" shows one "&"
           Case{"&A", "A", false},  // the A underlined
           Case{"&表", "表", false},
       }) {
    const LabelPicture a = paint(test_support::Cp932(c.caption));
    const LabelPicture b = paint(test_support::Cp932(c.looks_like));
    EXPECT_EQ(a == b, c.alike)
        << "\"" << c.caption << "\" against \"" << c.looks_like << "\"";
  }
  // The underline lies beneath the character, and only there.
  const LabelPicture plain = paint("A");
  const LabelPicture underlined = paint("&A");
  const int baseline = plain.LowestInkRow();
  ASSERT_GE(baseline, 0);
  ASSERT_EQ(plain.rgb.size(), underlined.rgb.size());
  for (std::size_t i = 0; i < plain.rgb.size(); ++i) {
    if (plain.rgb[i] != underlined.rgb[i]) {
      EXPECT_GT(static_cast<int>(i) / plain.width, baseline) << i;
    }
  }
}

}  // namespace tabulon::gui::test_window

#endif  // TABULON_TESTS_GUI_AMPERSAND_RULE_BODY_H_
