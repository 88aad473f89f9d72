// MarkerPos and RemoveFirstMarker against an oracle that decides where a
// character begins by looking backwards: after the last byte that cannot be
// a lead byte, the lead-valued bytes pair up, so a position begins a
// character exactly when an even number of lead-valued bytes stand right
// before it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/codepage.h"
#include "text/markers.h"

namespace {

using tabulon::fuzz::Check;
using tabulon::platform::IsLeadByte;

std::string_view UpToNul(std::string_view s) {
  return s.substr(0, s.find('\0'));
}

bool BeginsCharacter(std::string_view text, size_t i) {
  size_t leads = 0;
  while (leads < i &&
         IsLeadByte(static_cast<unsigned char>(text[i - leads - 1])))
    ++leads;
  return leads % 2 == 0;
}

int OracleMarkerPos(std::string_view marker, std::string_view text) {
  marker = UpToNul(marker);
  text = UpToNul(text);
  if (marker.empty() || text.empty()) return 0;
  for (size_t i = 0; i + marker.size() <= text.size(); ++i) {
    if (BeginsCharacter(text, i) && text.substr(i, marker.size()) == marker)
      return static_cast<int>(i) + 1;
  }
  return 0;
}

// Single-byte letters upper-cased; a trail byte keeps its value.
std::string OracleUpper(std::string_view s) {
  std::string upper(s);
  for (size_t i = 0; i < upper.size(); ++i) {
    if (upper[i] >= 'a' && upper[i] <= 'z' && BeginsCharacter(s, i))
      upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
  }
  return upper;
}

std::string OracleRemove(std::string_view text, std::string_view marker) {
  int position = OracleMarkerPos(OracleUpper(marker), OracleUpper(text));
  std::string result(text);
  if (position == 0) return result;
  result.erase(static_cast<size_t>(position - 1), UpToNul(marker).size());
  return result;
}

}  // namespace

// The first byte gives the marker's length (0 to 7); the marker follows, the
// text is the rest.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input = tabulon::fuzz::AsBytes(data, size);
  if (input.empty()) return 0;
  size_t marker_size = static_cast<unsigned char>(input[0]) % 8;
  input.remove_prefix(1);
  marker_size = std::min(marker_size, input.size());
  const std::string_view marker = input.substr(0, marker_size);
  const std::string_view text = input.substr(marker_size);

  const int position = tabulon::text::MarkerPos(marker, text);
  Check(position == OracleMarkerPos(marker, text), "MarkerPos differs");
  if (position > 0) {
    const size_t at = static_cast<size_t>(position - 1);
    Check(BeginsCharacter(text, at), "a match on a trail byte");
    Check(text.substr(at, UpToNul(marker).size()) == UpToNul(marker),
          "the bytes at the position are not the marker");
  }
  Check(tabulon::text::BeginsWithMarker(text, marker) == (position == 1),
        "BeginsWithMarker");
  Check(tabulon::text::ContainsMarker(text, marker) == (position > 0),
        "ContainsMarker");

  const std::string removed = tabulon::text::RemoveFirstMarker(text, marker);
  Check(removed == OracleRemove(text, marker), "RemoveFirstMarker differs");
  Check(removed.size() == text.size() ||
            removed.size() + UpToNul(marker).size() == text.size(),
        "RemoveFirstMarker removed a wrong number of bytes");
  return 0;
}
