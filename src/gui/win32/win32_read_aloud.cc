// What the Win32 backend tells a screen reader of a surface: its labels
// as they read (from the rules every backend shares), and what of them is
// covered and cannot be seen.
#include <string>
#include <utility>

#include "gui/realisation.h"
#include "gui/win32/win32_screen.h"
#include "gui/win32/win32_wide_text.h"

namespace tabulon::gui::win32 {
namespace {

bool IsBlank(std::string_view text) {
  return !text.empty() && text.find_first_not_of(' ') == std::string::npos;
}

bool Contains(const Control& outer, const Control& inner) {
  return outer.Left() <= inner.Left() && outer.Top() <= inner.Top() &&
         inner.Left() + inner.Width() <= outer.Left() + outer.Width() &&
         inner.Top() + inner.Height() <= outer.Top() + outer.Height();
}

}  // namespace

// What lies wholly beneath a shown windowed control stacked above it (the
// rows behind a free-text question's list, panel 9 under panel 7) cannot
// be seen, so it is not read either. Windowed controls lie above labels,
// and later ones above earlier.
bool Screen::IsCovered(const Control& control) const {
  bool above = control.Kind() == ControlKind::kLabel;
  for (const auto& other : form->Controls()) {
    if (other.get() == &control) {
      above = true;
      continue;
    }
    if (above && other->Parent() == control.Parent() && other->Visible() &&
        IsWindowed(other->Kind()) && Contains(*other, control)) {
      return true;
    }
  }
  return false;
}

// A label reads as its caption shows; a bar (a caption of blanks that the
// layout reads with its count) as a progress bar named as its count.
SurfaceFacts Screen::FactsOf(const Control& owner) {
  SurfaceFacts facts;
  facts.exists = true;
  facts.panel = owner.Kind() == ControlKind::kGroupBox;
  if (facts.panel) {
    facts.name = Widened(932, WithoutAmpersands(owner.Caption()));
    facts.covered = IsCovered(owner);
  }
  for (const Control* label : labels_of[&owner]) {
    if (!label->Visible()) continue;
    AccessibleLabel heard;
    const std::string shown = WithoutAmpersands(label->Caption());
    const Control* count = label->ReadWith();
    heard.bar = count != nullptr && IsBlank(shown);
    heard.name =
        Widened(932, heard.bar ? WithoutAmpersands(count->Caption()) : shown);
    if (heard.name.empty()) continue;  // nothing to read
    heard.covered = IsCovered(*label);
    heard.place = ScreenRect(*label);
    facts.labels.push_back(std::move(heard));
  }
  return facts;
}

}  // namespace tabulon::gui::win32
