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

const Colour kWhite = Colour::Of(Rgb{0xFF, 0xFF, 0xFF});
const Colour kListColour = Colour::Of(SystemColour::kWindow);

// Bar colours by row: blue, red, lime, fuchsia, aqua.
Colour BarColour(int c) {
  constexpr std::array<Rgb, kRows> kBarColours{{{0x00, 0x00, 0xFF},
                                                {0xFF, 0x00, 0x00},
                                                {0x00, 0xFF, 0x00},
                                                {0xFF, 0x00, 0xFF},
                                                {0x00, 0xFF, 0xFF}}};
  return Colour::Of(kBarColours[c - 1]);
}

constexpr std::string_view kPanelRuler =
    "123456789012345678901234567890123456789012";
constexpr std::string_view kEnlargedRuler =
    "12345678901234567890123456789012345678901";

// The Tab key's order; controls missing here take no focus.
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

// One column of a panel's five choice rows: how its labels are named,
// placed, sized, lettered and coloured. Row 1 has a width and caption of
// its own.
struct RowColumn {
  std::string (*name)(int q, int c);
  int (*top)(int q, int c);
  int left;
  std::array<int, 2> widths;  // row 1, rows 2 to 5
  int height;
  bool fixed_pitch;
  int pixel_size;
  std::array<std::string_view, 2> captions;  // row 1, rows 2 to 5
  bool auto_size;
  bool bar;  // in its row's colour, and read with that row's count
};

// Row c of panel q; panels without a question label start their rows higher.
int RowTop(int q, int c) { return (HasQuestionLabel(q) ? 32 : 8) + 16 * c; }

// The enlarged panel gives each choice two lines: its text above, its count
// and bar below.
int EnlargedTextTop(int, int c) {
  constexpr std::array<int, kRows> kTops{112, 206, 300, 394, 488};
  return kTops[c - 1];
}
int EnlargedCountTop(int, int c) {
  constexpr std::array<int, kRows> kTops{152, 248, 344, 440, 536};
  return kTops[c - 1];
}

// The columns in drawing order: the choice labels, then the count labels,
// then the bars.
constexpr std::array<RowColumn, 3> kPanelColumns{{
    {ChoiceLabelName,
     RowTop,
     8,
     {40, 32},
     15,
     true,
     15,
     {"Lbl11", "Lbl1"},
     true,
     false},
    {CountLabelName,
     RowTop,
     96,
     {49, 49},
     17,
     true,
     15,
     {"Lbl1", "Lbl1"},
     false,
     false},
    {BarLabelName,
     RowTop,
     144,
     {336, 32},
     15,
     true,
     15,
     {kPanelRuler, "Lbl1"},
     true,
     true},
}};
constexpr std::array<RowColumn, 3> kEnlargedColumns{{
    {ChoiceLabelName,
     EnlargedTextTop,
     16,
     {81, 81},
     29,
     false,
     29,
     {"Lbl110", "Lbl110"},
     true,
     false},
    {CountLabelName,
     EnlargedCountTop,
     48,
     {81, 81},
     29,
     false,
     29,
     {"Lbl110", "Lbl110"},
     true,
     false},
    {BarLabelName,
     EnlargedCountTop,
     176,
     {738, 738},
     35,
     true,
     35,
     {kEnlargedRuler, kEnlargedRuler},
     true,
     true},
}};

// The five rows of panel q, column by column.
void AddChoiceRows(int q, const std::string& panel,
                   const std::array<RowColumn, 3>& columns,
                   std::vector<ControlLayout>& out) {
  for (const RowColumn& column : columns) {
    for (int c = 1; c <= kRows; ++c) {
      const int row = c == 1 ? 0 : 1;
      out.push_back({.kind = ControlKind::kLabel,
                     .name = column.name(q, c),
                     .parent = panel,
                     .left = column.left,
                     .top = column.top(q, c),
                     .width = column.widths[row],
                     .height = column.height,
                     .font = column.fixed_pitch
                                 ? FixedPitch(column.pixel_size)
                                 : Proportional(column.pixel_size),
                     .colour = column.bar ? BarColour(c) : Colour::Parent(),
                     .caption_utf8 = std::string(column.captions[row]),
                     .auto_size = column.auto_size});
      if (column.bar) out.back().read_with = CountLabelName(q, c);
    }
  }
}

// Panel q with its children, in drawing order.
void AddQuestionPanel(int q, std::vector<ControlLayout>& out) {
  const PanelPlace& place = kPanelPlaces[q - 1];
  const std::string panel = PanelName(q);
  out.push_back({.kind = ControlKind::kGroupBox,
                 .name = panel,
                 .left = place.left,
                 .top = place.top,
                 .width = 481,
                 .height = place.height,
                 .font = Proportional(15),
                 .colour = kWhite,
                 .caption_utf8 = std::string(place.caption)});
  AddChoiceRows(q, panel, kPanelColumns, out);
  if (HasQuestionLabel(q)) {
    out.push_back({.kind = ControlKind::kLabel,
                   .name = QuestionTextName(q),
                   .parent = panel,
                   .left = 8,
                   .top = 8,
                   .width = 465,
                   .height = 33,
                   .caption_utf8 = "Label Quest",
                   .word_wrap = true});
  }
  out.push_back({.kind = ControlKind::kListBox,
                 .name = ListBoxName(q),
                 .parent = panel,
                 .left = 8,
                 .top = HasQuestionLabel(q) ? 40 : 16,
                 .width = 465,
                 .height = 89,
                 .colour = kListColour,
                 .item_height = 15});
  out.back().read_with = QuestionTextName(q);
}

// The enlarged panel: one question at a time in large type.
void AddEnlargedPanel(std::vector<ControlLayout>& out) {
  const std::string panel = PanelName(kEnlargedPanel);
  out.push_back({.kind = ControlKind::kGroupBox,
                 .name = panel,
                 .left = 8,
                 .top = 104,
                 .width = 977,
                 .height = 585,
                 .font = Proportional(32),
                 .colour = kWhite,
                 .caption_utf8 = "GroupBox11"});
  out.push_back({.kind = ControlKind::kLabel,
                 .name = QuestionTextName(kEnlargedPanel),
                 .parent = panel,
                 .left = 8,
                 .top = 40,
                 .width = 953,
                 .height = 65,
                 .font = Proportional(29),
                 .colour = Colour::Of(SystemColour::kButtonFace),
                 .caption_utf8 = "Lbl110",
                 .word_wrap = true});
  AddChoiceRows(kEnlargedPanel, panel, kEnlargedColumns, out);
  out.push_back({.kind = ControlKind::kListBox,
                 .name = ListBoxName(kEnlargedPanel),
                 .parent = panel,
                 .left = 8,
                 .top = 112,
                 .width = 953,
                 .height = 465,
                 .font = Proportional(35),
                 .colour = kListColour,
                 .item_height = 35});
  out.back().read_with = QuestionTextName(kEnlargedPanel);
}

ControlLayout Button(std::string name, int left, int width, Font font,
                     std::string caption) {
  return {.kind = ControlKind::kButton,
          .name = std::move(name),
          .left = left,
          .top = 51,
          .width = width,
          .height = 41,
          .font = std::move(font),
          .caption_utf8 = std::move(caption)};
}

// Labels of the window itself: drawn on its surface beneath every windowed
// control.
void AddHeadingLabels(std::vector<ControlLayout>& out) {
  out.push_back({.kind = ControlKind::kLabel,
                 .name = "Label1",
                 .left = 8,
                 .top = 0,
                 .width = 81,
                 .height = 27,
                 .font = Proportional(27, true),
                 .caption_utf8 = "Label1",
                 .auto_size = true});
  out.push_back({.kind = ControlKind::kLabel,
                 .name = "Label2",
                 .left = 8,
                 .top = 32,
                 .width = 145,
                 .height = 16,
                 .font = Proportional(16),
                 .caption_utf8 = "このアンケートの説明",
                 .auto_size = true});
  out.push_back({.kind = ControlKind::kLabel,
                 .name = "LblSum",
                 .left = 16,
                 .top = 56,
                 .width = 66,
                 .height = 16,
                 .font = Proportional(16),
                 .caption_utf8 = "　　　　　　",
                 .auto_size = true});
}

std::vector<ControlLayout> Describe() {
  std::vector<ControlLayout> out;
  AddHeadingLabels(out);
  // Windowed controls of the window, bottom to top. Controls without a font
  // of their own take the window's.
  AddQuestionPanel(9, out);
  AddQuestionPanel(10, out);
  AddQuestionPanel(1, out);
  out.push_back(
      Button("Button1", 695, 185, Proportional(19, true), "アンケート集計"));
  for (int q = 2; q <= 5; ++q) AddQuestionPanel(q, out);
  out.push_back({.kind = ControlKind::kFileList,
                 .name = std::string(kFileListName),
                 .left = 176,
                 .top = 8,
                 .width = 161,
                 .height = 73,
                 .colour = kListColour,
                 .visible = false,
                 .item_height = 12});
  for (int q = 6; q <= 8; ++q) AddQuestionPanel(q, out);
  out.push_back(Button("Button2", 903, 83, {}, "データの消去"));
  out.push_back(
      Button("Button3", 535, 145, Proportional(16), "１問ごと拡大表示"));
  out.push_back(Button("Button4", 375, 65, Proportional(16), "前へ"));
  out.push_back(Button("Button5", 455, 65, Proportional(16), "次へ"));
  AddEnlargedPanel(out);
  // Never visible: its click handler draws the enlarged panel.
  ControlLayout button6 = Button("Button6", 343, 25, {}, "Button6");
  button6.visible = false;
  out.push_back(std::move(button6));

  for (ControlLayout& layout : out) layout.tab_order = TabOrder(layout.name);
  return out;
}

std::string Digit(int q) { return q == 10 ? "0" : std::to_string(q); }

}  // namespace

gui::ControlLayout MainWindowLayout() {
  return {.kind = ControlKind::kForm,
          .name = "Form1",
          .left = 6,
          .top = 4,
          .width = 1010,
          .height = 734,
          .font = Proportional(12),
          .colour = Colour::Of(SystemColour::kInactiveCaptionText),
          .caption_utf8 = "校内アンケート　Tabulon"};
}

const std::vector<gui::ControlLayout>& MainWindowControls() {
  static const std::vector<ControlLayout> kControls = Describe();
  return kControls;
}

std::string PanelName(int q) { return "GroupBox" + std::to_string(q); }
std::string QuestionTextName(int q) {
  if (q == kEnlargedPanel) return "Lbl110";
  return HasQuestionLabel(q) ? "LblQ0" + std::to_string(q) : PanelName(q);
}
std::string ChoiceLabelName(int q, int c) {
  return "Lbl" + Digit(q) + std::to_string(c);
}
std::string CountLabelName(int q, int c) {
  return "Lbln" + Digit(q) + std::to_string(c);
}
std::string BarLabelName(int q, int c) {
  return "Lblg" + Digit(q) + std::to_string(c);
}
std::string ListBoxName(int q) { return "ListBox" + std::to_string(q); }

}  // namespace tabulon::window
