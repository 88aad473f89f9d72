#include "gui/ampersand_rule.h"

#include "platform/codepage.h"

namespace tabulon::gui {
namespace {

void Append(std::vector<ShownRun>& runs, std::string_view cp932,
            bool underlined) {
  if (cp932.empty()) return;
  if (!underlined && !runs.empty() && !runs.back().underlined) {
    runs.back().cp932.append(cp932);
    return;
  }
  runs.push_back({std::string(cp932), underlined});
}

}  // namespace

std::vector<ShownRun> ShownRuns(std::string_view cp932) {
  std::vector<ShownRun> runs;
  bool underline_next = false;
  for (std::size_t i = 0; i < cp932.size();) {
    const std::size_t length = platform::CharacterLength(cp932, i);
    const std::string_view character = cp932.substr(i, length);
    i += length;
    if (character == "&") {
      // "&&": the second one is shown, as itself.
      if (i < cp932.size() && cp932[i] == '&') {
        Append(runs, "&", false);
        ++i;
      } else {
        underline_next = true;
      }
      continue;
    }
    Append(runs, character, underline_next);
    underline_next = false;
  }
  return runs;
}

}  // namespace tabulon::gui
