// tabulon.exe as a teacher starts it, under Wine: on a folder given on its
// command line (as a drop onto the program gives it) from another current
// folder, it tallies into that folder, live results on if asked; on a folder
// that does not exist it says why in a box, opens no window and ends with
// status 2.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/scratch_folder.h"

namespace {

using tabulon::test_support::Cp932;

// The program running, and its windows found by its process.
class Started {
 public:
  explicit Started(const std::string& arguments) {
    std::string line = "\"" TABULON_EXE "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    created_ = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &process_);
  }
  ~Started() {
    if (!created_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool Created() const { return created_; }

  // Its first shown top-level window of that class, waiting up to
  // `tenths` tenths of a second.
  HWND WaitForWindow(const char* class_name, int tenths = 300) {
    for (int tries = 0; tries < tenths; ++tries) {
      Search search = {process_.dwProcessId, class_name, nullptr};
      EnumWindows(FindOfProcess, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) return search.found;
      if (WaitForSingleObject(process_.hProcess, 100) == WAIT_OBJECT_0) break;
    }
    return nullptr;
  }
  DWORD ExitStatus(DWORD wait_ms = 30000) {
    WaitForSingleObject(process_.hProcess, wait_ms);
    DWORD status = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &status);
    return status;
  }

 private:
  struct Search {
    DWORD process;
    const char* class_name;
    HWND found;
  };
  static BOOL CALLBACK FindOfProcess(HWND window, LPARAM l_param) {
    auto* search = reinterpret_cast<Search*>(l_param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (process != search->process || !IsWindowVisible(window) ||
        std::string(name) != search->class_name) {
      return TRUE;
    }
    search->found = window;
    return FALSE;
  }

  bool created_ = false;
  PROCESS_INFORMATION process_ = {};
};

// The child window showing `text`, at any depth.
HWND ChildWithText(HWND parent, const std::string& text) {
  struct Search {
    const std::string* text;
    HWND found;
  } search = {&text, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM l_param) -> BOOL {
        auto* search = reinterpret_cast<Search*>(l_param);
        char shown[512] = {};
        GetWindowTextA(child, shown, sizeof shown);
        if (std::string(shown).find(*search->text) == std::string::npos) {
          return TRUE;
        }
        search->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class Win32ProgramTest : public tabulon::test_support::InScratchFolder {};

// Started with --live as a shortcut's target would carry it: the caption
// says so.
TEST_F(Win32ProgramTest, TalliesIntoTheFolderItWasStartedOn) {
  tabulon::test_support::MakeFolder("class");
  ASSERT_TRUE(SetCurrentDirectoryA("class"));
  tabulon::test_support::CopyFilesFrom(TABULON_SAMPLE_DIR);
  ASSERT_TRUE(SetCurrentDirectoryA(".."));
  Started tabulon("--live \"" + folder_.Path() + "\\class\"");
  ASSERT_TRUE(tabulon.Created());
  const HWND window = tabulon.WaitForWindow("TabulonWindow");
  ASSERT_NE(window, nullptr);
  char caption[256] = {};
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_NE(std::string(caption).find(Cp932("［回答が届くたびに集計中］")),
            std::string::npos)
      << caption;
  const HWND tally = ChildWithText(window, Cp932("アンケート集計"));
  ASSERT_NE(tally, nullptr);
  SendMessageA(tally, BM_CLICK, 0, 0);
  EXPECT_TRUE(tabulon::test_support::Exists("class\\" + Cp932("集計結果.csv")));
  EXPECT_FALSE(tabulon::test_support::Exists(Cp932("集計結果.csv")));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(tabulon.ExitStatus(), 0u);
}

TEST_F(Win32ProgramTest, AFolderThatCannotBeUsedIsABoxAndStatusTwo) {
  Started tabulon("missing");
  ASSERT_TRUE(tabulon.Created());
  const HWND box = tabulon.WaitForWindow("#32770");
  ASSERT_NE(box, nullptr);
  char title[64] = {};
  GetWindowTextA(box, title, sizeof title);
  EXPECT_STREQ(title, "Tabulon");
  EXPECT_NE(ChildWithText(box, "cannot work in the folder \"missing\": "),
            nullptr);
  EXPECT_EQ(tabulon.WaitForWindow("TabulonWindow", 1), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(tabulon.ExitStatus(), 2u);
}

}  // namespace
