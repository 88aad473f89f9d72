#include <windows.h>

#include "processes.h"

namespace tabulon::test_support {

std::vector<int> RunAllAtOnce(
    const std::vector<std::vector<std::string>>& commands) {
  std::vector<HANDLE> started;
  for (const std::vector<std::string>& command : commands) {
    std::string line;
    for (const std::string& argument : command) {
      line += (line.empty() ? "\"" : " \"") + argument + "\"";
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
      started.push_back(nullptr);
      continue;
    }
    CloseHandle(process.hThread);
    started.push_back(process.hProcess);
  }
  std::vector<int> statuses;
  for (HANDLE process : started) {
    DWORD status = 0;
    if (process == nullptr ||
        WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process, &status)) {
      statuses.push_back(-1);
    } else {
      statuses.push_back(static_cast<int>(status));
    }
    if (process != nullptr) CloseHandle(process);
  }
  return statuses;
}

}  // namespace tabulon::test_support
