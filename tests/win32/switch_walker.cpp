#include "switch_walker.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace hopla::wine_test {
namespace {

// A code runs 400 ms after its last release; the rest is room for a busy
// host.
constexpr int kWalkStartTimeoutMs = 4000;
// After a stop has run: long enough to see a walk that should not be.
constexpr int kSettleWatchMs = 300;
// More than the stray steps that movers released from their wait take when
// a code runs, so that those are not taken for a walk.
constexpr LONG kWalkSeenPx = 10;
// How often the cursor is looked at while it walks.
constexpr DWORD kLookMs = 1;
// Shorter readings of the speed are mostly the steps' granularity.
constexpr double kShortestReadingMs = 30;
// A cursor that has not moved for this long may not be walking: never press
// "1" then, which would click if it stood.
constexpr double kStalledMs = 100;
constexpr double kStallTimeoutMs = 3000;
// A whole screen's width at 100 px/s, with room.
constexpr double kLegTimeoutMs = 20000;
// Aim this far inside the target's edges.
constexpr LONG kMarginPx = 1;
// Beyond the distance a finish takes, how far to walk past a target before
// turning back, so that the way back is long enough to end on it.
constexpr LONG kRunUpPx = 10;
// Starts, turns and finishes for one target, and the time they may take
// together.
constexpr int kMostActions = 24;
constexpr double kWalkOntoTimeoutMs = 90000;
constexpr int kClickTries = 3;
// A press is long after a count of polls, not of milliseconds: on a busy
// host the polls come slower, so hold on well past the kit's long press.
// While the cursor walks no hold toggles key input mode.
constexpr int kStopHoldMs = 800;
// Standing, a hold must also stay clear of the key input mode toggle
// (about 0.7 s): a little past the kit's long press, well short of that.
constexpr int kClickHoldMs = 500;
// The box that a click opens or closes; far longer than it takes, so that
// "1" is not pressed again on whatever comes after.
constexpr int kClickedTimeoutMs = 4000;
// Delays outside this are a stalled host, not the switch's.
constexpr double kMostLagMs = 300;
constexpr DWORD kStillMs = 150;

constexpr const char* kHeadingNames[] = {"stands", "walks right", "walks down",
                                         "walks left", "walks up"};

// Headings by number, as the program turns them.
int Clockwise(int heading) { return heading % 4 + 1; }
LONG SignOf(int heading) { return heading == 1 || heading == 2 ? 1 : -1; }
bool IsVertical(int heading) { return heading == 2 || heading == 4; }

double NowMs() {
  using std::chrono::duration;
  using std::chrono::steady_clock;
  static const steady_clock::time_point start = steady_clock::now();
  return duration<double, std::milli>(steady_clock::now() - start).count();
}

POINT Cursor() {
  POINT at{};
  GetCursorPos(&at);
  return at;
}

}  // namespace

SwitchWalker::Heading SwitchWalker::Leg::Toward(LONG at) const {
  if (vertical) return Centre() > at ? kDown : kUp;
  return Centre() > at ? kRight : kLeft;
}

bool SwitchWalker::ClickOn(const RECT& target,
                           const std::function<bool()>& clicked) {
  char line[96];
  std::snprintf(line, sizeof(line), "target (%ld,%ld)-(%ld,%ld)", target.left,
                target.top, target.right, target.bottom);
  Log(line);
  const LONG margin_x =
      std::min(kMarginPx, (target.right - target.left - 1) / 2);
  const LONG margin_y =
      std::min(kMarginPx, (target.bottom - target.top - 1) / 2);
  const Leg across{false, target.left + margin_x, target.right - 1 - margin_x};
  const Leg down{true, target.top + margin_y, target.bottom - 1 - margin_y};
  for (int tries = 0; tries < kClickTries; ++tries) {
    if (!WalkOnto(across, down)) return false;
    const POINT at = Cursor();
    std::snprintf(line, sizeof(line), "click with \"1\" at (%ld,%ld)", at.x,
                  at.y);
    Log(line);
    hopla_.Press(kClickHoldMs);
    hopla_.AwaitExecution();
    // Taken for a short press, it starts a walk: bring the cursor back.
    if (Watch(kSettleWatchMs)) continue;
    if (WaitUntil(clicked, kClickedTimeoutMs)) return true;
    Log("the click did nothing");
  }
  return false;
}

bool SwitchWalker::WalkOnto(const Leg& across, const Leg& down) {
  const double end_ms = NowMs() + kWalkOntoTimeoutMs;
  for (int action = 0; action < kMostActions && NowMs() < end_ms; ++action) {
    const POINT at = Cursor();
    if (heading_ == kStanding) {
      const bool in_x = across.Holds(at.x);
      const bool in_y = down.Holds(at.y);
      if (in_x && in_y) {
        if (StandsStill()) return true;
        Watch(kWalkStartTimeoutMs);  // it walks after all
        continue;
      }
      Heading start = in_x ? down.Toward(at.y) : across.Toward(at.x);
      if (!in_x && !in_y) {
        // First the axis from which one clockwise "0" turns into the
        // other: right then down, down then left, left then up, up then
        // right.
        const Heading to_y = down.Toward(at.y);
        if (Clockwise(start) != to_y) start = to_y;
      }
      Start(start);
      continue;
    }
    const bool vertical = IsVertical(heading_);
    const Leg& leg = vertical ? down : across;
    const Leg& other = vertical ? across : down;
    const LONG other_at = vertical ? at.x : at.y;
    Heading then = kStanding;
    if (!other.Holds(other_at) &&
        Clockwise(heading_) == other.Toward(other_at)) {
      then = other.Toward(other_at);
    }
    switch (Approach(leg, then)) {
      case Outcome::kDone:
        break;
      case Outcome::kPassed:
        Enter("00");  // turn back
        break;
      case Outcome::kFailed:
        return false;
    }
  }
  Log("not there after all those steps");
  return false;
}

bool SwitchWalker::Start(Heading heading) {
  // Left and up are right and down turned back with "00".
  const bool right_first = heading == kRight || heading == kLeft;
  Enter(right_first ? "0" : "00");
  if ((heading == kLeft && heading_ == kRight) ||
      (heading == kUp && heading_ == kDown)) {
    Enter("00");
  }
  return heading_ != kStanding;
}

void SwitchWalker::Enter(const std::string& code) {
  hopla_.Enter(code);
  Watch(kWalkStartTimeoutMs);
}

bool SwitchWalker::Watch(int timeout_ms) {
  const POINT from = Cursor();
  Heading seen = kStanding;
  WaitUntil(
      [&] {
        const POINT at = Cursor();
        const LONG dx = at.x - from.x;
        const LONG dy = at.y - from.y;
        if (std::labs(dx) >= kWalkSeenPx) seen = dx > 0 ? kRight : kLeft;
        if (std::labs(dy) >= kWalkSeenPx) seen = dy > 0 ? kDown : kUp;
        return seen != kStanding;
      },
      timeout_ms);
  heading_ = seen;
  const POINT at = Cursor();
  char line[64];
  std::snprintf(line, sizeof(line), "%s at (%ld,%ld)", kHeadingNames[seen],
                at.x, at.y);
  Log(line);
  return seen != kStanding;
}

SwitchWalker::Outcome SwitchWalker::Approach(const Leg& leg, Heading then) {
  const LONG sign = SignOf(heading_);
  const double centre = leg.Centre();
  const Finish finish = then == kStanding ? kStop : kTurn;
  const double first_ms = NowMs();
  const LONG first = Along(leg);
  double moved_ms = first_ms;
  LONG last = first;
  for (double now_ms = first_ms; now_ms - first_ms < kLegTimeoutMs;
       now_ms = NowMs()) {
    const LONG here = Along(leg);
    if (here != last) {
      moved_ms = now_ms;
      last = here;
    }
    if (now_ms - moved_ms > kStallTimeoutMs) break;
    if (now_ms - first_ms >= kShortestReadingMs && (here - first) * sign > 0) {
      speed_ = (here - first) * sign / (now_ms - first_ms);
    }
    // Where the cursor would end if the switch went down now, against the
    // centre: a quarter of the band past it is still a good aim.
    const double stand = here + sign * speed_ * lag_ms_[finish];
    const double beyond = (stand - centre) * sign;
    if (speed_ > 0 && beyond >= -speed_ * kLookMs / 2) {
      if (beyond > (leg.high - leg.low) / 4.0) {
        // Too late: walk on past it, to come back with room.
        const double past = speed_ * lag_ms_[finish] + kWalkSeenPx + kRunUpPx;
        const bool room =
            WaitUntil([&] { return (Along(leg) - centre) * sign >= past; },
                      static_cast<int>(kLegTimeoutMs));
        Log(room ? "too late, walks past to turn back" : "too late, stuck");
        return room ? Outcome::kPassed : Outcome::kFailed;
      }
      if (now_ms - moved_ms <= kStalledMs) {
        FinishAt(here, leg, then);
        return Outcome::kDone;
      }
    }
    Sleep(kLookMs);
  }
  Log("the walk stalled");
  return Outcome::kFailed;
}

void SwitchWalker::FinishAt(LONG pressed_at, const Leg& leg, Heading then) {
  const LONG sign = SignOf(heading_);
  const Finish finish = then == kStanding ? kStop : kTurn;
  LONG stood = 0;
  bool as_meant = false;
  if (finish == kStop) {
    hopla_.Press(kStopHoldMs);
    stood = Along(leg);
    hopla_.AwaitExecution();  // the stop has run
    as_meant = !Watch(kSettleWatchMs);
  } else {
    hopla_.Press(kShortPressMs);
    Watch(kWalkStartTimeoutMs);
    stood = Along(leg);  // the walk on the other axis leaves this one
    as_meant = heading_ == then;
  }
  if (!as_meant) {
    Log("the press was taken otherwise");
    return;
  }
  const double lag =
      std::clamp((stood - pressed_at) * sign / speed_, 0.0, kMostLagMs);
  ++lag_count_[finish];
  lag_ms_[finish] += (lag - lag_ms_[finish]) / (lag_count_[finish] + 1);
  const bool hit = leg.Holds(stood);
  char line[128];
  std::snprintf(line, sizeof(line),
                "%s pressed at %ld ends at %ld (%s %ld..%ld): %.0f ms at "
                "%.3f px/ms",
                finish == kStop ? "stop \"1\"" : "turn \"0\"", pressed_at,
                stood, hit ? "in" : "OUTSIDE", leg.low, leg.high, lag, speed_);
  Log(line);
}

bool SwitchWalker::StandsStill() {
  const POINT from = Cursor();
  Sleep(kStillMs);
  const POINT to = Cursor();
  return from.x == to.x && from.y == to.y;
}

LONG SwitchWalker::Along(const Leg& leg) {
  const POINT at = Cursor();
  return leg.vertical ? at.y : at.x;
}

void SwitchWalker::Log(const std::string& line) {
  char stamp[24];
  std::snprintf(stamp, sizeof(stamp), "%7.0f ms  ", NowMs());
  log_ += stamp + line + "\n";
}

}  // namespace hopla::wine_test
