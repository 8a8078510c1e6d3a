#include "platform/win32/dpi.h"

namespace hopla::win32 {
namespace {

using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForSystemFn = UINT(WINAPI*)();

// Windows 10 and later; user32 is always loaded, so asking it is safe.
template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kDefaultDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto for_window =
      User32Function<DpiForWindowFn>("GetDpiForWindow");
  if (for_window != nullptr && window != nullptr) {
    const UINT dpi = for_window(window);
    if (dpi > 0) return dpi;
  }
  return SystemDpi();
}

UINT SystemDpi() {
  static const auto for_system =
      User32Function<DpiForSystemFn>("GetDpiForSystem");
  if (for_system != nullptr) {
    const UINT dpi = for_system();
    if (dpi > 0) return dpi;
  }
  return ScreenDpi();
}

}  // namespace hopla::win32
