#include "gui/win32/win32_accessible.h"

// IAccessible's id is taken by __uuidof: the system's oleacc and uuid
// libraries both define IID_IAccessible, and a static link takes only one.
#include <oleacc.h>

#include <vector>

namespace tabulon::gui::win32 {
namespace {

std::vector<HWND> ChildWindows(HWND surface) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(surface, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

// A surface's object: CHILDID_SELF is the surface itself (as the system
// describes its client area, with a panel's role and name); children
// 1..W are its child windows, W+1.. its shown labels.
class SurfaceAccessible final : public IAccessible {
 public:
  SurfaceAccessible(HWND surface, SurfaceReader read, IAccessible* standard)
      : surface_(surface), read_(read), standard_(standard) {}
  ~SurfaceAccessible() { standard_->Release(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (id == IID_IUnknown || id == IID_IDispatch ||
        id == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: no type library; clients call the interface directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID,
                                          DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*,
                                   VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    const SurfaceFacts facts = read_(surface_);
    if (!facts.exists) return CO_E_OBJNOTCONNECTED;
    *count =
        static_cast<long>(ChildWindows(surface_).size() + facts.labels.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child,
                                         IDispatch** out) override {
    *out = nullptr;
    const std::vector<HWND> windows = ChildWindows(surface_);
    if (child.vt != VT_I4 || child.lVal < 1) return E_INVALIDARG;
    if (child.lVal <= static_cast<long>(windows.size())) {
      return AccessibleObjectFromWindow(windows[child.lVal - 1], OBJID_WINDOW,
                                        IID_IDispatch,
                                        reinterpret_cast<void**>(out));
    }
    return Label(child) != nullptr ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    *name = nullptr;
    if (IsSelf(child)) {
      if (!facts_.panel) return standard_->get_accName(child, name);
      *name = SysAllocString(facts_.name.c_str());
      return S_OK;
    }
    const AccessibleLabel* label = Label(child);
    if (label == nullptr) return E_INVALIDARG;
    *name = SysAllocString(label->name.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (IsSelf(child) && !facts_.panel)
      return standard_->get_accRole(child, role);
    const AccessibleLabel* label = IsSelf(child) ? nullptr : Label(child);
    if (!IsSelf(child) && label == nullptr) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = label == nullptr ? ROLE_SYSTEM_GROUPING
                 : label->bar     ? ROLE_SYSTEM_PROGRESSBAR
                                  : ROLE_SYSTEM_STATICTEXT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child,
                                         VARIANT* state) override {
    if (IsSelf(child)) {
      const HRESULT result = standard_->get_accState(child, state);
      if (SUCCEEDED(result) && facts_.covered && state->vt == VT_I4) {
        state->lVal |= STATE_SYSTEM_INVISIBLE;
      }
      return result;
    }
    const AccessibleLabel* label = Label(child);
    if (label == nullptr) return E_INVALIDARG;
    state->vt = VT_I4;
    state->lVal =
        STATE_SYSTEM_READONLY | (label->covered ? STATE_SYSTEM_INVISIBLE : 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width,
                                        long* height, VARIANT child) override {
    if (IsSelf(child)) {
      return standard_->accLocation(left, top, width, height, child);
    }
    const AccessibleLabel* label = Label(child);
    if (label == nullptr) return E_INVALIDARG;
    POINT corner = {label->place.left, label->place.top};
    ClientToScreen(surface_, &corner);
    *left = corner.x;
    *top = corner.y;
    *width = label->place.right - label->place.left;
    *height = label->place.bottom - label->place.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y,
                                       VARIANT* child) override {
    POINT at = {x, y};
    ScreenToClient(surface_, &at);
    facts_ = read_(surface_);
    // Child windows lie above every label; later labels above earlier.
    if (ChildWindowFromPointEx(surface_, at, CWP_SKIPINVISIBLE) == surface_) {
      for (std::size_t i = facts_.labels.size(); i-- > 0;) {
        if (PtInRect(&facts_.labels[i].place, at)) {
          child->vt = VT_I4;
          child->lVal =
              static_cast<long>(ChildWindows(surface_).size() + i + 1);
          return S_OK;
        }
      }
    }
    return standard_->accHitTest(x, y, child);
  }

  // What labels do not have, and the surface has as the system says.
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return Standard(child, out, &IAccessible::get_accValue);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child,
                                               BSTR* out) override {
    return Standard(child, out, &IAccessible::get_accDescription);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return Standard(child, out, &IAccessible::get_accHelp);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child,
                                                    BSTR* out) override {
    return Standard(child, out, &IAccessible::get_accKeyboardShortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child,
                                                 BSTR* out) override {
    return Standard(child, out, &IAccessible::get_accDefaultAction);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child,
                                             long* topic) override {
    *file = nullptr;
    if (!IsSelf(child)) return S_FALSE;
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    if (!IsSelf(child)) return S_FALSE;
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start,
                                        VARIANT* end) override {
    if (!IsSelf(start)) return S_FALSE;
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child)) return DISP_E_MEMBERNOTFOUND;
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
    return E_NOTIMPL;
  }

 private:
  // Reads the surface afresh (names follow every tally) and tells whether
  // `child` is the surface itself.
  bool IsSelf(const VARIANT& child) {
    facts_ = read_(surface_);
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
  }
  const AccessibleLabel* Label(const VARIANT& child) {
    if (child.vt != VT_I4) return nullptr;
    facts_ = read_(surface_);
    const long index =
        child.lVal - 1 - static_cast<long>(ChildWindows(surface_).size());
    if (index < 0 || index >= static_cast<long>(facts_.labels.size())) {
      return nullptr;
    }
    return &facts_.labels[static_cast<std::size_t>(index)];
  }
  HRESULT Standard(VARIANT child, BSTR* out,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT,
                                                                 BSTR*)) {
    *out = nullptr;
    if (!IsSelf(child)) return S_FALSE;
    return (standard_->*ask)(child, out);
  }

  HWND surface_;
  SurfaceReader read_;
  IAccessible* standard_;
  SurfaceFacts facts_;
  ULONG references_ = 1;
};

}  // namespace

LRESULT AnswerGetObject(HWND surface, WPARAM w_param, LPARAM l_param,
                        SurfaceReader read) {
  if (static_cast<LONG>(l_param) != OBJID_CLIENT || !read(surface).exists) {
    return 0;
  }
  IAccessible* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(surface, OBJID_CLIENT,
                                       __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&standard)))) {
    return 0;
  }
  auto* answer = new SurfaceAccessible(surface, read, standard);
  const LRESULT result =
      LresultFromObject(__uuidof(IAccessible), w_param, answer);
  answer->Release();  // the result holds its own reference
  return result;
}

}  // namespace tabulon::gui::win32
