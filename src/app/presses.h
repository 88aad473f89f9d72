// The button presses the screenshot tools take on their command line, the
// same on every platform.
#ifndef TABULON_APP_PRESSES_H_
#define TABULON_APP_PRESSES_H_

#include <cstdio>
#include <map>
#include <string>

#include "gui/backend.h"
#include "window/main_window.h"

namespace tabulon::app {

// Each word names the button it presses; "live" chooses the context menu's
// one item instead.
inline const std::map<std::string, std::string>& Presses() {
  static const std::map<std::string, std::string> kPresses{
      {"tally", "Button1"},
      {"erase", "Button2"},
      {"enlarged", "Button3"},
      {"overview", "Button3"},
      {"previous", "Button4"},
      {"next", "Button5"},
      {"live", ""}};
  return kPresses;
}

inline std::string PressNames() {
  std::string names;
  for (const auto& [name, button] : Presses()) {
    names += (names.empty() ? "" : "|") + name;
  }
  return names;
}

// 0 when the command line is "OUT.png [PRESS...]"; otherwise says why on
// stderr and gives the exit status 2.
inline int CheckPresses(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.png [%s]...\n", argv[0],
                 PressNames().c_str());
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    if (Presses().count(argv[i]) == 0) {
      std::fprintf(stderr, "unknown press: %s (known: %s)\n", argv[i],
                   PressNames().c_str());
      return 2;
    }
  }
  return 0;
}

// Presses the buttons named from argv[2] on, in order, through the guard.
inline void Press(gui::Backend& backend, window::TForm1& window, int argc,
                  char** argv) {
  for (int i = 2; i < argc; ++i) {
    const std::string& button = Presses().at(argv[i]);
    if (button.empty()) {
      gui::RunHandler(backend, window.Form(), [&] { window.LiveMenuClick(); });
    } else {
      gui::RunHandler(backend, window.Form(), window.Form()[button].on_click);
    }
  }
}

}  // namespace tabulon::app

#endif  // TABULON_APP_PRESSES_H_
