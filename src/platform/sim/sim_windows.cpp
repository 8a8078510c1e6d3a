// A program's view of the windows of the simulated desktop: messages to
// other programs' windows and to its own or other programs' forms.
#include <string>

#include "platform/sim/sim_process.h"
#include "platform/sim/sim_widgets.h"

namespace hopla::sim {
namespace {

std::string MessageText(WindowHandle window, uint32_t message, uintptr_t wparam,
                        intptr_t lparam) {
  return std::to_string(window) + " " + std::to_string(message) + " " +
         std::to_string(wparam) + " " + std::to_string(lparam);
}

}  // namespace

std::optional<intptr_t> SimProcessImpl::SendToWindow(WindowHandle window,
                                                     uint32_t message,
                                                     uintptr_t wparam,
                                                     intptr_t lparam,
                                                     int32_t timeout_ms) {
  SimLock lock(Mutex());
  return SendLocked(lock, window, message, wparam, lparam, timeout_ms, true);
}

std::optional<intptr_t> SimProcessImpl::SendLocked(
    SimLock& lock, WindowHandle window, uint32_t message, uintptr_t wparam,
    intptr_t lparam, int32_t timeout_ms, bool record) {
  if (ended_) return std::nullopt;
  if (record) {
    world_.RecordLocked("send", MessageText(window, message, wparam, lparam));
  }
  if (window == kNoWindow) return std::nullopt;
  WindowRec* rec = world_.FindWindowLocked(window);
  if (rec == nullptr) return std::nullopt;
  // A UI thread that waits for an answer answers what is sent to its own
  // windows meanwhile, as a send without SMTO_BLOCK does.
  if (rec->hung) {
    // A hung receiver never answers: the sender waits out its time-out.
    int64_t deadline =
        timeout_ms < 0 ? kNever : world_.NowLocked() + timeout_ms;
    WaitAsSenderLocked(lock, deadline);
    return std::nullopt;
  }
  if (rec->owner == nullptr && rec->busy_ms > 0) {
    // A busy receiver answers late; a sender that gives up first has none.
    const int64_t busy_ms = rec->busy_ms;
    const WindowHandle handle = rec->handle;
    const bool answered = timeout_ms < 0 || busy_ms <= timeout_ms;
    if (!WaitAsSenderLocked(
            lock, world_.NowLocked() + (answered ? busy_ms : timeout_ms))) {
      return std::nullopt;
    }
    rec = world_.FindWindowLocked(handle);
    if (rec == nullptr) return std::nullopt;
    auto result = SendToForeign(lock, *rec, message, wparam, lparam);
    if (!answered) return std::nullopt;
    return result;
  }
  if (rec->owner == nullptr) {
    return SendToForeign(lock, *rec, message, wparam, lparam);
  }
  return SendToForm(lock, *rec, message, wparam, lparam, timeout_ms);
}

// The receiver handles the message in its own time; the sender hears of it
// on its UI thread.
bool SimProcessImpl::SendNotifying(WindowHandle window, uint32_t message,
                                   uintptr_t wparam, intptr_t lparam,
                                   std::function<void()> handled) {
  SimLock lock(Mutex());
  if (ended_) return false;
  world_.RecordLocked("send", MessageText(window, message, wparam, lparam));
  WindowRec* rec = world_.FindWindowLocked(window);
  if (window == kNoWindow || rec == nullptr) return false;
  if (rec->hung) return true;  // queued, never handled
  if (rec->owner != nullptr) {
    SimProcessImpl* owner = rec->owner;
    SimProcessImpl* sender = this;
    owner->QueueInputLocked(
        world_.NowLocked(), [=, handled = std::move(handled)]() mutable {
          owner->DispatchToForm(window, message, wparam, lparam);
          SimGuard inner(sender->Mutex());
          sender->QueueInputLocked(sender->world_.NowLocked(),
                                   std::move(handled));
        });
    return true;
  }
  const int64_t busy_ms = rec->busy_ms;
  SendToForeign(lock, *rec, message, wparam, lparam);
  QueueInputLocked(world_.NowLocked() + busy_ms, std::move(handled));
  return true;
}

// Another program's window answers on the sender's thread, at once.
std::optional<intptr_t> SimProcessImpl::SendToForeign(SimLock& lock,
                                                      WindowRec& rec,
                                                      uint32_t message,
                                                      uintptr_t wparam,
                                                      intptr_t lparam) {
  WindowHandle handle = rec.handle;
  auto handler = rec.handler;
  lock.unlock();
  intptr_t result = handler ? handler(message, wparam, lparam) : 0;
  lock.lock();
  world_.DefaultForeignLocked(handle, message, wparam);
  return result;
}

// A form is served by its owner's UI thread: directly when that is the
// sender, else through the owner's input queue while the sender waits.
std::optional<intptr_t> SimProcessImpl::SendToForm(
    SimLock& lock, WindowRec& rec, uint32_t message, uintptr_t wparam,
    intptr_t lparam, int32_t timeout_ms) {
  SimProcessImpl* owner = rec.owner;
  WindowHandle handle = rec.handle;
  SimThread* self = Scheduler::Current();
  if (self != nullptr && self == owner->ui_thread_) {
    lock.unlock();
    auto result = owner->DispatchToForm(handle, message, wparam, lparam);
    lock.lock();
    return result;
  }
  if (self == nullptr) {
    throw std::logic_error(
        "hopla::sim: SendToWindow to a program's form from the test's "
        "thread; use SimProcess::PostAt");
  }
  auto call = std::make_shared<SendCall>();
  call->waiter = self;
  owner->pending_sends_.push_back(call);
  owner->QueueInputLocked(
      world_.NowLocked(),
      [owner, call, handle, message, wparam, lparam] {
        auto answer = owner->DispatchToForm(handle, message, wparam, lparam);
        SimGuard inner(owner->Mutex());
        owner->FinishSendLocked(*call, answer.has_value(), answer.value_or(0));
      },
      true);
  struct StopWaiting {
    SendCall* call;
    ~StopWaiting() { call->waiter = nullptr; }  // runs with the lock held
  } stop{call.get()};
  int64_t deadline = timeout_ms < 0 ? kNever : world_.NowLocked() + timeout_ms;
  WaitAsSenderLocked(lock, deadline, [&call] { return call->done; });
  if (call->done) AcquireOrderingLocked(call.get());
  if (!call->done || !call->handled) return std::nullopt;
  return call->result;
}

bool SimProcessImpl::PostToWindow(WindowHandle window, uint32_t message,
                                  uintptr_t wparam, intptr_t lparam) {
  SimLock lock(Mutex());
  if (ended_) return false;
  world_.RecordLocked("post", MessageText(window, message, wparam, lparam));
  if (window == kNoWindow) return false;
  WindowRec* rec = world_.FindWindowLocked(window);
  if (rec == nullptr) return false;
  if (rec->owner == nullptr) {
    if (rec->hung) return true;  // queued, never handled
    SendToForeign(lock, *rec, message, wparam, lparam);
    return true;
  }
  SimProcessImpl* owner = rec->owner;
  owner->QueueInputLocked(
      world_.NowLocked(), [owner, window, message, wparam, lparam] {
        owner->DispatchToForm(window, message, wparam, lparam);
      });
  return true;
}

std::optional<intptr_t> SimProcessImpl::DispatchToForm(WindowHandle window,
                                                       uint32_t message,
                                                       uintptr_t wparam,
                                                       intptr_t lparam) {
  SimWidget* peer = nullptr;
  KeyboardEvents* closed_keyboard = nullptr;
  {
    SimGuard lock(Mutex());
    WindowRec* rec = world_.FindWindowLocked(window);
    if (rec == nullptr || rec->owner != this) return std::nullopt;
    if (message == kWmQuit) {  // ends the message loop, as GetMessage does
      quit_ = true;
      return 0;
    }
    // A keyboard answers queries; a close ends it, as its close box does.
    if (rec->keyboard) {
      if (message != kWmClose) return 0;
      closed_keyboard = rec->keyboard->events;
      world_.RemoveWindowLocked(window);
      keyboard_window_ = kNoWindow;
      world_.RecordLocked("keyboard", "hidden");
    } else if (rec->peer == nullptr) {
      return std::nullopt;
    }
    peer = rec->peer;
  }
  if (closed_keyboard != nullptr) {
    closed_keyboard->OnKeyboardClosed();
    return 0;
  }
  return peer->HandleMessage(message, wparam, lparam);
}

void SimProcessImpl::EnumTopLevelWindows(
    const std::function<bool(const WindowInfo&)>& visit) {
  std::vector<WindowInfo> list;
  {
    SimGuard lock(Mutex());
    for (WindowHandle handle : world_.ZOrderLocked()) {
      list.push_back({handle, world_.FindWindowLocked(handle)->title});
    }
  }
  for (const WindowInfo& info : list) {
    if (!visit(info)) break;
  }
}

std::string SimProcessImpl::WindowTitle(WindowHandle window) {
  SimGuard lock(Mutex());
  const WindowRec* rec = world_.FindWindowLocked(window);
  return rec == nullptr ? std::string() : rec->title;
}

WindowHandle SimProcessImpl::ForegroundWindow() {
  SimGuard lock(Mutex());
  return world_.foreground;
}

bool SimProcessImpl::SetForegroundWindow(WindowHandle window) {
  SimGuard lock(Mutex());
  world_.RecordLocked("foreground", std::to_string(window));
  if (world_.FindWindowLocked(window) == nullptr) return false;
  world_.foreground = window;
  world_.BringToTopLocked(window);
  return true;
}

std::optional<Rect> SimProcessImpl::WindowRect(WindowHandle window) {
  SimGuard lock(Mutex());
  const WindowRec* rec = world_.FindWindowLocked(window);
  if (rec == nullptr) return std::nullopt;
  return world_.ReportedRectLocked(*rec);
}

std::optional<Rect> SimProcessImpl::NormalWindowRect(WindowHandle window) {
  SimGuard lock(Mutex());
  const WindowRec* rec = world_.FindWindowLocked(window);
  if (rec == nullptr) return std::nullopt;
  const bool maximised = rec->show == WindowShow::kMaximised ||
                         (rec->show == WindowShow::kMinimised &&
                          rec->before_minimised == WindowShow::kMaximised);
  return maximised ? rec->restore_rect : rec->rect;
}

// SW_SHOW: makes the window visible; a minimised window stays minimised.
void SimProcessImpl::ShowWindowNormal(WindowHandle window) {
  SimGuard lock(Mutex());
  world_.RecordLocked("show", std::to_string(window));
  if (WindowRec* rec = world_.FindWindowLocked(window)) rec->visible = true;
}

void SimProcessImpl::FlashWindow(WindowHandle window, bool invert) {
  SimGuard lock(Mutex());
  world_.RecordLocked("flash", std::to_string(window) + (invert ? " 1" : " 0"));
}

Rect SimProcessImpl::DesktopRect() {
  SimGuard lock(Mutex());
  return world_.monitors.empty() ? world_.screen : world_.monitors.front();
}

std::vector<Rect> SimProcessImpl::MonitorRects() {
  SimGuard lock(Mutex());
  return world_.monitors.empty() ? std::vector<Rect>{world_.screen}
                                 : world_.monitors;
}

}  // namespace hopla::sim
