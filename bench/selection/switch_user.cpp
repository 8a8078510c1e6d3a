#include "bench/selection/switch_user.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace hopla::selection {
namespace {

constexpr int64_t kLookMs = 10;
constexpr int32_t kSeenMovePx = 3;
// Aimed this far inside the target's edge.
constexpr int32_t kMarginPx = 2;
// The heartbeat sees a press within a tick, half a tick on average; the walk
// halts then (the press stops it) and waits for the code.
constexpr double kPressSeenMs = 25;
// How long the cursor may take to show what a code did.
constexpr int64_t kShowMarginMs = 1500;
constexpr int32_t kDirections = 4;
// After this many starts and turns for one target (at a speed too fast to
// stop or turn in time), a person stops and clicks where the cursor ends.
constexpr int32_t kMostTurns = 6;

}  // namespace

SwitchUser::SwitchUser(World& world, const Practice& practice, uint64_t seed,
                       const HumanTiming& timing)
    : world_(world), practice_(practice), timing_(timing), random_(seed) {}

double SwitchUser::Sample(double mean, double sd, double least) {
  std::normal_distribution<double> spread(mean, sd);
  return std::max(least, spread(random_));
}

void SwitchUser::Enter(const std::string& marks) {
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

SwitchUser::Heading SwitchUser::WatchHeading(int64_t timeout_ms) {
  const Point from = world_.Cursor();
  for (int64_t waited = 0; waited < timeout_ms; waited += kLookMs) {
    world_.Wait(kLookMs);
    const Point at = world_.Cursor();
    const int32_t dx = at.x - from.x;
    const int32_t dy = at.y - from.y;
    if (std::max(std::abs(dx), std::abs(dy)) >= kSeenMovePx) {
      if (std::abs(dx) >= std::abs(dy)) return dx > 0 ? kRight : kLeft;
      return dy > 0 ? kDown : kUp;
    }
  }
  return kStanding;
}

void SwitchUser::StartWalk(Point at, Point centre, int32_t slack_px) {
  const bool across = std::abs(centre.x - at.x) > slack_px;
  const bool down = std::abs(centre.y - at.y) > slack_px && centre.y > at.y;
  // From standing "0" walks right and "00" down; left and up take a second
  // code, entered as soon as the first shows.
  const char* codes[2] = {nullptr, nullptr};
  if (across && centre.x > at.x) {
    codes[0] = "0";
  } else if (down) {
    codes[0] = "00";
  } else if (across) {
    codes[0] = "00";
    codes[1] = "0";
  } else {
    codes[0] = "00";
    codes[1] = "00";
  }
  for (const char* code : codes) {
    if (code == nullptr) break;
    Enter(code);
    heading_ = WatchHeading(practice_.quiet_ms + kShowMarginMs);
  }
}

void SwitchUser::Turn(Heading from, Heading to) {
  const int32_t turns = (to - from + kDirections) % kDirections;
  // Three turns are one and then two: the walk goes the other way on the
  // new axis for a moment.
  if (turns == 3) {
    Enter("0");
    WatchHeading(practice_.quiet_ms + kShowMarginMs);
  }
  Enter(turns == 1 ? "0" : "00");
  heading_ = WatchHeading(practice_.quiet_ms + kShowMarginMs);
}

Outcome SwitchUser::Select(const Rect& target, int64_t limit_ms) {
  const int64_t start = world_.NowMs();
  const Point centre{(target.left + target.right) / 2,
                     (target.top + target.bottom) / 2};
  const int32_t slack = std::max(1, target.Width() / 2 - kMarginPx);
  heading_ = kStanding;
  int32_t turns = 0;
  bool gave_up = false;
  while (world_.NowMs() - start < limit_ms) {
    const Point at = world_.Cursor();
    if (heading_ == kStanding) {
      gave_up = gave_up || turns >= kMostTurns;
      if (gave_up || (std::abs(at.x - centre.x) <= slack &&
                      std::abs(at.y - centre.y) <= slack)) {
        const int64_t clicks = world_.Clicks();
        Enter("1");
        world_.Wait(practice_.quiet_ms + 100);
        if (world_.Clicks() > clicks) {
          return {true, world_.Cursor(), world_.NowMs() - start};
        }
        continue;
      }
      ++turns;
      StartWalk(at, centre, slack);
      continue;
    }
    const bool across = heading_ == kRight || heading_ == kLeft;
    const int32_t sign = heading_ == kRight || heading_ == kDown ? 1 : -1;
    const int32_t ahead =
        across ? (centre.x - at.x) * sign : (centre.y - at.y) * sign;
    const int32_t aside = across ? centre.y - at.y : centre.x - at.x;
    // Gone past: back the other way, or, after a few tries at a speed too
    // fast to stop in time, stop and click where it ends.
    if (ahead < -slack && turns < kMostTurns) {
      ++turns;
      Turn(heading_, static_cast<Heading>((heading_ + 1) % kDirections + 1));
      continue;
    }
    if (ahead < -slack) {
      Enter("1");
      world_.Wait(practice_.quiet_ms + 50);
      heading_ = kStanding;
      gave_up = true;
      continue;
    }
    const double lead =
        practice_.speed_px_per_ms * (timing_.reaction_ms + kPressSeenMs);
    if (ahead <= lead) {
      if (std::abs(aside) <= slack) {
        Enter("1");  // stop; the code runs after the quiet time
        world_.Wait(practice_.quiet_ms + 50);
        heading_ = kStanding;
      } else if (turns < kMostTurns) {
        ++turns;
        const Heading to =
            across ? (aside > 0 ? kDown : kUp) : (aside > 0 ? kRight : kLeft);
        Turn(heading_, to);
      } else {
        Enter("1");
        world_.Wait(practice_.quiet_ms + 50);
        heading_ = kStanding;
        gave_up = true;
      }
      continue;
    }
    // Watching the walk: it may turn by itself at the screen's edge.
    world_.Wait(kLookMs);
    const Point now_at = world_.Cursor();
    const int32_t dx = now_at.x - at.x;
    const int32_t dy = now_at.y - at.y;
    if (dx != 0 || dy != 0) {
      const Heading seen = std::abs(dx) >= std::abs(dy)
                               ? (dx > 0 ? kRight : kLeft)
                               : (dy > 0 ? kDown : kUp);
      if (seen != heading_) heading_ = seen;
    }
  }
  return {false, world_.Cursor(), world_.NowMs() - start};
}

}  // namespace hopla::selection
