// A fault injected into the file layer for one scope: whichever way the test
// leaves the scope, the fault is gone afterwards and cannot reach the next
// test.
#ifndef TABULON_TESTS_SUPPORT_INJECTED_FAULT_H_
#define TABULON_TESTS_SUPPORT_INJECTED_FAULT_H_

#include "platform/files.h"

namespace tabulon::test_support {

// The nth next call of `operation` fails with `code` while the guard lives.
class InjectedFault {
 public:
  InjectedFault(platform::FileOperation operation, int nth, int code)
      : operation_(operation) {
    platform::InjectFaultForTesting(operation, nth, code);
  }
  ~InjectedFault() { platform::InjectFaultForTesting(operation_, 0, 0); }
  InjectedFault(const InjectedFault&) = delete;
  InjectedFault& operator=(const InjectedFault&) = delete;

 private:
  platform::FileOperation operation_;
};

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_SUPPORT_INJECTED_FAULT_H_
