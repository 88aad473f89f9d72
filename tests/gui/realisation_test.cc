// The rules every backend realises a form by: windows, focus, the Tab
// chain, the content extent, the changes a sync takes, and list catch-up.
#include "gui/realisation.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "gui/headless_backend.h"

namespace tabulon::gui {
namespace {

const ControlLayout kFormLayout{.kind = ControlKind::kForm, .name = "Form1"};

class RealisationTest : public ::testing::Test {
 protected:
  RealisationTest() : form_(kFormLayout, backend_, nullptr) {
    form_.Build({
        {.kind = ControlKind::kGroupBox,
         .name = "Panel",
         .left = 10,
         .top = 20,
         .width = 100,
         .height = 50,
         .tab_order = 0},
        {.name = "Label",
         .parent = "Panel",
         .left = 500,
         .top = 500,
         .width = 10,
         .height = 10,
         .tab_order = 1},
        {.kind = ControlKind::kFileList, .name = "Files", .tab_order = 2},
        {.kind = ControlKind::kListBox, .name = "Late", .tab_order = 5},
        {.kind = ControlKind::kButton, .name = "Early", .tab_order = 3},
        {.kind = ControlKind::kButton, .name = "Unlisted"},
        {.kind = ControlKind::kListBox,
         .name = "Tied",
         .parent = "Panel",
         .tab_order = 3,
         .read_with = "Label"},
    });
    backend_.Sync(form_);
  }

  HeadlessBackend backend_;
  Form form_;
};

TEST_F(RealisationTest, OnlyListsAndButtonsGivenAPlaceTakeTheFocusInOrder) {
  std::vector<std::string> chain;
  for (const Control* control : TabChain(form_)) {
    chain.push_back(control->Name());
  }
  // Equal places keep the layout's order.
  EXPECT_EQ(chain, (std::vector<std::string>{"Early", "Tied", "Late"}));
  EXPECT_FALSE(TakesFocus(form_["Files"]));
  EXPECT_FALSE(TakesFocus(form_["Unlisted"]));
  for (ControlKind kind : {ControlKind::kGroupBox, ControlKind::kListBox,
                           ControlKind::kButton, ControlKind::kFileList}) {
    EXPECT_TRUE(IsWindowed(kind)) << static_cast<int>(kind);
  }
  EXPECT_FALSE(IsWindowed(ControlKind::kLabel));
  EXPECT_FALSE(IsWindowed(ControlKind::kForm));
}

TEST_F(RealisationTest, ContentReachesAsFarAsTheWindowsOwnControls) {
  EXPECT_EQ(ContentExtent(form_), (Extent{110, 70}));  // not the label's
  HeadlessBackend backend;
  Form empty(kFormLayout, backend, nullptr);
  EXPECT_EQ(ContentExtent(empty), (Extent{1, 1}));
}

TEST_F(RealisationTest, ASyncTakesEachChangeOnceAndSaysWhenTheWindowsMoved) {
  std::vector<std::string> applied;
  const auto apply = [&](Control& control) {
    applied.push_back(control.Name());
  };
  form_["Label"].SetCaption("x");
  EXPECT_FALSE(TakeChanges(form_, apply));
  EXPECT_FALSE(form_["Label"].Dirty());
  form_["Panel"].Hide();
  EXPECT_TRUE(TakeChanges(form_, apply));
  EXPECT_FALSE(TakeChanges(form_, apply));
  EXPECT_EQ(applied, (std::vector<std::string>{"Label", "Panel"}));
  // A backend that has just made its windows takes everything again.
  form_.MarkAllDirty();
  applied.clear();
  EXPECT_TRUE(TakeChanges(form_, apply));
  EXPECT_EQ(applied.size(), form_.Controls().size() + 1);
}

TEST_F(RealisationTest, AGrownListGetsOnlyItsNewItemsAClearedOneStartsOver) {
  Control& list = form_["Late"];
  ShownItems shown;
  std::vector<std::string> seen;
  const auto catch_up = [&] {
    shown.CatchUp(
        list, [&] { seen.push_back("clear"); },
        [&](std::size_t i) { seen.emplace_back(list.Items()[i]); });
  };
  list.AppendItem("a");
  catch_up();
  list.AppendItem("b");
  catch_up();
  list.ClearItems();
  list.AppendItem("c");
  catch_up();
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "clear", "c"}));
}

TEST_F(RealisationTest, APartnerToReadWithIsFoundByItsName) {
  EXPECT_EQ(form_["Tied"].ReadWith(), &form_["Label"]);
  EXPECT_EQ(form_["Late"].ReadWith(), nullptr);
  HeadlessBackend backend;
  Form form(kFormLayout, backend, nullptr);
  // Named, not a braced temporary: GCC 12 at -O3 otherwise takes the
  // temporary's font for uninitialised.
  const ControlLayout dangling{.name = "A", .read_with = "Nowhere"};
  EXPECT_THROW(form.Build({dangling}), std::out_of_range);
}

}  // namespace
}  // namespace tabulon::gui
