#include "platform/win32/keyboard_accessible.h"

#include <atomic>
#include <utility>

namespace hopla::win32 {
namespace {

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

class KeyboardAccessible final : public IAccessible {
 public:
  explicit KeyboardAccessible(std::weak_ptr<const KeyboardKeys> keys)
      : keys_(std::move(keys)) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch ||
        riid == IID_IAccessible) {
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

  // IDispatch: not offered; clients use the IAccessible methods.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
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
    if (parent != nullptr) *parent = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {  // NOLINT
    const auto keys = keys_.lock();
    if (count == nullptr) return E_POINTER;
    *count = keys != nullptr ? keys->count() : 0;
    return keys != nullptr ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
    if (child != nullptr) *child = nullptr;
    return S_FALSE;  // the keys are simple elements, not objects
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (name == nullptr) return E_POINTER;
    *name = nullptr;
    if (IsSelf(child)) {
      const auto keys = keys_.lock();
      if (keys == nullptr) return E_FAIL;
      *name = SysAllocString(keys->name().c_str());
      return S_OK;
    }
    const auto key = Key(child);
    if (!key) return E_INVALIDARG;
    *name = SysAllocString(key->first.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
    if (value != nullptr) *value = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
    if (text != nullptr) *text = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    VariantInit(role);
    if (!IsSelf(child) && !Key(child)) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = IsSelf(child) ? ROLE_SYSTEM_CLIENT : ROLE_SYSTEM_PUSHBUTTON;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child,
                                         VARIANT* state) override {
    if (state == nullptr) return E_POINTER;
    VariantInit(state);
    if (!IsSelf(child) && !Key(child)) return E_INVALIDARG;
    state->vt = VT_I4;
    state->lVal = IsSelf(child) ? 0 : STATE_SYSTEM_FOCUSABLE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (help != nullptr) *help = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT,
                                             long* topic) override {  // NOLINT
    if (file != nullptr) *file = nullptr;
    if (topic != nullptr) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT,
                                                    BSTR* shortcut) override {
    if (shortcut != nullptr) *shortcut = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (focus != nullptr) VariantInit(focus);
    return S_FALSE;  // it never takes the focus
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection != nullptr) VariantInit(selection);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child,
                                                 BSTR* action) override {
    if (action == nullptr) return E_POINTER;
    *action = nullptr;
    if (IsSelf(child)) return S_FALSE;
    const auto keys = keys_.lock();
    if (keys == nullptr || !Key(child)) return E_INVALIDARG;
    *action = SysAllocString(keys->action().c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override {  // NOLINT
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top,      // NOLINT
                                        long* width, long* height,  // NOLINT
                                        VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr ||
        height == nullptr) {
      return E_POINTER;
    }
    const auto keys = keys_.lock();
    if (keys == nullptr) return E_FAIL;
    Rect r;
    if (IsSelf(child)) {
      r = keys->client();
    } else if (const auto key = Key(child)) {
      r = key->second;
    } else {
      return E_INVALIDARG;
    }
    *left = r.left;
    *top = r.top;
    *width = r.Width();
    *height = r.Height();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT,  // NOLINT
                                        VARIANT* end) override {
    if (end != nullptr) VariantInit(end);
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y,  // NOLINT
                                       VARIANT* child) override {
    if (child == nullptr) return E_POINTER;
    VariantInit(child);
    const auto keys = keys_.lock();
    if (keys == nullptr) return E_FAIL;
    const Point p{static_cast<int32_t>(x), static_cast<int32_t>(y)};
    if (!keys->client().Contains(p)) return S_FALSE;
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    for (long id = 1; id <= keys->count(); ++id) {  // NOLINT
      const auto key = keys->key(id - 1);
      if (key && key->second.Contains(p)) child->lVal = id;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const auto keys = keys_.lock();
    if (keys == nullptr || !Key(child)) return E_INVALIDARG;
    keys->press(child.lVal - 1);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
    return E_NOTIMPL;
  }

 private:
  ~KeyboardAccessible() = default;

  // The key a child id names (1 is the first key), while the window lives.
  std::optional<std::pair<std::wstring, Rect>> Key(const VARIANT& child) const {
    const auto keys = keys_.lock();
    if (keys == nullptr || child.vt != VT_I4 || child.lVal < 1 ||
        child.lVal > keys->count()) {
      return std::nullopt;
    }
    return keys->key(child.lVal - 1);
  }

  std::weak_ptr<const KeyboardKeys> keys_;
  std::atomic<ULONG> references_{1};
};

}  // namespace

IAccessible* NewKeyboardAccessible(std::weak_ptr<const KeyboardKeys> keys) {
  return new KeyboardAccessible(std::move(keys));
}

}  // namespace hopla::win32
