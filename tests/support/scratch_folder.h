// A fresh empty folder made current for one test, removed afterwards; and
// the fixtures a test puts in it. Fixtures are made and inspected with the
// operating system's own calls, beside (never through) the file layer under
// test, so that a fault there cannot hide itself.
#ifndef TABULON_TESTS_SUPPORT_SCRATCH_FOLDER_H_
#define TABULON_TESTS_SUPPORT_SCRATCH_FOLDER_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::test_support {

// CP932 bytes of a UTF-8 literal, for readable fixtures.
std::string Cp932(std::string_view utf8);

// Makes a new folder under the system's temporary folder the current folder
// for the life of the object, and goes back and removes it afterwards, read-
// only files and all.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder's full name, as the platform spells it.
  const std::string& Path() const { return path_; }

 private:
  std::string previous_;
  std::string path_;
};

// A test fixture that runs every test in its own scratch folder.
class InScratchFolder : public ::testing::Test {
 protected:
  ScratchFolder folder_;
};

// ---- Fixture files in the current folder ----
// Names are the program's (CP932), spelt on disk as the program spells them.

// Writes the bytes as they are to the named file.
void WriteBytes(const std::string& name, std::string_view bytes);
// The whole file's bytes; fails the test if it cannot be read.
std::string ReadBytes(const std::string& name);
bool Exists(const std::string& name);
// Every entry of the current folder, hidden ones included, in byte order.
std::vector<std::string> FolderListing();
void MakeFolder(const std::string& name);
// Copies every file of `folder` (a full name) into the current folder.
void CopyFilesFrom(const std::string& folder);
// The desktop's read-only mark: no write permission bit on POSIX, the
// read-only attribute on Windows.
void MakeReadOnly(const std::string& name);

// Fixtures only some platforms have; false (and nothing made) elsewhere, so
// the test can skip with a message.
bool MakeNamedPipe(const std::string& name);
bool MakeSymbolicLink(const std::string& target, const std::string& link);
// Windows's hidden and system attributes.
bool MakeHidden(const std::string& name);
bool MakeSystem(const std::string& name);

// Another program holding a file open, until destroyed.
class HeldByAnotherProgram {
 public:
  enum class Holding {
    kExclusively,  // shares nothing (a write lock on POSIX)
    kForReading,   // reads it and lets others only read (a read lock)
  };
  explicit HeldByAnotherProgram(const std::string& name,
                                Holding holding = Holding::kExclusively);
  ~HeldByAnotherProgram();
  HeldByAnotherProgram(const HeldByAnotherProgram&) = delete;
  HeldByAnotherProgram& operator=(const HeldByAnotherProgram&) = delete;

 private:
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

// True when some open of the file holds it against others (a lock, or a
// handle that does not share).
bool IsHeld(const std::string& name);

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_SUPPORT_SCRATCH_FOLDER_H_
