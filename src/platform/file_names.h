// File names at the file system's boundary. Inside the program a name is
// code page 932 bytes, as on the desktop; on disk it is spelt in the
// locale's character set (LC_CTYPE: UTF-8 on Debian), so "集計結果.csv" is
// called that in a file manager. POSIX builds only: the desktop's own file
// API converts by itself.
//
// A name that does not convert keeps its bytes. The two functions are
// inverse on every name the folder can list: ProgramName never gives two
// on-disk names the same program name, and FileSystemName of a listed name
// is the name it was listed from.
#ifndef TABULON_PLATFORM_FILE_NAMES_H_
#define TABULON_PLATFORM_FILE_NAMES_H_

#include <string>
#include <string_view>

namespace tabulon::platform {

// The on-disk spelling of a program name: its conversion to the locale's
// character set when that converts and round-trips; a listed name kept raw
// gets its raw bytes back; any other name passes unchanged.
std::string FileSystemName(std::string_view program_name);

// The program's name of an on-disk name: its code page 932 conversion when
// that converts and round-trips; otherwise its raw bytes, with kRawNameMark
// in front when those bytes would read as the program name of another file.
std::string ProgramName(std::string_view disk_name);

// Begins a program name that stands for raw on-disk bytes. No code page 932
// text contains this byte, so the mark never clashes with a converted name.
inline constexpr char kRawNameMark = '\xFF';

}  // namespace tabulon::platform

#endif  // TABULON_PLATFORM_FILE_NAMES_H_
