#include "text/textfile.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "support/injected_fault.h"
#include "support/scratch_folder.h"
#include "text/failure.h"

namespace tabulon::text {
namespace {

using ::tabulon::test_support::Cp932;
using ::tabulon::test_support::InjectedFault;
using ::tabulon::test_support::ReadBytes;
using ::tabulon::test_support::WriteBytes;
using Lines = std::vector<std::string>;

TEST(SplitLines, FollowsTheLineEndRules) {
  const struct {
    std::string bytes;
    Lines lines;
  } kCases[] = {
      {"", {}},
      {"\r\n", {""}},
      {"\n", {""}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},    // last line without a line end
      {"x\r\n\r\n", {"x", ""}},  // no extra empty line at the end
      {"a\rb\r\n", {"ab"}},      // a lone CR is dropped
      {"a\r", {"a"}},
      {"\r\r\n", {""}},
      {"a\n\nb", {"a", "", "b"}},
      // Byte 26 ends the file at the start of a line, nowhere else.
      {"\x1a"
       "a\n",
       {}},
      {"a\n\x1a"
       "b\nc\n",
       {"a"}},
      {"a\x1a"
       "b\n\x1a",
       {"a\x1a"
        "b"}},
      {"a\n\r\x1a\n", {"a", "\x1a"}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SplitLines(c.bytes), c.lines) << "bytes: " << c.bytes;
  }
}

TEST(SplitLines, KeepsDoubleByteCharactersWhole) {
  // Trail bytes never take the value of LF or CR, so lines split cleanly.
  std::string text = Cp932("質問\r\n１問ごと拡大表示\r\n");
  EXPECT_EQ(SplitLines(text),
            (Lines{Cp932("質問"), Cp932("１問ごと拡大表示")}));
}

class TextFileTest : public ::tabulon::test_support::InScratchFolder {};

// The code and message of the failure that `action` raises.
template <typename Action>
std::pair<int, std::string> FailureOf(Action action) {
  try {
    action();
  } catch (const InputOutputFailure& failure) {
    return {failure.Code(), failure.Message()};
  }
  return {0, "no failure"};
}

TEST_F(TextFileTest, ReadsTheLinesOfAFile) {
  WriteBytes("data.txt", Cp932("題名\r\n説明\n[Q1R]質問\r\n"));
  EXPECT_EQ(ReadTextLines("data.txt"),
            (Lines{Cp932("題名"), Cp932("説明"), Cp932("[Q1R]質問")}));
}

// ---- LineReader: file after file in one buffer ----

TEST_F(TextFileTest, LineReaderReadsFileAfterFileWithNothingLeftOver) {
  WriteBytes("long.txt", "first line\r\nsecond\rline\r\n" +
                             std::string(70000, 'x') + "\r\nlast");
  WriteBytes("short.txt", "a\nb");
  WriteBytes("empty.txt", "");
  LineReader reader;
  const std::vector<std::string_view>& lines = reader.Read("long.txt");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "secondline");
  EXPECT_EQ(lines[2], std::string(70000, 'x'));
  EXPECT_EQ(lines[3], "last");
  EXPECT_EQ(reader.Read("short.txt"),
            (std::vector<std::string_view>{"a", "b"}));
  EXPECT_TRUE(reader.Read("empty.txt").empty());
  EXPECT_EQ(reader.Read("long.txt").size(), 4u);
}

TEST_F(TextFileTest, LineReaderFailureLeavesNoLinesOfTheFileBefore) {
  WriteBytes("a.txt", "one\ntwo\n");
  LineReader reader;
  ASSERT_EQ(reader.Read("a.txt").size(), 2u);
  EXPECT_THROW(reader.Read("missing.txt"), InputOutputFailure);
  EXPECT_TRUE(reader.Lines().empty());
  {
    InjectedFault fault(platform::FileOperation::kRead, 1, 5);
    EXPECT_THROW(reader.Read("a.txt"), InputOutputFailure);
  }
  EXPECT_TRUE(reader.Lines().empty());
  EXPECT_EQ(reader.Read("a.txt").size(), 2u);
}

// Squeezing the dropped CRs out moves only a line's own bytes: the lines
// after it are where they were, and each view is its line.
TEST(SplitLinesInPlace, SqueezesCarriageReturnsWithinTheirLine) {
  std::string bytes = "\ra\r\rb\r\nc\r\n\r\r\nd\re\x1a\nf";
  std::vector<std::string_view> lines;
  SplitLinesInPlace(bytes, lines);
  EXPECT_EQ(lines,
            (std::vector<std::string_view>{"ab", "c", "", "de\x1a", "f"}));
  for (std::string_view line : lines) {
    EXPECT_GE(line.data(), bytes.data());
    EXPECT_LE(line.data() + line.size(), bytes.data() + bytes.size());
  }
  SplitLinesInPlace(bytes, lines);  // the list is refilled, not appended to
  EXPECT_EQ(lines.size(), 5u);
}

TEST_F(TextFileTest, ReadingFailuresCarryCodeAndMessage) {
  EXPECT_EQ(FailureOf([] { ReadTextLines("data.txt"); }),
            std::make_pair(2, Cp932("ファイルが見つかりません")));
  EXPECT_EQ(FailureOf([] { ReadTextLines("none/data.txt"); }),
            std::make_pair(3, Cp932("不正なファイル名です")));
  WriteBytes("data.txt", "x\r\n");
  const InjectedFault fault(platform::FileOperation::kRead, 1, 5);
  EXPECT_EQ(FailureOf([] { ReadTextLines("data.txt"); }),
            std::make_pair(5, Cp932("ファイルへのアクセスが拒否されました")));
  // The failed read closed the file: it can be written now.
  platform::File file;
  EXPECT_EQ(platform::File::CreateForWriting("data.txt", file), 0);
}

TEST_F(TextFileTest, LockedFileGivesSharingViolation) {
  WriteBytes("data.txt", "x\r\n");
  platform::File writer;
  ASSERT_EQ(platform::File::CreateForWriting("data.txt", writer), 0);
  EXPECT_EQ(FailureOf([] { ReadTextLines("data.txt"); }),
            std::make_pair(32, Cp932("I/O エラー (32)")));
}

TEST_F(TextFileTest, WritesLinesWithCrLfAndNothingElse) {
  TextOutputFile out;
  out.Create(Cp932("集計結果.csv"));
  out.Write(Cp932("質問,,"));
  out.EndLine();
  out.EndLine();
  std::string long_line(200000, 'x');
  out.Write(long_line);
  out.Close();
  EXPECT_EQ(ReadBytes(Cp932("集計結果.csv")),
            Cp932("質問,,") + "\r\n\r\n" + long_line);
}

TEST_F(TextFileTest, FailedWriteKeepsTheEarlierResults) {
  const std::string name = Cp932("集計結果.csv");
  WriteBytes(name, "earlier\r\n");
  TextOutputFile out;
  out.Create(name);
  out.Write(std::string(100000, 'y'));  // forces a write before Close
  const InjectedFault fault(platform::FileOperation::kWrite, 1, 112);
  EXPECT_EQ(FailureOf([&] {
              out.Write(std::string(100000, 'z'));
              out.Close();
            }),
            std::make_pair(112, Cp932("I/O エラー (112)")));
  EXPECT_EQ(ReadBytes(name), "earlier\r\n");
  EXPECT_EQ(::tabulon::test_support::FolderListing(),
            std::vector<std::string>{name});
  // The same run can write the file again afterwards.
  out.Create(name);
  out.Write("again");
  out.Close();
  EXPECT_EQ(ReadBytes(name), "again");
}

TEST_F(TextFileTest, CreatingALockedOrReadOnlyResultsFileFails) {
  const std::string name = Cp932("集計結果.csv");
  WriteBytes(name, "earlier");
  {
    platform::File reader;
    ASSERT_EQ(platform::File::OpenForReading(name, reader), 0);
    TextOutputFile out;
    EXPECT_EQ(FailureOf([&] { out.Create(name); }).first, 32);
  }
  ::tabulon::test_support::MakeReadOnly(name);
  TextOutputFile out;
  EXPECT_EQ(FailureOf([&] { out.Create(name); }).first, 5);
  EXPECT_EQ(ReadBytes(name), "earlier");
}

}  // namespace
}  // namespace tabulon::text
