#include "text/markers.h"

#include <cstring>

#include "platform/codepage.h"

namespace tabulon::text {
namespace {

// Texts shorter than this are swept byte by byte instead of searched.
constexpr size_t kSweptTextSize = 16;

std::string_view UpToNul(std::string_view s) {
  return s.substr(0, s.find('\0'));
}

// Upper-cases the single-byte letters; trail bytes keep their value.
std::string UpperCaseCharacters(std::string_view s) {
  std::string upper(s);
  for (size_t i = 0; i < upper.size();
       i += platform::CharacterLength(upper, i)) {
    upper[i] = platform::UpperCaseLetter(upper[i]);
  }
  return upper;
}

// True when byte `at` of `text` begins a character, reading from the start.
// The byte before a run of lead-byte values always ends a character (it is
// a single byte or a trail byte), and from there the run pairs up: `at`
// begins a character exactly when the run before it is of even length.
bool BeginsCharacter(std::string_view text, size_t at) {
  size_t run = 0;
  while (run < at &&
         platform::IsLeadByte(static_cast<unsigned char>(text[at - run - 1]))) {
    ++run;
  }
  return run % 2 == 0;
}

// The search byte by byte from the start, character by character.
int MarkerPosBySweep(std::string_view marker, std::string_view text) {
  for (size_t i = 0; i + marker.size() <= text.size();
       i += platform::CharacterLength(text, i)) {
    // The first byte decides most places without a call.
    if (text[i] == marker[0] && text.compare(i, marker.size(), marker) == 0) {
      return static_cast<int>(i) + 1;
    }
  }
  return 0;
}

}  // namespace

int MarkerPos(std::string_view marker, std::string_view text) {
  marker = UpToNul(marker);
  text = UpToNul(text);
  if (marker.empty() || text.empty() || marker.size() > text.size()) return 0;
  const unsigned char first = static_cast<unsigned char>(marker.front());
  // A short text (a section header) is swept faster than searched; a first
  // byte that is itself a lead byte value would make the search below look
  // back over runs of such bytes again and again.
  if (text.size() < kSweptTextSize || platform::IsLeadByte(first)) {
    return MarkerPosBySweep(marker, text);
  }
  const char* const data = text.data();
  const size_t last_start = text.size() - marker.size();
  size_t from = 0;
  while (from <= last_start) {
    const void* hit = std::memchr(data + from, first, last_start + 1 - from);
    if (hit == nullptr) return 0;
    const size_t at = static_cast<const char*>(hit) - data;
    if (BeginsCharacter(text, at) &&
        text.compare(at, marker.size(), marker) == 0) {
      return static_cast<int>(at) + 1;
    }
    from = at + 1;
  }
  return 0;
}

std::string RemoveFirstMarker(std::string_view text, std::string_view marker) {
  int position =
      MarkerPos(UpperCaseCharacters(marker), UpperCaseCharacters(text));
  std::string result(text);
  if (position == 0) return result;
  result.erase(static_cast<size_t>(position - 1), UpToNul(marker).size());
  return result;
}

bool ContainsMarker(std::string_view text, std::string_view marker) {
  return MarkerPos(marker, text) > 0;
}

}  // namespace tabulon::text
