// The choice-line integer conversion against an oracle built on strtoull:
// the same grammar (spaces, a sign, "$", "x" or "0x" for hexadecimal) but the
// digits read by the C library.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/codepage.h"
#include "survey/choice_value.h"

namespace {

using tabulon::fuzz::Check;

std::optional<std::int32_t> OracleValue(std::string_view line) {
  std::string_view rest = line;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  int base = 10;
  for (std::string_view prefix : {"$", "0x", "0X", "x", "X"}) {
    if (rest.substr(0, prefix.size()) == prefix) {
      rest.remove_prefix(prefix.size());
      base = 16;
      break;
    }
  }
  // strtoull would take its own blanks, sign and prefix: only digits may
  // reach it.
  const std::string_view digits =
      base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
  if (rest.empty() || rest.find_first_not_of(digits) != std::string_view::npos)
    return std::nullopt;
  const std::string text(rest);
  errno = 0;
  const unsigned long long magnitude =
      std::strtoull(text.c_str(), nullptr, base);
  if (errno == ERANGE) return std::nullopt;
  constexpr unsigned long long kMax = std::numeric_limits<std::int32_t>::max();
  if (!negative && magnitude > kMax) return std::nullopt;
  if (negative && magnitude > kMax + 1) return std::nullopt;
  if (negative)
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
  return static_cast<std::int32_t>(magnitude);
}

std::string NotAnIntegerMessage(std::string_view line) {
  return "'" + std::string(line) +
         tabulon::platform::Utf8ToCp932("' は整数ではありません");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line = tabulon::fuzz::AsBytes(data, size);
  const std::optional<std::int32_t> expected = OracleValue(line);
  try {
    const std::int32_t value = tabulon::survey::ChoiceLineValue(line);
    Check(expected.has_value(), "accepted a line the oracle refuses");
    Check(value == *expected, "a value differs from the oracle's");
  } catch (const tabulon::survey::NotAnIntegerFailure& failure) {
    Check(!expected.has_value(), "refused a line the oracle accepts");
    Check(failure.Message() == NotAnIntegerMessage(line),
          "the message does not quote the line");
  }
  return 0;
}
