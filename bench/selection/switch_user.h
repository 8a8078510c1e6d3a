// A practised person who has only the switch, on the simulated desktop:
// watches the cursor and the target, starts the walk, turns, stops on the
// target and clicks, pressing with human timing (a reaction time before each
// decision's first press, presses and gaps of varying length). Random
// numbers start from a fixed seed, so a run repeats exactly. It reads only
// what a person sees (the cursor, the target, the buttons on the screen,
// whether a click happened) and knows its settings and the program's rules
// as a practised user does; never the engine's state.
#ifndef HOPLA_BENCH_SELECTION_SWITCH_USER_H_
#define HOPLA_BENCH_SELECTION_SWITCH_USER_H_

#include <cstdint>
#include <random>
#include <string>
#include <vector>

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
// A slower user beside the practised one: reaction 600 +- 200 ms, and
// presses and gaps twice as variable.
inline constexpr HumanTiming kSlowerUser{600, 200, 120, 60, 600, 160, 150, 80};

// What a practised user knows of the settings they use, and how they use
// them.
struct Practice {
  double speed_px_per_ms = 0.05;  // the walk, per step of one pixel a side
  int32_t quiet_ms = 1000;        // from the last release to the code's run
  int32_t long_point_ms = 320;    // a press becomes long; the walk halts
  int32_t directions = 4;         // 4 or 8
  // The target slows the walk (it answers as a push button and the brake is
  // on for those): the person waits until the cursor is on it.
  bool brake = false;
  // The fivefold boost ("000") on a long leg, off again before the target.
  bool boost = false;
  // "01" while walking hops to the next button ahead.
  bool hop = false;
  // "11" while walking stops and clicks: used when the halt is sure to be on
  // the target.
  bool stop_click = false;
  // The walk steps from button to button at this pace (0: it walks).
  int32_t step_pace_ms = 0;
};

struct Outcome {
  bool clicked = false;
  Point end;  // where the click landed, or where the cursor stood at the end
  int64_t time_ms = 0;
  int32_t codes = 0;  // every code entered for it
};

class SwitchUser {
 public:
  SwitchUser(World& world, const Practice& practice, uint64_t seed,
             const HumanTiming& timing = {});

  // Walks the cursor onto `target` and clicks it there; gives up after
  // `limit_ms`. `buttons` are the buttons on the screen (the target among
  // them or not), which the hop goes to.
  Outcome Select(const Rect& target, int64_t limit_ms,
                 const std::vector<Rect>& buttons = {});

 private:
  // The way to the target: walk `first`, then, when the target lies in
  // line, turn to `then` (0: one leg only).
  struct Plan {
    int32_t first = 0;
    int32_t then = 0;
  };

  double Sample(double mean, double sd, double least);
  // Reacts, then presses `marks` ('0' short, '1' long) with gaps; returns
  // at the last release.
  void Enter(const std::string& marks);
  // Watches until the cursor has visibly moved (the heading it goes, 1 to
  // the number of directions) or `timeout_ms` passed (0, standing).
  int32_t WatchHeading(int64_t timeout_ms);
  // After "01": standing (0) once the cursor has landed, or the heading of
  // the walk when it goes on.
  int32_t AfterHop();
  // The codes that go from heading `from` (0: standing) to `to`.
  std::vector<std::string> CodesFor(int32_t from, int32_t to) const;
  double CostMs(const std::vector<std::string>& codes) const;
  // The quickest way from `at` walking `heading` (0: standing).
  Plan PlanFrom(int32_t heading, Point at) const;
  // Enters the codes to `to`, and sees what the walk does.
  void Steer(int32_t to);
  // Steers into the plan's first direction and keeps its second leg. When
  // the walk ends on another heading (a press mistimed, a turn at an edge),
  // the way is planned again from there: a second leg planned for another
  // first one may run parallel to the walk and never meet the target.
  void Follow(Plan plan);
  // How long walking on to the target and stopping there would take.
  double WalkOnMs(Point at) const;
  // Where the cursor halts if a press starts after a reaction time now.
  Point HaltPoint(Point at) const;
  // Whether `p` lies on a button, the target or the last target.
  bool OnButton(Point p) const;
  // Whether "01" now (walking `heading`, halting at `from`) lands on the
  // target.
  bool HopLands(Point from, int32_t heading) const;
  // One look while walking; false when the walk stopped.
  void WalkLook();
  // Stops where the walk halts, clicking too when the stop with a click is
  // on and the halt sure to be on the target.
  void Stop(bool sure);
  // With element stepping: the landings of the walk from `from` going
  // `heading`, nearest first, at most `most`.
  std::vector<Point> Landings(Point from, int32_t heading, int32_t most) const;
  // The quickest way over the buttons from `at` (walking `heading`, 0:
  // standing): the first heading, where to turn and the second (0: none).
  struct StepPlan {
    int32_t first = 0;
    Point corner;
    int32_t then = 0;
    bool found = false;
  };
  StepPlan PlanSteps(int32_t heading, Point at) const;
  // One look while the walk steps; the person presses during the dwell on
  // the button where the next code is due, timing the press to its middle.
  void StepLook();
  double Speed() const;

  World& world_;
  Practice practice_;
  HumanTiming timing_;
  std::mt19937_64 random_;
  // The selection under way.
  Rect target_;
  Point centre_;
  int32_t slack_ = 0;
  std::vector<Rect> buttons_;
  int32_t codes_ = 0;    // codes entered for it, towards giving up
  int32_t entered_ = 0;  // every code entered for it
  Rect last_target_;
  Rect passed_;  // the button last let pass with the brake
  // Turns are entered one at a time ("00" would pass a braking element).
  bool single_turns_ = false;
  // What the person knows of the walk.
  int32_t heading_ = 0;
  int32_t then_ = 0;
  int32_t then_after_ = 0;  // the heading `then_` was planned to follow
  bool boosted_ = false;
  bool stop_clicked_ = false;  // "11" entered: the click is under way
  // Element stepping: where the next code is due, and when the cursor last
  // landed.
  StepPlan steps_;
  Point landed_at_;
  int64_t landed_ms_ = 0;
};

}  // namespace hopla::selection

#endif  // HOPLA_BENCH_SELECTION_SWITCH_USER_H_
