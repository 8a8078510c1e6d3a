// Paces passes against a deadline, so that a pass lasts its delay in all,
// its own work included: a step of the walking cursor, a poll of the held
// switch. Sleeping the whole delay after the work would make the short delays
// (1 to 4 ms steps, 4 ms polls) noticeably longer than the sliders promise.
#ifndef HOPLA_SHARED_STEP_PACER_H_
#define HOPLA_SHARED_STEP_PACER_H_

#include <cassert>
#include <cstdint>
#include <optional>

namespace hopla {

class StepPacer {
 public:
  // After a pass that should last `step_ms`, ending at `now_us`: how many
  // milliseconds to sleep. A pass that ran over by more than a whole step
  // (it waited for a code, or the machine stalled) starts the count afresh
  // instead of hurrying to catch up.
  int32_t SleepAfterPass(int64_t now_us, int32_t step_ms) {
    // A shorter pass would walk or poll flat out and starve the machine.
    assert(step_ms >= 1 && "a pass lasts at least 1 ms");
    constexpr int64_t kMicrosPerMs = 1000;
    const int64_t step_us = int64_t{step_ms} * kMicrosPerMs;
    int64_t due_us = deadline_us_ ? *deadline_us_ + step_us : now_us + step_us;
    if (due_us + step_us < now_us) due_us = now_us + step_us;
    deadline_us_ = due_us;
    // Rounded to the nearest millisecond: a late pass is made up for by a
    // shorter sleep after the next one.
    return static_cast<int32_t>((due_us - now_us + kMicrosPerMs / 2) /
                                kMicrosPerMs);
  }

 private:
  std::optional<int64_t> deadline_us_;
};

}  // namespace hopla

#endif  // HOPLA_SHARED_STEP_PACER_H_
