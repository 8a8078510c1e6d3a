// Small helpers for the simulated desktop's own tests.
#ifndef HOPLA_TESTS_SIM_TEST_SUPPORT_H_
#define HOPLA_TESTS_SIM_TEST_SUPPORT_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/sim_desktop.h"

namespace hopla::sim::testing {

// A UI loop host with one periodic timer: `tick` runs every `interval_ms`
// (none when 0). It notes the time of every RunDueWork call.
class TimerHost : public UiLoopHost {
 public:
  TimerHost(Platform& platform, int64_t interval_ms,
            std::function<void()> tick = nullptr)
      : platform_(platform),
        interval_ms_(interval_ms),
        tick_(std::move(tick)),
        next_ms_(platform.NowMs() + interval_ms) {}

  int64_t RunDueWork() override {
    int64_t now = platform_.NowMs();
    calls.push_back(now);
    if (interval_ms_ <= 0) return kNoWake;
    if (now >= next_ms_) {
      next_ms_ = now + interval_ms_;  // before the tick: it may be re-entered
      ticks.push_back(now);
      if (tick_) tick_();
    }
    return next_ms_;
  }

  std::vector<int64_t> calls;
  std::vector<int64_t> ticks;

 private:
  Platform& platform_;
  int64_t interval_ms_;
  std::function<void()> tick_;
  int64_t next_ms_;
};

// The times of the trace entries of one kind.
inline std::vector<int64_t> TimesOf(const SimDesktop& desktop,
                                    std::string_view kind) {
  std::vector<int64_t> times;
  for (const TraceEntry& entry : desktop.TraceOf(kind)) {
    times.push_back(entry.time_ms);
  }
  return times;
}

// The texts of the trace entries of one kind.
inline std::vector<std::string> TextsOf(const SimDesktop& desktop,
                                        std::string_view kind) {
  std::vector<std::string> texts;
  for (const TraceEntry& entry : desktop.TraceOf(kind)) {
    texts.push_back(entry.text);
  }
  return texts;
}

}  // namespace hopla::sim::testing

#endif  // HOPLA_TESTS_SIM_TEST_SUPPORT_H_
