// The timers of one UI thread, served by its message loop.
#ifndef HOPLA_TOOLKIT_TIMER_QUEUE_H_
#define HOPLA_TOOLKIT_TIMER_QUEUE_H_

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/platform.h"

namespace hopla {

class Timer;

class TimerQueue {
 public:
  explicit TimerQueue(Platform& platform) : platform_(platform) {}

  // UI thread: fires every timer whose countdown has run out, once each, in
  // the order the timers were made, through `fire` (which calls the handler
  // and deals with what it throws). Returns the next due time, or
  // UiLoopHost::kNoWake.
  int64_t FireDue(const std::function<void(Timer&)>& fire);

 private:
  friend class Timer;
  void Add(Timer* timer);
  void Remove(Timer* timer);
  // Restarts a timer's countdown now and wakes the UI thread. Lock held.
  void RestartLocked(Timer* timer);
  int64_t NextDueLocked() const;

  Platform& platform_;
  mutable std::mutex mutex_;
  std::vector<Timer*> timers_;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_TIMER_QUEUE_H_
