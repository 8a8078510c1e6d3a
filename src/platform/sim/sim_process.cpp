#include "platform/sim/sim_process.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/sim/sim_event.h"
#include "platform/sim/sim_widgets.h"

namespace hopla::sim {

SimProcessImpl::SimProcessImpl(SimDesktop::Impl& world, std::string exe_path,
                               std::function<int(Platform&)> main,
                               std::vector<std::string> arguments)
    : world_(world),
      exe_path_(std::move(exe_path)),
      arguments_(std::move(arguments)),
      folder_(exe_path_.substr(0, exe_path_.find_last_of('\\'))),
      main_(std::move(main)) {}

SimProcessImpl::~SimProcessImpl() = default;

void SimProcessImpl::StartLocked() {
  SimThread& thread = world_.scheduler.SpawnLocked(
      this, this,
      [this] {
        int code = main_(*this);
        SimGuard lock(Mutex());
        main_result_ = code;
      },
      [this](const std::optional<std::string>& crash) {
        OnThreadEnd(crash, true);
      });
  ui_thread_ = &thread;
  threads_.push_back(&thread);
}

// Runs on the ending thread, which still holds the baton.
void SimProcessImpl::OnThreadEnd(const std::optional<std::string>& crash,
                                 bool is_main) {
  // What the thread did comes before what one that sees it ended does.
  ReleaseOrdering(this);
  InputQueue dropped;  // destroyed after the lock is released
  SimGuard lock(Mutex());
  SimThread* self = Scheduler::Current();
  threads_.erase(std::remove(threads_.begin(), threads_.end(), self),
                 threads_.end());
  if (self == ui_thread_) ui_thread_ = nullptr;
  if (crash) world_.RecordLocked("crash", *crash);
  if (ended_ || world_.tearing_down) return;
  if (crash) {
    dropped = EndLocked(std::nullopt);  // an escaping exception ends it
  } else if (is_main && main_result_) {
    dropped = EndLocked(main_result_);
  }
}

// The process ends: its mutexes are released, its windows go away, pending
// sends to it fail, and its other threads end at their next wait point.
SimProcessImpl::InputQueue SimProcessImpl::EndLocked(
    std::optional<int> exit_code) {
  ended_ = true;
  exit_code_ = exit_code.value_or(-1);
  if (exit_code) world_.RecordLocked("exit", std::to_string(*exit_code));
  if (main_result_) {  // main returned: what it left behind
    threads_left_at_exit_ = static_cast<int32_t>(threads_.size());
    for (const auto& [handle, rec] : world_.windows) {
      if (rec.owner == this) ++windows_left_at_exit_;
    }
  }
  for (auto it = world_.mutexes.begin(); it != world_.mutexes.end();) {
    it = it->second == this ? world_.mutexes.erase(it) : std::next(it);
  }
  std::vector<WindowHandle> mine;
  for (const auto& [handle, rec] : world_.windows) {
    if (rec.owner == this) mine.push_back(handle);
  }
  for (WindowHandle handle : mine) world_.RemoveWindowLocked(handle);
  for (const auto& call : std::vector(pending_sends_)) {
    FinishSendLocked(*call, false);
  }
  SimThread* self = Scheduler::Current();
  for (SimThread* thread : threads_) {
    if (thread != self) world_.scheduler.KillLocked(*thread);
  }
  return std::exchange(inputs_, {});
}

void SimProcessImpl::FinishSendLocked(SendCall& call, bool handled,
                                      intptr_t result) {
  if (!call.done) {
    ReleaseOrderingLocked(&call);
    call.done = true;
    call.handled = handled;
    call.result = result;
    if (call.waiter != nullptr) world_.scheduler.SignalLocked(*call.waiter);
  }
  pending_sends_.erase(
      std::remove_if(pending_sends_.begin(), pending_sends_.end(),
                     [&](const auto& p) { return p.get() == &call; }),
      pending_sends_.end());
}

bool SimProcessImpl::OnUiThread() const {
  SimGuard lock(Mutex());
  return OnUiThreadLocked();
}

// The UI thread's silence grows by each wait in which it answers nothing,
// unless the program's rules prescribe that wait; any wait that answers
// ends it.
void SimProcessImpl::WaitEndedLocked(const SimThread& thread, int64_t began_ms,
                                     bool loop_wait) {
  if (&thread != ui_thread_) return;
  const bool excused = std::exchange(excuse_wait_, false);
  after_poll_ = false;
  if (loop_wait) {
    silent_ms_ = 0;
    return;
  }
  if (excused) return;
  silent_ms_ += world_.NowLocked() - began_ms;
  if (silent_ms_ > longest_silence_.ms) {
    longest_silence_ = {silent_ms_, world_.NowLocked()};
  }
}

// --- Time, waiting, threads -------------------------------------------------

int64_t SimProcessImpl::NowMs() {
  SimGuard lock(Mutex());
  return world_.NowLocked();
}

void SimProcessImpl::Sleep(int32_t ms) {
  // The pauses the rules prescribe on the UI thread: after each poll of a
  // held switch, and the fixed 500 ms and 1 s pauses.
  constexpr int32_t kPrescribedPausesMs[] = {500, 1000};
  SimLock lock(Mutex());
  if (OnUiThreadLocked()) {
    excuse_wait_ = after_poll_ || ms == kPrescribedPausesMs[0] ||
                   ms == kPrescribedPausesMs[1];
  }
  int64_t deadline = ms < 0 ? kNever : world_.NowLocked() + ms;
  world_.scheduler.WaitLocked(lock, deadline, false);
}

std::unique_ptr<Event> SimProcessImpl::CreateAutoResetEvent(
    bool initially_set) {
  return std::make_unique<SimEvent>(world_.scheduler, initially_set);
}

// The UI thread sleeps, but what other threads send to its windows is still
// answered, as a wait that lets sent messages through does on Windows.
void SimProcessImpl::SleepAnswering(int32_t ms) {
  if (!OnUiThread()) {
    Sleep(ms);
    return;
  }
  SimLock lock(Mutex());
  WaitAnsweringLocked(lock, world_.NowLocked() + std::max(ms, 0));
}

bool SimProcessImpl::WaitAnsweringLocked(SimLock& lock, int64_t deadline_ms,
                                         const std::function<bool()>& done) {
  // Restored with the lock held, also when the wait unwinds.
  struct Mode {
    SimLock& lock;
    bool& answering_only;
    bool outer;
    ~Mode() {
      if (!lock.owns_lock()) lock.lock();
      answering_only = outer;
    }
  } mode{lock, answering_only_, std::exchange(answering_only_, true)};
  const auto over = [&] {
    return (done && done()) || world_.NowLocked() >= deadline_ms;
  };
  for (;;) {
    if (over()) return true;
    lock.unlock();
    RunDueInputs(false, true);
    lock.lock();
    if (over()) return true;
    if (!world_.scheduler.WaitLocked(lock, deadline_ms, true)) return false;
  }
}

bool SimProcessImpl::WaitAsSenderLocked(SimLock& lock, int64_t deadline_ms,
                                        const std::function<bool()>& done) {
  if (OnUiThreadLocked()) return WaitAnsweringLocked(lock, deadline_ms, done);
  while (!(done && done()) && world_.NowLocked() < deadline_ms) {
    if (!world_.scheduler.WaitLocked(lock, deadline_ms, false)) return false;
  }
  return true;
}

void SimProcessImpl::StartThread(std::function<void()> body) {
  SimGuard lock(Mutex());
  SimThread& thread = world_.scheduler.SpawnLocked(
      this, this, std::move(body),
      [this](const std::optional<std::string>& crash) {
        OnThreadEnd(crash, false);
      });
  threads_.push_back(&thread);
  if (ended_) world_.scheduler.KillLocked(thread);
}

int32_t SimProcessImpl::ThreadsRunning() {
  int32_t running = 0;
  {
    SimGuard lock(Mutex());
    running = static_cast<int32_t>(
        std::count_if(threads_.begin(), threads_.end(),
                      [this](const SimThread* t) { return t != ui_thread_; }));
  }
  AcquireOrdering(this);
  return running;
}

// --- Process, cursor, files, widgets -----------------------------------------

std::string SimProcessImpl::ExecutablePath() { return exe_path_; }

bool SimProcessImpl::CreateSingleInstanceMutex(const std::string& name) {
  SimGuard lock(Mutex());
  if (ended_) return false;
  return world_.mutexes.emplace(name, this).second;
}

std::optional<Point> SimProcessImpl::CursorPos() {
  SimGuard lock(Mutex());
  return world_.cursor;
}

void SimProcessImpl::SetCursorPos(Point p) {
  SimGuard lock(Mutex());
  if (ended_) return;
  world_.cursor = world_.ClampToScreen(p);
  world_.RecordLocked("cursor", std::to_string(world_.cursor.x) + "," +
                                    std::to_string(world_.cursor.y));
}

std::optional<std::string> SimProcessImpl::ReadFileBytes(
    const std::string& path) {
  SimGuard lock(Mutex());
  auto it = world_.files.find(path);
  if (it == world_.files.end() || world_.unreadable.count(path) != 0) {
    return std::nullopt;
  }
  return it->second;
}

bool SimProcessImpl::FileExists(const std::string& path) {
  SimGuard lock(Mutex());
  return world_.files.count(path) != 0;
}

bool SimProcessImpl::ReplaceFileBytes(const std::string& path,
                                      const std::string& bytes) {
  SimGuard lock(Mutex());
  if (ended_) return false;
  world_.RecordLocked("file-replace", path);
  if (world_.refused_writes.count(path) != 0) return false;
  world_.files[path] = bytes;
  return true;
}

bool SimProcessImpl::LeftButtonDown() {
  SimGuard lock(Mutex());
  return world_.left_button_down;
}

void SimProcessImpl::MouseButton(uint32_t flags, Point at) {
  SimGuard lock(Mutex());
  if (ended_) return;
  if (flags == kMouseLeftDown) world_.left_button_down = true;
  if (flags == kMouseLeftUp) world_.left_button_down = false;
  if (flags == kMouseRightDown) world_.right_button_down = true;
  if (flags == kMouseRightUp) world_.right_button_down = false;
  if (flags == kMouseMiddleDown) world_.middle_button_down = true;
  if (flags == kMouseMiddleUp) world_.middle_button_down = false;
  world_.RecordLocked("mouse", std::to_string(flags) + " " +
                                   std::to_string(at.x) + "," +
                                   std::to_string(at.y));
  ClickKeyboardLocked(flags, at);
}

void SimProcessImpl::KeyEvent(uint8_t virtual_key, bool up) {
  SimGuard lock(Mutex());
  PressKeyLocked("key", virtual_key, up);
}

void SimProcessImpl::PressKeyLocked(const char* kind, uint8_t virtual_key,
                                    bool up) {
  if (ended_) return;
  if (up) {
    world_.keys_down.erase(virtual_key);
  } else {
    world_.keys_down.insert(virtual_key);
  }
  world_.RecordLocked(kind,
                      std::to_string(virtual_key) + (up ? " up" : " down"));
}

void SimProcessImpl::Beep() {
  SimGuard lock(Mutex());
  world_.RecordLocked("beep", "");
}

void SimProcessImpl::ShellOpen(const std::string& target) {
  SimGuard lock(Mutex());
  if (ended_) return;
  world_.RecordLocked("shell", target);
}

namespace {

// A probe on the simulated desktop: each query takes the desktop's probe
// time; over a program's window it waits for that program's UI thread.
class SimRoleProbe final : public RoleProbe {
 public:
  explicit SimRoleProbe(SimProcessImpl& process) : process_(process) {}
  RoleReading RoleAt(Point at) override { return process_.ProbeRoleAt(at); }
  std::vector<ElementBox> Elements(const Rect& area) override {
    return process_.ProbeElements(area);
  }

 private:
  SimProcessImpl& process_;
};

}  // namespace

std::unique_ptr<RoleProbe> SimProcessImpl::CreateRoleProbe() {
  return std::make_unique<SimRoleProbe>(*this);
}

RoleReading SimProcessImpl::ProbeRoleAt(Point p) {
  SimLock lock(Mutex());
  ++world_.probe_count;
  world_.scheduler.WaitLocked(lock, world_.NowLocked() + world_.probe_cost_ms,
                              false);
  const WindowRec* rec = world_.ProgramWindowAtLocked(p);
  if (rec == nullptr) return world_.RegionRoleLocked(p);
  // The query is a message to the window, answered on its program's UI
  // thread; only then is the control under the point known.
  const WindowHandle window = rec->handle;
  constexpr intptr_t kObjectIdClient = -4;
  if (!SendLocked(lock, window, kWmGetObject, 0, kObjectIdClient, -1, false)) {
    return {};
  }
  return world_.ControlRoleLocked(window, p);
}

// As the system does it: one query to each shown window that reaches into
// the area (a program's is answered on its UI thread; a hung window never
// answers), then the elements of the windows that answered and of the
// regions.
std::vector<ElementBox> SimProcessImpl::ProbeElements(const Rect& area) {
  SimLock lock(Mutex());
  ++world_.probe_count;
  world_.scheduler.WaitLocked(lock, world_.NowLocked() + world_.probe_cost_ms,
                              false);
  std::vector<WindowHandle> shown;
  for (WindowHandle handle : world_.ZOrderLocked()) {
    const WindowRec* rec = world_.FindWindowLocked(handle);
    if (rec != nullptr && rec->visible && rec->show != WindowShow::kMinimised &&
        rec->rect.Meets(area)) {
      shown.push_back(handle);
    }
  }
  constexpr intptr_t kObjectIdClient = -4;
  std::vector<WindowHandle> answered;
  for (WindowHandle handle : shown) {
    if (SendLocked(lock, handle, kWmGetObject, 0, kObjectIdClient, -1, false)) {
      answered.push_back(handle);
    }
  }
  std::vector<ElementBox> found = world_.ElementsLocked(answered);
  std::erase_if(found,
                [&area](const ElementBox& e) { return !e.rect.Meets(area); });
  return found;
}

std::unique_ptr<NativeWidget> SimProcessImpl::CreateWidget(
    const WidgetArgs& desc, NativeWidget* parent, WidgetEvents* events) {
  return std::make_unique<SimWidget>(world_, *this, desc,
                                     dynamic_cast<SimWidget*>(parent), events);
}

// --- SimProcess --------------------------------------------------------------

std::optional<int> SimProcessImpl::ExitCode() const {
  SimGuard lock(Mutex());
  return exit_code_;
}

void SimProcessImpl::At(int64_t at_ms, std::function<void()> action) {
  SimGuard lock(Mutex());
  if (ended_) return;  // `action` is destroyed after the lock is released
  QueueInputLocked(at_ms, std::move(action));
}

void SimProcessImpl::PostAt(int64_t at_ms, WindowHandle window,
                            uint32_t message, uintptr_t wparam,
                            intptr_t lparam) {
  SimGuard lock(Mutex());
  QueueInputLocked(at_ms, [this, window, message, wparam, lparam] {
    DispatchToForm(window, message, wparam, lparam);
  });
}

void SimProcessImpl::SendAt(int64_t at_ms, WindowHandle window,
                            uint32_t message, uintptr_t wparam,
                            intptr_t lparam) {
  SimGuard lock(Mutex());
  QueueInputLocked(
      at_ms,
      [this, window, message, wparam, lparam] {
        DispatchToForm(window, message, wparam, lparam);
      },
      true);
}

void SimProcessImpl::Terminate() {
  InputQueue dropped;  // destroyed after the lock is released
  SimGuard lock(Mutex());
  if (ended_) return;
  world_.RecordLocked("terminate", exe_path_);
  dropped = EndLocked(std::nullopt);
}

int32_t SimProcessImpl::ThreadsLeftAtExit() const {
  SimGuard lock(Mutex());
  return threads_left_at_exit_;
}

int32_t SimProcessImpl::WindowsLeftAtExit() const {
  SimGuard lock(Mutex());
  return windows_left_at_exit_;
}

SimProcess::Silence SimProcessImpl::LongestSilence() const {
  SimGuard lock(Mutex());
  return longest_silence_;
}

std::optional<bool> SimProcessImpl::LastEndSessionAnswer() const {
  SimGuard lock(Mutex());
  return last_end_session_;
}

void SimProcessImpl::SetEndSessionAnswer(bool answer) {
  SimGuard lock(Mutex());
  last_end_session_ = answer;
}

}  // namespace hopla::sim
