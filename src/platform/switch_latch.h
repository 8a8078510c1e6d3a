// The state of a key or mouse button used as the switch, told by its events
// and read by polls. A tap that goes down and up between two polls still
// reads as down once, so a press shorter than a poll is not lost.
#ifndef HOPLA_PLATFORM_SWITCH_LATCH_H_
#define HOPLA_PLATFORM_SWITCH_LATCH_H_

#include <atomic>

namespace hopla {

class SwitchLatch {
 public:
  // From the thread that sees the events. Auto-repeat downs change nothing.
  void Down() {
    if (!down_.exchange(true)) tapped_.store(true);
  }
  void Up() { down_.store(false); }
  void Clear() {
    down_.store(false);
    tapped_.store(false);
  }
  // From the polling thread: down now, or went down since the last poll.
  bool Poll() {
    const bool tapped = tapped_.exchange(false);
    return down_.load() || tapped;
  }

 private:
  std::atomic<bool> down_{false};
  std::atomic<bool> tapped_{false};
};

}  // namespace hopla

#endif  // HOPLA_PLATFORM_SWITCH_LATCH_H_
