// tabulon.exe's start-up under Wine: the shared command lines read through
// the system's splitting, and the folder entered (or refused) before any
// window exists, given or chosen.
#include "app/win32_start_up.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/start_up_cases.h"
#include "platform/codepage.h"
#include "support/scratch_folder.h"

namespace tabulon::app {
namespace {

std::wstring Wide(std::string_view utf8) {
  const int length = static_cast<int>(utf8.size());
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
      CP_UTF8, 0, utf8.data(), length, wide.data(), length)));
  return wide;
}

// The command line a shortcut or a drop would give (names with blanks
// quoted, as Explorer quotes them).
std::wstring CommandLine(const std::vector<std::string>& arguments) {
  std::wstring line = L"\"C:\\Tabulon\\tabulon.exe\"";
  for (const std::string& argument : arguments) {
    const bool quote = argument.find(' ') != std::string::npos;
    line += quote ? L" \"" + Wide(argument) + L"\"" : L" " + Wide(argument);
  }
  return line;
}

std::wstring CurrentFolder() {
  wchar_t here[MAX_PATH];
  return std::wstring(here, GetCurrentDirectoryW(MAX_PATH, here));
}

class ReadCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ReadCommandLineTest, ReadsWhatIsAsked) {
  const CommandLineCase& c = GetParam();
  const StartRequest request =
      ReadCommandLine(CommandLine(c.arguments).c_str(), c.program);
  ExpectReadAsAsked(request, c);
  EXPECT_EQ(request.folder, platform::Utf8ToCp932(c.folder));
  EXPECT_EQ(request.unicode_folder, Wide(c.folder));
}

INSTANTIATE_TEST_SUITE_P(Shared, ReadCommandLineTest,
                         ::testing::ValuesIn(SharedCommandLineCases()),
                         [](const auto& info) {
                           return std::string(info.param.what);
                         });

TEST(ReadWindowsCommandLine, ReadsWhatOnlyWindowsSpells) {
  // A shortcut's target "D:\2年\" reads, by the system's rules, as D:\2年"
  // (the backslash taken for the quote's escape): the same folder.
  EXPECT_EQ(ReadCommandLine(L"tabulon.exe \"D:\\2\x5E74\\\"").folder,
            platform::Utf8ToCp932("D:\\2年"));
  EXPECT_EQ(ReadCommandLine(L"tabulon.exe -?").output,
            HelpText(Program::kTally));
  // A name code page 932 cannot hold keeps its own name for entering it.
  const StartRequest korean = ReadCommandLine(L"tabulon.exe \xD55C\xAD6D");
  EXPECT_EQ(korean.folder, "??");
  EXPECT_EQ(korean.unicode_folder, L"\xD55C\xAD6D");
}

// The folder chooser of a test: answers as scripted, counts its calls.
struct ScriptedChooser {
  gui::win32::FolderChoice answer;
  int calls = 0;
  FolderChooser Chooser() {
    return [this] {
      ++calls;
      return answer;
    };
  }
};

class PrepareStartTest : public test_support::InScratchFolder {};

TEST_F(PrepareStartTest, EntersTheFolderGivenOrChosenBeforeTheWindow) {
  struct Case {
    const wchar_t* command_line;
    gui::win32::FolderChoice chosen;
    const wchar_t* entered;  // the current folder's last part afterwards
    int chooser_calls;
  };
  CreateDirectoryW(
      L"2\x5E74"
      L"1\x7D44",
      nullptr);                                // 2年1組
  CreateDirectoryW(L"\xD55C\xAD6D", nullptr);  // not in code page 932
  const std::wstring here = CurrentFolder();
  for (const Case& c : {Case{L"t.exe 2\x5E74"
                             L"1\x7D44",
                             {},
                             L"2\x5E74"
                             L"1\x7D44",
                             0},
                        Case{L"t.exe \xD55C\xAD6D", {}, L"\xD55C\xAD6D", 0},
                        Case{L"t.exe --choose-folder",
                             {here + L"\\\xD55C\xAD6D", ""},
                             L"\xD55C\xAD6D",
                             1},
                        Case{L"t.exe --choose-folder \xD55C\xAD6D",
                             {L"x", ""},
                             L"\xD55C\xAD6D",
                             0}}) {
    SetCurrentDirectoryW(here.c_str());
    ScriptedChooser chooser{c.chosen};
    const StartRequest request =
        PrepareStart(c.command_line, Program::kTally, chooser.Chooser());
    EXPECT_FALSE(request.exit_now) << request.error;
    EXPECT_EQ(CurrentFolder(), here + L"\\" + c.entered);
    EXPECT_EQ(chooser.calls, c.chooser_calls);
  }
  SetCurrentDirectoryW(here.c_str());
}

TEST_F(PrepareStartTest, EndsWithTheReasonWhereNoFolderCanBeUsed) {
  struct Case {
    const wchar_t* command_line;
    gui::win32::FolderChoice chosen;
    int exit_status;
    std::string error_start;
  };
  test_support::WriteBytes("file", "x");
  const std::wstring here = CurrentFolder();
  for (const Case& c :
       {Case{L"t.exe missing",
             {},
             kExitStartFailure,
             "tabulon: cannot work in the folder \"missing\": "},
        Case{L"t.exe file",
             {},
             kExitStartFailure,
             "tabulon: cannot work in the folder \"file\": "},
        Case{L"t.exe \\\\nowhere\\share\\2",
             {},
             kExitStartFailure,
             "tabulon: cannot work in the folder \"\\\\nowhere\\share\\2\": "},
        // Cancelling the dialog ends the program, nothing to say.
        Case{L"t.exe --choose-folder", {}, kExitSuccess, ""},
        Case{L"t.exe --choose-folder",
             {L"", "the folder dialog failed"},
             kExitStartFailure,
             "tabulon: the folder dialog failed"}}) {
    const StartRequest request = PrepareStart(
        c.command_line, Program::kTally, ScriptedChooser{c.chosen}.Chooser());
    EXPECT_TRUE(request.exit_now);
    EXPECT_EQ(request.exit_status, c.exit_status);
    EXPECT_EQ(request.error.substr(0, c.error_start.size()), c.error_start);
    // The system's reason follows, and nothing was entered.
    if (c.error_start.ends_with(": ")) {
      EXPECT_GT(request.error.size(), c.error_start.size() + 1);
    }
    EXPECT_EQ(CurrentFolder(), here);
  }
}

}  // namespace
}  // namespace tabulon::app
