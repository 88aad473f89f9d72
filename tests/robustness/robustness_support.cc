#include "robustness_support.h"

#include <string>

namespace tabulon::test_support {

std::vector<bool> DeleteEveryListedFile(text::AnswerFileList& list) {
  std::vector<bool> deleted;
  for (const std::string& name : std::vector<std::string>(list.Names())) {
    deleted.push_back(text::DeleteFile(name));
  }
  return deleted;
}

}  // namespace tabulon::test_support
