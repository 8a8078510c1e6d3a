#include "engine/mouse_software.h"

namespace hopla {

namespace {
constexpr uint32_t kHookMessage = 2245;       // WM_USER + 1221
constexpr uint32_t kExecutiveMessage = 2252;  // WM_USER + 1228
constexpr uintptr_t kHookFirst = 0xFFFD;
constexpr uintptr_t kHookSecond = 0xFFFC;
// The software answers at once; a hung one must not freeze the switch.
constexpr int32_t kSendTimeoutMs = 1000;
}  // namespace

WindowHandle MouseSoftware::Find(bool executive) {
  state_.LogitechWindow = kNoWindow;
  state_.LogitechSearch = executive;
  search_.EnumerateAll();
  return state_.LogitechWindow;
}

std::optional<intptr_t> MouseSoftware::Send(WindowHandle window,
                                            uint32_t message, uintptr_t wparam,
                                            intptr_t lparam) {
  return platform_.SendToWindow(window, message, wparam, lparam,
                                kSendTimeoutMs);
}

void MouseSoftware::SendSequence() {
  if (const WindowHandle hook = Find(false); hook != kNoWindow) {
    Send(hook, kHookMessage, kHookFirst, 4);
    Send(hook, kHookMessage, kHookFirst, 0);
  }
  const WindowHandle executive = Find(true);
  // No executive window, no answer: the second half has nothing to go on.
  if (executive == kNoWindow) return;
  const std::optional<intptr_t> reply =
      Send(executive, kExecutiveMessage, 0, 4);
  Send(executive, kExecutiveMessage, 0, 0);
  // An executive that did not answer gave no reply either.
  if (!reply || *reply != 0) return;
  if (const WindowHandle hook = Find(false); hook != kNoWindow) {
    Send(hook, kHookMessage, kHookSecond, 0x10004);
    Send(hook, kHookMessage, kHookSecond, 0x10000);
  }
  if (const WindowHandle again = Find(true); again != kNoWindow) {
    Send(again, kExecutiveMessage, 1, 4);
    Send(again, kExecutiveMessage, 1, 0);
  }
}

}  // namespace hopla
