#include <spawn.h>
#include <sys/wait.h>

#include "processes.h"

extern char** environ;

namespace tabulon::test_support {

std::vector<int> RunAllAtOnce(
    const std::vector<std::vector<std::string>>& commands) {
  std::vector<pid_t> started;
  for (const std::vector<std::string>& command : commands) {
    std::vector<char*> argv;
    for (const std::string& argument : command) {
      argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) !=
        0) {
      pid = -1;
    }
    started.push_back(pid);
  }
  std::vector<int> statuses;
  for (pid_t pid : started) {
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
      statuses.push_back(-1);
      continue;
    }
    statuses.push_back(WEXITSTATUS(status));
  }
  return statuses;
}

}  // namespace tabulon::test_support
