#include "gui/accessibility.h"

namespace tabulon::gui {
namespace {

// Nearer than `best`: for a list, above it with the same left edge and
// lower than `best`; for a label, left of it in its row and further right.
bool IsNearer(const Control& control, const Control& other, const Control* best,
              bool list) {
  if (list) {
    return other.Left() == control.Left() && other.Top() < control.Top() &&
           (best == nullptr || other.Top() > best->Top());
  }
  return other.Top() == control.Top() && other.Left() < control.Left() &&
         (best == nullptr || other.Left() > best->Left());
}

}  // namespace

const Control* AccessibleNeighbour(const Form& form, const Control& control) {
  const bool list = control.Kind() == ControlKind::kListBox;
  if (control.Kind() != ControlKind::kLabel && !list) return nullptr;
  const Control* best = nullptr;
  for (const auto& other : form.Controls()) {
    if (other->Kind() != ControlKind::kLabel ||
        other->Parent() != control.Parent() || other.get() == &control) {
      continue;
    }
    if (IsNearer(control, *other, best, list)) best = other.get();
  }
  if (best == nullptr && list && control.Parent() != nullptr &&
      control.Parent()->Kind() == ControlKind::kGroupBox) {
    best = control.Parent();
  }
  return best;
}

}  // namespace tabulon::gui
