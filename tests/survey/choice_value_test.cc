#include "survey/choice_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "support/scratch_folder.h"

namespace tabulon::survey {
namespace {

using test_support::Cp932;

struct Conversion {
  std::string line;
  std::optional<std::int32_t> value;  // nothing: the line is no integer
};

void PrintTo(const Conversion& conversion, std::ostream* out) {
  *out << '"' << conversion.line << '"';
}

class ChoiceLineValueTest : public ::testing::TestWithParam<Conversion> {};

TEST_P(ChoiceLineValueTest, ConvertsOrFailsQuotingTheLine) {
  const Conversion& conversion = GetParam();
  if (conversion.value) {
    EXPECT_EQ(ChoiceLineValue(conversion.line), *conversion.value);
    return;
  }
  try {
    ChoiceLineValue(conversion.line);
    ADD_FAILURE() << "no failure";
  } catch (const NotAnIntegerFailure& failure) {
    EXPECT_EQ(failure.Message(),
              "'" + conversion.line + Cp932("' は整数ではありません"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ChoiceLineValueTest,
    ::testing::Values(
        // Decimal, with leading spaces and a sign.
        Conversion{"1", 1}, Conversion{"0", 0}, Conversion{" 1", 1},
        Conversion{"   2", 2}, Conversion{"-5", -5}, Conversion{"+7", 7},
        Conversion{"007", 7}, Conversion{"2147483647", 2147483647},
        Conversion{"-2147483648", INT32_MIN},
        Conversion{"000000000000002147483647", 2147483647},
        // Hexadecimal forms, as values.
        Conversion{"0x1F", 31}, Conversion{"0X1f", 31}, Conversion{"$ff", 255},
        Conversion{"x10", 16}, Conversion{"X10", 16}, Conversion{"-$10", -16},
        Conversion{"$7FFFFFFF", 2147483647},
        Conversion{"-$80000000", INT32_MIN},
        Conversion{"$FFFFFFFF", std::nullopt},
        Conversion{"$80000000", std::nullopt},
        // Out of the signed 32-bit range.
        Conversion{"2147483648", std::nullopt},
        Conversion{"-2147483649", std::nullopt},
        Conversion{"99999999999999999999999", std::nullopt},
        // Nothing may follow; only byte 32 may lead; digits must be there.
        Conversion{"1 ", std::nullopt}, Conversion{"1\t", std::nullopt},
        Conversion{"\t1", std::nullopt}, Conversion{"1a", std::nullopt},
        Conversion{"", std::nullopt}, Conversion{"   ", std::nullopt},
        Conversion{"+", std::nullopt}, Conversion{"-", std::nullopt},
        Conversion{"- 1", std::nullopt}, Conversion{"+-1", std::nullopt},
        Conversion{"$", std::nullopt}, Conversion{"0x", std::nullopt},
        Conversion{"$g", std::nullopt}, Conversion{"1.0", std::nullopt},
        Conversion{"1e3", std::nullopt}, Conversion{"abc", std::nullopt},
        Conversion{Cp932("１"), std::nullopt},
        // One byte: a digit is its value, anything else no integer.
        Conversion{"9", 9}, Conversion{"a", std::nullopt},
        Conversion{"x", std::nullopt}, Conversion{" ", std::nullopt}));

TEST(ChoiceLineValueNulTest, NulByteIsNoDigit) {
  EXPECT_THROW(ChoiceLineValue(std::string("1\0", 2)), NotAnIntegerFailure);
}

TEST(NotAnIntegerFailureTest, QuotesTheLineBytesUnchanged) {
  const std::string line = Cp932("はい");
  EXPECT_EQ(NotAnIntegerFailure(line).Message(),
            "'" + line + Cp932("' は整数ではありません"));
}

}  // namespace
}  // namespace tabulon::survey
