// The Qt backend, offscreen: the message boxes and the folder dialog, clicks
// through the handler guard, the Tab order and bringing widgets up to date.
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

#include "gui/qt/qt_backend.h"
#include "qt_test_window.h"
#include "support/scratch_folder.h"
#include "text/failure.h"

namespace tabulon::gui {
namespace {

using namespace qt_test;
using tabulon::test_support::Cp932;

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
  backend_.ShowStop("Tabulon", Cp932("ファイルが見つかりません."));
  EXPECT_TRUE(seen);
}

struct ConfirmCase {
  const char* how;
  std::function<void(QMessageBox&)> close;
  bool yes;
};

TEST_F(QtBackendTest, ConfirmationIsYesOnlyForTheFirstButton) {
  const Confirmation confirmation{Cp932("確認"),
                                  Cp932("個人データファイルを消去しますか？") +
                                      "\r" + Cp932("（集計結果.csvは残します)"),
                                  Cp932("はい(&Y)"), Cp932("いいえ(&N)")};
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
  backend_.ShowStop("Tabulon", Cp932("ファイルが見つかりません."));
  const bool yes =
      backend_.Confirm({Cp932("確認"), Cp932("消しますか？\r（残します)"),
                        Cp932("はい(&Y)"), Cp932("いいえ(&N)")});
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
  EXPECT_EQ(backend_.ChooseFolder(Cp932("フォルダ")), chosen);

  WhenFolderDialogShows([](QFileDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(backend_.ChooseFolder(Cp932("フォルダ")), "");
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
