// How often to ask a device that does not answer. Asking for a joystick that
// is not there makes the system look for devices again, which is slow; once
// it has stayed away for a second it is asked only every few seconds, and its
// first answer brings back the full rate. A device lost for less than that
// (a loose plug) is still asked at every poll.
#ifndef HOPLA_PLATFORM_ABSENT_DEVICE_H_
#define HOPLA_PLATFORM_ABSENT_DEVICE_H_

#include <cstdint>
#include <mutex>
#include <optional>

namespace hopla {

class AbsentDeviceRetry {
 public:
  static constexpr int64_t kAbsentAfterMs = 1000;
  static constexpr int64_t kRetryEveryMs = 5000;

  // Whether to ask the device at `now_ms`. Safe from any thread.
  bool ShouldAsk(int64_t now_ms) const {
    std::lock_guard lock(mutex_);
    if (!failing_since_ms_ || now_ms - *failing_since_ms_ < kAbsentAfterMs) {
      return true;
    }
    return now_ms - last_asked_ms_ >= kRetryEveryMs;
  }

  // What the device said when it was asked at `now_ms`.
  void Record(bool answered, int64_t now_ms) {
    std::lock_guard lock(mutex_);
    last_asked_ms_ = now_ms;
    if (answered) {
      failing_since_ms_.reset();
    } else if (!failing_since_ms_) {
      failing_since_ms_ = now_ms;
    }
  }

 private:
  mutable std::mutex mutex_;
  std::optional<int64_t> failing_since_ms_;
  int64_t last_asked_ms_ = 0;
};

}  // namespace hopla

#endif  // HOPLA_PLATFORM_ABSENT_DEVICE_H_
