// The control state, the handler guard and the headless backend.
#include "gui/controls.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "gui/ampersand_rule.h"
#include "gui/backend.h"
#include "gui/headless_backend.h"
#include "support/scratch_folder.h"
#include "text/failure.h"

namespace tabulon::gui {
namespace {

using tabulon::test_support::Cp932;

const Font kFixed15{std::string(kFixedPitchFace), 15, false};
const Font kFixed35{std::string(kFixedPitchFace), 35, false};

const ControlLayout kFormLayout{
    .kind = ControlKind::kForm,
    .name = "Form1",
    .width = 400,
    .height = 300,
    .font = {std::string(kProportionalFace), 12, false},
    .colour = Colour::Of(SystemColour::kInactiveCaptionText)};

// A blue auto-size bar label in the panel.
ControlLayout BarLayout(std::string name, Font font) {
  return {.name = std::move(name),
          .parent = "Panel",
          .width = 32,
          .height = 15,
          .font = std::move(font),
          .colour = Colour::Of(Rgb{0, 0, 0xFF}),
          .caption_utf8 = "Lbl1",
          .auto_size = true};
}

// Counts how often it is asked, answering as the headless backend does.
class CountingMetrics : public TextMetrics {
 public:
  Extent Measure(const Font& font, std::string_view cp932) override {
    ++calls;
    return inner.Measure(font, cp932);
  }
  HeadlessBackend inner;
  int calls = 0;
};

class ControlsTest : public ::testing::Test {
 protected:
  ControlsTest() : form_(kFormLayout, backend_, &backend_) {
    form_.Build(
        {{.kind = ControlKind::kGroupBox,
          .name = "Panel",
          .width = 32,
          .height = 15,
          .font = {std::string(kProportionalFace), 15, false},
          .colour = Colour::Of(Rgb{0xFF, 0xFF, 0xFF})},
         BarLayout("Bar15", kFixed15),
         BarLayout("Bar35", kFixed35),
         {.name = "Plain", .parent = "Panel", .width = 32, .height = 15},
         {.kind = ControlKind::kListBox,
          .name = "List",
          .parent = "Panel",
          .width = 32,
          .height = 15}});
    backend_.Realise(form_);
  }

  HeadlessBackend backend_;
  Form form_;
};

// --- Auto-size -------------------------------------------------------------

TEST_F(ControlsTest, AutoSizeLabelTakesTheExtentOfItsCaption) {
  struct Case {
    const char* control;
    std::string caption;
    Extent extent;
  };
  const std::vector<Case> cases = {
      {"Bar15", "     ", {40, 15}},     {"Bar35", "     ", {90, 35}},
      {"Bar15", "", {8, 15}},   // an empty caption measures as one space
      {"Bar35", "", {18, 35}},  // and still paints a block
      {"Bar15", Cp932("人"), {16, 15}}, {"Bar15", Cp932("12人"), {32, 15}},
      {"Bar15", "a&&b&c", {32, 15}},  // shows "a&bc"
  };
  for (const Case& c : cases) {
    Control& bar = form_[c.control];
    bar.SetCaption(c.caption);
    EXPECT_EQ((Extent{bar.Width(), bar.Height()}), c.extent)
        << c.control << " \"" << c.caption << "\"";
  }
}

TEST_F(ControlsTest, InitialCaptionOfAnAutoSizeLabelIsMeasured) {
  EXPECT_EQ(form_["Bar15"].Width(), 32);  // "Lbl1"
  EXPECT_EQ(form_["Plain"].Width(), 32);  // fixed size keeps the layout's
}

TEST(ControlsMeasuring, IsLazyUntilTheSizeIsRead) {
  CountingMetrics metrics;
  Form form(kFormLayout, metrics, nullptr);
  form.Build({{.kind = ControlKind::kGroupBox, .name = "Panel"},
              BarLayout("Bar", kFixed15)});
  Control& bar = form["Bar"];
  for (int n = 0; n < 1000; ++n) bar.SetCaption(std::string(n % 50, ' '));
  EXPECT_EQ(metrics.calls, 0);
  EXPECT_EQ(bar.Width(), 49 * 8);
  EXPECT_EQ(bar.Height(), 15);
  EXPECT_EQ(metrics.calls, 1);
}

TEST_F(ControlsTest, SetWidthHoldsUntilTheCaptionChangesAgain) {
  Control& bar = form_["Bar15"];
  bar.SetCaption("   ");
  bar.SetWidth(100);
  EXPECT_EQ(bar.Width(), 100);
  EXPECT_EQ(bar.Height(), 15);
  bar.SetCaption("   ");  // the same text: nothing changes
  EXPECT_EQ(bar.Width(), 100);
  bar.SetCaption("  ");
  EXPECT_EQ(bar.Width(), 16);
}

// --- Dirty tracking --------------------------------------------------------

TEST_F(ControlsTest, OnlyRealChangesMarkAControlOnce) {
  ASSERT_TRUE(form_.DirtyControls().empty());
  Control& bar = form_["Bar15"];
  Control& list = form_["List"];

  bar.SetCaption("Lbl1");  // the caption it has
  bar.SetVisible(true);
  list.ClearItems();  // already empty
  form_["Plain"].SetWidth(32);
  EXPECT_TRUE(form_.DirtyControls().empty());

  bar.SetCaption(" ");
  bar.SetCaption("  ");
  bar.Hide();
  list.AppendItem("a");
  list.AppendItem("a");
  EXPECT_EQ(form_.DirtyControls(), (std::vector<Control*>{&bar, &list}));
  EXPECT_TRUE(bar.Dirty());

  backend_.Sync(form_);
  EXPECT_TRUE(form_.DirtyControls().empty());
  EXPECT_FALSE(bar.Dirty());
  bar.Show();
  EXPECT_EQ(form_.DirtyControls(), std::vector<Control*>{&bar});
}

TEST_F(ControlsTest, ClearingCountsAGenerationOnlyWhenItemsGo) {
  Control& list = form_["List"];
  const int start = list.ItemsGeneration();
  list.ClearItems();
  EXPECT_EQ(list.ItemsGeneration(), start);
  list.AppendItem("x");
  list.ClearItems();
  EXPECT_EQ(list.ItemsGeneration(), start + 1);
  EXPECT_TRUE(list.Items().empty());
}

// Items are packed into shared blocks: a view handed out stays valid while
// more items come, an item longer than a block gets one of its own, and
// clearing starts afresh.
TEST(ItemList, KeepsEveryItemWhereItWasAsItGrows) {
  ItemList items;
  std::vector<std::string> texts;
  for (int i = 0; i < 5000; ++i) texts.push_back("answer " + std::to_string(i));
  texts.insert(texts.begin() + 2500, std::string(40000, 'L'));
  texts.push_back("");
  texts.push_back(std::string("with\0nul", 9));
  for (const std::string& text : texts) items.Append(text);
  const std::string_view first = items[0];
  for (int i = 0; i < 3000; ++i) items.Append(std::string(100, 'x'));
  EXPECT_EQ(first, "answer 0");
  EXPECT_EQ(first.data(), items[0].data());
  ASSERT_EQ(items.size(), texts.size() + 3000);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(items[i], texts[i]) << i;
  }
  items.Clear();
  EXPECT_TRUE(items.empty());
  items.Append("again");
  EXPECT_EQ(items, (std::vector<std::string>{"again"}));
  EXPECT_FALSE(items == (std::vector<std::string>{"again", ""}));
}

// --- Building and looking up -----------------------------------------------

TEST_F(ControlsTest, UnknownNameThrowsNamingIt) {
  try {
    form_["Lblg99"];
    FAIL() << "no exception";
  } catch (const std::out_of_range& error) {
    EXPECT_NE(std::string(error.what()).find("Lblg99"), std::string::npos);
  }
  EXPECT_THROW(form_.FileListNamed("Bar15"), std::out_of_range);
  EXPECT_EQ(&form_["Form1"], &form_);
}

TEST(ControlsBuild, RejectsAnUnknownParentAndATwiceUsedName) {
  HeadlessBackend backend;
  Form form(kFormLayout, backend, &backend);
  EXPECT_THROW(form.Build({{.name = "A", .parent = "Nowhere"}}),
               std::out_of_range);
  EXPECT_THROW(form.Build({{.name = "B"}, {.name = "B"}}),
               std::invalid_argument);
}

TEST_F(ControlsTest, ControlsInheritFontAndColourFromTheirParents) {
  const Control& plain = form_["Plain"];
  EXPECT_EQ(plain.Parent(), &form_["Panel"]);
  EXPECT_EQ(plain.EffectiveFont().pixel_size, 15);
  EXPECT_EQ(plain.EffectiveColour(), (Rgb{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(form_["Bar15"].EffectiveColour(), (Rgb{0, 0, 0xFF}));
  EXPECT_EQ(form_.EffectiveColour(),
            Resolve(SystemColour::kInactiveCaptionText));
  EXPECT_EQ(form_.Controls().size(), 5u);
}

TEST(SystemColours, KeepWindowTextReadable) {
  EXPECT_EQ(Resolve(SystemColour::kWindow), (Rgb{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Resolve(SystemColour::kWindowText), (Rgb{0, 0, 0}));
  for (SystemColour grey :
       {SystemColour::kButtonFace, SystemColour::kInactiveCaptionText}) {
    const Rgb rgb = Resolve(grey);
    EXPECT_GE(rgb.r + rgb.g + rgb.b, 3 * 0xC0);
  }
}

TEST(WithoutAmpersands, ShowsWhatALabelShows) {
  EXPECT_EQ(WithoutAmpersands("&Yes"), "Yes");
  EXPECT_EQ(WithoutAmpersands("a&&b"), "a&b");
  EXPECT_EQ(WithoutAmpersands("&&&x&"), "&x");
  // A CP932 trail byte is never taken for part of an ampersand pair.
  EXPECT_EQ(WithoutAmpersands(Cp932("表&&")), Cp932("表&"));
}

TEST(ShownRuns, MarkTheOneCharacterAnAmpersandUnderlines) {
  using Runs = std::vector<ShownRun>;
  EXPECT_EQ(ShownRuns("&"), Runs{});
  EXPECT_EQ(ShownRuns("a&&b&"), (Runs{{"a&b", false}}));
  EXPECT_EQ(ShownRuns("&&&x&y"),
            (Runs{{"&", false}, {"x", true}, {"y", true}}));
  EXPECT_EQ(ShownRuns(Cp932("&表示")),
            (Runs{{Cp932("表"), true}, {Cp932("示"), false}}));
}

class FileListTest : public tabulon::test_support::InScratchFolder {};

TEST(ShownItemText, IsTheFirstCharactersKeptWhole) {
  const std::size_t n = kShownItemCharacters;
  const std::string kanji = Cp932("人");
  std::string kanjis;
  for (std::size_t i = 0; i <= n; ++i) kanjis += kanji;
  EXPECT_EQ(ShownItemText("short"), "short");
  EXPECT_EQ(ShownItemText(std::string(n + 9, 'x')), std::string(n, 'x'));
  EXPECT_EQ(ShownItemText(kanjis).size(), 2 * n);
  // A lead byte as the last shown character takes its trail byte along.
  const std::string mixed = std::string(n - 1, 'x') + kanji + "y";
  EXPECT_EQ(ShownItemText(mixed), std::string(n - 1, 'x') + kanji);
}

TEST_F(ControlsTest, AListKeepsWhatItShowsOfAHugeItem) {
  Control& list = form_["List"];
  const std::string huge = std::string(3 << 20, 'x');
  list.AppendItem(huge);
  EXPECT_EQ(list.Items()[0], ShownItemText(huge));
}

TEST_F(FileListTest, ReadsTheFolderWithTheFormsBusyPointer) {
  HeadlessBackend backend;
  Form form(kFormLayout, backend, &backend);
  form.Build({{.kind = ControlKind::kFileList, .name = "FileListBox1"}});
  for (int i = 0; i < 101; ++i) {
    tabulon::test_support::WriteBytes(std::to_string(1000 + i) + ".ans", "");
  }
  text::AnswerFileList& list = form.FileListNamed("FileListBox1").List();
  list.Refresh();
  EXPECT_EQ(list.Count(), 101);
  EXPECT_EQ(backend.BusyCalls(), (std::vector<bool>{true, false}));
}

// --- The handler guard -----------------------------------------------------

TEST_F(ControlsTest, AFailureEndsTheHandlerInOneStopBox) {
  bool screen_current_at_box = false;
  backend_.on_stop = [&](const HeadlessBackend::StopShown&) {
    screen_current_at_box = form_.DirtyControls().empty();
  };
  bool went_on = false;
  RunHandler(backend_, form_, [&] {
    form_["Bar15"].SetCaption("  ");
    throw text::InputOutputFailure(2);
    went_on = true;
  });
  EXPECT_FALSE(went_on);
  ASSERT_EQ(backend_.Stops().size(), 1u);
  EXPECT_EQ(backend_.Stops()[0].caption, "Tabulon");
  EXPECT_EQ(backend_.Stops()[0].message,
            Cp932("ファイルが見つかりません") + ".");
  EXPECT_TRUE(screen_current_at_box);
  EXPECT_EQ(form_["Bar15"].Caption(), "  ");  // nothing rolled back

  // The program goes on: the next handler runs as usual.
  RunHandler(backend_, form_, [&] { went_on = true; });
  EXPECT_TRUE(went_on);
  EXPECT_EQ(backend_.Stops().size(), 1u);
  EXPECT_TRUE(form_.DirtyControls().empty());
}

TEST_F(ControlsTest, FailureMessagesFollowTheFullStopRule) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {Cp932("I/O エラー (32)"), Cp932("I/O エラー (32)")},
      {Cp932("'abc' は整数ではありません"),
       Cp932("'abc' は整数ではありません.")},
      {"", ""},
  };
  for (const auto& [thrown, shown] : cases) {
    RunHandler(backend_, form_, [&] { throw text::Failure(thrown); });
    ASSERT_FALSE(backend_.Stops().empty());
    EXPECT_EQ(backend_.Stops().back().message, shown);
  }
  EXPECT_EQ(backend_.Stops().size(), cases.size());
}

TEST_F(ControlsTest, OtherExceptionsAreNotCaught) {
  EXPECT_THROW(
      RunHandler(backend_, form_, [] { throw std::logic_error("bug"); }),
      std::logic_error);
  EXPECT_TRUE(backend_.Stops().empty());
}

TEST_F(ControlsTest, AnEmptyHandlerStillSyncs) {
  form_["Bar15"].Hide();
  RunHandler(backend_, form_, nullptr);
  EXPECT_TRUE(form_.DirtyControls().empty());
}

// --- Headless backend ------------------------------------------------------

TEST(HeadlessBackend, AnswersConfirmationsFromItsScript) {
  HeadlessBackend backend;
  const Confirmation box{"caption", "message", "yes", "no"};
  backend.QueueAnswer(true);
  backend.QueueAnswer(false);
  EXPECT_TRUE(backend.Confirm(box));
  EXPECT_FALSE(backend.Confirm(box));
  EXPECT_FALSE(backend.Confirm(box));  // an empty script says no
  ASSERT_EQ(backend.Confirmations().size(), 3u);
  EXPECT_EQ(backend.Confirmations()[0].yes_button, "yes");
}

TEST(HeadlessBackend, RunReturnsAtOnceWithTheStateAsked) {
  HeadlessBackend backend;
  Form form(kFormLayout, backend, &backend);
  EXPECT_EQ(backend.Run(form, ShowState::kMaximised), 0);
  EXPECT_EQ(backend.ShownAs(), ShowState::kMaximised);
  EXPECT_TRUE(form.DirtyControls().empty());
}

}  // namespace
}  // namespace tabulon::gui
