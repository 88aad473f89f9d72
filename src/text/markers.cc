#include "text/markers.h"

#include "platform/codepage.h"

namespace tabulon::text {
namespace {

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

}  // namespace

int MarkerPos(std::string_view marker, std::string_view text) {
  marker = UpToNul(marker);
  text = UpToNul(text);
  if (marker.empty() || text.empty()) return 0;
  for (size_t i = 0; i + marker.size() <= text.size();
       i += platform::CharacterLength(text, i)) {
    if (text.compare(i, marker.size(), marker) == 0) {
      return static_cast<int>(i) + 1;
    }
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

bool BeginsWithMarker(std::string_view text, std::string_view marker) {
  return MarkerPos(marker, text) == 1;
}

bool ContainsMarker(std::string_view text, std::string_view marker) {
  return MarkerPos(marker, text) > 0;
}

}  // namespace tabulon::text
