#include "app/win32_start_up.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string_view>
#include <vector>

namespace tabulon::app {
namespace {

// One argument as the system split it, in code page 932 (a character the
// code page cannot hold becomes "?"), and as it was.
struct Argument {
  std::string cp932;
  std::wstring unicode;
};

std::string ToCp932(const std::wstring& unicode) {
  if (unicode.empty()) return "";
  const int length = static_cast<int>(unicode.size());
  const int size =
      WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, unicode.data(), length,
                          nullptr, 0, nullptr, nullptr);
  std::string cp932(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, unicode.data(), length,
                      cp932.data(), size, nullptr, nullptr);
  return cp932;
}

// The program's name (the first) is left out.
std::vector<Argument> SplitCommandLine(const wchar_t* command_line) {
  std::vector<Argument> arguments;
  int count = 0;
  wchar_t** split = CommandLineToArgvW(command_line, &count);
  if (split == nullptr) return arguments;
  for (int i = 1; i < count; ++i) {
    std::wstring unicode = split[i];
    // A shortcut's target "D:\2年1組\" ends in a quote rather than a
    // backslash by the system's rules; no Windows name holds a quote.
    if (!unicode.empty() && unicode.back() == L'"') unicode.pop_back();
    arguments.push_back({ToCp932(unicode), std::move(unicode)});
  }
  LocalFree(split);
  return arguments;
}

// What one option asks for, or a usage error.
bool ReadOption(std::string_view argument, Program program,
                StartRequest& request) {
  const std::size_t dashes = argument.starts_with("--") ? 2 : 1;
  const std::string_view name = argument.substr(dashes);
  if (name == "h" || name == "help" || name == "?") {
    request = ExitWith(kExitSuccess, HelpText(program), "");
  } else if (name == "v" || name == "version") {
    request = ExitWith(kExitSuccess, VersionText(program), "");
  } else if (const StartOption* option = FindOption(program, name)) {
    request.*option->sets = true;
  } else {
    request =
        UsageError(program, "Unknown option '" + std::string(name) + "'.");
  }
  return !request.exit_now;
}

}  // namespace

StartRequest ReadCommandLine(const wchar_t* command_line, Program program) {
  StartRequest request;
  std::vector<const Argument*> folders;
  bool options_end = false;
  const std::vector<Argument> arguments = SplitCommandLine(command_line);
  for (const Argument& argument : arguments) {
    const std::string& text = argument.cp932;
    if (!options_end && text == "--") {
      options_end = true;
    } else if (!options_end && text.size() > 1 && text[0] == '-') {
      if (!ReadOption(text, program, request)) return request;
    } else {
      folders.push_back(&argument);
    }
  }
  if (folders.size() > 1) {
    return UsageError(program, "give at most one FOLDER.");
  }
  if (!folders.empty()) {
    request.folder = folders.front()->cp932;
    request.unicode_folder = folders.front()->unicode;
  }
  return request;
}

std::string EnterFolder(const StartRequest& request, Program program) {
  if (SetCurrentDirectoryW(request.unicode_folder.c_str())) return "";
  const DWORD code = GetLastError();
  char* reason = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                     FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<char*>(&reason), 0,
                 nullptr);
  std::string said = reason != nullptr ? reason : "";
  LocalFree(reason);
  while (!said.empty() && (said.back() == '\n' || said.back() == '\r')) {
    said.pop_back();
  }
  if (said.empty()) said = "error " + std::to_string(code);
  return FolderFailure(program, request.folder, said);
}

StartRequest PrepareStart(const wchar_t* command_line, Program program,
                          const FolderChooser& choose) {
  StartRequest request = ReadCommandLine(command_line, program);
  if (request.exit_now) return request;
  if (request.unicode_folder.empty() && request.choose_folder) {
    const gui::win32::FolderChoice choice = choose();
    if (!choice.failure.empty()) {
      return ExitWith(kExitStartFailure, "",
                      std::string(NameOf(program)) + ": " + choice.failure);
    }
    if (choice.folder.empty()) return ExitWith(kExitSuccess, "", "");
    request.unicode_folder = choice.folder;
    request.folder = ToCp932(request.unicode_folder);
  }
  if (request.unicode_folder.empty()) return request;
  const std::string failure = EnterFolder(request, program);
  if (!failure.empty()) return ExitWith(kExitStartFailure, "", failure);
  return request;
}

int ShowAndExit(const StartRequest& request) {
  const bool failed = request.exit_status != kExitSuccess;
  const std::string& text = failed ? request.error : request.output;
  if (!text.empty()) {
    MessageBoxA(
        nullptr, text.c_str(), "Tabulon",
        MB_OK | MB_TASKMODAL | (failed ? MB_ICONSTOP : MB_ICONINFORMATION));
  }
  return request.exit_status;
}

}  // namespace tabulon::app
