// Marker search in CP932 text: a marker is found only where a character
// begins, never on the trail byte of a double-byte character.
#ifndef TABULON_TEXT_MARKERS_H_
#define TABULON_TEXT_MARKERS_H_

#include <string>
#include <string_view>

namespace tabulon::text {

// The byte position (from 1) of the first occurrence of `marker` in `text`
// that begins a character, or 0. Both are taken up to their first NUL; an
// empty text or marker gives 0. Case-sensitive.
int MarkerPos(std::string_view marker, std::string_view text);

// `text` without the first occurrence of `marker`, found as MarkerPos finds
// it but with single-byte letters compared without regard to case. Every
// other byte keeps its place and case. No occurrence: `text` unchanged.
std::string RemoveFirstMarker(std::string_view text, std::string_view marker);

// MarkerPos(marker, text) == 1. Inline: the tally asks it of every line,
// with markers the compiler can see.
inline bool BeginsWithMarker(std::string_view text, std::string_view marker) {
  // The first byte always begins a character; a text that holds the whole
  // marker (up to its NUL) before any NUL of its own starts with it.
  marker = marker.substr(0, marker.find('\0'));
  return !marker.empty() && text.starts_with(marker);
}
// MarkerPos(marker, text) > 0.
bool ContainsMarker(std::string_view text, std::string_view marker);

}  // namespace tabulon::text

#endif  // TABULON_TEXT_MARKERS_H_
