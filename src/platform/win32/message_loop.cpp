#include "platform/win32/message_loop.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace hopla::win32 {
namespace {

constexpr UINT kWakeMessage = WM_APP + 1;
constexpr UINT_PTR kDueTimerId = 1;
// Messages handled before the host is served again: keeps the host served
// even under a steady stream of input.
constexpr int kMaxMessagesPerBatch = 64;
constexpr int64_t kMaxTimerDelayMs = USER_TIMER_MAXIMUM;

}  // namespace

MessageLoop::MessageLoop(std::function<int64_t()> now_ms, ExceptionTrap& trap)
    : now_ms_(std::move(now_ms)), trap_(trap) {}

MessageLoop::~MessageLoop() { DestroyHostWindow(); }

bool MessageLoop::CreateHostWindow() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &MessageLoop::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kTimerHostClassName;
  // A second loop in the same process finds the class already there.
  if (RegisterClassExW(&wc) == 0 &&
      GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return false;
  }
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kTimerHostClassName,
                                kTimerHostClassName, WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, instance, this);
  window_.store(window);
  return window != nullptr;
}

void MessageLoop::DestroyHostWindow() {
  armed_due_ms_ = UiLoopHost::kNoWake;
  due_timer_fired_ = false;
  HWND window = window_.exchange(nullptr);
  if (window != nullptr) DestroyWindow(window);
}

LRESULT CALLBACK MessageLoop::WindowProc(HWND window, UINT message,
                                         WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self =
      reinterpret_cast<MessageLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    if (message == kWakeMessage) {
      self->wake_pending_.store(false);
      self->ServeHost();
      return 0;
    }
    if (message == WM_TIMER && wparam == kDueTimerId) {
      self->due_timer_fired_ = true;
      self->ServeHost();
      return 0;
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// A handler that opens a message box runs the box's modal loop from inside
// RunDueWork; the box arms the timer first (ServeSoon), and each nested call
// re-arms it for its own due time.
void MessageLoop::ServeHost() {
  if (host_ == nullptr) return;
  int64_t due_ms = UiLoopHost::kNoWake;
  if (trap_.Run([&] { due_ms = host_->RunDueWork(); })) {
    Arm(due_ms);
  } else {
    ServeSoon();  // asked again soon, after the throw has come out
  }
}

void MessageLoop::ServeSoon() { Arm(now_ms_()); }

void MessageLoop::Arm(int64_t due_ms) {
  HWND window = window_.load();
  if (window == nullptr) return;
  if (due_ms == UiLoopHost::kNoWake) {
    if (armed_due_ms_ != UiLoopHost::kNoWake) KillTimer(window, kDueTimerId);
    armed_due_ms_ = UiLoopHost::kNoWake;
    return;
  }
  // Served for a message other than the timer's, with the same work due:
  // the countdown already running is the right one.
  if (due_ms == armed_due_ms_ && !due_timer_fired_) return;
  const int64_t delay_ms = std::clamp<int64_t>(
      due_ms - now_ms_(), USER_TIMER_MINIMUM, kMaxTimerDelayMs);
  // Same id: replaces the previous countdown instead of adding one.
  SetTimer(window, kDueTimerId, static_cast<UINT>(delay_ms), nullptr);
  armed_due_ms_ = due_ms;
  due_timer_fired_ = false;
}

bool MessageLoop::DispatchBatch(
    const std::function<bool(MSG&)>& is_dialog_message) {
  MSG msg{};
  // Block for the first message, then take what else is already queued.
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) return false;
  for (int i = 0; i < kMaxMessagesPerBatch; ++i) {
    if (!is_dialog_message || !is_dialog_message(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    trap_.RethrowPending();
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    if (msg.message == WM_QUIT) {
      // Hand it back to the blocking read so the loop ends in one place.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
  }
  return true;
}

void MessageLoop::Run(UiLoopHost& host,
                      const std::function<bool(MSG&)>& is_dialog_message) {
  // A loop run from inside another keeps the outer loop's window.
  const bool owns_window = window_.load() == nullptr;
  if (owns_window && !CreateHostWindow()) {
    throw std::system_error(static_cast<int>(GetLastError()),
                            std::system_category(), "timer host window");
  }
  UiLoopHost* outer_host = std::exchange(host_, &host);
  // Leaves the loop in a clean state however it ends.
  struct Restore {
    MessageLoop& loop;
    UiLoopHost* outer_host;
    bool owns_window;
    ~Restore() {
      loop.host_ = outer_host;
      if (owns_window) loop.DestroyHostWindow();
    }
  } restore{*this, outer_host, owns_window};
  ServeHost();
  trap_.RethrowPending();
  while (DispatchBatch(is_dialog_message)) {
    ServeHost();
    trap_.RethrowPending();
  }
}

void MessageLoop::Quit() { PostQuitMessage(0); }

void MessageLoop::Wake() {
  HWND window = window_.load();
  if (window == nullptr) return;  // no loop yet: Run serves the host first
  if (wake_pending_.exchange(true)) return;
  if (!PostMessageW(window, kWakeMessage, 0, 0)) wake_pending_.store(false);
}

}  // namespace hopla::win32
