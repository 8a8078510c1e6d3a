#include "platform/sim/sim_scheduler.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <utility>

namespace hopla::sim {
namespace {

thread_local SimThread* tls_current = nullptr;

}  // namespace

Scheduler::Scheduler() = default;

Scheduler::~Scheduler() { Teardown(); }

SimThread* Scheduler::Current() { return tls_current; }

int64_t Scheduler::NowLocked() const {
  if (!free_) return now_;
  return now_ + std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - free_start_)
                    .count();
}

void Scheduler::RunFreely() {
  SimGuard lock(mu_);
  if (!threads_.empty()) {
    throw std::logic_error("hopla::sim: RunFreely after a program started");
  }
  free_ = true;
  free_start_ = std::chrono::steady_clock::now();
}

void Scheduler::NotifyLocked() {
  if (free_) free_cv_.notify_all();
}

SimThread& Scheduler::SpawnLocked(
    void* owner, WaitSource* source, std::function<void()> body,
    std::function<void(const std::optional<std::string>&)> on_end) {
  auto thread = std::make_unique<SimThread>();
  SimThread* t = thread.get();
  t->id = next_id_++;
  t->owner = owner;
  t->source = source;
  t->state = SimThread::State::kWaiting;
  t->begin_ms = now_;
  t->seq = next_seq_++;
  t->deadline_ms = now_;
  t->signal_ms = kNever;
  t->loop_wait = false;
  t->kill = tearing_down_;
  if (free_) t->state = SimThread::State::kRunning;
  threads_.push_back(std::move(thread));
  // What the starting thread did comes before the new one's start.
  const SeenAgain seen;
  t->thread = std::thread(&Scheduler::ThreadMain, this, t, std::move(body),
                          std::move(on_end));
  return *t;
}

void Scheduler::ThreadMain(
    SimThread* self, std::function<void()> body,
    std::function<void(const std::optional<std::string>&)> on_end) {
  tls_current = self;
  bool killed = false;
  {
    SimLock lock(mu_);
    if (!free_) {
      const Unseen unseen;
      self->cv.wait(lock, [&] { return current_ == self; });
    }
    self->state = SimThread::State::kRunning;
    killed = self->kill;
  }
  std::optional<std::string> crash;
  if (!killed) {
    try {
      body();
    } catch (const ThreadKill&) {
    } catch (const std::exception& e) {
      crash = e.what();
    } catch (...) {
      crash = "an exception that is not a std::exception";
    }
  }
  body = nullptr;  // program state captured by the body dies on this thread
  try {
    on_end(crash);
  } catch (const ThreadKill&) {
  } catch (const std::exception& e) {
    if (!crash) crash = e.what();
  }
  SimLock lock(mu_);
  if (crash && !crash_) crash_ = *crash;
  self->state = SimThread::State::kDone;
  if (free_) {
    free_cv_.notify_all();
  } else {
    PassBatonLocked();
  }
}

int64_t Scheduler::ReadyTimeLocked(const SimThread& t) const {
  if (t.state != SimThread::State::kWaiting) return kNever;
  int64_t wake = std::min(t.deadline_ms, t.signal_ms);
  if (t.loop_wait && t.source != nullptr) {
    wake = std::min(wake, t.source->LoopWakeLocked());
  }
  if (wake == kNever) return kNever;
  return std::max(wake, t.begin_ms);
}

SimThread* Scheduler::PickReadyLocked() const {
  SimThread* best = nullptr;
  int64_t best_time = kNever;
  for (const auto& t : threads_) {
    int64_t ready = ReadyTimeLocked(*t);
    if (ready > now_) continue;
    if (best == nullptr || ready < best_time ||
        (ready == best_time && t->seq < best->seq)) {
      best = t.get();
      best_time = ready;
    }
  }
  return best;
}

int64_t Scheduler::EarliestWakeLocked() const {
  int64_t earliest = kNever;
  for (const auto& t : threads_) {
    earliest = std::min(earliest, ReadyTimeLocked(*t));
  }
  return earliest;
}

// The calling program thread gives the baton to the next ready thread. While
// a RunFor (no condition to test) is in progress, it also steps time itself,
// which saves a trip through the controller for every time step.
void Scheduler::PassBatonLocked() {
  SimThread* next = nullptr;
  if (!crash_ && !tearing_down_) {
    next = PickReadyLocked();
    if (next == nullptr && running_ && !run_has_done_) {
      int64_t wake = EarliestWakeLocked();
      if (wake <= run_target_) {
        now_ = std::max(now_, wake);
        next = PickReadyLocked();
      }
    }
  }
  current_ = next;
  if (next != nullptr) {
    next->cv.notify_one();
  } else {
    controller_cv_.notify_one();
  }
}

bool Scheduler::WaitLocked(SimLock& lock, int64_t deadline_ms, bool loop_wait) {
  SimThread* self = tls_current;
  if (self == nullptr) {
    throw std::logic_error(
        "hopla::sim: a blocking platform call on the test's thread; only "
        "program threads can wait");
  }
  if (self->kill) {
    if (std::uncaught_exceptions() > 0) return false;  // unwinding
    throw ThreadKill{};
  }
  const int64_t began_ms = NowLocked();
  self->state = SimThread::State::kWaiting;
  self->begin_ms = began_ms;
  self->seq = next_seq_++;
  self->deadline_ms = std::max(deadline_ms, began_ms);
  self->signal_ms = kNever;
  self->loop_wait = loop_wait;
  if (free_) {
    FreeWaitLocked(lock, *self);
  } else {
    PassBatonLocked();
    const Unseen unseen;
    self->cv.wait(lock, [&] { return current_ == self; });
  }
  self->state = SimThread::State::kRunning;
  self->loop_wait = false;
  if (self->source != nullptr) {
    self->source->WaitEndedLocked(*self, began_ms, loop_wait);
  }
  if (self->kill) {
    if (std::uncaught_exceptions() > 0) return false;
    throw ThreadKill{};
  }
  return true;
}

void Scheduler::SignalLocked(SimThread& thread) {
  if (thread.state != SimThread::State::kWaiting) return;
  thread.signal_ms = std::min(thread.signal_ms, NowLocked());
  NotifyLocked();
}

// A real wait, until what the thread waits for is there, or it is to end.
bool Scheduler::FreeWaitLocked(SimLock& lock, SimThread& self) {
  for (;;) {
    if (self.kill || tearing_down_) return false;
    const int64_t ready = ReadyTimeLocked(self);
    const int64_t now = NowLocked();
    if (ready <= now) return true;
    const Unseen unseen;
    if (ready == kNever) {
      free_cv_.wait(lock);
    } else {
      free_cv_.wait_for(lock, std::chrono::milliseconds(ready - now));
    }
  }
}

void Scheduler::KillLocked(SimThread& thread) {
  if (thread.state == SimThread::State::kDone) return;
  thread.kill = true;
  SignalLocked(thread);
}

// A program thread that never reaches a wait point (a busy loop) would hang
// the test for good; after this much real time the test binary stops.
constexpr std::chrono::seconds kBusyLimit{60};

void Scheduler::GiveBatonAndWaitLocked(SimLock& lock, SimThread& thread) {
  current_ = &thread;
  thread.cv.notify_one();
  const Unseen unseen;
  if (!controller_cv_.wait_for(lock, kBusyLimit,
                               [&] { return current_ == nullptr; })) {
    std::fprintf(stderr,
                 "hopla::sim: a program thread ran for %lld s of real time "
                 "without reaching a wait point (a busy loop?); at virtual "
                 "time %lld ms\n",
                 static_cast<long long>(kBusyLimit.count()),
                 static_cast<long long>(now_));
    std::abort();
  }
}

// Joins the threads that have ended; they no longer need the lock.
void Scheduler::ReapLocked(SimLock& lock) {
  std::vector<std::unique_ptr<SimThread>> done;
  auto it = std::stable_partition(
      threads_.begin(), threads_.end(),
      [](const auto& t) { return t->state != SimThread::State::kDone; });
  std::move(it, threads_.end(), std::back_inserter(done));
  threads_.erase(it, threads_.end());
  if (done.empty()) return;
  lock.unlock();
  for (auto& t : done) {
    if (t->thread.joinable()) t->thread.join();
  }
  lock.lock();
}

void Scheduler::ThrowIfCrashedLocked() {
  if (!crash_) return;
  std::string text = std::move(*crash_);
  crash_.reset();
  running_ = false;
  throw std::runtime_error("hopla::sim: a program thread crashed: " + text);
}

bool Scheduler::RunTo(int64_t target_ms, const std::function<bool()>* done,
                      const std::function<int64_t()>& scripted) {
  if (tls_current != nullptr) {
    throw std::logic_error("hopla::sim: RunFor/RunUntil on a program thread");
  }
  SimLock lock(mu_);
  if (free_) return FreeRunTo(lock, target_ms, done);
  running_ = true;
  run_has_done_ = done != nullptr;
  run_target_ = target_ms;
  for (;;) {
    ReapLocked(lock);
    ThrowIfCrashedLocked();
    if (SimThread* next = PickReadyLocked()) {
      GiveBatonAndWaitLocked(lock, *next);
      continue;
    }
    if (done != nullptr && HoldsLocked(lock, *done)) {
      running_ = false;
      return true;
    }
    int64_t wake = EarliestWakeLocked();
    if (done != nullptr) {
      int64_t next_scripted = scripted ? scripted() : kNever;
      if (wake == kNever && next_scripted == kNever) {
        running_ = false;
        return false;  // nothing can ever happen again
      }
      wake = std::min(wake, next_scripted);
    }
    if (wake > target_ms) break;
    now_ = std::max(now_, wake);
  }
  now_ = std::max(now_, target_ms);
  bool holds = done != nullptr && HoldsLocked(lock, *done);
  running_ = false;
  return holds;
}

// Tests the test's condition without the lock (it may look at the desktop).
bool Scheduler::HoldsLocked(SimLock& lock, const std::function<bool()>& done) {
  lock.unlock();
  bool holds = false;
  try {
    holds = done();
  } catch (...) {
    lock.lock();
    running_ = false;
    throw;
  }
  lock.lock();
  return holds;
}

// Running freely the controller only looks, every millisecond of real time.
bool Scheduler::FreeRunTo(SimLock& lock, int64_t target_ms,
                          const std::function<bool()>* done) {
  constexpr auto kLookEvery = std::chrono::milliseconds(1);
  for (;;) {
    ReapLocked(lock);
    ThrowIfCrashedLocked();
    if (done != nullptr && HoldsLocked(lock, *done)) return true;
    if (NowLocked() >= target_ms) return false;
    lock.unlock();
    std::this_thread::sleep_for(kLookEvery);
    lock.lock();
  }
}

void Scheduler::FreeTeardown(SimLock& lock) {
  for (const auto& t : threads_) t->kill = true;
  free_cv_.notify_all();
  for (;;) {
    const bool alive = std::any_of(
        threads_.begin(), threads_.end(),
        [](auto& t) { return t->state != SimThread::State::kDone; });
    if (!alive) break;
    lock.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    lock.lock();
    free_cv_.notify_all();
  }
  ReapLocked(lock);
  crash_.reset();
}

void Scheduler::Teardown() {
  SimLock lock(mu_);
  tearing_down_ = true;
  if (free_) {
    FreeTeardown(lock);
    return;
  }
  // Newest first: a worker unwinds while the objects of the thread that
  // started it still live.
  for (;;) {
    SimThread* alive = nullptr;
    for (const auto& t : threads_) {
      if (t->state == SimThread::State::kDone) continue;
      t->kill = true;
      alive = t.get();
    }
    if (alive == nullptr) break;
    GiveBatonAndWaitLocked(lock, *alive);
  }
  ReapLocked(lock);
  crash_.reset();
}

}  // namespace hopla::sim
