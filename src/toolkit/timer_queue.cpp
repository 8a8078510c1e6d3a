#include "toolkit/timer_queue.h"

#include <algorithm>

#include "toolkit/timer.h"

namespace hopla {

void TimerQueue::Add(Timer* timer) {
  std::lock_guard lock(mutex_);
  timers_.push_back(timer);
  RestartLocked(timer);
}

void TimerQueue::Remove(Timer* timer) {
  std::lock_guard lock(mutex_);
  std::erase(timers_, timer);
}

void TimerQueue::RestartLocked(Timer* timer) {
  timer->due_ms_ = platform_.NowMs() + std::max(timer->interval_ms_, 0);
  if (timer->enabled_) platform_.WakeMessageLoop();
}

int64_t TimerQueue::NextDueLocked() const {
  int64_t next = UiLoopHost::kNoWake;
  for (const Timer* timer : timers_) {
    if (timer->Ready()) {
      next = std::min(next, timer->due_ms_);
    }
  }
  return next;
}

int64_t TimerQueue::FireDue(const std::function<void(Timer&)>& fire) {
  std::vector<Timer*> due;
  {
    std::lock_guard lock(mutex_);
    const int64_t now = platform_.NowMs();
    for (Timer* timer : timers_) {
      if (timer->Ready() && timer->due_ms_ - timer->slack_ms_ <= now) {
        due.push_back(timer);
      }
    }
  }
  for (Timer* timer : due) {
    {
      // An earlier handler of this round may have disabled, restarted or
      // removed this timer; fire only what is still due.
      std::lock_guard lock(mutex_);
      const int64_t now = platform_.NowMs();
      if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end() ||
          !timer->enabled_ || timer->due_ms_ - timer->slack_ms_ > now) {
        continue;
      }
      // Kept on its own schedule, as a periodic system timer is, so the
      // loop's timer can go on unchanged; one that fell behind starts over.
      timer->due_ms_ += timer->interval_ms_;
      if (timer->due_ms_ <= now) timer->due_ms_ = now + timer->interval_ms_;
      ++timer->firing_;
    }
    fire(*timer);
    std::lock_guard lock(mutex_);
    if (std::find(timers_.begin(), timers_.end(), timer) != timers_.end()) {
      --timer->firing_;
    }
  }
  std::lock_guard lock(mutex_);
  return NextDueLocked();
}

}  // namespace hopla
