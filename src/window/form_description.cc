#include "window/form_description.h"

#include <array>
#include <string_view>

namespace tabulon::window {
namespace {

using gui::Colour;
using gui::ControlKind;
using gui::ControlLayout;
using gui::Font;
using gui::Rgb;
using gui::SystemColour;

constexpr int kQuestionPanels = 10;
constexpr int kRows = 5;

Font Proportional(int pixel_size, bool bold = false) {
  return {std::string(gui::kProportionalFace), pixel_size, bold};
}
Font FixedPitch(int pixel_size) {
  return {std::string(gui::kFixedPitchFace), pixel_size, false};
}
const Font kParentFont{};

constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};

// Bar colours by row: blue, red, lime, fuchsia, aqua.
constexpr std::array<Rgb, kRows> kBarColours{{{0x00, 0x00, 0xFF},
                                              {0xFF, 0x00, 0x00},
                                              {0x00, 0xFF, 0x00},
                                              {0xFF, 0x00, 0xFF},
                                              {0x00, 0xFF, 0xFF}}};

constexpr std::string_view kPanelRuler =
    "123456789012345678901234567890123456789012";
constexpr std::string_view kEnlargedRuler =
    "12345678901234567890123456789012345678901";

// Tab positions; controls missing here take no focus.
int TabOrder(std::string_view name) {
  static constexpr std::array<std::string_view, 16> kOrder{
      "ListBox1",  "Button1",  "ListBox2", "ListBox3", "ListBox4",  "ListBox5",
      "ListBox6",  "ListBox7", "ListBox8", "ListBox9", "ListBox10", "Button2",
      "ListBox11", "Button3",  "Button4",  "Button5"};
  for (std::size_t i = 0; i < kOrder.size(); ++i) {
    if (kOrder[i] == name) return static_cast<int>(i);
  }
  return -1;
}

ControlLayout Entry(ControlKind kind, std::string name, std::string parent,
                    int left, int top, int width, int height, Font font,
                    Colour colour, std::string caption) {
  ControlLayout layout;
  layout.kind = kind;
  layout.tab_order = TabOrder(name);
  layout.name = std::move(name);
  layout.parent = std::move(parent);
  layout.left = left;
  layout.top = top;
  layout.width = width;
  layout.height = height;
  layout.font = std::move(font);
  layout.colour = colour;
  layout.caption_utf8 = std::move(caption);
  return layout;
}

ControlLayout AutoSizeLabel(std::string name, std::string parent, int left,
                            int top, int width, int height, Font font,
                            Colour colour, std::string caption) {
  ControlLayout layout =
      Entry(ControlKind::kLabel, std::move(name), std::move(parent), left, top,
            width, height, std::move(font), colour, std::move(caption));
  layout.auto_size = true;
  return layout;
}

ControlLayout FixedLabel(std::string name, std::string parent, int left,
                         int top, int width, int height, Font font,
                         Colour colour, std::string caption, bool word_wrap) {
  ControlLayout layout =
      Entry(ControlKind::kLabel, std::move(name), std::move(parent), left, top,
            width, height, std::move(font), colour, std::move(caption));
  layout.word_wrap = word_wrap;
  return layout;
}

ControlLayout ListBox(std::string name, std::string parent, int left, int top,
                      int width, int height, Font font, int item_height) {
  ControlLayout layout = Entry(
      ControlKind::kListBox, std::move(name), std::move(parent), left, top,
      width, height, std::move(font), Colour::Of(SystemColour::kWindow), "");
  layout.item_height = item_height;
  return layout;
}

ControlLayout Button(std::string name, int left, int top, int width, int height,
                     Font font, std::string caption) {
  return Entry(ControlKind::kButton, std::move(name), "", left, top, width,
               height, std::move(font), Colour::Parent(), std::move(caption));
}

// The question panels: place, height and design-time caption. Panels 9 and
// 10 lie at the places of 7 and 8, beneath them.
struct PanelPlace {
  int left, top, height;
  std::string_view caption;
};
constexpr std::array<PanelPlace, kQuestionPanels> kPanelPlaces{{
    {8, 96, 137, ""},
    {8, 240, 137, ""},
    {8, 384, 137, ""},
    {8, 528, 137, ""},
    {504, 96, 137, ""},
    {504, 240, 137, ""},
    {504, 384, 137, ""},
    {504, 528, 137, ""},
    {504, 384, 113, "GroupBox1"},
    {504, 528, 113, "GroupBox1"},
}};

// Panel q with its children, in drawing order.
void AddQuestionPanel(int q, std::vector<ControlLayout>& out) {
  const PanelPlace& place = kPanelPlaces[q - 1];
  const std::string panel = PanelName(q);
  const bool has_question_label = q <= 8;
  const int row_top = has_question_label ? 32 : 8;  // row c at row_top + 16c
  out.push_back(Entry(ControlKind::kGroupBox, panel, "", place.left, place.top,
                      481, place.height, Proportional(15), Colour::Of(kWhite),
                      std::string(place.caption)));
  for (int c = 1; c <= kRows; ++c) {
    out.push_back(AutoSizeLabel(
        ChoiceLabelName(q, c), panel, 8, row_top + 16 * c, c == 1 ? 40 : 32, 15,
        FixedPitch(15), Colour::Parent(), c == 1 ? "Lbl11" : "Lbl1"));
  }
  for (int c = 1; c <= kRows; ++c) {
    out.push_back(FixedLabel(CountLabelName(q, c), panel, 96, row_top + 16 * c,
                             49, 17, FixedPitch(15), Colour::Parent(), "Lbl1",
                             false));
  }
  for (int c = 1; c <= kRows; ++c) {
    out.push_back(AutoSizeLabel(BarLabelName(q, c), panel, 144,
                                row_top + 16 * c, c == 1 ? 336 : 32, 15,
                                FixedPitch(15), Colour::Of(kBarColours[c - 1]),
                                c == 1 ? std::string(kPanelRuler) : "Lbl1"));
  }
  if (has_question_label) {
    out.push_back(FixedLabel(QuestionLabelName(q), panel, 8, 8, 465, 33,
                             kParentFont, Colour::Parent(), "Label Quest",
                             true));
  }
  out.push_back(ListBox(ListBoxName(q), panel, 8, has_question_label ? 40 : 16,
                        465, 89, kParentFont, 15));
}

// The enlarged panel: one question at a time in large type.
void AddEnlargedPanel(std::vector<ControlLayout>& out) {
  const std::string panel = PanelName(kEnlargedPanel);
  constexpr std::array<int, kRows> kChoiceTops{112, 206, 300, 394, 488};
  constexpr std::array<int, kRows> kCountTops{152, 248, 344, 440, 536};
  out.push_back(Entry(ControlKind::kGroupBox, panel, "", 8, 104, 977, 585,
                      Proportional(32), Colour::Of(kWhite), "GroupBox11"));
  out.push_back(FixedLabel("Lbl110", panel, 8, 40, 953, 65, Proportional(29),
                           Colour::Of(SystemColour::kButtonFace), "Lbl110",
                           true));
  for (int c = 1; c <= kRows; ++c) {
    out.push_back(AutoSizeLabel(ChoiceLabelName(kEnlargedPanel, c), panel, 16,
                                kChoiceTops[c - 1], 81, 29, Proportional(29),
                                Colour::Parent(), "Lbl110"));
  }
  for (int c = 1; c <= kRows; ++c) {
    out.push_back(AutoSizeLabel(CountLabelName(kEnlargedPanel, c), panel, 48,
                                kCountTops[c - 1], 81, 29, Proportional(29),
                                Colour::Parent(), "Lbl110"));
  }
  for (int c = 1; c <= kRows; ++c) {
    out.push_back(AutoSizeLabel(BarLabelName(kEnlargedPanel, c), panel, 176,
                                kCountTops[c - 1], 738, 35, FixedPitch(35),
                                Colour::Of(kBarColours[c - 1]),
                                std::string(kEnlargedRuler)));
  }
  out.push_back(ListBox(ListBoxName(kEnlargedPanel), panel, 8, 112, 953, 465,
                        Proportional(35), 35));
}

std::vector<ControlLayout> Describe() {
  std::vector<ControlLayout> out;
  // Labels of the window itself: drawn on its surface beneath every
  // windowed control.
  out.push_back(AutoSizeLabel("Label1", "", 8, 0, 81, 27,
                              Proportional(27, true), Colour::Parent(),
                              "Label1"));
  out.push_back(AutoSizeLabel("Label2", "", 8, 32, 145, 16, Proportional(16),
                              Colour::Parent(), "このアンケートの説明"));
  out.push_back(AutoSizeLabel("LblSum", "", 16, 56, 66, 16, Proportional(16),
                              Colour::Parent(), "　　　　　　"));

  // Windowed controls of the window, bottom to top.
  AddQuestionPanel(9, out);
  AddQuestionPanel(10, out);
  AddQuestionPanel(1, out);
  out.push_back(Button("Button1", 695, 51, 185, 41, Proportional(19, true),
                       "アンケート集計"));
  for (int q = 2; q <= 5; ++q) AddQuestionPanel(q, out);
  ControlLayout file_list =
      Entry(ControlKind::kFileList, "FileListBox1", "", 176, 8, 161, 73,
            kParentFont, Colour::Of(SystemColour::kWindow), "");
  file_list.item_height = 12;
  file_list.visible = false;
  out.push_back(file_list);
  for (int q = 6; q <= 8; ++q) AddQuestionPanel(q, out);
  out.push_back(
      Button("Button2", 903, 51, 83, 41, kParentFont, "データの消去"));
  out.push_back(Button("Button3", 535, 51, 145, 41, Proportional(16),
                       "１問ごと拡大表示"));
  out.push_back(Button("Button4", 375, 51, 65, 41, Proportional(16), "前へ"));
  out.push_back(Button("Button5", 455, 51, 65, 41, Proportional(16), "次へ"));
  AddEnlargedPanel(out);
  ControlLayout button6 =
      Button("Button6", 343, 51, 25, 41, kParentFont, "Button6");
  button6.visible = false;
  out.push_back(button6);
  return out;
}

std::string Digits(int q) { return q == 10 ? "0" : std::to_string(q); }

}  // namespace

gui::ControlLayout MainWindowLayout() {
  ControlLayout layout;
  layout.kind = ControlKind::kForm;
  layout.name = "Form1";
  layout.left = 6;
  layout.top = 4;
  layout.width = 1010;
  layout.height = 734;
  layout.font = Proportional(12);
  layout.colour = Colour::Of(SystemColour::kInactiveCaptionText);
  layout.caption_utf8 = "校内アンケート　Tabulon";
  return layout;
}

const std::vector<gui::ControlLayout>& MainWindowControls() {
  static const std::vector<ControlLayout> kControls = Describe();
  return kControls;
}

std::string PanelName(int q) { return "GroupBox" + std::to_string(q); }
std::string QuestionLabelName(int q) { return "LblQ0" + std::to_string(q); }
std::string ChoiceLabelName(int q, int c) {
  return "Lbl" + Digits(q) + std::to_string(c);
}
std::string CountLabelName(int q, int c) {
  return "Lbln" + Digits(q) + std::to_string(c);
}
std::string BarLabelName(int q, int c) {
  return "Lblg" + Digits(q) + std::to_string(c);
}
std::string ListBoxName(int q) { return "ListBox" + std::to_string(q); }

}  // namespace tabulon::window
