// The command lines both platforms' programs read alike, each through its
// own parser: one table, run by the Linux test on Qt's parser and by the
// Windows test on the system's splitting.
#ifndef TABULON_TESTS_APP_START_UP_CASES_H_
#define TABULON_TESTS_APP_START_UP_CASES_H_

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/start_options.h"

namespace tabulon::app {

struct CommandLineCase {
  const char* what;
  std::vector<std::string> arguments;  // after the program's name, UTF-8
  bool exit_now = false;
  int exit_status = 0;
  std::string folder = "";  // UTF-8
  bool choose_folder = false;
  std::string output_start = "";  // start of the output, or of the error
  bool live = false;
  Program program = Program::kTally;
  bool each_pupil = false;
};

inline void PrintTo(const CommandLineCase& c, std::ostream* out) {
  *out << c.what;
}

// What both platforms' readings must give for `c`; the folder is compared
// by the caller, in the platform's own spelling.
inline void ExpectReadAsAsked(const StartRequest& request,
                              const CommandLineCase& c) {
  EXPECT_EQ(request.exit_now, c.exit_now);
  EXPECT_EQ(request.exit_status, c.exit_status);
  EXPECT_EQ(request.choose_folder, c.choose_folder);
  EXPECT_EQ(request.live, c.live);
  EXPECT_EQ(request.each_pupil, c.each_pupil);
  const std::string& said =
      request.exit_status == kExitSuccess ? request.output : request.error;
  EXPECT_EQ(said.substr(0, c.output_start.size()), c.output_start) << said;
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
      // The answer program's own line: its name, --each-pupil, and no
      // folder dialog; the tally has no --each-pupil.
      {.what = "AnswerEachPupil",
       .arguments = {"--each-pupil", "room"},
       .folder = "room",
       .program = Program::kAnswer,
       .each_pupil = true},
      {.what = "AnswerHelp",
       .arguments = {"--help"},
       .exit_now = true,
       .output_start =
           "Usage: tabulon-answer [options] [FOLDER]\ntabulon-answer: ",
       .program = Program::kAnswer},
      {.what = "AnswerVersion",
       .arguments = {"--version"},
       .exit_now = true,
       .output_start = "tabulon-answer " TABULON_VERSION "\n",
       .program = Program::kAnswer},
      {.what = "AnswerHasNoFolderDialog",
       .arguments = {"--choose-folder"},
       .exit_now = true,
       .exit_status = kExitStartFailure,
       .output_start = "tabulon-answer: Unknown option 'choose-folder'.",
       .program = Program::kAnswer},
      {.what = "TallyHasNoEachPupil",
       .arguments = {"--each-pupil"},
       .exit_now = true,
       .exit_status = kExitStartFailure,
       .output_start = "tabulon: Unknown option 'each-pupil'."},
  };
}

}  // namespace tabulon::app

#endif  // TABULON_TESTS_APP_START_UP_CASES_H_
