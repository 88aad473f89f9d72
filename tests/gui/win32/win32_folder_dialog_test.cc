// The system's folder picker under Wine: it opens with the caption it is
// given, and cancelling it chooses nothing and reports no failure.
#include "gui/win32/win32_folder_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/scratch_folder.h"

namespace tabulon::gui::win32 {
namespace {

std::wstring g_title;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  char class_name[16] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (!IsWindowVisible(window) || std::string(class_name) != "#32770") {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Comes again until the dialog shows, then cancels it as its button does.
void CALLBACK CancelWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog,
                    reinterpret_cast<LPARAM>(&dialog));
  if (dialog == nullptr) return;
  KillTimer(nullptr, timer);
  wchar_t title[128] = {};
  GetWindowTextW(dialog, title, 128);
  g_title = title;
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(ChooseFolder, CancellingThePickerChoosesNothing) {
  SetTimer(nullptr, 0, 100, CancelWhenShown);
  const FolderChoice choice = ChooseFolder(
      test_support::Cp932("回答ファイルのフォルダを選んでください"));
  EXPECT_EQ(choice.folder, L"");
  EXPECT_EQ(choice.failure, "");
  EXPECT_EQ(g_title,
            L"\x56DE\x7B54\x30D5\x30A1\x30A4\x30EB\x306E\x30D5\x30A9"
            L"\x30EB\x30C0\x3092\x9078\x3093\x3067\x304F\x3060\x3055"
            L"\x3044");
}

}  // namespace
}  // namespace tabulon::gui::win32
