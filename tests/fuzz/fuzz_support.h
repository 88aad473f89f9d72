// Small helpers shared by the fuzz targets: a check that stops the run with
// a readable reason, and the cutting of one input into several files.
#ifndef TABULON_TESTS_FUZZ_FUZZ_SUPPORT_H_
#define TABULON_TESTS_FUZZ_FUZZ_SUPPORT_H_

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace tabulon::fuzz {

// Stops the run as a finding when an invariant does not hold.
inline void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// Several files travel in one input, separated by the byte 0xFF, which
// code page 932 never uses.
inline std::vector<std::string_view> SplitFiles(std::string_view input) {
  std::vector<std::string_view> files;
  while (true) {
    size_t separator = input.find('\xFF');
    files.push_back(input.substr(0, separator));
    if (separator == std::string_view::npos) return files;
    input.remove_prefix(separator + 1);
  }
}

inline std::string_view AsBytes(const unsigned char* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tabulon::fuzz

#endif  // TABULON_TESTS_FUZZ_FUZZ_SUPPORT_H_
