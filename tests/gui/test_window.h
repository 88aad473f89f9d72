// The small window the backends' tests realise, paint and press, the same
// for every backend: two overlapping panels, a panel of labels with bars,
// overlapping labels, a list over a later label, ampersand captions, word
// wrap and clipping, and a button.
#ifndef TABULON_TESTS_GUI_TEST_WINDOW_H_
#define TABULON_TESTS_GUI_TEST_WINDOW_H_

#include <string>
#include <vector>

#include "gui/controls.h"

namespace tabulon::gui::test_window {

const Font kFixed15{std::string(kFixedPitchFace), 15, false};
const Font kFixed35{std::string(kFixedPitchFace), 35, false};
// Named rather than braced in place: GCC 12 at -O3 takes a face string
// built inside a designated initializer for one that may be used
// uninitialized.
const Font kProportional12{std::string(kProportionalFace), 12, false};
const Font kProportional15{std::string(kProportionalFace), 15, false};
const Font kProportional19Bold{std::string(kProportionalFace), 19, true};
const Rgb kWhite{0xFF, 0xFF, 0xFF};
const Rgb kBlue{0, 0, 0xFF};
const Rgb kRed{0xFF, 0, 0};
const Rgb kLime{0, 0xFF, 0};
const Rgb kFuchsia{0xFF, 0, 0xFF};
const Rgb kAqua{0, 0xFF, 0xFF};

// A label of the panel at (left, top), fixed in size unless said otherwise.
inline ControlLayout LabelLayout(std::string name, int left, int top, int width,
                                 int height, Rgb colour, std::string caption,
                                 Font font = kFixed15) {
  return {.name = std::move(name),
          .parent = "Panel",
          .left = left,
          .top = top,
          .width = width,
          .height = height,
          .font = std::move(font),
          .colour = Colour::Of(colour),
          .caption_utf8 = std::move(caption)};
}

inline ControlLayout BarLayout(std::string name, int top, Font font,
                               Rgb colour) {
  ControlLayout layout =
      LabelLayout(std::move(name), 8, top, 32, 15, colour, "     ", font);
  layout.auto_size = true;
  return layout;
}

// 60 x 50 px: room for seven characters a line, where the caption needs 11.
inline ControlLayout WrappingLayout(std::string name, bool wrap) {
  ControlLayout layout = LabelLayout(std::move(name), wrap ? 220 : 290, 90, 60,
                                     50, kWhite, "abc def ghi");
  layout.word_wrap = wrap;
  return layout;
}

inline const ControlLayout kFormLayout{
    .kind = ControlKind::kForm,
    .name = "Form1",
    .left = 6,
    .top = 4,
    .width = 420,
    .height = 320,
    .font = kProportional12,
    .colour = Colour::Of(SystemColour::kInactiveCaptionText),
    .caption_utf8 = "校内アンケート　Tabulon"};

// A small window: two overlapping panels, and a panel of labels with bars,
// overlapping labels, a list over a later label, and ampersand captions.
inline std::vector<ControlLayout> Description() {
  return {
      {.kind = ControlKind::kGroupBox,
       .name = "Low",
       .left = 8,
       .top = 8,
       .width = 200,
       .height = 100,
       .colour = Colour::Of(kRed)},
      {.kind = ControlKind::kGroupBox,
       .name = "High",
       .left = 8,
       .top = 8,
       .width = 200,
       .height = 100,
       .colour = Colour::Of(kLime)},
      {.kind = ControlKind::kGroupBox,
       .name = "Panel",
       .left = 8,
       .top = 130,
       .width = 380,
       .height = 150,
       .font = kProportional15,
       .colour = Colour::Of(kWhite)},
      BarLayout("Bar15", 16, kFixed15, kBlue),
      BarLayout("Bar35", 40, kFixed35, kRed),
      LabelLayout("Early", 150, 16, 40, 15, kFuchsia, ""),
      LabelLayout("Late", 170, 16, 40, 15, kAqua, ""),
      {.kind = ControlKind::kListBox,
       .name = "List",
       .parent = "Panel",
       .left = 250,
       .top = 16,
       .width = 100,
       .height = 64,
       .colour = Colour::Of(kWhite),
       .item_height = 15,
       .tab_order = 0},
      LabelLayout("UnderList", 240, 20, 40, 15, kLime, ""),
      LabelLayout("Amp", 8, 90, 40, 17, kWhite, "&A"),
      LabelLayout("Plain", 80, 90, 40, 17, kWhite, "A"),
      LabelLayout("Doubled", 150, 90, 40, 17, kWhite, "&&"),
      WrappingLayout("Wrapped", true),
      WrappingLayout("Clipped", false),
      {.kind = ControlKind::kButton,
       .name = "Button1",
       .left = 220,
       .top = 8,
       .width = 120,
       .height = 41,
       .font = kProportional19Bold,
       .colour = Colour::Of(kWhite),
       .caption_utf8 = "アンケート集計",
       .tab_order = 1},
  };
}

}  // namespace tabulon::gui::test_window

#endif  // TABULON_TESTS_GUI_TEST_WINDOW_H_
