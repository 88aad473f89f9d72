// The few calls each platform gives the file layer (files_posix.cc,
// files_win32.cc). Opening, replacing and the rest of the protocol are
// written once over them (files.cc), which also puts the fault seam in front
// of each. Every call reports failure as one of the desktop's codes and
// leaves nothing open behind a failure.
#ifndef TABULON_PLATFORM_FILES_PRIMITIVES_H_
#define TABULON_PLATFORM_FILES_PRIMITIVES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon::platform::native {

// The system's handle of an open file: a descriptor, or a HANDLE as a number.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

// The code of a temporary name that is already taken.
extern const int kNameTaken;

// The name the system knows a program name by (its on-disk spelling on
// POSIX; the name itself on Windows, whose ANSI calls take code page 932).
// Every other call here takes such a name.
std::string SystemName(const std::string& program_name);

// Refuses writing to an existing name that is read-only or no plain file,
// and says whether the name exists. A name that cannot be looked at passes:
// opening it will tell why.
int CheckWritable(const std::string& name, bool& exists);

enum class Access {
  kRead,   // shared with other readers
  kWrite,  // created or emptied, shared with readers; emptied once held
  kHold,   // an existing file kept from other writers while it is replaced
};

// Opens `name` with the share mode of `access`. `size` is the file's size
// once open, or -1 when the system does not say. Folders and devices are
// denied as no files.
int Open(const std::string& name, Access access, Handle& handle,
         std::int64_t& size);

// Makes `name`, which must not exist yet (kNameTaken), for writing, shared
// with readers. Where the platform's replacement would not keep them, it
// takes the permissions of `target`, the file it is to replace (or
// kNoHandle).
int CreateTemporary(const std::string& name, Handle target, Handle& handle);

// A name beside `name` for the temporary file of the attempt-th try.
std::string TemporaryName(const std::string& name, int attempt);

// Reads up to `size` bytes; `got` is 0 at the end of the file.
int Read(Handle handle, char* buffer, std::size_t size, std::size_t& got);
// Writes some of `bytes` (`put` of them; 0 means the disk took nothing).
int Write(Handle handle, std::string_view bytes, std::size_t& put);
// Flushes the file's data to the disk.
int Sync(Handle handle);
// Closes; the handle is gone whatever the code says.
int Close(Handle handle);

// Puts the closed file `temporary` in the place of `name`, whose earlier
// file (if any) `target` still holds. The replaced file keeps what the
// platform lets a user set on it (hidden, system, archive on Windows).
int Replace(const std::string& temporary, const std::string& name,
            Handle target);

// Deletes a file as the desktop deletes by name: a folder, a read-only file
// and a file someone holds are refused.
int Delete(const std::string& name);
// Removes a file of our own without any check or report.
void Remove(const std::string& name);

}  // namespace tabulon::platform::native

#endif  // TABULON_PLATFORM_FILES_PRIMITIVES_H_
