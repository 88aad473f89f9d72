#include "platform/file_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/files.h"
#include "support/scratch_folder.h"

namespace tabulon::platform {
namespace {

using ::tabulon::test_support::Cp932;

// Puts a character type locale in force for one test. C.UTF-8 is built
// into the C library of every Debian release.
class LocaleFor {
 public:
  explicit LocaleFor(const char* name)
      : previous_(std::setlocale(LC_CTYPE, nullptr)) {
    EXPECT_NE(std::setlocale(LC_CTYPE, name), nullptr) << "no locale " << name;
  }
  ~LocaleFor() { std::setlocale(LC_CTYPE, previous_.c_str()); }

 private:
  std::string previous_;
};

const std::string kRawYamada = "\x8E\x52\x93\x63.ans";  // 山田.ans in CP932

struct NameCase {
  const char* what;
  std::string program_name;
  std::string disk_name;
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << c.what; }

class Utf8NamesTest : public ::testing::TestWithParam<NameCase> {
 protected:
  LocaleFor locale_{"C.UTF-8"};
};

// Names both ways: ProgramName(disk) == program, FileSystemName(program) ==
// disk.
TEST_P(Utf8NamesTest, ConvertsBothWays) {
  const NameCase& c = GetParam();
  EXPECT_EQ(ProgramName(c.disk_name), c.program_name);
  EXPECT_EQ(FileSystemName(c.program_name), c.disk_name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, Utf8NamesTest,
    ::testing::Values(
        NameCase{"Ascii", "PC01.ans", "PC01.ans"},
        NameCase{"Results", Cp932("集計結果.csv"), "集計結果.csv"},
        NameCase{"Kana", Cp932("あいう.ans"), "あいう.ans"},
        // Not UTF-8, nor code page 932: its bytes stay.
        NameCase{"InvalidBoth", "\x80\x80.ans", "\x80\x80.ans"},
        // UTF-8 without a code page 932 form, and its bytes are no CP932.
        NameCase{"NoCp932Form", "\xF0\x9F\x98\x80.ans", "\xF0\x9F\x98\x80.ans"},
        // WAVE DASH converts, but comes back as FULLWIDTH TILDE: it would
        // not open again, so it is kept raw.
        NameCase{"NoRoundTrip", "\xE3\x80\x9C.ans", "\xE3\x80\x9C.ans"},
        // CP932 bytes put on disk unconverted: read as CP932 they would
        // open 山田.ans in UTF-8, another file; so they are marked.
        NameCase{"RawCp932", kRawNameMark + kRawYamada, kRawYamada},
        NameCase{"LeadingMarkByte", kRawNameMark + std::string("\xFF.ans"),
                 "\xFF.ans"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(FileSystemNameTest, NameThatDoesNotRoundTripKeepsItsBytes) {
  LocaleFor locale("C.UTF-8");
  // ∵ of NEC's row 13 converts to U+2235, which comes back as 0x81E6.
  EXPECT_EQ(FileSystemName("\x87\x9A.ans"), "\x87\x9A.ans");
  // A lead byte without its trail byte.
  EXPECT_EQ(FileSystemName("\x82.ans"), "\x82.ans");
}

TEST(FileSystemNameTest, CLocalePassesNamesThroughAsBytes) {
  LocaleFor locale("C");
  EXPECT_EQ(FileSystemName(Cp932("集計結果.csv")), Cp932("集計結果.csv"));
  EXPECT_EQ(ProgramName(Cp932("集計結果.csv")), Cp932("集計結果.csv"));
  EXPECT_EQ(ProgramName("集計結果.csv"), "集計結果.csv");
  EXPECT_EQ(ProgramName("\xFF.ans"), kRawNameMark + std::string("\xFF.ans"));
}

TEST(FileSystemNameTest, FollowsALocaleChangeWithinTheProcess) {
  {
    LocaleFor locale("C.UTF-8");
    EXPECT_EQ(FileSystemName(Cp932("結果")), "結果");
  }
  LocaleFor locale("C");
  EXPECT_EQ(FileSystemName(Cp932("結果")), Cp932("結果"));
}

std::set<std::string> DiskNames() {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// A folder of awkward on-disk names, under each locale: every name listed
// opens the very file it came from, sorts, and deletes it.
class FolderOfAwkwardNamesTest : public ::testing::TestWithParam<const char*> {
 protected:
  LocaleFor locale_{GetParam()};
  test_support::ScratchFolder folder_;
};

TEST_P(FolderOfAwkwardNamesTest, EveryListedNameOpensItsOwnFile) {
  const std::vector<std::string> disk_names = {
      "plain.ans",
      "あ.ans",
      "\x82\xA0.ans",  // あ.ans in CP932, beside the UTF-8 one
      "集計.ans",
      "\x80\x80.ans",
      "\xFF\xFE.ans",
      "\xFF" + kRawYamada,  // the mark followed by a raw CP932 name
      "\xF0\x9F\x98\x80.ans",
      "\xE3\x80\x9C.ans",  // 〜 (WAVE DASH)
      "\xEF\xBD\x9E.ans",  // ～ (FULLWIDTH TILDE), the same CP932 character
      kRawYamada,
      "山田.ans",
  };
  for (std::size_t i = 0; i < disk_names.size(); ++i) {
    std::ofstream(disk_names[i], std::ios::binary) << i;
  }

  const std::vector<std::string> listed = FindFiles("*.ans");
  ASSERT_EQ(listed.size(), disk_names.size());
  std::set<std::string> contents;
  for (const std::string& name : listed) {
    File file;
    ASSERT_EQ(File::OpenForReading(name, file), kNoError) << name;
    std::string bytes;
    ASSERT_EQ(file.ReadAll(bytes), kNoError);
    contents.insert(bytes);
    EXPECT_EQ(ProgramName(FileSystemName(name)), name);
  }
  EXPECT_EQ(contents.size(), disk_names.size()) << "a file was opened twice";

  std::vector<std::string> sorted = listed;
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    return CompareNames(a, b) < 0;
  });
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    EXPECT_LT(CompareNames(sorted[i - 1], sorted[i]), 0);
  }

  for (const std::string& name : listed) {
    EXPECT_EQ(DeleteFileByName(name), kNoError) << name;
  }
  EXPECT_TRUE(DiskNames().empty());
}

INSTANTIATE_TEST_SUITE_P(Locales, FolderOfAwkwardNamesTest,
                         ::testing::Values("C.UTF-8", "C"),
                         [](const auto& info) {
                           return std::string(info.param) == "C" ? "C" : "Utf8";
                         });

class ResultsFileNameTest : public test_support::InScratchFolder {};

TEST_F(ResultsFileNameTest, IsWrittenUnderItsUtf8NameAndListedInCp932) {
  LocaleFor locale("C.UTF-8");
  const std::string name = Cp932("集計結果.csv");
  for (const char* content : {"first", "second"}) {
    ReplacementFile file;
    ASSERT_EQ(file.Begin(name), kNoError);
    ASSERT_EQ(file.Write(content), kNoError);
    ASSERT_EQ(file.Commit(), kNoError);
  }
  EXPECT_EQ(DiskNames(), std::set<std::string>{"集計結果.csv"});
  EXPECT_EQ(FindFiles("*.csv"), std::vector<std::string>{name});

  File file;
  ASSERT_EQ(File::OpenForReading(name, file), kNoError);
  std::string bytes;
  ASSERT_EQ(file.ReadAll(bytes), kNoError);
  EXPECT_EQ(bytes, "second");
  file.Close();
  ASSERT_EQ(DeleteFileByName(name), kNoError);
  EXPECT_TRUE(DiskNames().empty());
}

TEST_F(ResultsFileNameTest, CreateForWritingUsesTheUtf8Name) {
  LocaleFor locale("C.UTF-8");
  File file;
  ASSERT_EQ(File::CreateForWriting(Cp932("結果.txt"), file), kNoError);
  file.Close();
  EXPECT_EQ(DiskNames(), std::set<std::string>{"結果.txt"});
}

TEST_F(ResultsFileNameTest, MissingFileUnderAConvertedNameIsNotFound) {
  LocaleFor locale("C.UTF-8");
  std::ofstream(Cp932("集計結果.csv")) << "raw";  // the CP932 bytes on disk
  File file;
  EXPECT_EQ(File::OpenForReading(Cp932("集計結果.csv"), file), kFileNotFound);
  EXPECT_EQ(DeleteFileByName(Cp932("集計結果.csv")), kFileNotFound);
}

}  // namespace
}  // namespace tabulon::platform
