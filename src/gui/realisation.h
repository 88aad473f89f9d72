// What every backend does the same way when it puts a form on screen: which
// controls get a window of their own, which take the focus and in what
// order, how far the scrolled content reaches, which changes a sync hands
// over, and what of a list a backend's list already shows. A backend asks
// these and only realises the answers with its own windows.
#ifndef TABULON_GUI_REALISATION_H_
#define TABULON_GUI_REALISATION_H_

#include <cstddef>
#include <functional>
#include <vector>

#include "gui/controls.h"

namespace tabulon::gui {

// Panels, list boxes, buttons and the file list are windows of their own,
// stacked among their parent's; labels are painted on their parent's
// surface, beneath all of those.
bool IsWindowed(ControlKind kind);

// A list box or a button that the layout gives a place in the Tab order.
// Panels and labels never take the focus, nor does a control the order
// leaves out (a never-visible button, the file list).
bool TakesFocus(const Control& control);

// The controls that take the focus, in the Tab key's order (layout order
// among equal places).
std::vector<const Control*> TabChain(const Form& form);

// Where a control's right and bottom edges lie on the screen (a backend
// that scales the layout gives its own).
using FarEdges = std::function<Extent(const Control&)>;
// The layout's own edges.
Extent LayoutFarEdges(const Control& control);

// How far the window's own controls reach, at least 1 x 1: the size of the
// content that the window scrolls.
Extent ContentExtent(const Form& form,
                     const FarEdges& far_edges = LayoutFarEdges);

// Hands every control changed since the last sync (the form included) to
// `apply`, marking each clean. True when one of the window's own controls
// was among them, so that the content extent may have changed.
bool TakeChanges(Form& form, const std::function<void(Control&)>& apply);

// What of a control's items a backend's list shows, so that a list that has
// merely grown gets only its new items.
class ShownItems {
 public:
  // Brings the backend's list up to the control's: `clear` empties it when
  // the control's items were cleared since the last look, then `append(i)`
  // adds each item i not yet shown, in order.
  void CatchUp(const Control& list, const std::function<void()>& clear,
               const std::function<void(std::size_t)>& append);

 private:
  int generation_ = 0;
  std::size_t shown_ = 0;
};

}  // namespace tabulon::gui

#endif  // TABULON_GUI_REALISATION_H_
