// Live results on the platform's own backend (Qt on Linux, Win32 under
// Wine): another program writes answer files into the folder while the
// window runs its event loop; the counts and the results file follow, and
// end exactly as one press after the last file would leave them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "support/scratch_folder.h"
#include "window/main_window.h"

#if defined(_WIN32)
#include <windows.h>

#include "gui/win32/win32_backend.h"
#else
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include "gui/qt/qt_backend.h"
extern char** environ;
#endif

namespace tabulon::window {
namespace {

using test_support::Cp932;
using test_support::ReadBytes;
using test_support::WriteBytes;

#if defined(_WIN32)
using RealBackend = gui::Win32Backend;

// Lets the window handle what arrives for about `milliseconds`.
void RunEvents(RealBackend& backend, int milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (GetTickCount64() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    backend.Pump();
  }
}

// Starts the answer writer; the returned call waits for it to end.
std::function<void()> StartWriter(const std::string& folder, int count,
                                  int pause) {
  std::string command = std::string("\"") + TABULON_ANSWER_WRITER + "\" \"" +
                        folder + "\" " + std::to_string(count) + " " +
                        std::to_string(pause);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE,
                             0, nullptr, nullptr, &startup, &process));
  CloseHandle(process.hThread);
  return [process] {
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
  };
}

// Opens the window's menu with the menu key's message and chooses its
// first item with the keyboard, as the menu's own loop reads it.
void ChooseFirstMenuItem(RealBackend& backend) {
  static HWND window;
  window = static_cast<HWND>(backend.Window());
  const UINT_PTR timer =
      SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
      });
  SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1);
  KillTimer(nullptr, timer);
}

std::string WindowCaption(RealBackend& backend) {
  char caption[256] = {};
  GetWindowTextA(static_cast<HWND>(backend.Window()), caption, sizeof caption);
  return caption;
}

// Cheap under Wine: fewer files, closer together.
constexpr int kSteadyFiles = 30;
constexpr int kSteadyPause = 20;
#else
using RealBackend = gui::QtBackend;

void RunEvents(RealBackend&, int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

std::function<void()> StartWriter(const std::string& folder, int count,
                                  int pause) {
  std::vector<std::string> words{TABULON_ANSWER_WRITER, folder,
                                 std::to_string(count), std::to_string(pause)};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = -1;
  EXPECT_EQ(
      posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  return [child] {
    int status = 0;
    waitpid(child, &status, 0);
  };
}

// A right click on a label of the window; the menu that opens is given
// Down and Return.
void ChooseFirstMenuItem(RealBackend& backend) {
  QTimer::singleShot(100, [] {
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    for (const int key : {Qt::Key_Down, Qt::Key_Return}) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(menu, &press);
    }
  });
  QWidget* label = backend.Content()->findChild<QWidget*>("Label1");
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(4, 4),
                          label->mapToGlobal(QPoint(4, 4)));
  QApplication::sendEvent(label, &click);
}

std::string WindowCaption(RealBackend& backend) {
  return platform::Utf8ToCp932(backend.Window()->windowTitle().toStdString());
}

// 400 files over ten seconds.
constexpr int kSteadyFiles = 400;
constexpr int kSteadyPause = 25;
#endif

const std::string kResults = Cp932("集計結果.csv");

class LiveRealTest : public test_support::InScratchFolder {
 protected:
  void SetUp() override {
    WriteBytes("data.txt",
               Cp932("校内アンケート\r\n朝\r\n\r\n[R]朝ごはんは？\r\n"
                     "ごはん\r\nパン\r\n食べない\r\n"));
    backend_.AnswerBoxesUnattended(true);
    window_ = std::make_unique<TForm1>(backend_);
    window_->Create();
    backend_.Realise(window_->Form());
    gui::Control& button = window_->Form()["Button1"];
    button.on_click = [this, press = button.on_click] {
      ++tallies_;
      press();
    };
    window_->Live().SetOn(true);
  }
  std::string Caption(const char* name) {
    return window_->Form()[name].Caption();
  }
  // Runs the window until LblSum reports `count` files, for at most a minute.
  bool RunUntilTallied(int count) {
    const std::string wanted =
        std::to_string(count) + Cp932("人のデータを集計しました");
    for (int waited = 0; waited < 60'000; waited += 100) {
      RunEvents(backend_, 100);
      if (Caption("LblSum") == wanted) return true;
    }
    return false;
  }
  void Press(const char* button) {
    gui::RunHandler(backend_, window_->Form(),
                    window_->Form()[button].on_click);
  }

  RealBackend backend_;
  std::unique_ptr<TForm1> window_;
  int tallies_ = 0;
};

TEST_F(LiveRealTest, TheContextMenuTurnsItOffAndOnWithTheCaption) {
  window_->Live().SetOn(false);
  const std::string plain = Cp932("校内アンケート　Tabulon");
  EXPECT_EQ(WindowCaption(backend_), plain);
  ChooseFirstMenuItem(backend_);
  EXPECT_TRUE(window_->Live().On());
  EXPECT_TRUE(window_->Form().context_menu[0].checked);
  EXPECT_EQ(WindowCaption(backend_),
            plain + Cp932("　［回答が届くたびに集計中］"));
  ChooseFirstMenuItem(backend_);
  EXPECT_FALSE(window_->Live().On());
}

TEST_F(LiveRealTest, FilesWrittenByAnotherProgramAreTalliedAsOnePressWould) {
  // The enlarged view follows too, on its question.
  Press("Button3");
  const auto wait = StartWriter(folder_.Path(), kSteadyFiles, kSteadyPause);
  ASSERT_TRUE(RunUntilTallied(kSteadyFiles));
  wait();
  RunEvents(backend_, 1500);  // nothing more is to come
  const std::string live = ReadBytes(kResults);
  const int live_tallies = tallies_;
  const std::string third = std::to_string(kSteadyFiles / 3) + Cp932("人");
  EXPECT_EQ(Caption("Lbln113"), third) << "the enlarged view";
  Press("Button1");
  EXPECT_EQ(ReadBytes(kResults), live);
  RecordProperty("tallies", live_tallies);
  std::printf("%d files, %d live tallies\n", kSteadyFiles, live_tallies);
}

TEST_F(LiveRealTest, ABurstOfFortyGivesOneOrTwoTalliesAndAnEraseNone) {
  StartWriter(folder_.Path(), 40, 0)();
  ASSERT_TRUE(RunUntilTallied(40));
  RunEvents(backend_, 1500);
  EXPECT_GE(tallies_, 1);
  EXPECT_LE(tallies_, 2);
  const std::string forty = ReadBytes(kResults);
  const int before = tallies_;
  Press("Button2");  // answered yes, unattended
  RunEvents(backend_, 2500);
  EXPECT_EQ(tallies_, before);
  EXPECT_EQ(ReadBytes(kResults), forty);
  StartWriter(folder_.Path(), 1, 0)();
  EXPECT_TRUE(RunUntilTallied(1)) << "live results go on after the erase";
}

}  // namespace
}  // namespace tabulon::window
