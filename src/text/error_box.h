// The standard error box: how a failure is shown to the user. The box itself
// belongs to the control layer's backends (gui/); this piece decides what it
// says.
#ifndef TABULON_TEXT_ERROR_BOX_H_
#define TABULON_TEXT_ERROR_BOX_H_

#include <string>
#include <string_view>

namespace tabulon::text {

// The desktop's modal message box with the stop icon and one OK button.
class StopBox {
 public:
  virtual ~StopBox() = default;
  // Shows the box, every window disabled, and returns once it is confirmed.
  virtual void ShowStop(std::string_view caption, std::string_view message) = 0;
};

// The message with a "." appended, unless it is empty or its last character
// is a single byte of value 46 or less. A double-byte last character always
// gets the ".".
std::string WithFullStop(std::string_view message);

// Shows the message, with its full stop, under the caption "Tabulon".
void StandardErrorBox(std::string_view message, StopBox& box);

}  // namespace tabulon::text

#endif  // TABULON_TEXT_ERROR_BOX_H_
