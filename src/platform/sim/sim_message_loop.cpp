// The simulated process's UI thread: its message loop, the inputs queued to
// it, and what it waits in (a synchronous sound, a message box's modal loop).
#include <algorithm>
#include <string>
#include <utility>

#include "platform/sim/sim_process.h"

namespace hopla::sim {

// --- The UI thread's message loop --------------------------------------------

int64_t SimProcessImpl::LoopWakeLocked() const {
  if (answering_only_) {
    for (const auto& [key, input] : inputs_) {
      if (input.answers_send) return key.first;
    }
    return kNever;
  }
  int64_t wake = wake_pending_ ? wake_ms_ : kNever;
  if (!inputs_.empty()) wake = std::min(wake, inputs_.begin()->first.first);
  return wake;
}

int64_t SimProcessImpl::NextInputAfterLocked(int64_t now_ms) const {
  auto it = inputs_.lower_bound({now_ms + 1, 0});
  return it == inputs_.end() ? kNever : it->first.first;
}

void SimProcessImpl::QueueInputLocked(int64_t due_ms, std::function<void()> run,
                                      bool answers_send) {
  if (ended_) return;
  due_ms = std::max(due_ms, world_.NowLocked());
  // What the sender did comes before the input is served, as a message
  // queue orders it.
  ReleaseOrderingLocked(&inputs_);
  inputs_.emplace(std::make_pair(due_ms, next_input_seq_++),
                  Input{std::move(run), answers_send});
  world_.scheduler.NotifyLocked();
}

bool SimProcessImpl::RunDueInputs(bool stop_on_quit, bool sends_only) {
  for (;;) {
    std::function<void()> run;
    {
      SimGuard lock(Mutex());
      if (stop_on_quit && quit_) return false;
      auto it = inputs_.begin();
      while (sends_only && it != inputs_.end() && !it->second.answers_send) {
        ++it;
      }
      if (it == inputs_.end() || it->first.first > world_.NowLocked()) {
        return true;
      }
      run = std::move(it->second.run);
      inputs_.erase(it);
    }
    // A sent message is handled as in the message loop: a box it opens
    // serves everything, not only what is sent.
    struct Mode {
      SimProcessImpl& self;
      bool outer;
      ~Mode() {
        SimGuard lock(self.Mutex());
        self.answering_only_ = outer;
      }
    } mode{*this, [this] {
             SimGuard lock(Mutex());
             return std::exchange(answering_only_, false);
           }()};
    AcquireOrdering(&inputs_);
    run();
  }
}

bool SimProcessImpl::LoopWaitLocked(SimLock& lock, int64_t deadline_ms) {
  bool waited = world_.scheduler.WaitLocked(lock, deadline_ms, true);
  wake_pending_ = false;
  wake_ms_ = kNever;
  return waited;
}

void SimProcessImpl::RunMessageLoop(UiLoopHost& host) {
  UiLoopHost* outer = nullptr;
  {
    SimGuard lock(Mutex());
    outer = host_;
    host_ = &host;  // a quit asked before the loop ends it at once, as a
                    // WM_QUIT already in the queue would
  }
  struct Leave {
    SimProcessImpl* self;
    UiLoopHost* outer;
    ~Leave() {
      SimGuard lock(self->Mutex());
      self->host_ = outer;
      self->quit_ = false;
    }
  } leave{this, outer};
  for (;;) {
    if (!RunDueInputs(true)) break;
    int64_t next = host.RunDueWork();
    SimLock lock(Mutex());
    if (quit_) break;
    if (!LoopWaitLocked(lock, next)) break;
  }
}

void SimProcessImpl::QuitMessageLoop() {
  SimGuard lock(Mutex());
  quit_ = true;
}

void SimProcessImpl::WakeMessageLoop() {
  SimGuard lock(Mutex());
  if (wake_pending_) return;
  wake_pending_ = true;
  wake_ms_ = world_.NowLocked();
  world_.scheduler.NotifyLocked();
}

// --- Sound, message boxes ----------------------------------------------------

void SimProcessImpl::PlaySoundFile(const std::string& file_name) {
  SimLock lock(Mutex());
  if (ended_) return;
  world_.RecordLocked("sound", file_name);
  auto it = world_.sound_lengths_ms.find(file_name);
  if (it == world_.sound_lengths_ms.end() || it->second <= 0) return;
  excuse_wait_ = OnUiThreadLocked();  // a synchronous sound lasts its length
  world_.scheduler.WaitLocked(lock, world_.NowLocked() + it->second, false);
}

DialogResult SimProcessImpl::ShowMessageBox(const MessageBoxArgs& desc) {
  std::function<MessageBoxAnswer(const MessageBoxArgs&)> policy;
  {
    SimGuard lock(Mutex());
    if (ended_) return DialogResult::kCancel;
    world_.RecordLocked("msgbox", desc.caption + "|" + desc.text);
    ++world_.open_boxes;
    policy = world_.answer_policy;
  }
  struct Closed {
    SimProcessImpl& self;
    ~Closed() {
      SimGuard lock(self.Mutex());
      --self.world_.open_boxes;
    }
  } closed{*this};
  MessageBoxAnswer answer = policy ? policy(desc) : MessageBoxAnswer{};
  // A box with only an OK button answers OK however it is closed.
  if (desc.buttons == MessageBoxButtons::kOk) answer.result = DialogResult::kOk;
  if (answer.after_ms > 0) {
    int64_t answer_ms = 0;
    {
      SimGuard lock(Mutex());
      answer_ms = world_.NowLocked() + answer.after_ms;
    }
    RunModalLoop(answer_ms);
  }
  SimGuard lock(Mutex());
  world_.RecordLocked("msgbox-answer",
                      answer.result == DialogResult::kOk ? "ok" : "cancel");
  return answer.result;
}

// While the box is open, the UI thread keeps serving its timers, tasks and
// the person's actions, as a modal loop dispatches them on Windows.
void SimProcessImpl::RunModalLoop(int64_t answer_ms) {
  bool ui = OnUiThread();
  for (;;) {
    int64_t next = kNever;
    {
      SimGuard lock(Mutex());
      if (world_.NowLocked() >= answer_ms) return;
    }
    if (ui) {
      RunDueInputs(false);
      UiLoopHost* host = nullptr;
      {
        SimGuard lock(Mutex());
        host = host_;
      }
      if (host != nullptr) next = host->RunDueWork();
    }
    SimLock lock(Mutex());
    int64_t deadline = std::min(next, answer_ms);
    bool waited = ui ? LoopWaitLocked(lock, deadline)
                     : world_.scheduler.WaitLocked(lock, deadline, false);
    if (!waited) return;
  }
}
}  // namespace hopla::sim
