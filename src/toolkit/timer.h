// A form timer: an interval and an enabled state, firing its handler on the
// UI thread. Setting either property to a new value restarts the countdown at
// that moment, from whichever thread; setting the value it already has
// changes nothing.
#ifndef HOPLA_TOOLKIT_TIMER_H_
#define HOPLA_TOOLKIT_TIMER_H_

#include <cstdint>

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

  NotifyEvent on_timer;

 private:
  friend class TimerQueue;
  TimerQueue& queue_;
  // Guarded by the queue's lock.
  bool enabled_;
  int32_t interval_ms_;
  int64_t due_ms_ = 0;
  bool firing_ = false;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_TIMER_H_
