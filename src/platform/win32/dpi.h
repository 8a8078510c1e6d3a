// The dots per inch a window is shown at, and the program's 96-dpi layout
// scaled to it: each edge is scaled on its own, so neighbours stay
// neighbours, and at 96 dpi every number stays exact.
#ifndef HOPLA_PLATFORM_WIN32_DPI_H_
#define HOPLA_PLATFORM_WIN32_DPI_H_

#include "platform/types.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {

inline constexpr UINT kDefaultDpi = 96;

// The DPI of the monitor the window is on (the system's, on Windows before
// 10, where a window has none of its own).
UINT WindowDpi(HWND window);
UINT SystemDpi();

inline int ToDpi(int px_at_96, UINT dpi) {
  return MulDiv(px_at_96, static_cast<int>(dpi), kDefaultDpi);
}
inline int FromDpi(int px, UINT dpi) {
  return MulDiv(px, kDefaultDpi, static_cast<int>(dpi));
}
inline RECT ToDpi(const Rect& r, UINT dpi) {
  return RECT{ToDpi(r.left, dpi), ToDpi(r.top, dpi), ToDpi(r.right, dpi),
              ToDpi(r.bottom, dpi)};
}

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_DPI_H_
