#include "app/start_up.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace tabulon::app {
namespace {

struct CommandLineCase {
  const char* what;
  std::vector<std::string> arguments;  // after argv[0]
  bool exit_now;
  int exit_status;
  std::string folder;
  bool choose_folder;
  std::string output_start = "";  // start of stdout, or of stderr on failure
  bool live = false;
};

void PrintTo(const CommandLineCase& c, std::ostream* out) { *out << c.what; }

class ReadCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ReadCommandLineTest, ReadsWhatIsAsked) {
  const CommandLineCase& c = GetParam();
  std::vector<std::string> arguments = {"/usr/bin/tabulon"};
  arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
  const StartRequest request = ReadCommandLine(arguments);
  EXPECT_EQ(request.exit_now, c.exit_now);
  EXPECT_EQ(request.exit_status, c.exit_status);
  EXPECT_EQ(request.folder, c.folder);
  EXPECT_EQ(request.choose_folder, c.choose_folder);
  EXPECT_EQ(request.live, c.live);
  const std::string& said =
      request.exit_status == kExitSuccess ? request.output : request.error;
  EXPECT_EQ(said.substr(0, c.output_start.size()), c.output_start) << said;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ReadCommandLineTest,
    ::testing::Values(
        CommandLineCase{"Nothing", {}, false, 0, "", false, ""},
        CommandLineCase{"Folder", {"/srv/2-1"}, false, 0, "/srv/2-1", false},
        CommandLineCase{
            "ChooseFolder", {"--choose-folder"}, false, 0, "", true},
        // The desktop entry's %f: a folder from the file manager, or none.
        CommandLineCase{
            "ChooseWithFolder", {"--choose-folder", "x"}, false, 0, "x", true},
        CommandLineCase{"Live", {"--live"}, false, 0, "", false, "", true},
        CommandLineCase{
            "LiveFolder", {"--live", "2-1"}, false, 0, "2-1", false, "", true},
        CommandLineCase{"Help",
                        {"--help"},
                        true,
                        0,
                        "",
                        false,
                        "Usage: tabulon [options] [FOLDER]"},
        CommandLineCase{"ShortHelp", {"-h"}, true, 0, "", false, "Usage: "},
        CommandLineCase{
            "HelpAll", {"--help-all"}, true, 0, "", false, "Usage: "},
        CommandLineCase{"Version",
                        {"--version"},
                        true,
                        0,
                        "",
                        false,
                        "tabulon " TABULON_VERSION "\n"},
        // Qt's own arguments, as a desktop or a user passes them, with and
        // without a value; the folder after them is still the folder.
        CommandLineCase{"QtArguments",
                        {"-platform", "offscreen", "-style=fusion", "-reverse",
                         "-geometry", "800x600", "-display", ":1", "sample"},
                        false,
                        0,
                        "sample",
                        false},
        CommandLineCase{"QtArgumentsWithVersion",
                        {"-platform", "offscreen", "--version"},
                        true,
                        0,
                        "",
                        false,
                        "tabulon "},
        // A folder name that is no text in the locale keeps its bytes.
        CommandLineCase{
            "UndecodableFolder", {"\x8E\x52"}, false, 0, "\x8E\x52", false},
        CommandLineCase{"UnknownOption",
                        {"--tally"},
                        true,
                        kExitStartFailure,
                        "",
                        false,
                        "tabulon: Unknown option 'tally'."},
        CommandLineCase{"TwoFolders",
                        {"a", "b"},
                        true,
                        kExitStartFailure,
                        "",
                        false,
                        "tabulon: give at most one FOLDER."},
        CommandLineCase{"MissingValue",
                        {"-platform"},
                        true,
                        kExitStartFailure,
                        "",
                        false,
                        "tabulon: Missing value after '-platform'."}),
    [](const auto& info) { return std::string(info.param.what); });

// The answer program's own line: its name, --each-pupil, no folder dialog.
TEST(ReadAnswerCommandLineTest, KnowsEachPupilAndNotTheFolderDialog) {
  const auto read = [](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "tabulon-answer");
    return ReadCommandLine(arguments, Program::kAnswer);
  };
  const StartRequest each = read({"--each-pupil", "room"});
  EXPECT_FALSE(each.exit_now);
  EXPECT_TRUE(each.each_pupil);
  EXPECT_EQ(each.folder, "room");
  EXPECT_FALSE(read({"room"}).each_pupil);
  EXPECT_EQ(read({"--version"}).output, "tabulon-answer " TABULON_VERSION "\n");
  const StartRequest refused = read({"--choose-folder"});
  EXPECT_EQ(refused.exit_status, kExitStartFailure);
  EXPECT_EQ(refused.error.substr(0, 15), "tabulon-answer:");
  EXPECT_FALSE(ReadCommandLine({"tabulon", "--each-pupil"}).each_pupil);
}

class EnterFolderTest : public test_support::InScratchFolder {};

TEST_F(EnterFolderTest, EntersAnExistingFolder) {
  std::filesystem::create_directory("集計");
  EXPECT_EQ(EnterFolder("集計"), "");
  EXPECT_EQ(std::filesystem::current_path().filename(), "集計");
}

TEST_F(EnterFolderTest, RefusesWhatCannotBeEnteredAndStaysWhereItWas) {
  std::ofstream("file") << "x";
  const auto here = std::filesystem::current_path();
  for (const auto& [folder, reason] :
       {std::pair{"missing", "No such file or directory"},
        std::pair{"file", "Not a directory"}}) {
    EXPECT_EQ(EnterFolder(folder), std::string("tabulon: cannot work in the "
                                               "folder \"") +
                                       folder + "\": " + reason + "\n");
    EXPECT_EQ(std::filesystem::current_path(), here);
  }
}

}  // namespace
}  // namespace tabulon::app
