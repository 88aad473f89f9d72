// A tally listener that hears nothing, for tests that look only at what a
// tally stored.
#ifndef TABULON_TESTS_SUPPORT_NULL_LISTENER_H_
#define TABULON_TESTS_SUPPORT_NULL_LISTENER_H_

#include <string>

#include "survey/tally.h"

namespace tabulon::test_support {

class NullListener : public survey::TallyListener {
 public:
  void ChoiceSectionDone(int, const survey::ChoiceCounts&) override {}
  void TextAnswerFound(int, std::string_view) override {}
};

}  // namespace tabulon::test_support

#endif  // TABULON_TESTS_SUPPORT_NULL_LISTENER_H_
