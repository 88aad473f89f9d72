// The number on a choice line of an answer file.
#ifndef TABULON_SURVEY_CHOICE_VALUE_H_
#define TABULON_SURVEY_CHOICE_VALUE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "text/failure.h"

namespace tabulon::survey {

// A choice line that is not an integer: "'line' は整数ではありません".
class NotAnIntegerFailure : public text::Failure {
 public:
  explicit NotAnIntegerFailure(std::string_view line);
};

// The signed 32-bit value of a choice line: leading spaces (byte 32 only),
// an optional sign, then decimal digits or hexadecimal digits introduced by
// "$", "x", "X", "0x" or "0X". Nothing may follow. Anything else, or a value
// outside the signed 32-bit range, raises NotAnIntegerFailure.
std::int32_t ChoiceLineValue(std::string_view line);

}  // namespace tabulon::survey

#endif  // TABULON_SURVEY_CHOICE_VALUE_H_
