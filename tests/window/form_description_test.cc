// The main window's layout table: names, parents, stacking and Tab order.
#include "window/form_description.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace tabulon::window {
namespace {

using gui::ControlKind;
using gui::ControlLayout;

const ControlLayout& Find(const std::string& name) {
  const auto& controls = MainWindowControls();
  auto it = std::find_if(
      controls.begin(), controls.end(),
      [&](const ControlLayout& layout) { return layout.name == name; });
  EXPECT_NE(it, controls.end()) << name;
  return *it;
}

TEST(FormDescriptionTest, NamesAreUniqueAndParentsComeFirst) {
  std::set<std::string> seen;
  for (const ControlLayout& layout : MainWindowControls()) {
    EXPECT_TRUE(layout.parent.empty() || seen.count(layout.parent))
        << layout.name;
    EXPECT_TRUE(seen.insert(layout.name).second) << "twice: " << layout.name;
  }
  // Ten panels of 5 x 3 row labels and a list; 1 to 8 with a question
  // label; the enlarged panel; three heading labels, six buttons, the file
  // list.
  EXPECT_EQ(seen.size(), 10u * 17 + 8 + 18 + 3 + 6 + 1);
}

TEST(FormDescriptionTest, WindowedControlsOfTheWindowStackBottomToTop) {
  std::vector<std::string> order;
  for (const ControlLayout& layout : MainWindowControls()) {
    if (layout.parent.empty() && layout.kind != ControlKind::kLabel)
      order.push_back(layout.name);
  }
  EXPECT_EQ(order,
            (std::vector<std::string>{
                "GroupBox9", "GroupBox10", "GroupBox1", "Button1", "GroupBox2",
                "GroupBox3", "GroupBox4", "GroupBox5", "FileListBox1",
                "GroupBox6", "GroupBox7", "GroupBox8", "Button2", "Button3",
                "Button4", "Button5", "GroupBox11", "Button6"}));
}

TEST(FormDescriptionTest, TabMovesThroughListsAndButtonsInOrder) {
  std::vector<std::pair<int, std::string>> focus;
  for (const ControlLayout& layout : MainWindowControls()) {
    if (layout.tab_order >= 0)
      focus.emplace_back(layout.tab_order, layout.name);
  }
  std::sort(focus.begin(), focus.end());
  std::vector<std::string> names;
  for (const auto& [position, name] : focus) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{
                       "ListBox1", "Button1", "ListBox2", "ListBox3",
                       "ListBox4", "ListBox5", "ListBox6", "ListBox7",
                       "ListBox8", "ListBox9", "ListBox10", "Button2",
                       "ListBox11", "Button3", "Button4", "Button5"}));
}

// A bar shows no text and a list no heading: a screen reader reads each
// with the control that says what it is, wherever the two are placed.
TEST(FormDescriptionTest, BarsAreReadWithTheirCountsAndListsWithTheirQuestion) {
  int paired = 0;
  for (const ControlLayout& layout : MainWindowControls()) {
    if (layout.read_with.empty()) continue;
    ++paired;
    const std::string& partner = Find(layout.read_with).name;
    if (layout.name.starts_with("Lblg")) {
      EXPECT_EQ(partner, "Lbln" + layout.name.substr(4)) << layout.name;
    } else {
      const int q = std::stoi(layout.name.substr(7));  // "ListBox"q
      EXPECT_EQ(partner, QuestionTextName(q)) << layout.name;
    }
  }
  EXPECT_EQ(paired, 11 * 5 + 11);
  EXPECT_EQ(Find("ListBox9").read_with, "GroupBox9");
  EXPECT_EQ(Find("ListBox11").read_with, "Lbl110");
}

TEST(FormDescriptionTest, QuestionTenUsesTheDigitZero) {
  EXPECT_EQ(ChoiceLabelName(10, 1), "Lbl01");
  EXPECT_EQ(CountLabelName(10, 5), "Lbln05");
  EXPECT_EQ(BarLabelName(11, 3), "Lblg113");
  EXPECT_EQ(Find("Lblg05").parent, "GroupBox10");
  EXPECT_EQ(Find("ListBox10").parent, "GroupBox10");
}

TEST(FormDescriptionTest, RowsOfPanelsNineAndTenSitHigher) {
  for (int c = 1; c <= 5; ++c) {
    EXPECT_EQ(Find(BarLabelName(1, c)).top, 32 + 16 * c);
    EXPECT_EQ(Find(BarLabelName(9, c)).top, 8 + 16 * c);
  }
}

}  // namespace
}  // namespace tabulon::window
