// The bundled sample, end to end on the Qt backend offscreen: a tally paints
// bars of 8 px per person in their row colours and writes the results file
// whose rows add up to the counts shown; the enlarged view paints 18 px per
// person.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <QWidget>
#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

#include "gui/qt/qt_backend.h"
#include "platform/codepage.h"
#include "support/results_sums.h"
#include "support/scratch_folder.h"
#include "window/form_description.h"
#include "window/main_window.h"

namespace tabulon::window {
namespace {

using test_support::ChoiceSums;
using test_support::Cp932;
using test_support::CsvRows;
using test_support::ReadBytes;

const gui::Rgb kRowColours[5] = {
    {0, 0, 0xFF}, {0xFF, 0, 0}, {0, 0xFF, 0}, {0xFF, 0, 0xFF}, {0, 0xFF, 0xFF}};

// The Qt backend with its error box recorded, so a failure cannot block
// the test in a modal box.
class RecordingQtBackend : public gui::QtBackend {
 public:
  void ShowStop(std::string_view, std::string_view message) override {
    stops.emplace_back(message);
  }
  std::vector<std::string> stops;
};

class SampleEndToEndTest : public test_support::InScratchFolder {
 protected:
  void SetUp() override {
    // As the program runs on Debian, after Qt has read the environment.
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::filesystem::copy(TABULON_SAMPLE_DIR, ".");
  }
  // Creates and realises the window in the current folder.
  void Start() {
    window_ = std::make_unique<TForm1>(backend_);
    window_->Create();
    backend_.Realise(window_->Form());
    ASSERT_TRUE(backend_.stops.empty());
  }
  void Click(const std::string& button) {
    gui::RunHandler(backend_, window_->Form(),
                    window_->Form()[button].on_click);
  }
  gui::Control& operator[](const std::string& name) {
    return window_->Form()[name];
  }

  // The bar's width on screen and the colour at its middle, checked
  // against its caption's length.
  void ExpectBar(const QImage& image, const std::string& bar_name, int c,
                 int px_per_person) {
    gui::Control& bar = (*this)[bar_name];
    const int persons = static_cast<int>(bar.Caption().size());
    QWidget* widget = backend_.WidgetOf(bar);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->width(), persons * px_per_person) << bar_name;
    const QPoint origin = widget->mapTo(backend_.Window(), QPoint(0, 0));
    const QColor middle = image.pixelColor(origin.x() + widget->width() / 2,
                                           origin.y() + widget->height() / 2);
    EXPECT_EQ(middle, QColor(kRowColours[c - 1].r, kRowColours[c - 1].g,
                             kRowColours[c - 1].b))
        << bar_name;
    const QColor beyond = image.pixelColor(origin.x() + widget->width() + 2,
                                           origin.y() + widget->height() / 2);
    EXPECT_NE(beyond, middle) << bar_name << " runs on past its end";
  }

  RecordingQtBackend backend_;
  std::unique_ptr<TForm1> window_;
};

TEST_F(SampleEndToEndTest, TallyPaintsBarsThatMatchTheResultsFile) {
  Start();
  Click("Button1");
  ASSERT_TRUE(backend_.stops.empty());
  // Named on disk as the desktop names it.
  ASSERT_TRUE(std::filesystem::exists("集計結果.csv"));
  const auto rows = CsvRows(ReadBytes(Cp932("集計結果.csv")));
  const int respondents = static_cast<int>(rows.size()) - 2;
  EXPECT_EQ((*this)["LblSum"].Caption(),
            std::to_string(respondents) + Cp932("人のデータを集計しました"));

  const QImage image = backend_.Render(window_->Form());
  int bars_seen = 0;
  for (const auto& [q, c, sum] :
       ChoiceSums(rows, window_->Questionnaire(), 8)) {
    if (sum == 0) {
      EXPECT_FALSE((*this)[BarLabelName(q, c)].Visible());
      continue;
    }
    EXPECT_EQ((*this)[CountLabelName(q, c)].Caption(),
              std::to_string(sum) + Cp932("人"))
        << "question " << q << " choice " << c;
    ExpectBar(image, BarLabelName(q, c), c, 8);
    ++bars_seen;
  }
  EXPECT_GT(bars_seen, 10);
}

// --- What a screen reader gets ---------------------------------------------

QAccessibleInterface* Accessible(QWidget* widget) {
  QAccessibleInterface* accessible =
      QAccessible::queryAccessibleInterface(widget);
  EXPECT_NE(accessible, nullptr);
  return accessible;
}

QString NameOf(QWidget* widget) {
  QAccessibleInterface* accessible = Accessible(widget);
  return accessible == nullptr ? QString()
                               : accessible->text(QAccessible::Name);
}

TEST_F(SampleEndToEndTest, ScreenReaderHearsTheCountsTheResultsFileAddsUpTo) {
  Start();
  Click("Button1");
  const auto rows = CsvRows(ReadBytes(Cp932("集計結果.csv")));
  for (int q = 1; q <= 10 && window_->Questionnaire().At(q).InUse(); ++q) {
    const QString question_text = QString::fromStdString(platform::Cp932ToUtf8(
        gui::WithoutAmpersands(window_->Questionnaire().At(q).text)));
    EXPECT_EQ(NameOf(backend_.WidgetOf((*this)[ListBoxName(q)])), question_text)
        << "list of question " << q;
  }
  int counts_heard = 0;
  for (const auto& [q, c, sum] :
       ChoiceSums(rows, window_->Questionnaire(), 10)) {
    if (sum == 0) continue;
    const QString persons = QString::number(sum) + QString::fromUtf8("人");
    QWidget* count = backend_.WidgetOf((*this)[CountLabelName(q, c)]);
    QWidget* bar = backend_.WidgetOf((*this)[BarLabelName(q, c)]);
    EXPECT_EQ(NameOf(count), persons) << "question " << q << " choice " << c;
    EXPECT_EQ(NameOf(bar), persons) << "question " << q << " choice " << c;
    EXPECT_EQ(Accessible(count)->role(), QAccessible::StaticText);
    EXPECT_EQ(Accessible(bar)->role(), QAccessible::ProgressBar);
    ++counts_heard;
  }
  EXPECT_GT(counts_heard, 10);
  EXPECT_EQ(NameOf(backend_.WidgetOf((*this)["LblSum"])),
            QString::number(static_cast<int>(rows.size()) - 2) +
                QString::fromUtf8("人のデータを集計しました"));
  QWidget* panel = backend_.WidgetOf((*this)[PanelName(1)]);
  EXPECT_EQ(Accessible(panel)->role(), QAccessible::Grouping);
}

TEST_F(SampleEndToEndTest, ScreenReaderHearsTheEnlargedHeadlineAndItsRows) {
  Start();
  Click("Button1");
  Click("Button3");
  const survey::Question& first = window_->Questionnaire().At(1);
  EXPECT_EQ(NameOf(backend_.WidgetOf((*this)[PanelName(kEnlargedPanel)])),
            QString::fromUtf8("第1問目"));
  EXPECT_EQ(NameOf(backend_.WidgetOf((*this)["Lbl110"])),
            QString::fromStdString(platform::Cp932ToUtf8(first.text)));
  EXPECT_EQ(NameOf(backend_.WidgetOf((*this)[ListBoxName(kEnlargedPanel)])),
            QString::fromStdString(platform::Cp932ToUtf8(first.text)));
  for (int c = 1; c <= 5; ++c) {
    const std::string& shown =
        (*this)[CountLabelName(kEnlargedPanel, c)].Caption();
    if (shown.empty()) continue;
    EXPECT_EQ(
        NameOf(backend_.WidgetOf((*this)[BarLabelName(kEnlargedPanel, c)])),
        QString::fromStdString(platform::Cp932ToUtf8(shown)));
  }
  // Stepping on renames what is read.
  Click("Button5");
  EXPECT_EQ(NameOf(backend_.WidgetOf((*this)[PanelName(kEnlargedPanel)])),
            QString::fromUtf8("第2問目"));
}

TEST_F(SampleEndToEndTest, EnlargedViewPaintsEighteenPixelsPerPerson) {
  Start();
  Click("Button1");
  Click("Button3");
  const QImage image = backend_.Render(window_->Form());
  int bars_seen = 0;
  for (int c = 1; c <= 5; ++c) {
    if (!(*this)[BarLabelName(11, c)].Visible()) continue;
    ExpectBar(image, BarLabelName(11, c), c, 18);
    ++bars_seen;
  }
  EXPECT_GT(bars_seen, 0);
}

TEST_F(SampleEndToEndTest, PanelsSevenAndEightCoverNineAndTen) {
  std::string data = Cp932("題\r\n説明\r\n\r\n");
  for (int q = 1; q <= 10; ++q)
    data += Cp932("[R]問" + std::to_string(q) + "\r\nはい\r\n");
  test_support::WriteBytes("data.txt", data);
  Start();
  for (const auto& [covered, above] : {std::pair{"GroupBox9", "GroupBox7"},
                                       std::pair{"GroupBox10", "GroupBox8"}}) {
    QWidget* hidden = backend_.WidgetOf((*this)[covered]);
    QWidget* cover = backend_.WidgetOf((*this)[above]);
    ASSERT_TRUE(hidden->isVisibleTo(backend_.Window()))
        << covered << " is shown, only covered";
    EXPECT_TRUE(cover->geometry().contains(hidden->geometry())) << covered;
    // Among siblings, a later child lies above an earlier one.
    const QObjectList& siblings = hidden->parentWidget()->children();
    EXPECT_GT(siblings.indexOf(cover), siblings.indexOf(hidden)) << covered;
  }
}

}  // namespace
}  // namespace tabulon::window
