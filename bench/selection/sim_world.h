// The switch user's world on the simulated desktop: virtual time, the
// simulated switch (button 1 of joystick 1), and the clicks the program made.
#ifndef HOPLA_BENCH_SELECTION_SIM_WORLD_H_
#define HOPLA_BENCH_SELECTION_SIM_WORLD_H_

#include <string>

#include "bench/selection/switch_user.h"
#include "platform/sim/sim_desktop.h"

namespace hopla::selection {

class SimWorld final : public World {
 public:
  explicit SimWorld(sim::SimDesktop& desk) : desk_(desk) {}
  int64_t NowMs() override { return desk_.Now(); }
  void Wait(int64_t ms) override { desk_.RunFor(ms); }
  void Hold(int64_t ms) override {
    const int64_t down = desk_.Now();
    desk_.HoldSwitch(down, down + ms);
    desk_.RunFor(ms);
  }
  Point Cursor() override { return desk_.Cursor(); }
  // Counted in the trace, which the bench clears between selections.
  int64_t Clicks() override {
    const std::string left_down = std::to_string(kMouseLeftDown) + " ";
    int64_t clicks = 0;
    for (const sim::TraceEntry& entry : desk_.TraceOf("mouse")) {
      if (entry.text.rfind(left_down, 0) == 0) ++clicks;
    }
    return clicks;
  }

 private:
  sim::SimDesktop& desk_;
};

}  // namespace hopla::selection

#endif  // HOPLA_BENCH_SELECTION_SIM_WORLD_H_
