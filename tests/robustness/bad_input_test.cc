// The bad-input corpus: every file under tests/data/bad, tallied alone as
// x.ans, gives the outcome its manifest (expected.tsv) records.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/readable.h"
#include "support/recording_listener.h"
#include "support/scratch_folder.h"
#include "survey/choice_value.h"
#include "survey/tally.h"
#include "text/answer_file_list.h"
#include "text/failure.h"
#include "text/textfile.h"

namespace tabulon {
namespace {

const std::filesystem::path kBadFolder =
    std::filesystem::path(TABULON_TEST_DATA) / "bad";

struct Expectation {
  std::string file;
  size_t lines = 0;
  std::string computer_name;
  std::string respondent_name;
  std::string outcome;
  std::string what;
};

std::vector<Expectation> ReadManifest() {
  std::vector<Expectation> rows;
  std::ifstream in(kBadFolder / "expected.tsv");
  EXPECT_TRUE(in.good()) << "no manifest in " << kBadFolder;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::stringstream columns(line);
    for (std::string field; std::getline(columns, field, '\t');)
      fields.push_back(field);
    if (fields.size() != 6) {
      ADD_FAILURE() << "a manifest row without six columns: " << line;
      continue;
    }
    rows.push_back({fields[0], std::stoul(fields[1]), fields[2], fields[3],
                    fields[4], fields[5]});
  }
  return rows;
}

// The listener's calls and the failure, if any, as the manifest writes them.
std::string Outcome(const std::vector<std::string>& events,
                    const std::string& failure) {
  std::string outcome;
  for (const std::string& event : events)
    outcome += (outcome.empty() ? "" : " | ") + event;
  if (!failure.empty())
    outcome += (outcome.empty() ? "error: " : " | error: ") + failure;
  return outcome.empty() ? "-" : outcome;
}

TEST(BadInputTest, EveryFileGivesTheOutcomeOfItsManifestRow) {
  const std::vector<Expectation> manifest = ReadManifest();
  std::set<std::string> unlisted;
  for (const auto& entry : std::filesystem::directory_iterator(kBadFolder)) {
    if (entry.path().filename() != "expected.tsv")
      unlisted.insert(entry.path().filename().string());
  }

  for (const Expectation& expected : manifest) {
    SCOPED_TRACE(expected.file + ": " + expected.what);
    unlisted.erase(expected.file);
    test_support::ScratchFolder folder;
    std::filesystem::copy_file(kBadFolder / expected.file, "x.ans");

    EXPECT_EQ(text::ReadTextLines("x.ans").size(), expected.lines);
    text::AnswerFileList list;
    survey::ChoiceCounts counts;
    survey::RespondentTable table;
    test_support::RecordingListener listener;
    std::string failure;
    try {
      survey::TallyAnswerFiles(list.Names(), counts, table, listener);
    } catch (const text::Failure& caught) {
      failure = test_support::Readable(caught.Message());
    }
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(test_support::Readable(table.Row(0).computer_name),
              expected.computer_name);
    EXPECT_EQ(test_support::Readable(table.Row(0).respondent_name),
              expected.respondent_name);
    EXPECT_EQ(Outcome(listener.events, failure), expected.outcome);
  }
  EXPECT_TRUE(unlisted.empty())
      << "files without a manifest row, first: " << *unlisted.begin();
}

}  // namespace
}  // namespace tabulon
