// A practised person who has only the switch, on the simulated desktop:
// watches the cursor and the target, starts the walk, turns, stops on the
// target and clicks, pressing with human timing (a reaction time before each
// decision's first press, presses and gaps of varying length). Random
// numbers start from a fixed seed, so a run repeats exactly. It reads only
// what a person sees (the cursor, the target, whether a click happened) and
// knows its own settings as a practised user does; never the engine's state.
// Four directions.
#ifndef HOPLA_BENCH_SELECTION_SWITCH_USER_H_
#define HOPLA_BENCH_SELECTION_SWITCH_USER_H_

#include <cstdint>
#include <random>
#include <string>

#include "platform/sim/sim_desktop.h"

namespace hopla::selection {

struct HumanTiming {
  double reaction_ms = 250, reaction_sd_ms = 50;
  double short_ms = 120, short_sd_ms = 30;
  double long_ms = 600, long_sd_ms = 80;
  double gap_ms = 150, gap_sd_ms = 40;
};

// What a practised user knows of the settings they use.
struct Practice {
  double speed_px_per_ms = 0.05;  // the walk
  int32_t quiet_ms = 1000;        // from the last release to the code's run
  int32_t long_point_ms = 320;    // a press becomes long; the walk halts
};

struct Outcome {
  bool clicked = false;
  Point end;  // where the click landed, or where the cursor stood at the end
  int64_t time_ms = 0;
};

class SwitchUser {
 public:
  SwitchUser(sim::SimDesktop& desk, const Practice& practice, uint64_t seed,
             const HumanTiming& timing = {});

  // Walks the cursor onto `target` and clicks it there; gives up after
  // `limit_ms` of virtual time.
  Outcome Select(const Rect& target, int64_t limit_ms);

 private:
  enum Heading { kStanding = 0, kRight = 1, kDown = 2, kLeft = 3, kUp = 4 };

  double Sample(double mean, double sd, double least);
  // Reacts, then presses `marks` ('0' short, '1' long) with gaps; returns
  // at the last release.
  void Enter(const std::string& marks);
  // Watches until the cursor has visibly moved (the heading it goes) or
  // `timeout_ms` passed (standing).
  Heading WatchHeading(int64_t timeout_ms);
  // The codes that start a walk from standing towards `target`'s centre,
  // the first leg's heading.
  void StartWalk(Point at, Point centre, int32_t slack_px);
  // The code entered to turn from `from` to `to`, and what is seen after it.
  void Turn(Heading from, Heading to);
  bool ClickSeenSince(int64_t since_ms) const;

  sim::SimDesktop& desk_;
  Practice practice_;
  HumanTiming timing_;
  std::mt19937_64 random_;
  Heading heading_ = kStanding;
};

}  // namespace hopla::selection

#endif  // HOPLA_BENCH_SELECTION_SWITCH_USER_H_
