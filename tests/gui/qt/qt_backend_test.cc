// The Qt backend, offscreen: text metrics of the substituted faces, the
// painted window (bars, stacking, ampersands, scrolling) and the two
// message boxes.
#include "gui/qt/qt_backend.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "support/scratch_folder.h"
#include "text/failure.h"

namespace tabulon::gui {
namespace {

using tabulon::test_support::Sjis;

const Font kFixed15{std::string(kFixedPitchFace), 15, false};
const Font kFixed35{std::string(kFixedPitchFace), 35, false};
const Rgb kWhite{0xFF, 0xFF, 0xFF};
const Rgb kBlue{0, 0, 0xFF};
const Rgb kRed{0xFF, 0, 0};
const Rgb kLime{0, 0xFF, 0};
const Rgb kFuchsia{0xFF, 0, 0xFF};
const Rgb kAqua{0, 0xFF, 0xFF};

// One application for the whole test program.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[8] = "tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};
const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// A label of the panel at (left, top), fixed in size unless said otherwise.
ControlLayout LabelLayout(std::string name, int left, int top, int width,
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

ControlLayout BarLayout(std::string name, int top, Font font, Rgb colour) {
  ControlLayout layout =
      LabelLayout(std::move(name), 8, top, 32, 15, colour, "     ", font);
  layout.auto_size = true;
  return layout;
}

// 60 x 50 px: room for seven characters a line, where the caption needs 11.
ControlLayout WrappingLayout(std::string name, bool wrap) {
  ControlLayout layout = LabelLayout(std::move(name), wrap ? 220 : 290, 90, 60,
                                     50, kWhite, "abc def ghi");
  layout.word_wrap = wrap;
  return layout;
}

const ControlLayout kFormLayout{
    .kind = ControlKind::kForm,
    .name = "Form1",
    .left = 6,
    .top = 4,
    .width = 420,
    .height = 320,
    .font = {std::string(kProportionalFace), 12, false},
    .colour = Colour::Of(SystemColour::kInactiveCaptionText),
    .caption_utf8 = "校内アンケート　Tabulon"};

// A small window: two overlapping panels, and a panel of labels with bars,
// overlapping labels, a list over a later label, and ampersand captions.
std::vector<ControlLayout> Description() {
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
       .font = {std::string(kProportionalFace), 15, false},
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
       .font = {std::string(kProportionalFace), 19, true},
       .colour = Colour::Of(kWhite),
       .caption_utf8 = "アンケート集計",
       .tab_order = 1},
  };
}

class QtBackendTest : public ::testing::Test {
 protected:
  QtBackendTest() : form_(kFormLayout, backend_, &backend_) {
    form_.Build(Description());
    backend_.Realise(form_);
  }

  // The control's top-left corner in the rendered window.
  QPoint Origin(const char* name) {
    return backend_.WidgetOf(form_[name])->mapTo(backend_.Window(), QPoint());
  }

  static Rgb At(const QImage& image, QPoint point) {
    const QColor colour = image.pixelColor(point);
    return {static_cast<std::uint8_t>(colour.red()),
            static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
  }

  // How far pixels of `colour` run from `start` in steps of `step`.
  static int Run(const QImage& image, QPoint start, QPoint step, Rgb colour) {
    int n = 0;
    for (QPoint p = start; image.rect().contains(p) && At(image, p) == colour;
         p += step) {
      ++n;
    }
    return n;
  }

  QtBackend backend_;
  Form form_;
};

// --- Text metrics ------------------------------------------------------------

TEST_F(QtBackendTest, FixedFaceBlanksFollowTheDesktopRule) {
  struct Case {
    Font font;
    int blanks;
    Extent extent;
  };
  for (const Case& c :
       {Case{kFixed15, 1, {8, 15}}, Case{kFixed15, 42, {336, 15}},
        Case{kFixed35, 1, {18, 35}}, Case{kFixed35, 41, {738, 35}}}) {
    EXPECT_EQ(backend_.Measure(c.font, std::string(c.blanks, ' ')), c.extent)
        << c.font.pixel_size << " px, " << c.blanks << " blanks";
  }
}

TEST_F(QtBackendTest, MissingDesktopFacesBecomeTheIpaFaces) {
  for (std::string_view face : {kProportionalFace, kFixedPitchFace}) {
    const std::string family = QtBackend::FamilyFor(std::string(face));
    EXPECT_TRUE(QFontDatabase::hasFamily(QString::fromStdString(family)))
        << family;
  }
  if (!QFontDatabase::hasFamily(QString::fromUtf8(kFixedPitchFace.data()))) {
    EXPECT_EQ(QtBackend::FamilyFor(std::string(kFixedPitchFace)), "IPAGothic");
  }
}

// --- The painted window ------------------------------------------------------

TEST_F(QtBackendTest, BarsAreBlocksOfTheirColourAndExtent) {
  form_["Bar35"].SetCaption("");  // an empty bar still shows one blank
  const QImage image = backend_.Render(form_);
  const QPoint bar15 = Origin("Bar15");
  EXPECT_EQ(Run(image, bar15, {1, 0}, kBlue), 40);
  EXPECT_EQ(Run(image, bar15, {0, 1}, kBlue), 15);
  EXPECT_EQ(Run(image, bar15 + QPoint(39, 14), {-1, -1}, kBlue), 15);
  const QPoint bar35 = Origin("Bar35");
  EXPECT_EQ(Run(image, bar35, {1, 0}, kRed), 18);
  EXPECT_EQ(Run(image, bar35, {0, 1}, kRed), 35);

  form_["Bar35"].SetCaption("     ");
  EXPECT_EQ(Run(backend_.Render(form_), bar35, {1, 0}, kRed), 90);
}

TEST_F(QtBackendTest, LaterControlsLieAboveAndLabelsBeneathWindowedOnes) {
  const QImage image = backend_.Render(form_);
  EXPECT_EQ(At(image, Origin("High") + QPoint(100, 50)), kLime);
  EXPECT_EQ(At(image, Origin("Early") + QPoint(5, 5)), kFuchsia);
  EXPECT_EQ(At(image, Origin("Early") + QPoint(25, 5)), kAqua);
  EXPECT_EQ(At(image, Origin("UnderList") + QPoint(5, 5)), kLime);
  EXPECT_NE(At(image, Origin("UnderList") + QPoint(20, 5)), kLime);

  // Hiding the upper panel uncovers the lower one.
  form_["High"].Hide();
  EXPECT_EQ(At(backend_.Render(form_), Origin("Low") + QPoint(100, 50)), kRed);
}

// The rows of a label's image that hold ink other than its background.
std::vector<int> InkRows(const QImage& image, QRect rect) {
  std::vector<int> rows;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (image.pixelColor(x, y) != Qt::white) {
        rows.push_back(y - rect.top());
        break;
      }
    }
  }
  return rows;
}

TEST_F(QtBackendTest, AnAmpersandUnderlinesTheNextCharacterInsteadOfShowing) {
  const QImage image = backend_.Render(form_);
  const QRect amp(Origin("Amp"), QSize(40, 17));
  const QRect plain(Origin("Plain"), QSize(40, 17));
  // Above the underline the two captions are the same "A" at the same place.
  const std::vector<int> amp_rows = InkRows(image, amp);
  const std::vector<int> plain_rows = InkRows(image, plain);
  ASSERT_FALSE(plain_rows.empty());
  ASSERT_GT(amp_rows.size(), plain_rows.size());
  for (int y = 0; y <= plain_rows.back(); ++y) {
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(image.pixelColor(amp.topLeft() + QPoint(x, y)),
                image.pixelColor(plain.topLeft() + QPoint(x, y)))
          << x << ", " << y;
    }
  }
  // The underline spans the one character cell, 8 px.
  const int line = amp_rows.back();
  EXPECT_EQ(Run(image, amp.topLeft() + QPoint(0, line), {1, 0}, Rgb{0, 0, 0}),
            8);

  // "&&" shows one ampersand and underlines nothing.
  const std::vector<int> doubled =
      InkRows(image, QRect(Origin("Doubled"), QSize(40, 17)));
  ASSERT_FALSE(doubled.empty());
  EXPECT_LE(doubled.back(), plain_rows.back() + 1);
}

TEST_F(QtBackendTest, WordWrapBreaksAtBlanksAndAFixedLabelClips) {
  const QImage image = backend_.Render(form_);
  const int line = QFontMetrics(static_cast<const QWidget*>(
                                    backend_.WidgetOf(form_["Wrapped"]))
                                    ->font())
                       .height();
  // "abc def" fits the 60 px (56 px), "ghi" goes to the second line.
  const std::vector<int> wrapped =
      InkRows(image, QRect(Origin("Wrapped"), QSize(60, 50)));
  ASSERT_FALSE(wrapped.empty());
  EXPECT_GE(wrapped.back(), line);
  EXPECT_LT(wrapped.back(), 2 * line);
  const std::vector<int> clipped =
      InkRows(image, QRect(Origin("Clipped"), QSize(60, 50)));
  ASSERT_FALSE(clipped.empty());
  EXPECT_LT(clipped.back(), line);
}

TEST_F(QtBackendTest, ListItemsShowAmpersandsAsTheyAre) {
  Control& list = form_["List"];
  list.AppendItem("a&b");
  list.AppendItem(Sjis("自由記述"));
  backend_.Sync(form_);
  auto* widget = static_cast<QListWidget*>(backend_.WidgetOf(list));
  ASSERT_EQ(widget->count(), 2);
  EXPECT_EQ(widget->item(0)->text(), QStringLiteral("a&b"));
  EXPECT_EQ(widget->item(1)->text(), QString::fromUtf8("自由記述"));
  EXPECT_EQ(widget->visualItemRect(widget->item(1)).height(), 15);

  list.ClearItems();
  list.AppendItem("c");
  backend_.Sync(form_);
  ASSERT_EQ(widget->count(), 1);
  EXPECT_EQ(widget->item(0)->text(), QStringLiteral("c"));
}

// The list widget reads the control's own items: an item the control no
// longer has (cleared, not yet synced) reads as empty instead of as freed
// memory, and a sync shows the new items.
TEST_F(QtBackendTest, ListItemsAreTheControlsOwnAndNeverDangle) {
  Control& list = form_["List"];
  for (int i = 0; i < 1000; ++i) list.AppendItem(std::to_string(i));
  backend_.Sync(form_);
  auto* widget = static_cast<QListWidget*>(backend_.WidgetOf(list));
  ASSERT_EQ(widget->count(), 1000);
  EXPECT_EQ(widget->item(999)->text(), QStringLiteral("999"));
  EXPECT_EQ(widget->item(999)->data(Qt::EditRole).toString(),
            QStringLiteral("999"));
  list.ClearItems();
  list.AppendItem(Sjis("新しい"));
  EXPECT_EQ(widget->item(999)->text(), QString());
  EXPECT_EQ(widget->item(0)->text(), QString::fromUtf8("新しい"));
  backend_.Sync(form_);
  ASSERT_EQ(widget->count(), 1);
  EXPECT_EQ(widget->item(0)->text(), QString::fromUtf8("新しい"));
}

TEST_F(QtBackendTest, ASmallWindowScrollsAndALargeOneKeepsTheLayoutTopLeft) {
  auto* window = static_cast<QScrollArea*>(backend_.Window());
  window->setAttribute(Qt::WA_DontShowOnScreen);
  window->show();
  window->resize(150, 120);
  QApplication::processEvents();
  EXPECT_TRUE(window->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(window->verticalScrollBar()->isVisible());

  window->resize(1200, 900);
  QApplication::processEvents();
  EXPECT_FALSE(window->horizontalScrollBar()->isVisible());
  EXPECT_FALSE(window->verticalScrollBar()->isVisible());
  EXPECT_EQ(backend_.Content()->pos(), QPoint(0, 0));
  const QImage image = window->grab().toImage();
  EXPECT_EQ(At(image, {1100, 800}),
            Resolve(SystemColour::kInactiveCaptionText));
  window->hide();
}

TEST_F(QtBackendTest, TheWindowTakesTheFormsCaptionAndPlace) {
  EXPECT_EQ(backend_.Window()->windowTitle(),
            QString::fromUtf8("校内アンケート　Tabulon"));
  EXPECT_EQ(backend_.Window()->pos(), QPoint(6, 4));
  // The client area is the outer size less the frame.
  EXPECT_LT(backend_.Window()->width(), 420);
  EXPECT_LT(backend_.Window()->height(), 320);
}

TEST_F(QtBackendTest, RendersToAPngFile) {
  tabulon::test_support::ScratchFolder folder;
  ASSERT_TRUE(backend_.RenderToPng(form_, "window.png"));
  if (const char* keep = std::getenv("TABULON_KEEP_PNG")) {
    backend_.RenderToPng(form_, keep);
  }
  QImage image("window.png");
  EXPECT_EQ(image.size(), backend_.Window()->size());
  EXPECT_FALSE(backend_.Window()->isVisible());
}

// --- What a screen reader gets ---------------------------------------------

QString AccessibleName(QWidget* widget) {
  return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

TEST_F(QtBackendTest, LabelsAreReadAsShownWithoutAmpersandMarkers) {
  EXPECT_EQ(AccessibleName(backend_.WidgetOf(form_["Amp"])), "A");
  EXPECT_EQ(AccessibleName(backend_.WidgetOf(form_["Doubled"])), "&");
  form_["Amp"].SetCaption(Sjis("集&計"));
  backend_.Sync(form_);
  EXPECT_EQ(AccessibleName(backend_.WidgetOf(form_["Amp"])),
            QString::fromUtf8("集計"));
  QAccessibleInterface* panel =
      QAccessible::queryAccessibleInterface(backend_.WidgetOf(form_["Panel"]));
  EXPECT_EQ(panel->role(), QAccessible::Grouping);
}

// --- Boxes and clicks --------------------------------------------------------

// Runs `act` on the modal box once it shows.
void WhenBoxShows(std::function<void(QMessageBox&)> act) {
  QTimer::singleShot(0, [act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    act(*box);
  });
}

void PressKey(QWidget& widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
}

TEST_F(QtBackendTest, StopBoxIsModalWithTheStopIconAndOneButton) {
  bool seen = false;
  WhenBoxShows([&](QMessageBox& box) {
    seen = true;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Tabulon"));
    EXPECT_EQ(box.text(), QString::fromUtf8("ファイルが見つかりません."));
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    EXPECT_EQ(box.buttons().size(), 1);
    EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
    PressKey(box, Qt::Key_Return);
  });
  backend_.ShowStop("Tabulon", Sjis("ファイルが見つかりません."));
  EXPECT_TRUE(seen);
}

struct ConfirmCase {
  const char* how;
  std::function<void(QMessageBox&)> close;
  bool yes;
};

TEST_F(QtBackendTest, ConfirmationIsYesOnlyForTheFirstButton) {
  const Confirmation confirmation{Sjis("確認"),
                                  Sjis("個人データファイルを消去しますか？") +
                                      "\r" + Sjis("（集計結果.csvは残します)"),
                                  Sjis("はい(&Y)"), Sjis("いいえ(&N)")};
  const std::vector<ConfirmCase> cases = {
      {"Enter", [](QMessageBox& box) { PressKey(box, Qt::Key_Return); }, true},
      {"Escape", [](QMessageBox& box) { PressKey(box, Qt::Key_Escape); },
       false},
      {"close box", [](QMessageBox& box) { box.close(); }, false},
      {"second button", [](QMessageBox& box) { box.buttons().at(1)->click(); },
       false},
  };
  for (const ConfirmCase& c : cases) {
    WhenBoxShows([&](QMessageBox& box) {
      EXPECT_EQ(box.windowTitle(), QString::fromUtf8("確認"));
      EXPECT_EQ(box.icon(), QMessageBox::Question);
      EXPECT_EQ(box.text(),
                QString::fromUtf8("個人データファイルを消去しますか？\n"
                                  "（集計結果.csvは残します)"));
      const QList<QAbstractButton*> buttons = box.buttons();
      EXPECT_EQ(buttons.size(), 2);
      EXPECT_EQ(buttons.at(0)->text(), QString::fromUtf8("はい(&Y)"));
      EXPECT_EQ(box.defaultButton(), buttons.at(0));
      EXPECT_EQ(box.escapeButton(), buttons.at(1));
      c.close(box);
    });
    EXPECT_EQ(backend_.Confirm(confirmation), c.yes) << c.how;
  }
}

TEST_F(QtBackendTest, UnattendedBoxesAnswerAsEnterWithoutShowing) {
  backend_.AnswerBoxesUnattended(true);
  // A box that showed would wait for ever: fail the test instead.
  QTimer::singleShot(0, [] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      ADD_FAILURE() << "a box showed";
      box->close();
    }
  });
  ::testing::internal::CaptureStderr();
  backend_.ShowStop("Tabulon", Sjis("ファイルが見つかりません."));
  const bool yes =
      backend_.Confirm({Sjis("確認"), Sjis("消しますか？\r（残します)"),
                        Sjis("はい(&Y)"), Sjis("いいえ(&N)")});
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(yes);
  EXPECT_EQ(said,
            "Tabulon: ファイルが見つかりません. [OK]\n"
            "確認: 消しますか？\n（残します) [はい(Y)]\n");
  QApplication::processEvents();
}

// Runs `act` on the folder dialog once it shows.
void WhenFolderDialogShows(std::function<void(QFileDialog&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog =
        qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

TEST_F(QtBackendTest, FolderDialogGivesTheChosenFolderOrNothing) {
  test_support::ScratchFolder scratch;
  std::filesystem::create_directory("２年１組");
  const std::string chosen =
      (std::filesystem::current_path() / "２年１組").string();
  WhenFolderDialogShows([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("フォルダ"));
    EXPECT_EQ(
        QFile::encodeName(dialog.directory().absolutePath()),
        QByteArray::fromStdString(std::filesystem::current_path().string()));
    dialog.selectFile(QString::fromStdString(chosen));
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  EXPECT_EQ(backend_.ChooseFolder(Sjis("フォルダ")), chosen);

  WhenFolderDialogShows([](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(backend_.ChooseFolder(Sjis("フォルダ")), "");
}

TEST_F(QtBackendTest, AClickRunsItsHandlerThroughTheGuard) {
  Control& bar = form_["Bar15"];
  form_["Button1"].on_click = [&] {
    bar.SetCaption("  ");
    throw text::InputOutputFailure(5);
  };
  QString shown;
  int bar_width_at_box = 0;
  WhenBoxShows([&](QMessageBox& box) {
    shown = box.text();
    bar_width_at_box = backend_.WidgetOf(bar)->width();
    box.close();
  });
  static_cast<QPushButton*>(backend_.WidgetOf(form_["Button1"]))->click();
  EXPECT_EQ(shown, QString::fromUtf8("ファイルへのアクセスが拒否されました."));
  EXPECT_EQ(bar_width_at_box, 16);  // the screen was brought up to date first
  EXPECT_TRUE(form_.DirtyControls().empty());
}

TEST_F(QtBackendTest, TabMovesThroughListsAndButtonsInTheirOrder) {
  QWidget* list = backend_.WidgetOf(form_["List"]);
  QWidget* button = backend_.WidgetOf(form_["Button1"]);
  QWidget* next = list->nextInFocusChain();
  while (next != list &&
         (list->isAncestorOf(next) || !(next->focusPolicy() & Qt::TabFocus))) {
    next = next->nextInFocusChain();
  }
  EXPECT_EQ(next, button);
  EXPECT_EQ(backend_.WidgetOf(form_["Bar15"])->focusPolicy(), Qt::NoFocus);
}

TEST_F(QtBackendTest, SyncTouchesOnlyWhatChanged) {
  QWidget* bar = backend_.WidgetOf(form_["Bar15"]);
  for (int n = 1; n <= 1000; ++n)
    form_["Bar15"].SetCaption(std::string(n, ' '));
  EXPECT_EQ(bar->width(), 40);  // nothing reaches the widget before Sync
  EXPECT_EQ(form_.DirtyControls().size(), 1u);
  backend_.Sync(form_);
  EXPECT_EQ(bar->width(), 8000);
}

}  // namespace
}  // namespace tabulon::gui
