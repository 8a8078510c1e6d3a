#include "platform/win32/role_probe.h"

#include <algorithm>
#include <vector>

#include "platform/win32/system_dlls.h"

namespace hopla::win32 {
namespace {

// A page of a large program can list thousands of elements: the walk through
// the tree stops after this many, this deep, or after this long with what
// it found by then (the hop waits 1.5 s in all).
constexpr int kMostVisited = 4000;
constexpr int kDeepest = 12;
constexpr ULONGLONG kSearchBudgetMs = 1000;
constexpr LONG kHiddenStates =
    STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_UNAVAILABLE;

struct WindowSearch {
  Rect area;
  std::vector<HWND> found;  // in front first
};

// A shown window that reaches into the area, of a program that answers.
BOOL CALLBACK AddShownWindow(HWND window, LPARAM search_param) {
  auto* search = reinterpret_cast<WindowSearch*>(search_param);
  RECT r{};
  if (IsWindowVisible(window) && !IsIconic(window) &&
      GetWindowRect(window, &r) && r.right > r.left && r.bottom > r.top &&
      Rect{r.left, r.top, r.right, r.bottom}.Meets(search->area) &&
      !IsHungAppWindow(window)) {
    search->found.push_back(window);
  }
  return TRUE;
}

class Win32RoleProbe final : public RoleProbe {
 public:
  // The accessibility objects of other programs are COM objects: this thread
  // joins a single-threaded apartment for as long as the probe lives.
  Win32RoleProbe()
      : com_ready_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~Win32RoleProbe() override {
    if (com_ready_) CoUninitialize();
  }
  Win32RoleProbe(const Win32RoleProbe&) = delete;
  Win32RoleProbe& operator=(const Win32RoleProbe&) = delete;

  RoleReading RoleAt(Point at) override {
    if (oleacc_.accessible_object_from_point == nullptr) return {};
    IAccessible* object = nullptr;
    VARIANT child;
    VariantInit(&child);
    const HRESULT found = oleacc_.accessible_object_from_point(
        POINT{at.x, at.y}, &object, &child);
    if (FAILED(found) || object == nullptr) return {};
    VARIANT role;
    VariantInit(&role);
    RoleReading reading;
    if (SUCCEEDED(object->get_accRole(child, &role))) reading = Read(role);
    LONG left = 0, top = 0, width = 0, height = 0;
    if (reading.kind != RoleReading::Kind::kFailed &&
        SUCCEEDED(object->accLocation(&left, &top, &width, &height, child)) &&
        width > 0 && height > 0) {
      reading.rect = Rect{left, top, left + width, top + height};
    }
    // Held only for these calls.
    object->Release();
    VariantClear(&role);
    VariantClear(&child);
    return reading;
  }

  std::vector<ElementBox> Elements(const Rect& area) override {
    std::vector<ElementBox> found;
    if (oleacc_.accessible_object_from_window == nullptr ||
        oleacc_.accessible_children == nullptr) {
      return found;
    }
    WindowSearch windows{area, {}};
    EnumWindows(&AddShownWindow, reinterpret_cast<LPARAM>(&windows));
    area_ = area;
    visited_ = 0;
    deadline_ms_ = GetTickCount64() + kSearchBudgetMs;
    for (HWND window : windows.found) {
      IAccessible* client = nullptr;
      if (FAILED(oleacc_.accessible_object_from_window(
              window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
              reinterpret_cast<void**>(&client))) ||
          client == nullptr) {
        continue;
      }
      Visit(*client, window, 0, found);
      client->Release();
      if (Spent()) break;
    }
    return found;
  }

 private:
  // Adds the children of `parent` and, through those that are objects of
  // their own, their children.
  void Visit(IAccessible& parent, HWND window, int depth,
             std::vector<ElementBox>& found) {
    LONG count = 0;
    if (FAILED(parent.get_accChildCount(&count)) || count <= 0) return;
    count = std::min<LONG>(count, kMostVisited - visited_);
    std::vector<VARIANT> children(static_cast<size_t>(count));
    LONG got = 0;
    if (FAILED(oleacc_.accessible_children(&parent, 0, count, children.data(),
                                           &got))) {
      return;
    }
    for (LONG i = 0; i < got; ++i) {
      VARIANT& child = children[static_cast<size_t>(i)];
      if (!Spent()) {
        ++visited_;
        if (child.vt == VT_I4) {
          Add(parent, child, window, found);
        } else if (child.vt == VT_DISPATCH && child.pdispVal != nullptr) {
          IAccessible* object = nullptr;
          if (SUCCEEDED(child.pdispVal->QueryInterface(
                  IID_IAccessible, reinterpret_cast<void**>(&object)))) {
            VARIANT self;
            VariantInit(&self);
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            if (Add(*object, self, window, found) && depth < kDeepest) {
              Visit(*object, window, depth + 1, found);
            }
            object->Release();
          }
        }
      }
      VariantClear(&child);
    }
  }

  // Adds the element when it is shown, reaches into the area and is not
  // under another window; false when it is hidden or outside the area, and
  // so are its children.
  bool Add(IAccessible& object, VARIANT& child, HWND window,
           std::vector<ElementBox>& found) const {
    VARIANT state;
    VariantInit(&state);
    const bool hidden = SUCCEEDED(object.get_accState(child, &state)) &&
                        state.vt == VT_I4 && (state.lVal & kHiddenStates) != 0;
    VariantClear(&state);
    if (hidden) return false;
    LONG left = 0, top = 0, width = 0, height = 0;
    if (FAILED(object.accLocation(&left, &top, &width, &height, child)) ||
        width <= 0 || height <= 0) {
      return true;
    }
    if (!Rect{left, top, left + width, top + height}.Meets(area_)) {
      return false;
    }
    VARIANT role;
    VariantInit(&role);
    const RoleReading reading = SUCCEEDED(object.get_accRole(child, &role))
                                    ? Read(role)
                                    : RoleReading{};
    VariantClear(&role);
    if (reading.kind != RoleReading::Kind::kNumber) return true;
    const POINT centre{left + width / 2, top + height / 2};
    HWND at = WindowFromPoint(centre);
    if (at == nullptr || GetAncestor(at, GA_ROOT) != window) return true;
    found.push_back({{left, top, left + width, top + height}, reading.role});
    return true;
  }

  static RoleReading Read(VARIANT& role) {
    if (role.vt == VT_BSTR) return {RoleReading::Kind::kText, 0};
    VARIANT number;
    VariantInit(&number);
    RoleReading reading;
    if (SUCCEEDED(VariantChangeType(&number, &role, 0, VT_I4))) {
      reading = {RoleReading::Kind::kNumber, number.lVal};
    }
    VariantClear(&number);
    return reading;
  }

  bool Spent() const {
    return visited_ >= kMostVisited || GetTickCount64() >= deadline_ms_;
  }

  bool com_ready_;
  OleaccApi oleacc_;
  // The search under way.
  Rect area_;
  int visited_ = 0;
  ULONGLONG deadline_ms_ = 0;
};

}  // namespace

std::unique_ptr<RoleProbe> MakeRoleProbe() {
  return std::make_unique<Win32RoleProbe>();
}

}  // namespace hopla::win32
