#include "toolkit/timer.h"

#include <algorithm>

#include "toolkit/timer_queue.h"

namespace hopla {

Timer::Timer(TimerQueue& queue, std::string name, bool enabled,
             int32_t interval_ms)
    : Component(std::move(name)),
      queue_(queue),
      enabled_(enabled),
      interval_ms_(interval_ms) {
  queue_.Add(this);
}

Timer::~Timer() { queue_.Remove(this); }

void Timer::SetEnabled(bool enabled) {
  std::lock_guard lock(queue_.mutex_);
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  queue_.RestartLocked(this);
}

bool Timer::Enabled() const {
  std::lock_guard lock(queue_.mutex_);
  return enabled_;
}

void Timer::SetInterval(int32_t interval_ms) {
  std::lock_guard lock(queue_.mutex_);
  if (interval_ms_ == interval_ms) return;
  interval_ms_ = interval_ms;
  queue_.RestartLocked(this);
}

void Timer::SetReentrant(bool reentrant) {
  std::lock_guard lock(queue_.mutex_);
  reentrant_ = reentrant;
}

void Timer::SetSlack(int32_t slack_ms) {
  std::lock_guard lock(queue_.mutex_);
  slack_ms_ = std::max(slack_ms, 0);
}

int32_t Timer::Interval() const {
  std::lock_guard lock(queue_.mutex_);
  return interval_ms_;
}

std::optional<int64_t> Timer::DueMs() const {
  std::lock_guard lock(queue_.mutex_);
  if (!enabled_ || interval_ms_ <= 0) return std::nullopt;
  return due_ms_;
}

}  // namespace hopla
