// The ampersand rule of labels and panel captions, decided once for every
// backend: "&" is not shown and underlines the character after it, "&&"
// shows one "&", and an "&" with nothing after it shows nothing. A backend
// paints the runs it is given; it never leaves the rule to the system.
#ifndef TABULON_GUI_AMPERSAND_RULE_H_
#define TABULON_GUI_AMPERSAND_RULE_H_

#include <string>
#include <string_view>
#include <vector>

namespace tabulon::gui {

// A piece of a caption as shown: CP932 bytes, all underlined or none (an
// underlined run is one character).
struct ShownRun {
  std::string cp932;
  bool underlined = false;
  friend bool operator==(const ShownRun&, const ShownRun&) = default;
};

// The caption (CP932) as a label shows it, in order; empty runs are left
// out. A CP932 trail byte is never taken for an ampersand.
std::vector<ShownRun> ShownRuns(std::string_view cp932);

}  // namespace tabulon::gui

#endif  // TABULON_GUI_AMPERSAND_RULE_H_
