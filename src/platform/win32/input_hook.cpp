#include "platform/win32/input_hook.h"

namespace hopla::win32 {
namespace {

// The hook procedures get no context of their own; they run on the thread
// that set them, which keeps its hook here.
thread_local InputHook* current_hook = nullptr;

constexpr DWORD kStartTimeoutMs = 5000;
constexpr DWORD kStopTimeoutMs = 5000;

}  // namespace

InputHook::InputHook(const SwitchChoice& choice) : choice_(choice) {
  ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ =
      CreateThread(nullptr, 0, &InputHook::ThreadMain, this, 0, &thread_id_);
  if (thread_ != nullptr && ready_ != nullptr) {
    WaitForSingleObject(ready_, kStartTimeoutMs);
  }
}

InputHook::~InputHook() {
  if (thread_ != nullptr) {
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    // A thread that does not end in time is left to end with the process;
    // its hooks end with it.
    if (WaitForSingleObject(thread_, kStopTimeoutMs) == WAIT_OBJECT_0) {
      CloseHandle(thread_);
    }
  }
  if (ready_ != nullptr) CloseHandle(ready_);
}

DWORD WINAPI InputHook::ThreadMain(void* self) {
  auto* hook = static_cast<InputHook*>(self);
  current_hook = hook;
  MSG msg{};
  // Makes the thread's queue before anyone may post to it.
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HHOOK set =
      hook->choice_.kind == SwitchKind::kKey
          ? SetWindowsHookExW(WH_KEYBOARD_LL, &InputHook::KeyboardProc,
                              instance, 0)
          : SetWindowsHookExW(WH_MOUSE_LL, &InputHook::MouseProc, instance, 0);
  hook->hooked_.store(set != nullptr);
  SetEvent(hook->ready_);
  if (set == nullptr) return 1;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  UnhookWindowsHookEx(set);
  current_hook = nullptr;
  return 0;
}

LRESULT CALLBACK InputHook::KeyboardProc(int code, WPARAM message,
                                         LPARAM data) {
  if (code == HC_ACTION && current_hook != nullptr &&
      current_hook->TakeKey(message,
                            *reinterpret_cast<KBDLLHOOKSTRUCT*>(data))) {
    return 1;  // swallowed
  }
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK InputHook::MouseProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && current_hook != nullptr &&
      current_hook->TakeMouse(message,
                              *reinterpret_cast<MSLLHOOKSTRUCT*>(data))) {
    return 1;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

bool InputHook::TakeKey(WPARAM message, const KBDLLHOOKSTRUCT& event) {
  if (event.dwExtraInfo == kHoplaInputMarker || event.vkCode != choice_.key) {
    return false;
  }
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) latch_.Down();
  if (message == WM_KEYUP || message == WM_SYSKEYUP) latch_.Up();
  return !through_.load();
}

bool InputHook::TakeMouse(WPARAM message, const MSLLHOOKSTRUCT& event) {
  if (event.dwExtraInfo == kHoplaInputMarker) return false;
  bool down = false;
  SwitchMouseButton button{};
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      button = SwitchMouseButton::kRight;
      down = message == WM_RBUTTONDOWN;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      button = SwitchMouseButton::kMiddle;
      down = message == WM_MBUTTONDOWN;
      break;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
      button = HIWORD(event.mouseData) == XBUTTON1 ? SwitchMouseButton::kX1
                                                   : SwitchMouseButton::kX2;
      down = message == WM_XBUTTONDOWN;
      break;
    default:
      return false;  // moves, wheels and the left button pass
  }
  if (button != choice_.mouse_button) return false;
  if (down) {
    latch_.Down();
  } else {
    latch_.Up();
  }
  return !through_.load();
}

}  // namespace hopla::win32
