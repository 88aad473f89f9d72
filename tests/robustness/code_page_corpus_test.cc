// Every code page 932 file the project keeps (the sample, the test data, the
// bad-input corpus, the fuzzers' seeds) is still taken for code page 932, so
// it reads byte for byte as it did before Unicode files were converted.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "text/textfile.h"

namespace tabulon {
namespace {

const std::filesystem::path kSource = TABULON_SOURCE_DIR;

// The fixtures saved in Unicode on purpose, and the corpus's manifest.
bool IsUnicodeOnPurpose(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  return name.starts_with("utf8") || name.starts_with("utf16") ||
         name == "expected.tsv";
}

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(CodePageCorpusTest, EveryKeptFileIsTakenForCodePage932) {
  int files = 0;
  for (const char* folder :
       {"examples/sample", "tests/data", "tests/fuzz/corpus"}) {
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(kSource / folder)) {
      if (!entry.is_regular_file() || IsUnicodeOnPurpose(entry.path()))
        continue;
      ++files;
      std::string bytes = Contents(entry.path());
      const std::string before = bytes;
      std::string scratch;
      EXPECT_EQ(text::ConvertToCp932(bytes, scratch),
                text::TextEncoding::kCp932)
          << entry.path();
      EXPECT_EQ(bytes, before) << entry.path();
    }
  }
  EXPECT_GE(files, 90);  // the folders were found
}

}  // namespace
}  // namespace tabulon
