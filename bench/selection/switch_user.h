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

#include "platform/types.h"

namespace hopla::selection {

// What the user sees and does: the time, the cursor, the clicks so far, and
// the switch. On the simulated desktop time is virtual; under Wine it is
// real and the switch is the test switch.
class World {
 public:
  virtual ~World() = default;
  virtual int64_t NowMs() = 0;
  virtual void Wait(int64_t ms) = 0;
  // Holds the switch down for `ms`, returning at the release.
  virtual void Hold(int64_t ms) = 0;
  virtual Point Cursor() = 0;
  // Left clicks that have landed so far.
  virtual int64_t Clicks() = 0;
};

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
  SwitchUser(World& world, const Practice& practice, uint64_t seed,
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
  World& world_;
  Practice practice_;
  HumanTiming timing_;
  std::mt19937_64 random_;
  Heading heading_ = kStanding;
};

}  // namespace hopla::selection

#endif  // HOPLA_BENCH_SELECTION_SWITCH_USER_H_
