#include "app/start_up.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "app/start_up_cases.h"
#include "support/scratch_folder.h"

namespace tabulon::app {
namespace {

class ReadCommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(ReadCommandLineTest, ReadsWhatIsAsked) {
  const CommandLineCase& c = GetParam();
  std::vector<std::string> arguments = {"/usr/bin/tabulon"};
  arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
  const StartRequest request = ReadCommandLine(arguments, c.program);
  ExpectReadAsAsked(request, c);
  EXPECT_EQ(request.folder, c.folder);
}

INSTANTIATE_TEST_SUITE_P(Shared, ReadCommandLineTest,
                         ::testing::ValuesIn(SharedCommandLineCases()),
                         [](const auto& info) {
                           return std::string(info.param.what);
                         });

// What only Qt's reading has: its own start-up arguments, and file names
// that are bytes rather than text.
INSTANTIATE_TEST_SUITE_P(
    Qt, ReadCommandLineTest,
    ::testing::Values(
        CommandLineCase{
            "HelpAll", {"--help-all"}, true, 0, "", false, "Usage: "},
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
        CommandLineCase{"MissingValue",
                        {"-platform"},
                        true,
                        kExitStartFailure,
                        "",
                        false,
                        "tabulon: Missing value after '-platform'."}),
    [](const auto& info) { return std::string(info.param.what); });

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
