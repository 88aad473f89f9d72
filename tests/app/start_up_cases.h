// The command lines both platforms' programs read alike, each through its
// own parser: one table, run by the Linux test on Qt's parser and by the
// Windows test on the system's splitting.
#ifndef TABULON_TESTS_APP_START_UP_CASES_H_
#define TABULON_TESTS_APP_START_UP_CASES_H_

#include <ostream>
#include <string>
#include <vector>

#include "app/start_options.h"

namespace tabulon::app {

struct CommandLineCase {
  const char* what;
  std::vector<std::string> arguments;  // after the program's name, UTF-8
  bool exit_now;
  int exit_status;
  std::string folder;  // UTF-8
  bool choose_folder;
  std::string output_start = "";  // start of the output, or of the error
  bool live = false;
};

inline void PrintTo(const CommandLineCase& c, std::ostream* out) {
  *out << c.what;
}

inline std::vector<CommandLineCase> SharedCommandLineCases() {
  const std::string help = "Usage: tabulon [options] [FOLDER]\nTabulon: ";
  return {
      {"Nothing", {}, false, 0, "", false},
      {"Folder", {"2年1組"}, false, 0, "2年1組", false},
      {"UncFolder",
       {"\\\\server\\share\\2年1組"},
       false,
       0,
       "\\\\server\\share\\2年1組",
       false},
      {"FolderWithBlanks",
       {"C:\\学年 だより\\2年"},
       false,
       0,
       "C:\\学年 だより\\2年",
       false},
      {"ChooseFolder", {"--choose-folder"}, false, 0, "", true},
      // A shortcut to the program given a folder, and --choose-folder.
      {"ChooseWithFolder", {"--choose-folder", "x"}, false, 0, "x", true},
      {"Live", {"--live", "x"}, false, 0, "x", false, "", true},
      {"Help", {"--help"}, true, 0, "", false, help},
      {"ShortHelp", {"-h"}, true, 0, "", false, help},
      {"HelpAfterFolder", {"x", "--help"}, true, 0, "", false, help},
      {"Version",
       {"--version"},
       true,
       0,
       "",
       false,
       "tabulon " TABULON_VERSION "\n"},
      {"OptionsEnd", {"--", "--live"}, false, 0, "--live", false},
      {"UnknownOption",
       {"--tally"},
       true,
       kExitStartFailure,
       "",
       false,
       "tabulon: Unknown option 'tally'.\nTry 'tabulon --help'"},
      {"TwoFolders",
       {"a", "b"},
       true,
       kExitStartFailure,
       "",
       false,
       "tabulon: give at most one FOLDER."},
  };
}

}  // namespace tabulon::app

#endif  // TABULON_TESTS_APP_START_UP_CASES_H_
