// What the file layer's implementations share: the fault seam and the
// desktop's wildcard matching.
#include "platform/files.h"

#include <array>
#include <cstddef>

#include "platform/codepage.h"
#include "platform/fault_seam.h"

namespace tabulon::platform {
namespace {

// One pending injected fault per kind of operation.
struct Fault {
  int countdown = 0;
  int code = 0;
};
std::array<Fault, 6> faults;

}  // namespace

int TakeFault(FileOperation operation) {
  Fault& fault = faults[static_cast<std::size_t>(operation)];
  if (fault.countdown <= 0) return kNoError;
  if (--fault.countdown > 0) return kNoError;
  return fault.code;
}

void InjectFaultForTesting(FileOperation operation, int nth, int code) {
  faults[static_cast<std::size_t>(operation)] = Fault{nth, code};
}

void ClearFaultsForTesting() { faults = {}; }

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
