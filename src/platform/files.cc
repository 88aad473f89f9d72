// The file layer written once: share modes, reading, writing and the
// replacement protocol over each platform's primitives, with the fault seam
// in front of every primitive, and the desktop's wildcard matching.
#include "platform/files.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

#include "platform/codepage.h"
#include "platform/files_primitives.h"

namespace tabulon::platform {
namespace {

// One pending injected fault per kind of operation.
struct Fault {
  int countdown = 0;
  int code = 0;
};
std::array<Fault, static_cast<std::size_t>(FileOperation::kDelete) + 1> faults;

// The code of an injected fault due now for `operation`, or kNoError.
int TakeFault(FileOperation operation) {
  Fault& fault = faults[static_cast<std::size_t>(operation)];
  if (fault.countdown <= 0) return kNoError;
  if (--fault.countdown > 0) return kNoError;
  return fault.code;
}

void CloseQuietly(native::Handle& handle) {
  if (handle == native::kNoHandle) return;
  native::Close(handle);
  handle = native::kNoHandle;
}

// Opens through the seam; `size` as the platform gives it.
int OpenNative(const std::string& name, native::Access access,
               native::Handle& handle, std::int64_t& size) {
  if (int fault = TakeFault(FileOperation::kOpen)) return fault;
  return native::Open(name, access, handle, size);
}

int CreateTemporaryNative(const std::string& name, native::Handle target,
                          native::Handle& handle) {
  if (int fault = TakeFault(FileOperation::kOpen)) return fault;
  return native::CreateTemporary(name, target, handle);
}

}  // namespace

void InjectFaultForTesting(FileOperation operation, int nth, int code) {
  faults[static_cast<std::size_t>(operation)] = Fault{nth, code};
}

void ClearFaultsForTesting() { faults = {}; }

File::File(File&& other) noexcept
    : handle_(std::exchange(other.handle_, native::kNoHandle)),
      size_at_open_(std::exchange(other.size_at_open_, -1)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    CloseQuietly(handle_);
    handle_ = std::exchange(other.handle_, native::kNoHandle);
    size_at_open_ = std::exchange(other.size_at_open_, -1);
  }
  return *this;
}

File::~File() { CloseQuietly(handle_); }

int File::OpenForReading(const std::string& program_name, File& out) {
  out.Close();
  native::Handle handle = native::kNoHandle;
  std::int64_t size = -1;
  const int code = OpenNative(native::SystemName(program_name),
                              native::Access::kRead, handle, size);
  if (code == kNoError) out = File(handle, size);
  return code;
}

int File::CreateForWriting(const std::string& program_name, File& out) {
  out.Close();
  const std::string name = native::SystemName(program_name);
  bool exists = false;
  if (int code = native::CheckWritable(name, exists)) return code;
  native::Handle handle = native::kNoHandle;
  std::int64_t size = -1;
  const int code = OpenNative(name, native::Access::kWrite, handle, size);
  if (code == kNoError) out = File(handle);
  return code;
}

int File::ReadAll(std::string& bytes) {
  if (!IsOpen()) return kInvalidHandle;
  int code = TakeFault(FileOperation::kRead);
  // The size known from opening sizes the first piece (one byte more finds
  // the end at once), so a small answer file takes one read and does not pay
  // for a large zeroed buffer. A file that changed size since is read on.
  const std::int64_t expected = std::exchange(size_at_open_, -1);
  const std::size_t start = bytes.size();
  constexpr std::size_t kPiece = 1 << 16;
  std::size_t chunk =
      expected >= 0 ? static_cast<std::size_t>(expected) + 1 : kPiece;
  bytes.reserve(start + chunk);
  while (code == kNoError) {
    const std::size_t old_size = bytes.size();
    bytes.resize(old_size + chunk);
    std::size_t got = 0;
    code = native::Read(handle_, bytes.data() + old_size, chunk, got);
    bytes.resize(old_size + got);
    if (code != kNoError) break;
    if (got == 0) return kNoError;
    // A disk file reads short only at its end: the size it had at opening,
    // read short, is all of it.
    if (got < chunk &&
        static_cast<std::int64_t>(bytes.size() - start) == expected) {
      return kNoError;
    }
    // A file that grew is read on in large pieces.
    chunk = std::max(chunk, kPiece);
  }
  CloseQuietly(handle_);
  return code;
}

int File::Write(std::string_view bytes) {
  if (!IsOpen()) return kInvalidHandle;
  int code = TakeFault(FileOperation::kWrite);
  while (code == kNoError && !bytes.empty()) {
    std::size_t put = 0;
    code = native::Write(handle_, bytes, put);
    if (code == kNoError && put == 0) code = kDiskFull;
    if (code == kNoError) bytes.remove_prefix(put);
  }
  if (code != kNoError) CloseQuietly(handle_);
  return code;
}

int File::Sync() {
  if (!IsOpen()) return kInvalidHandle;
  int code = TakeFault(FileOperation::kSync);
  if (code == kNoError) code = native::Sync(handle_);
  if (code != kNoError) CloseQuietly(handle_);
  return code;
}

int File::Close() {
  if (!IsOpen()) return kNoError;
  const int fault = TakeFault(FileOperation::kClose);
  // The handle is gone after closing whatever the system reports.
  const int code = native::Close(std::exchange(handle_, native::kNoHandle));
  return fault != kNoError ? fault : code;
}

ReplacementFile::~ReplacementFile() { Abandon(); }

int ReplacementFile::Begin(const std::string& program_name) {
  Abandon();
  // The temporary's name and the replacement use the system's name too.
  const std::string name = native::SystemName(program_name);
  bool exists = false;
  if (int code = native::CheckWritable(name, exists)) return code;
  // Hold the real file for the whole replacement, as writing it in place
  // would; a missing one is simply created by the replacement.
  if (exists) {
    native::Handle handle = native::kNoHandle;
    std::int64_t size = -1;
    const int code = OpenNative(name, native::Access::kHold, handle, size);
    if (code != kNoError) return code;
    target_ = File(handle);
  }
  const int code = CreateTemporaryBeside(name);
  if (code != kNoError) {
    target_.Close();
    return code;
  }
  name_ = name;
  return kNoError;
}

int ReplacementFile::CreateTemporaryBeside(const std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary_name_ = native::TemporaryName(name, attempt);
    native::Handle handle = native::kNoHandle;
    const int code =
        CreateTemporaryNative(temporary_name_, target_.handle_, handle);
    if (code == kNoError) {
      temporary_ = File(handle);
      return kNoError;
    }
    temporary_name_.clear();
    if (code != native::kNameTaken) return code;  // else try another name
  }
  return native::kNameTaken;
}

int ReplacementFile::Write(std::string_view bytes) {
  if (!temporary_.IsOpen()) return kInvalidHandle;
  const int code = temporary_.Write(bytes);
  if (code != kNoError) Abandon();
  return code;
}

int ReplacementFile::Commit() {
  if (!temporary_.IsOpen()) return kInvalidHandle;
  int code = temporary_.Sync();
  if (code == kNoError) code = temporary_.Close();
  if (code == kNoError) code = TakeFault(FileOperation::kRename);
  if (code == kNoError) {
    code = native::Replace(temporary_name_, name_, target_.handle_);
  }
  if (code != kNoError) {
    Abandon();
    return code;
  }
  // The replacement is in place; the old file's hold has nothing left to
  // protect, so letting it go cannot fail the write.
  temporary_name_.clear();
  Abandon();
  return kNoError;
}

void ReplacementFile::Abandon() {
  temporary_ = File();
  if (!temporary_name_.empty()) native::Remove(temporary_name_);
  temporary_name_.clear();
  target_ = File();
  name_.clear();
}

int DeleteFileByName(const std::string& program_name) {
  if (int fault = TakeFault(FileOperation::kDelete)) return fault;
  return native::Delete(native::SystemName(program_name));
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  auto same = [](char p, char n) {
    return p == '?' || UpperCaseLetter(p) == UpperCaseLetter(n);
  };
  size_t p = 0;
  size_t n = 0;
  // Where the last "*" was, and how much of the name it has taken: on a
  // mismatch the star takes one byte more.
  size_t star = std::string_view::npos;
  size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && same(pattern[p], name[n])) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace tabulon::platform
