// The Qt backend, offscreen: text metrics of the substituted faces and the
// painted window (bars, stacking, ampersands, scrolling, what a screen
// reader is told).
#include "gui/qt/qt_backend.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QListView>
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

#include "gui/ampersand_rule_body.h"
#include "qt_test_window.h"
#include "support/scratch_folder.h"
#include "text/failure.h"

namespace tabulon::gui {
namespace {

using namespace qt_test;
using tabulon::test_support::Cp932;

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

TEST_F(QtBackendTest, FollowsTheAmpersandRule) {
  test_window::ExpectTheAmpersandRule([&](std::string_view cp932) {
    form_["Plain"].SetCaption(cp932);
    const QImage image =
        backend_.Render(form_).copy(QRect(Origin("Plain"), QSize(40, 17)));
    test_window::LabelPicture picture{image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        picture.rgb.push_back(image.pixel(x, y) & 0xFFFFFF);
      }
    }
    return picture;
  });
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

// The text of a list's row as Qt is given it.
QString RowText(const QListView* list, int row, int role = Qt::DisplayRole) {
  return list->model()->index(row, 0).data(role).toString();
}

TEST_F(QtBackendTest, ListItemsShowAmpersandsAsTheyAre) {
  Control& list = form_["List"];
  list.AppendItem("a&b");
  list.AppendItem(Cp932("自由記述"));
  backend_.Sync(form_);
  auto* widget = static_cast<QListView*>(backend_.WidgetOf(list));
  ASSERT_EQ(widget->model()->rowCount(), 2);
  EXPECT_EQ(RowText(widget, 0), QStringLiteral("a&b"));
  EXPECT_EQ(RowText(widget, 1), QString::fromUtf8("自由記述"));
  EXPECT_EQ(widget->visualRect(widget->model()->index(1, 0)).height(), 15);

  list.ClearItems();
  list.AppendItem("c");
  backend_.Sync(form_);
  ASSERT_EQ(widget->model()->rowCount(), 1);
  EXPECT_EQ(RowText(widget, 0), QStringLiteral("c"));
}

// The list widget reads the control's own items: an item the control no
// longer has (cleared, not yet synced) reads as empty instead of as freed
// memory, and a sync shows the new items.
TEST_F(QtBackendTest, ListItemsAreTheControlsOwnAndNeverDangle) {
  Control& list = form_["List"];
  for (int i = 0; i < 1000; ++i) list.AppendItem(std::to_string(i));
  backend_.Sync(form_);
  auto* widget = static_cast<QListView*>(backend_.WidgetOf(list));
  ASSERT_EQ(widget->model()->rowCount(), 1000);
  EXPECT_EQ(RowText(widget, 999), QStringLiteral("999"));
  EXPECT_EQ(RowText(widget, 999, Qt::EditRole), QStringLiteral("999"));
  list.ClearItems();
  list.AppendItem(Cp932("新しい"));
  EXPECT_EQ(RowText(widget, 999), QString());
  EXPECT_EQ(RowText(widget, 0), QString::fromUtf8("新しい"));
  backend_.Sync(form_);
  ASSERT_EQ(widget->model()->rowCount(), 1);
  EXPECT_EQ(RowText(widget, 0), QString::fromUtf8("新しい"));
}

// A huge answer is laid out and painted only as far as it can be seen: the
// list looks exactly as it does with the item's first characters alone.
TEST_F(QtBackendTest, AHugeItemShowsWhatItsFirstCharactersShow) {
  Control& list = form_["List"];
  std::string start;
  for (int i = 0; i < 60; ++i) start += Cp932("自由記述");
  list.AppendItem(start + std::string(2 << 20, 'x'));
  const QImage huge = backend_.Render(form_);
  list.ClearItems();
  list.AppendItem(start);
  EXPECT_TRUE(backend_.Render(form_) == huge);
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
  form_["Amp"].SetCaption(Cp932("集&計"));
  backend_.Sync(form_);
  EXPECT_EQ(AccessibleName(backend_.WidgetOf(form_["Amp"])),
            QString::fromUtf8("集計"));
  QAccessibleInterface* panel =
      QAccessible::queryAccessibleInterface(backend_.WidgetOf(form_["Panel"]));
  EXPECT_EQ(panel->role(), QAccessible::Grouping);
}

}  // namespace
}  // namespace tabulon::gui
