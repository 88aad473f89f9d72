// Scratch folders and fixtures with the desktop's own calls. Names are code
// page 932 bytes, as the file layer under test spells them.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "support/scratch_folder.h"

namespace tabulon::test_support {
namespace {

std::string CurrentFolder() {
  char name[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, name);
  return length > 0 && length < MAX_PATH ? std::string(name, length) : ".";
}

// Entries of a folder, "." and ".." left out.
std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// Removes a tree whatever a test did to it: attributes go first.
void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    for (const std::string& name : EntriesOf(path)) {
      RemoveTree(path + "\\" + name);
    }
    RemoveDirectoryA(path.c_str());
    return;
  }
  DeleteFileA(path.c_str());
}

bool AddAttribute(const std::string& name, DWORD attribute) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         SetFileAttributesA(name.c_str(), attributes | attribute);
}

}  // namespace

ScratchFolder::ScratchFolder() : previous_(CurrentFolder()) {
  static std::atomic<unsigned> counter{0};
  char temporary[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, temporary);
  const std::string base = length > 0 && length < MAX_PATH
                               ? std::string(temporary, length)
                               : std::string(".\\");
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "tabulon-test-%lu-%u",
                  static_cast<unsigned long>(GetCurrentProcessId()),
                  counter.fetch_add(1));
    const std::string candidate = base + name;
    if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
  }
  if (path_.empty() || !SetCurrentDirectoryA(path_.c_str())) {
    ADD_FAILURE() << "cannot make a scratch folder, error " << GetLastError();
    path_ = previous_;
  }
}

ScratchFolder::~ScratchFolder() {
  if (!SetCurrentDirectoryA(previous_.c_str())) return;
  if (path_ != previous_) RemoveTree(path_);
}

void WriteBytes(const std::string& name, std::string_view bytes) {
  const HANDLE file =
      CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE)
      << "cannot write " << name << ", error " << GetLastError();
  DWORD put = 0;
  const BOOL written = WriteFile(
      file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(file);
  ASSERT_TRUE(written && put == bytes.size()) << "cannot write " << name;
}

std::string ReadBytes(const std::string& name) {
  const HANDLE file = CreateFileA(
      name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE)
      << "cannot read " << name << ", error " << GetLastError();
  std::string bytes;
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[1 << 16];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  CloseHandle(file);
  return bytes;
}

bool Exists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FolderListing() {
  std::vector<std::string> names = EntriesOf(".");
  std::sort(names.begin(), names.end());
  return names;
}

void MakeFolder(const std::string& name) {
  ASSERT_TRUE(CreateDirectoryA(name.c_str(), nullptr))
      << "cannot make folder " << name << ", error " << GetLastError();
}

void CopyFilesFrom(const std::string& folder) {
  for (const std::string& name : EntriesOf(folder)) {
    WriteBytes(name, ReadBytes(folder + "\\" + name));
  }
}

void MakeReadOnly(const std::string& name) {
  ASSERT_TRUE(AddAttribute(name, FILE_ATTRIBUTE_READONLY))
      << "cannot protect " << name;
}

bool MakeNamedPipe(const std::string&) { return false; }

bool MakeSymbolicLink(const std::string&, const std::string&) { return false; }

bool MakeHidden(const std::string& name) {
  return AddAttribute(name, FILE_ATTRIBUTE_HIDDEN);
}

bool MakeSystem(const std::string& name) {
  return AddAttribute(name, FILE_ATTRIBUTE_SYSTEM);
}

struct HeldByAnotherProgram::Handle {
  HANDLE file = INVALID_HANDLE_VALUE;
};

HeldByAnotherProgram::HeldByAnotherProgram(const std::string& name,
                                           Holding holding)
    : handle_(std::make_unique<Handle>()) {
  const bool reading = holding == Holding::kForReading;
  handle_->file = CreateFileA(
      name.c_str(), reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
      reading ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING,
      FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(handle_->file, INVALID_HANDLE_VALUE)
      << "cannot hold " << name << ", error " << GetLastError();
}

HeldByAnotherProgram::~HeldByAnotherProgram() {
  if (handle_->file != INVALID_HANDLE_VALUE) CloseHandle(handle_->file);
}

bool IsHeld(const std::string& name) {
  const HANDLE probe =
      CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    return false;
  }
  return GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace tabulon::test_support
