// The simulated switch user with element stepping: the way over the
// buttons' landings, and presses timed to the dwell on each.
#include <algorithm>
#include <limits>

#include "bench/selection/switch_user.h"
#include "bench/selection/switch_user_rules.h"
#include "motion/directions.h"
#include "motion/element_hop.h"

namespace hopla::selection {
namespace {

using user_rules::kLookMs;
using user_rules::kMostCodes;
using user_rules::kPressSeenMs;
using user_rules::kPushButton;

// The landings a person looks ahead along a row.
constexpr int32_t kMostLandings = 16;

}  // namespace

std::vector<Point> SwitchUser::Landings(Point from, int32_t heading,
                                        int32_t most) const {
  std::vector<ElementBox> boxes;
  for (const Rect& r : buttons_) boxes.push_back({r, kPushButton});
  const StepVector u = StepFor(heading, practice_.directions);
  std::vector<Point> landings;
  while (static_cast<int32_t>(landings.size()) < most) {
    const std::optional<Point> to = HopTarget(boxes, from, u);
    if (!to) break;
    landings.push_back(*to);
    from = *to;
  }
  return landings;
}

SwitchUser::StepPlan SwitchUser::PlanSteps(int32_t heading, Point at) const {
  const int32_t n = practice_.directions;
  const double pace = practice_.step_pace_ms;
  StepPlan best;
  double best_ms = std::numeric_limits<double>::infinity();
  for (int32_t h = 1; h <= n; ++h) {
    const double turn_ms = h == heading ? 0 : CostMs(CodesFor(heading, h));
    const std::vector<Point> first = Landings(at, h, kMostLandings);
    for (size_t i = 0; i < first.size(); ++i) {
      const double ms = turn_ms + static_cast<double>(i) * pace;
      if (target_.Contains(first[i]) && ms < best_ms) {
        best = {h, first[i], 0, true};
        best_ms = ms;
      }
      for (int32_t g = 1; g <= n; ++g) {
        if (g == h) continue;
        const std::vector<Point> second = Landings(first[i], g, kMostLandings);
        for (size_t j = 0; j < second.size(); ++j) {
          const double two_ms =
              ms + CostMs(CodesFor(h, g)) + static_cast<double>(j) * pace;
          if (target_.Contains(second[j]) && two_ms < best_ms) {
            best = {h, first[i], g, true};
            best_ms = two_ms;
          }
        }
      }
    }
  }
  return best;
}

void SwitchUser::StepLook() {
  const Point at = world_.Cursor();
  const int64_t now = world_.NowMs();
  if (at != landed_at_) {
    landed_at_ = at;
    landed_ms_ = now;
  }
  if (codes_ >= kMostCodes) return Stop(false);
  const std::vector<Point> next = Landings(at, heading_, 1);
  const bool goal_next = !next.empty() && next[0] == steps_.corner;
  if (target_.Contains(at)) {
    steps_ = {heading_, at, 0, true};  // on it: stop here
  } else if (!(at == steps_.corner) && !goal_next) {
    // Not on the way planned (a press that came a step late, an edge):
    // plan again from here, turning here when the way goes another way.
    const StepPlan plan = PlanSteps(heading_, at);
    if (!plan.found) return Stop(false);
    steps_ = plan.first == heading_ ? plan
                                    : StepPlan{heading_, at, plan.first, true};
    if (!(at == steps_.corner) &&
        !(Landings(at, heading_, 1) == std::vector<Point>{steps_.corner})) {
      world_.Wait(kLookMs);
      return;
    }
  }
  // The press is aimed at the middle of the dwell on the goal, a reaction
  // time ahead.
  const double pace = practice_.step_pace_ms;
  const double press_at = static_cast<double>(landed_ms_) +
                          (at == steps_.corner ? 0.5 : 1.5) * pace;
  if (static_cast<double>(now) + timing_.reaction_ms < press_at) {
    world_.Wait(kLookMs);
    return;
  }
  if (steps_.then == 0) {
    // Sure the press comes before the next landing: two spreads of the
    // reaction time and a tick to spare.
    const double landing_ms =
        static_cast<double>(landed_ms_) + (at == steps_.corner ? 1 : 2) * pace;
    const double press_ms = static_cast<double>(now) + timing_.reaction_ms;
    return Stop(landing_ms - press_ms >=
                2 * timing_.reaction_sd_ms + 2 * kPressSeenMs);
  }
  const int32_t then = steps_.then;
  Steer(then);
  if (heading_ == then) {
    steps_ = PlanSteps(heading_, world_.Cursor());
    if (!steps_.found) Stop(false);
  }
}

}  // namespace hopla::selection
