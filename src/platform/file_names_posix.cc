#include <errno.h>
#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <optional>

#include "platform/file_names.h"

namespace tabulon::platform {
namespace {

constexpr char kProgramCodeset[] = "CP932";

// An iconv descriptor that converts whole strings or nothing.
class StrictConverter {
 public:
  StrictConverter(const char* to, const char* from)
      : cd_(iconv_open(to, from)) {}
  ~StrictConverter() {
    if (IsOpen()) iconv_close(cd_);
  }
  StrictConverter(const StrictConverter&) = delete;
  StrictConverter& operator=(const StrictConverter&) = delete;

  bool IsOpen() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // The whole of `in` converted, or nothing when any byte does not convert.
  std::optional<std::string> Convert(std::string_view in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the start state
    std::string out;
    char buffer[1024];
    char* in_pointer = const_cast<char*>(in.data());
    size_t in_left = in.size();
    while (true) {
      char* out_pointer = buffer;
      size_t out_left = sizeof buffer;
      // A null input ends the text, for character sets with shift states.
      size_t result =
          in_left > 0
              ? iconv(cd_, &in_pointer, &in_left, &out_pointer, &out_left)
              : iconv(cd_, nullptr, nullptr, &out_pointer, &out_left);
      const int error = result == static_cast<size_t>(-1) ? errno : 0;
      out.append(buffer, static_cast<size_t>(out_pointer - buffer));
      if (error == E2BIG) continue;
      if (error != 0) return std::nullopt;
      if (in_left == 0 && out_pointer == buffer) return out;
    }
  }

 private:
  iconv_t cd_;
};

// Both directions for one locale character set.
struct Boundary {
  explicit Boundary(const std::string& codeset)
      : codeset(codeset),
        to_disk(codeset.c_str(), kProgramCodeset),
        to_program(kProgramCodeset, codeset.c_str()) {}
  std::string codeset;
  StrictConverter to_disk;
  StrictConverter to_program;
};

// The descriptors of the locale in force, kept while it stays: every open
// and every listed name comes through here.
Boundary& CurrentBoundary() {
  thread_local std::optional<Boundary> boundary;
  const char* codeset = nl_langinfo(CODESET);
  if (!boundary || boundary->codeset != codeset) boundary.emplace(codeset);
  return *boundary;
}

// `from` converted by `there`, when `back` turns the result into exactly
// `from` again: only then do the two spellings name one file each way.
std::optional<std::string> RoundTrip(StrictConverter& there,
                                     StrictConverter& back,
                                     std::string_view from) {
  if (!there.IsOpen() || !back.IsOpen()) return std::nullopt;
  std::optional<std::string> converted = there.Convert(from);
  if (!converted) return std::nullopt;
  std::optional<std::string> returned = back.Convert(*converted);
  if (!returned || *returned != from) return std::nullopt;
  return converted;
}

// Every locale character set spells ASCII as ASCII, and so does code page
// 932 as this system reads it: such names need no converter.
bool IsAscii(std::string_view name) {
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return (c & 0x80) == 0; });
}

}  // namespace

std::string FileSystemName(std::string_view program_name) {
  if (IsAscii(program_name)) return std::string(program_name);
  if (program_name.front() == kRawNameMark) {
    return std::string(program_name.substr(1));
  }
  Boundary& boundary = CurrentBoundary();
  std::optional<std::string> disk_name =
      RoundTrip(boundary.to_disk, boundary.to_program, program_name);
  return disk_name ? *disk_name : std::string(program_name);
}

std::string ProgramName(std::string_view disk_name) {
  if (IsAscii(disk_name)) return std::string(disk_name);
  Boundary& boundary = CurrentBoundary();
  std::optional<std::string> program_name =
      RoundTrip(boundary.to_program, boundary.to_disk, disk_name);
  if (program_name) return *program_name;
  // Kept raw. Bytes that FileSystemName would convert (or unmark) must be
  // marked, or they would open some other file.
  const bool needs_mark =
      disk_name.front() == kRawNameMark ||
      RoundTrip(boundary.to_disk, boundary.to_program, disk_name).has_value();
  if (!needs_mark) return std::string(disk_name);
  return kRawNameMark + std::string(disk_name);
}

}  // namespace tabulon::platform
