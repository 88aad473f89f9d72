// A fresh empty folder made current for one test, removed afterwards; and
// small helpers to put CP932 files in it.
#ifndef TABULON_TESTS_SUPPORT_SCRATCH_FOLDER_H_
#define TABULON_TESTS_SUPPORT_SCRATCH_FOLDER_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace tabulon::test_support {

// CP932 bytes of a UTF-8 literal, for readable fixtures.
std::string Sjis(std::string_view utf8);

// Makes a new folder under the system's temporary folder the current folder
// for the life of the object, and goes back and removes it afterwards.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// A test fixture that runs every test in its own scratch folder.
class InScratchFolder : public ::testing::Test {
 protected:
  ScratchFolder folder_;
};

// Names are the program's (CP932), spelt on disk as the program spells them.
// Writes the bytes as they are to the named file (in the current folder).
void WriteBytes(const std::string& name, std::string_view bytes);
// The whole file's bytes; fails the test if it cannot be read.
std::string ReadBytes(const std::string& name);
bool Exists(const std::string& name);

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_SUPPORT_SCRATCH_FOLDER_H_
