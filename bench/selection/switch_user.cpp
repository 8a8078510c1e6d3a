#include "bench/selection/switch_user.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "bench/selection/switch_user_rules.h"
#include "motion/directions.h"
#include "motion/element_hop.h"

namespace hopla::selection {
namespace {

using user_rules::kLookMs;
using user_rules::kMostCodes;
using user_rules::kPressSeenMs;
using user_rules::kPushButton;

constexpr int32_t kSeenMovePx = 3;
// Aimed this far inside the target's edge.
constexpr int32_t kMarginPx = 2;
// How long the cursor may take to show what a code did.
constexpr int64_t kShowMarginMs = 1500;
constexpr int32_t kBoostFactor = 5;
// With the boost: switched on for a leg that takes longer than this at the
// set speed; off again this long (at the set speed) before the turn or
// stop.
constexpr double kBoostWorthMs = 5000;
constexpr double kBoostOffBeforeMs = 600;
// The heartbeat's tick and a step of the walk, beside the reaction's spread.
constexpr double kSpreadMarginPx = 4;

double Cross(double ax, double ay, double bx, double by) {
  return ax * by - ay * bx;
}

// The way (rx, ry) as a steps along u and then b along w.
struct Legs {
  double a;
  double b;
};
Legs Split(double rx, double ry, StepVector u, StepVector w) {
  const double det = Cross(u.dx, u.dy, w.dx, w.dy);
  return {Cross(rx, ry, w.dx, w.dy) / det, Cross(u.dx, u.dy, rx, ry) / det};
}

// The heading, 1 to `directions` clockwise from right (the screen's y grows
// downwards), nearest to a move of (dx, dy).
int32_t HeadingOf(int32_t dx, int32_t dy, int32_t directions) {
  const double sector = 2 * std::numbers::pi / directions;
  const int32_t n = static_cast<int32_t>(std::lround(
      std::atan2(static_cast<double>(dy), static_cast<double>(dx)) / sector));
  return (n + directions) % directions + 1;
}

}  // namespace

SwitchUser::SwitchUser(World& world, const Practice& practice, uint64_t seed,
                       const HumanTiming& timing)
    : world_(world), practice_(practice), timing_(timing), random_(seed) {}

double SwitchUser::Sample(double mean, double sd, double least) {
  std::normal_distribution<double> spread(mean, sd);
  return std::max(least, spread(random_));
}

void SwitchUser::Enter(const std::string& marks) {
  ++codes_;
  ++entered_;
  world_.Wait(
      std::llround(Sample(timing_.reaction_ms, timing_.reaction_sd_ms, 100)));
  const double longest_short = practice_.long_point_ms - 40.0;
  for (size_t i = 0; i < marks.size(); ++i) {
    const double hold =
        marks[i] == '1'
            ? Sample(timing_.long_ms, timing_.long_sd_ms,
                     practice_.long_point_ms + 80.0)
            : std::min(longest_short,
                       Sample(timing_.short_ms, timing_.short_sd_ms, 40));
    world_.Hold(std::llround(hold));
    if (i + 1 < marks.size()) {
      world_.Wait(std::llround(Sample(timing_.gap_ms, timing_.gap_sd_ms, 60)));
    }
  }
}

int32_t SwitchUser::WatchHeading(int64_t timeout_ms) {
  const Point from = world_.Cursor();
  for (int64_t waited = 0; waited < timeout_ms; waited += kLookMs) {
    world_.Wait(kLookMs);
    const Point at = world_.Cursor();
    const int32_t dx = at.x - from.x;
    const int32_t dy = at.y - from.y;
    if (std::max(std::abs(dx), std::abs(dy)) >= kSeenMovePx) {
      return HeadingOf(dx, dy, practice_.directions);
    }
  }
  return 0;
}

int32_t SwitchUser::AfterHop() {
  // The hop moves the cursor once and it stands; a walk that goes on (there
  // was nothing ahead) moves it again and again.
  constexpr int64_t kStillMs = 300;
  constexpr int64_t kLongestMs = 2000;
  constexpr int32_t kWalkingMoves = 3;
  Point last = world_.Cursor();
  int64_t still_ms = 0;
  int32_t moves = 0;
  for (int64_t waited = 0; waited < kLongestMs && still_ms < kStillMs;
       waited += kLookMs) {
    world_.Wait(kLookMs);
    const Point at = world_.Cursor();
    if (at == last) {
      still_ms += kLookMs;
      continue;
    }
    still_ms = 0;
    last = at;
    if (++moves >= kWalkingMoves) {
      return WatchHeading(practice_.quiet_ms + kShowMarginMs);
    }
  }
  return 0;
}

std::vector<std::string> SwitchUser::CodesFor(int32_t from, int32_t to) const {
  const int32_t n = practice_.directions;
  // "0" turns once, "00" twice; but "00" on a braking element only lets the
  // walk pass it.
  auto turns = [n, this](int32_t count) {
    count = (count % n + n) % n;
    if (single_turns_) {
      return std::vector<std::string>(static_cast<size_t>(count), "0");
    }
    std::vector<std::string> codes;
    if (count % 2 == 1) codes.push_back("0");
    for (int32_t i = 0; i < count / 2; ++i) codes.push_back("00");
    return codes;
  };
  if (from != 0) return turns(to - from);
  if (single_turns_) {
    std::vector<std::string> codes{"0"};
    for (const std::string& code : turns(to - 1)) codes.push_back(code);
    return codes;
  }
  // From standing "0" walks the first direction, "00" the second.
  std::vector<std::string> by_one{"0"};
  std::vector<std::string> by_two{"00"};
  for (const std::string& code : turns(to - 1)) by_one.push_back(code);
  for (const std::string& code : turns(to - 2)) by_two.push_back(code);
  return CostMs(by_one) <= CostMs(by_two) ? by_one : by_two;
}

double SwitchUser::CostMs(const std::vector<std::string>& codes) const {
  double ms = 0;
  for (const std::string& code : codes) {
    ms += timing_.reaction_ms + practice_.quiet_ms +
          static_cast<double>(code.size() - 1) * timing_.gap_ms;
    for (char mark : code) {
      ms += mark == '1' ? timing_.long_ms : timing_.short_ms;
    }
  }
  return ms;
}

double SwitchUser::Speed() const {
  return practice_.speed_px_per_ms * (boosted_ ? kBoostFactor : 1);
}

SwitchUser::Plan SwitchUser::PlanFrom(int32_t heading, Point at) const {
  const int32_t n = practice_.directions;
  const double rx = centre_.x - at.x;
  const double ry = centre_.y - at.y;
  Plan best{1, 0};
  double best_ms = std::numeric_limits<double>::infinity();
  for (int32_t h = 1; h <= n; ++h) {
    const StepVector u = StepFor(h, n);
    const double norm = std::hypot(u.dx, u.dy);
    const double turn_ms = h == heading ? 0 : CostMs(CodesFor(heading, h));
    const double along = (rx * u.dx + ry * u.dy) / norm;
    if (along > 0 && std::abs(Cross(u.dx, u.dy, rx, ry)) / norm <= slack_) {
      const double ms = turn_ms + along / norm / practice_.speed_px_per_ms;
      if (ms < best_ms) {
        best = {h, 0};
        best_ms = ms;
      }
    }
    // Two legs: this way, then the next direction either side.
    for (int32_t g : {h % n + 1, (h + n - 2) % n + 1}) {
      const Legs legs = Split(rx, ry, u, StepFor(g, n));
      if (legs.a <= 0 || legs.b <= 0) continue;
      const double ms = turn_ms + CostMs(CodesFor(h, g)) +
                        (legs.a + legs.b) / practice_.speed_px_per_ms;
      if (ms < best_ms) {
        best = {h, g};
        best_ms = ms;
      }
    }
  }
  return best;
}

void SwitchUser::Steer(int32_t to) {
  for (const std::string& code : CodesFor(heading_, to)) {
    Enter(code);
    heading_ = WatchHeading(practice_.quiet_ms + kShowMarginMs);
  }
}

void SwitchUser::Follow(Plan plan) {
  // Twice at most: each try costs codes, and a walk that keeps going astray
  // is looked at again on the next look anyway.
  for (int tries = 0; plan.first != heading_ && tries < 2; ++tries) {
    Steer(plan.first);
    if (heading_ == plan.first || heading_ == 0) break;
    plan = PlanFrom(heading_, HaltPoint(world_.Cursor()));
  }
  then_ = heading_ == plan.first ? plan.then : 0;
  then_after_ = heading_;
}

double SwitchUser::WalkOnMs(Point at) const {
  const StepVector u = StepFor(heading_, practice_.directions);
  const double rx = centre_.x - at.x;
  const double ry = centre_.y - at.y;
  double ms = CostMs({"1"});
  if (then_ == 0)
    return ms + (rx * u.dx + ry * u.dy) / (u.dx * u.dx + u.dy * u.dy) / Speed();
  const Legs legs = Split(rx, ry, u, StepFor(then_, practice_.directions));
  return ms + CostMs(CodesFor(heading_, then_)) +
         (std::abs(legs.a) + std::abs(legs.b)) / Speed();
}

Point SwitchUser::HaltPoint(Point at) const {
  const StepVector u = StepFor(heading_, practice_.directions);
  const double lead = Speed() * (timing_.reaction_ms + kPressSeenMs);
  return {at.x + static_cast<int32_t>(std::lround(u.dx * lead)),
          at.y + static_cast<int32_t>(std::lround(u.dy * lead))};
}

bool SwitchUser::OnButton(Point p) const {
  auto in = [p](const Rect& r) { return r.Contains(p); };
  return in(target_) || in(last_target_) ||
         std::any_of(buttons_.begin(), buttons_.end(), in);
}

bool SwitchUser::HopLands(Point from, int32_t heading) const {
  const StepVector u = StepFor(heading, practice_.directions);
  // Sure of it: wherever the press may halt the walk (two spreads of the
  // reaction time either way), and whichever of two equal buttons wins.
  const double spread = 2 * Speed() * timing_.reaction_sd_ms;
  for (double shift : {-spread, 0.0, spread}) {
    const Point halt{from.x + static_cast<int32_t>(std::lround(u.dx * shift)),
                     from.y + static_cast<int32_t>(std::lround(u.dy * shift))};
    for (bool reversed : {false, true}) {
      std::vector<ElementBox> boxes;
      for (const Rect& r : buttons_) boxes.push_back({r, kPushButton});
      if (reversed) std::reverse(boxes.begin(), boxes.end());
      const std::optional<Point> to = HopTarget(boxes, halt, u);
      if (!to || !target_.Contains(*to)) return false;
    }
  }
  return true;
}

void SwitchUser::WalkLook() {
  const Point at = world_.Cursor();
  // The hop, when it lands on the target and is quicker than walking on.
  if (practice_.hop && HopLands(HaltPoint(at), heading_) &&
      CostMs({"01"}) < WalkOnMs(at)) {
    Enter("01");
    world_.Wait(practice_.quiet_ms);
    heading_ = AfterHop();
    return;
  }
  // With the brake, the walk slows on every button; the person lets it pass
  // each one that is not the target with "00".
  if (practice_.brake && !target_.Contains(at)) {
    const auto on =
        std::find_if(buttons_.begin(), buttons_.end(),
                     [at](const Rect& r) { return r.Contains(at); });
    if (on != buttons_.end() && *on != passed_) {
      passed_ = *on;
      Enter("00");
      --codes_;  // no step towards giving up
      world_.Wait(practice_.quiet_ms + 50);
      return;
    }
  }
  single_turns_ = practice_.brake && OnButton(HaltPoint(at));
  const auto replan = [this, at] { Follow(PlanFrom(heading_, HaltPoint(at))); };
  if (codes_ >= kMostCodes) return Stop(false);
  // The walk goes another way than the second leg was planned after (a
  // code mistimed, "00" that turned instead of passing, an edge).
  if (then_ != 0 && heading_ != then_after_) return replan();
  const StepVector u = StepFor(heading_, practice_.directions);
  const double norm = std::hypot(u.dx, u.dy);
  const double rx = centre_.x - at.x;
  const double ry = centre_.y - at.y;
  const double lead = Speed() * (timing_.reaction_ms + kPressSeenMs);
  // How far to go on this leg, in steps of one pixel a side.
  double to_go = 0;
  if (then_ != 0) {
    const StepVector w = StepFor(then_, practice_.directions);
    to_go = Split(rx, ry, u, w).a;
    if (to_go * norm < -slack_) return replan();  // gone past the turn
    if (to_go <= lead) {
      Steer(then_);
      then_ = 0;
      return;
    }
  } else {
    to_go = (rx * u.dx + ry * u.dy) / (norm * norm);
    const double aside = std::abs(Cross(u.dx, u.dy, rx, ry)) / norm;
    if (to_go * norm < -slack_) return replan();  // gone past: back
    // With the brake the cursor slows on the target: wait until it is on.
    const bool now =
        practice_.brake ? to_go * norm <= slack_ - kMarginPx : to_go <= lead;
    // Sure of the halt: the brake holds the cursor on the target, or two
    // spreads of the reaction time either way stay on it.
    const bool sure =
        practice_.brake ||
        2 * Speed() * timing_.reaction_sd_ms + kSpreadMarginPx <= slack_;
    if (now) return aside <= slack_ ? Stop(sure) : replan();
  }
  if (practice_.boost) {
    const double base = practice_.speed_px_per_ms;
    const double off_at =
        kBoostFactor * base * (timing_.reaction_ms + kPressSeenMs) +
        base * kBoostOffBeforeMs;
    if (boosted_ == (to_go <= off_at) &&
        (boosted_ || to_go / base > kBoostWorthMs)) {
      Enter("000");
      boosted_ = !boosted_;
      heading_ = WatchHeading(practice_.quiet_ms + kShowMarginMs);
      return;
    }
  }
  // Watching the walk: it may turn by itself at the screen's edge.
  world_.Wait(kLookMs);
  const Point now_at = world_.Cursor();
  if (now_at == at) return;
  const int32_t seen =
      HeadingOf(now_at.x - at.x, now_at.y - at.y, practice_.directions);
  if (seen != heading_) {
    heading_ = seen;
    replan();
  }
}

void SwitchUser::Stop(bool sure) {
  const bool click = practice_.stop_click && sure;
  Enter(click ? "11" : "1");  // the code runs after the quiet time
  world_.Wait(practice_.quiet_ms + (click ? 100 : 50));
  heading_ = 0;
  stop_clicked_ = click;
}

Outcome SwitchUser::Select(const Rect& target, int64_t limit_ms,
                           const std::vector<Rect>& buttons) {
  const int64_t start = world_.NowMs();
  target_ = target;
  centre_ = {(target.left + target.right) / 2,
             (target.top + target.bottom) / 2};
  slack_ = std::max(1, target.Width() / 2 - kMarginPx);
  buttons_ = buttons;
  codes_ = 0;
  entered_ = 0;
  passed_ = {};
  then_ = 0;
  stop_clicked_ = false;
  const int64_t clicks_before = world_.Clicks();
  if (heading_ != 0 && practice_.step_pace_ms > 0) {
    steps_ = PlanSteps(heading_, world_.Cursor());
  } else if (heading_ != 0) {
    // Walking on from the last selection: its second leg, if the way it
    // plans goes on the way the walk goes.
    const Plan plan = PlanFrom(heading_, world_.Cursor());
    if (plan.first == heading_) then_ = plan.then;
    then_after_ = heading_;
  }
  while (world_.NowMs() - start < limit_ms) {
    if (heading_ != 0) {
      if (practice_.step_pace_ms > 0) {
        StepLook();
      } else {
        WalkLook();
      }
      if (stop_clicked_) {
        stop_clicked_ = false;
        if (world_.Clicks() > clicks_before) {
          last_target_ = target_;
          return {true, world_.Cursor(), world_.NowMs() - start, entered_};
        }
      }
      continue;
    }
    const Point at = world_.Cursor();
    if (codes_ >= kMostCodes || (std::abs(at.x - centre_.x) <= slack_ &&
                                 std::abs(at.y - centre_.y) <= slack_)) {
      const int64_t clicks = world_.Clicks();
      Enter("1");
      world_.Wait(practice_.quiet_ms + 100);
      if (world_.Clicks() > clicks) {
        last_target_ = target_;
        return {true, world_.Cursor(), world_.NowMs() - start, entered_};
      }
      continue;
    }
    single_turns_ = practice_.brake && OnButton(at);
    if (practice_.step_pace_ms > 0) {
      steps_ = PlanSteps(0, at);
      if (steps_.found) {
        Steer(steps_.first);
        landed_at_ = world_.Cursor();
        landed_ms_ = world_.NowMs();
        continue;
      }
    }
    Plan plan = PlanFrom(0, at);
    if (practice_.hop) {
      // The cheapest start whose hop lands on the target.
      double best_ms = std::numeric_limits<double>::infinity();
      for (int32_t h = 1; h <= practice_.directions; ++h) {
        const double ms = CostMs(CodesFor(0, h));
        if (ms < best_ms && HopLands(at, h)) {
          plan = {h, 0};
          best_ms = ms;
        }
      }
    }
    Follow(plan);
  }
  return {false, world_.Cursor(), world_.NowMs() - start, entered_};
}

}  // namespace hopla::selection
