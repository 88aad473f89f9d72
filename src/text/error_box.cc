#include "text/error_box.h"

#include "platform/codepage.h"
#include "text/fixed_texts.h"

namespace tabulon::text {
namespace {

// True when the last character, read as CP932 from the start, is a
// double-byte one.
bool EndsWithDoubleByteCharacter(std::string_view s) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < s.size(); i += length) {
    length = platform::CharacterLength(s, i);
  }
  return length == 2;
}

}  // namespace

std::string WithFullStop(std::string_view message) {
  std::string result(message);
  if (message.empty()) return result;
  bool ends_in_stop_like = !EndsWithDoubleByteCharacter(message) &&
                           static_cast<unsigned char>(message.back()) <= 46;
  if (!ends_in_stop_like) result += '.';
  return result;
}

void StandardErrorBox(std::string_view message, StopBox& box) {
  box.ShowStop(Text(FixedText::kApplicationTitle), WithFullStop(message));
}

}  // namespace tabulon::text
