#include "platform/sim/sim_event.h"

#include <algorithm>

#include "platform/sim/sim_lock.h"

namespace hopla::sim {

SimEvent::SimEvent(Scheduler& scheduler, bool initially_set)
    : scheduler_(scheduler), state_(std::make_shared<State>()) {
  state_->set = initially_set;
}

SimEvent::~SimEvent() {
  SimGuard lock(scheduler_.Mutex());
  state_.reset();
}

void SimEvent::Set() {
  ReleaseOrdering(state_.get());
  SimGuard lock(scheduler_.Mutex());
  if (state_->waiters.empty()) {
    state_->set = true;
    return;
  }
  Waiter* first = state_->waiters.front();
  state_->waiters.pop_front();
  first->taken = true;
  scheduler_.SignalLocked(*first->thread);
}

bool SimEvent::Wait(int32_t timeout_ms) {
  std::shared_ptr<State> state = state_;
  const bool taken = WaitForSet(state, timeout_ms);
  if (taken) AcquireOrdering(state.get());
  return taken;
}

bool SimEvent::WaitForSet(const std::shared_ptr<State>& state,
                          int32_t timeout_ms) {
  SimLock lock(scheduler_.Mutex());
  if (state->set) {
    state->set = false;
    return true;
  }
  if (timeout_ms == 0) {
    if (Scheduler::Current() == nullptr) return false;
    // A poll still lets the other ready threads run, so that a loop of polls
    // cannot starve the thread that would set the event.
    scheduler_.WaitLocked(lock, scheduler_.NowLocked(), false);
    if (!state->set) return false;
    state->set = false;
    return true;
  }
  Waiter self{Scheduler::Current(), false};
  state->waiters.push_back(&self);
  struct Leave {  // runs with the lock held, also when the wait throws
    State* state;
    Waiter* waiter;
    ~Leave() {
      auto& list = state->waiters;
      list.erase(std::remove(list.begin(), list.end(), waiter), list.end());
    }
  } leave{state.get(), &self};
  int64_t deadline =
      timeout_ms < 0 ? kNever : scheduler_.NowLocked() + timeout_ms;
  while (!self.taken && scheduler_.NowLocked() < deadline) {
    if (!scheduler_.WaitLocked(lock, deadline, false)) break;
  }
  return self.taken;
}

}  // namespace hopla::sim
