#include "text/failure.h"

#include "platform/files.h"
#include "text/fixed_texts.h"

namespace tabulon::text {

InputOutputFailure::InputOutputFailure(int code)
    : Failure(MessageForCode(code)), code_(code) {}

std::string MessageForCode(int code) {
  switch (code) {
    case platform::kFileNotFound:
      return Text(FixedText::kFileNotFound);
    case platform::kPathNotFound:
      return Text(FixedText::kInvalidFileName);
    case platform::kTooManyOpenFiles:
      return Text(FixedText::kTooManyOpenFiles);
    case platform::kAccessDenied:
      return Text(FixedText::kAccessDenied);
    case 100:
      return Text(FixedText::kReadPastEnd);
    case 101:
      return Text(FixedText::kDiskFull);
    case 106:
      return Text(FixedText::kNotANumber);
  }
  std::string message = Text(FixedText::kIoErrorFormat);
  message.replace(message.find("%d"), 2, std::to_string(code));
  return message;
}

void ThrowIfFailed(int code) {
  if (code != 0) throw InputOutputFailure(code);
}

}  // namespace tabulon::text
