// The failures that end a handler: raised where they occur, caught only by
// the control layer's handler guard (gui/), and shown in the standard error
// box.
#ifndef TABULON_TEXT_FAILURE_H_
#define TABULON_TEXT_FAILURE_H_

#include <stdexcept>
#include <string>

namespace tabulon::text {

// Base of every failure the user is told about. The message is CP932 bytes.
class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& message)
      : std::runtime_error(message), message_(message) {}
  // All of the message's bytes: what() would stop at a NUL that a quoted
  // line brought in.
  std::string Message() const { return message_; }

 private:
  std::string message_;
};

// A failed file operation, with the desktop's error code and the message
// that code chooses (MessageForCode).
class InputOutputFailure : public Failure {
 public:
  explicit InputOutputFailure(int code);
  int Code() const { return code_; }

 private:
  int code_;
};

// The fixed message for a code: the platform's file-not-found, path-not-found,
// too-many-open-files and access-denied codes (2 to 5) and the runtime
// library's 100, 101 and 106 have their own texts; every other code gives
// "I/O エラー (code)". CP932 bytes.
std::string MessageForCode(int code);

// Raises InputOutputFailure(code) unless code is 0.
void ThrowIfFailed(int code);

}  // namespace tabulon::text

#endif  // TABULON_TEXT_FAILURE_H_
