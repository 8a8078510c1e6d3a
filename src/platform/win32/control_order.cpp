#include "platform/win32/control_order.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

namespace hopla::win32 {
namespace {

// No form has nearly this many controls; bounds every walk of the stack.
constexpr int kMaxSiblings = 4096;
constexpr UINT kPlaceFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;

bool IsFrame(HWND window) {
  wchar_t name[8] = {};
  if (GetClassNameW(window, name, static_cast<int>(std::size(name))) == 0) {
    return false;
  }
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  return CompareStringOrdinal(name, -1, L"Button", -1, TRUE) == CSTR_EQUAL &&
         (style & BS_TYPEMASK) == BS_GROUPBOX;
}

BOOL CALLBACK CollectTabStop(HWND window, LPARAM lparam) {
  auto* stops = reinterpret_cast<std::vector<HWND>*>(lparam);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  if ((style & WS_TABSTOP) != 0 && IsWindowVisible(window) &&
      IsWindowEnabled(window) && GetDlgCtrlID(window) >= kFirstControlId) {
    stops->push_back(window);
  }
  return stops->size() < static_cast<size_t>(kMaxSiblings) ? TRUE : FALSE;
}

}  // namespace

void PlaceInStack(HWND control) {
  if (IsFrame(control)) {
    SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, kPlaceFlags);
    return;
  }
  // The lowest sibling that is not a frame: the new control goes just below.
  HWND above = nullptr;
  HWND sibling = GetWindow(control, GW_HWNDFIRST);
  for (int i = 0; sibling != nullptr && i < kMaxSiblings; ++i) {
    if (sibling != control && !IsFrame(sibling)) above = sibling;
    sibling = GetWindow(sibling, GW_HWNDNEXT);
  }
  SetWindowPos(control, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0,
               kPlaceFlags);
}

HWND NextTabStop(HWND root, HWND focus, bool backwards) {
  std::vector<HWND> stops;
  EnumChildWindows(root, &CollectTabStop, reinterpret_cast<LPARAM>(&stops));
  if (stops.empty()) return nullptr;
  std::sort(stops.begin(), stops.end(),
            [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
  const auto at = std::find(stops.begin(), stops.end(), focus);
  if (at == stops.end()) return backwards ? stops.back() : stops.front();
  const size_t index = static_cast<size_t>(at - stops.begin());
  const size_t count = stops.size();
  return stops[backwards ? (index + count - 1) % count : (index + 1) % count];
}

}  // namespace hopla::win32
