// A form timer: an interval and an enabled state, firing its handler on the
// UI thread. Setting either property to a new value restarts the countdown at
// that moment, from whichever thread; setting the value it already has
// changes nothing.
#ifndef HOPLA_TOOLKIT_TIMER_H_
#define HOPLA_TOOLKIT_TIMER_H_

#include <cstdint>
#include <optional>

#include "toolkit/component.h"

namespace hopla {

class TimerQueue;

class Timer : public Component {
 public:
  // The toolkit's default interval.
  static constexpr int32_t kDefaultIntervalMs = 1000;

  Timer(TimerQueue& queue, std::string name, bool enabled = true,
        int32_t interval_ms = kDefaultIntervalMs);
  ~Timer() override;

  void SetEnabled(bool enabled);
  bool Enabled() const;
  void SetInterval(int32_t interval_ms);
  int32_t Interval() const;
  // When the timer fires next (the platform's NowMs), or nothing when it is
  // disabled.
  std::optional<int64_t> DueMs() const;
  // Whether the timer may fire again while its own handler waits in a modal
  // loop (an open message box). Off by default: a handler does not run into
  // itself unless it is written for it.
  void SetReentrant(bool reentrant);
  // How much earlier than due the timer may fire when the loop is awake for
  // something else anyway: timers whose exact phase does not matter then
  // share the loop's wake-ups instead of adding their own. Never later.
  void SetSlack(int32_t slack_ms);

  NotifyEvent on_timer;

 private:
  friend class TimerQueue;
  // Enabled with an interval, and not running already (unless it may run
  // into itself). The queue's lock is held.
  bool Ready() const {
    return enabled_ && interval_ms_ > 0 && (firing_ == 0 || reentrant_);
  }
  TimerQueue& queue_;
  // Guarded by the queue's lock.
  bool enabled_;
  int32_t interval_ms_;
  int64_t due_ms_ = 0;
  int32_t firing_ = 0;  // handler calls in progress
  bool reentrant_ = false;
  int32_t slack_ms_ = 0;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_TIMER_H_
