#include "platform/win32/message_loop.h"

#include <algorithm>
#include <cstdlib>
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
// The system timer's clock and ours may disagree by a millisecond: work due
// this soon after the timer fired is waited for, not left to another wake.
constexpr int64_t kEarlyFiringToleranceMs = 2;

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
  for (bool waited = false;; waited = true) {
    if (!trap_.Run([&] { due_ms = host_->RunDueWork(); })) {
      ServeSoon();  // asked again soon, after the throw has come out
      return;
    }
    const int64_t early_ms = due_ms - now_ms_();
    if (waited || !due_timer_fired_ || due_ms != armed_due_ms_ ||
        early_ms <= 0 || early_ms > kEarlyFiringToleranceMs) {
      break;
    }
    Sleep(static_cast<DWORD>(early_ms));
  }
  Arm(due_ms);
}

void MessageLoop::ServeSoon() { Arm(now_ms_()); }

void MessageLoop::Arm(int64_t due_ms) {
  HWND window = window_.load();
  if (window == nullptr) return;
  const bool fired = std::exchange(due_timer_fired_, false);
  if (due_ms == UiLoopHost::kNoWake) {
    if (armed_due_ms_ != UiLoopHost::kNoWake) KillTimer(window, kDueTimerId);
    armed_due_ms_ = UiLoopHost::kNoWake;
    return;
  }
  const int64_t fired_at_ms = next_fire_ms_;
  if (fired) next_fire_ms_ += period_ms_;
  // Served for a message other than the timer's, with the same work due, or
  // for the timer with the next work due when the timer fires next anyway:
  // a steady heartbeat costs no call to the window system.
  const bool in_step = period_ms_ > 0 && std::abs(due_ms - next_fire_ms_) <=
                                             kEarlyFiringToleranceMs;
  if (in_step || (due_ms == armed_due_ms_ && !fired)) {
    armed_due_ms_ = due_ms;
    return;
  }
  // Just after the timer fired on time, the period counts from that firing,
  // so that the timer repeats in step with work that repeats.
  const int64_t now_ms = now_ms_();
  const bool on_time = fired && period_ms_ > 0 && now_ms >= fired_at_ms &&
                       now_ms - fired_at_ms <= kEarlyFiringToleranceMs;
  const int64_t wanted_ms = due_ms - (on_time ? fired_at_ms : now_ms);
  const int64_t delay_ms =
      std::clamp<int64_t>(wanted_ms, USER_TIMER_MINIMUM, kMaxTimerDelayMs);
  // Same id: replaces the previous countdown instead of adding one.
  SetTimer(window, kDueTimerId, static_cast<UINT>(delay_ms), nullptr);
  armed_due_ms_ = due_ms;
  period_ms_ = delay_ms == wanted_ms ? delay_ms : 0;
  next_fire_ms_ = now_ms + delay_ms;
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
