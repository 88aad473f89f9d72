#include "survey/choice_value.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "text/fixed_texts.h"

namespace tabulon::survey {
namespace {

// The fixed text with its "%s" replaced by the line's own bytes.
std::string NotAnIntegerMessage(std::string_view line) {
  std::string message = text::Text(text::FixedText::kNotAnIntegerFormat);
  const std::size_t at = message.find("%s");
  if (at == std::string::npos) return message;
  return message.replace(at, 2, line);
}

// The value of a hexadecimal or decimal digit, or nothing.
std::optional<int> DigitValue(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base != 16) return std::nullopt;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// Consumes a hexadecimal prefix ("$", "0x", "0X", "x" or "X") at the start
// of `rest`; true when there was one.
bool ConsumeHexPrefix(std::string_view& rest) {
  for (std::string_view prefix : {"$", "0x", "0X", "x", "X"}) {
    if (rest.starts_with(prefix)) {
      rest.remove_prefix(prefix.size());
      return true;
    }
  }
  return false;
}

}  // namespace

NotAnIntegerFailure::NotAnIntegerFailure(std::string_view line)
    : text::Failure(NotAnIntegerMessage(line)) {}

std::int32_t ChoiceLineValue(std::string_view line) {
  // Nearly every choice line is one digit, 0 or 1.
  if (line.size() == 1 && line[0] >= '0' && line[0] <= '9')
    return line[0] - '0';
  std::string_view rest = line;
  while (rest.starts_with(' ')) rest.remove_prefix(1);

  bool negative = false;
  if (rest.starts_with('+') || rest.starts_with('-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  const int base = ConsumeHexPrefix(rest) ? 16 : 10;
  if (rest.empty()) throw NotAnIntegerFailure(line);

  // A hexadecimal form is a value like a decimal one, not a bit pattern:
  // "$FFFFFFFF" is 4294967295 and so out of range, not -1.
  constexpr std::int64_t kLargestMagnitude =
      -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min());
  std::int64_t magnitude = 0;
  for (char c : rest) {
    const std::optional<int> digit = DigitValue(c, base);
    if (!digit) throw NotAnIntegerFailure(line);
    magnitude = magnitude * base + *digit;
    if (magnitude > kLargestMagnitude) throw NotAnIntegerFailure(line);
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max())
    throw NotAnIntegerFailure(line);
  return static_cast<std::int32_t>(value);
}

}  // namespace tabulon::survey
