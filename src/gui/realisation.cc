#include "gui/realisation.h"

#include <algorithm>

namespace tabulon::gui {

bool IsWindowed(ControlKind kind) {
  return kind != ControlKind::kLabel && kind != ControlKind::kForm;
}

bool TakesFocus(const Control& control) {
  if (control.TabOrder() < 0) return false;
  switch (control.Kind()) {
    case ControlKind::kListBox:
    case ControlKind::kButton:
    case ControlKind::kRadioButton:
    case ControlKind::kCheckBox:
    case ControlKind::kTextField:
      return true;
    default:
      return false;
  }
}

std::vector<const Control*> TabChain(const Form& form) {
  std::vector<const Control*> chain;
  for (const auto& control : form.Controls()) {
    if (TakesFocus(*control)) chain.push_back(control.get());
  }
  std::stable_sort(chain.begin(), chain.end(),
                   [](const Control* a, const Control* b) {
                     return a->TabOrder() < b->TabOrder();
                   });
  return chain;
}

Extent LayoutFarEdges(const Control& control) {
  return {control.Left() + control.Width(), control.Top() + control.Height()};
}

Extent ContentExtent(const Form& form, const FarEdges& far_edges) {
  Extent extent = {1, 1};
  for (const auto& control : form.Controls()) {
    if (control->Parent() != &form) continue;
    const Extent edges = far_edges(*control);
    extent.width = std::max(extent.width, edges.width);
    extent.height = std::max(extent.height, edges.height);
  }
  return extent;
}

bool TakeChanges(Form& form, const std::function<void(Control&)>& apply) {
  bool window_changed = false;
  std::vector<Control*>& dirty = form.DirtyControls();
  for (Control* control : dirty) {
    control->MarkClean();
    apply(*control);
    if (control->Parent() == &form) window_changed = true;
  }
  dirty.clear();
  return window_changed;
}

void ShownItems::CatchUp(const Control& list,
                         const std::function<void()>& clear,
                         const std::function<void(std::size_t)>& append) {
  const ItemList& items = list.Items();
  if (generation_ != list.ItemsGeneration() || shown_ > items.size()) {
    clear();
    shown_ = 0;
    generation_ = list.ItemsGeneration();
  }
  for (; shown_ < items.size(); ++shown_) append(shown_);
}

}  // namespace tabulon::gui
