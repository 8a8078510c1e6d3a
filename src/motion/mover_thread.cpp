#include "motion/mover_thread.h"

#include <algorithm>
#include <cstdlib>

#include "motion/brake.h"
#include "motion/directions.h"
#include "motion/element_hop.h"
#include "shared/slider_maps.h"

namespace hopla {

namespace {
int32_t Sign(int32_t value) { return (value > 0) - (value < 0); }
}  // namespace

void TMyThread::Execute() {
  while (!Terminated()) Pass();
  link_->MoverEnded();
}

void TMyThread::Pass() {
  const Point at = ReadCursor();
  if (state_.TurnAtEdges) TurnAtEdges(at);
  const int32_t pixels = state_.StepPixels;
  StepVector unit = StepFor(state_.Direction, state_.DirectionCount);
  state_.Moving = unit.moving;
  // While a code is being entered, one pass per execution.
  const bool waits = !state_.PressCode.Empty();
  if (waits) {
    state_.MoverEvent->Wait(-1);
    // The execution may have stopped the walk, or moved the cursor.
    unit = StepFor(state_.Direction, state_.DirectionCount);
  }
  if (unit.moving && state_.HoldTicks < state_.LongPressTicks) {
    // Read again only after a wait: a read costs a quarter of the fastest
    // speed's millisecond under Wine, and nothing has moved in between.
    const Point from = waits ? ReadCursor() : at;
    if (state_.ElementStepOn && StepToElement(from, unit)) return;
    const int32_t factor = state_.SpeedFactor;
    step_ = {unit.dx * pixels * factor, unit.dy * pixels * factor};
    const Point to = StepTarget(from);
    if (BrakeWanted(state_)) ProbeBrake(to);
    if (to != from) {
      platform().SetCursorPos(to);
    } else if (state_.TurnAtEdges) {
      TurnBack();  // at an edge between monitors: as at the screen's edge
    }              // else it stays there, as at the screen's edge
  }
  // The delay is read after the step, so a brake acts in the same pass.
  const int32_t sleep_ms =
      pacer_.SleepAfterPass(platform().NowMicros(), state_.StepDelay);
  if (sleep_ms > 0) platform().Sleep(sleep_ms);
}

// The next element ahead at once when the walk starts or turns (the person
// chose this way), then one every StepPaceMs, so a person passes a row of
// buttons without a code for each and stops on theirs with "1" at leisure:
// a press holds the cursor where it is, and a code that leaves the way as it
// was keeps the rhythm. Where nothing lies ahead, the walk walks, and looks
// again every pace.
bool TMyThread::StepToElement(Point from, StepVector unit) {
  constexpr int64_t kMicrosPerMs = 1000;
  constexpr int32_t kLookSliceMs = 10;
  const int64_t pace_us =
      std::max<int64_t>(state_.StepPaceMs, 1) * kMicrosPerMs;
  const int32_t direction = state_.Direction;
  if (direction != state_.SteppedDirection ||
      platform().NowMicros() >= state_.NextStepUs) {
    const Rect screen{state_.ScreenLeft, state_.ScreenTop, state_.ScreenRight,
                      state_.ScreenBottom};
    // A look that a press cut short ends in a moment and is waited for. A
    // window that hangs keeps a look from ending: past the hop's wait the
    // walk walks meanwhile, and looks again, but a few looks left hanging
    // are all it starts, so their threads cannot pile up.
    constexpr int32_t kMostLooksHanging = 3;
    const int64_t now_us = platform().NowMicros();
    const int32_t unfinished = state_.LooksUnfinished;
    if (unfinished > 0 &&
        now_us - state_.LookStartedUs < kHopWaitMs * kMicrosPerMs) {
      platform().Sleep(kLookSliceMs);
      return true;
    }
    std::optional<std::vector<ElementBox>> elements;
    if (unfinished < kMostLooksHanging) {
      state_.LooksUnfinished.Add(1);
      state_.LookStartedUs = now_us;
      elements = FindElementsOffUi(
          platform(), AheadArea(from, unit, screen),
          [this] { return Terminated(); },
          [state = owned_state_] { state->LooksUnfinished.Add(-1); });
    }
    // A press while it looked: the walk halts where it is.
    if (Terminated()) return true;
    const std::optional<Point> to =
        elements ? HopTarget(*elements, from, unit) : std::nullopt;
    state_.NextStepUs = platform().NowMicros() + pace_us;
    state_.SteppedDirection = direction;
    state_.NothingAhead = !to;
    if (to) {
      platform().SetCursorPos(*to);
      state_.CursorX = to->x;
      state_.CursorY = to->y;
      // A jump never slows: "00" on an element turns, as on plain ground.
      state_.Braking = false;
      state_.BrakeReleased = false;
      ApplySpeedPosition(state_);
    }
  }
  if (state_.NothingAhead) return false;
  const int64_t left_us = state_.NextStepUs - platform().NowMicros();
  platform().Sleep(static_cast<int32_t>(
      std::clamp<int64_t>(left_us / kMicrosPerMs, 1, kLookSliceMs)));
  return true;
}

Point TMyThread::ReadCursor() {
  // A failed read leaves the last position.
  if (const auto pos = platform().CursorPos()) {
    state_.CursorX = pos->x;
    state_.CursorY = pos->y;
  }
  return {state_.CursorX, state_.CursorY};
}

void TMyThread::TurnAtEdges(Point at) {
  const int32_t count = state_.DirectionCount;
  // In this order: a later rule overrides an earlier one, so the vertical
  // rules win in a corner.
  if (at.x > state_.ScreenRight - kEdgeMarginPx)
    state_.Direction = LeftIn(count);
  if (at.x <= state_.ScreenLeft + kNearEdgePx)
    state_.Direction = kDirectionRight;
  if (at.y > state_.ScreenBottom - kEdgeMarginPx)
    state_.Direction = UpIn(count);
  if (at.y <= state_.ScreenTop + kNearEdgePx) state_.Direction = DownIn(count);
}

// With one monitor, where the step goes: the system keeps the cursor on the
// screen. With several, a step that would leave every monitor ends at the
// edge of the one it starts on, as at the screen's edge; `from` itself when
// it stands there already.
Point TMyThread::StepTarget(Point from) const {
  const Point to{from.x + step_.x, from.y + step_.y};
  if (state_.Monitors.empty()) return to;
  for (const Rect& m : state_.Monitors) {
    if (m.Contains(to)) return to;
  }
  for (const Rect& m : state_.Monitors) {
    if (m.Contains(from)) {
      return {std::clamp(to.x, m.left, m.right - 1),
              std::clamp(to.y, m.top, m.bottom - 1)};
    }
  }
  return to;  // off every monitor already: the system puts it back
}

// Away from the way the step went, by the edge rules' order.
void TMyThread::TurnBack() {
  const int32_t count = state_.DirectionCount;
  if (step_.x > 0) state_.Direction = LeftIn(count);
  if (step_.x < 0) state_.Direction = kDirectionRight;
  if (step_.y > 0) state_.Direction = UpIn(count);
  if (step_.y < 0) state_.Direction = DownIn(count);
}

// An answer comes a probe's time after its question. The prober is asked
// about the place where the step lands of the first pass that starts after
// the answer has come, at the pace the walk has now (the last pass's length,
// or longer when the delay has just grown): then the pass that steps onto an
// element already knows it, at any speed, as if probing took no time; while
// braking the pace is slow and the place is two steps on. Each answer tells
// of an element and where it lies, and the brake follows where the step
// lands: an element asked about and never reached slows nothing.
void TMyThread::ProbeBrake(Point to) {
  constexpr int64_t kMicrosPerMs = 1000;
  constexpr int64_t kMostAheadPx = 400;
  constexpr int64_t kAskEveryUs = 2000;
  const int64_t now_us = platform().NowMicros();
  const int64_t last_pass_us = now_us - last_probe_us_;
  last_probe_us_ = now_us;
  const int64_t pass_us = std::max(
      std::max<int64_t>(state_.StepDelay, 1) * kMicrosPerMs, last_pass_us);
  const int64_t step_px = std::max(std::abs(step_.x), std::abs(step_.y));
  // Passes until the answer is there, rounded up, and the step of the pass
  // after them.
  const int64_t passes = (prober_->ProbeMicros() + pass_us - 1) / pass_us + 1;
  const int64_t ahead_px = std::min(step_px * (passes + 1), kMostAheadPx);
  // At the fastest speeds not every pass asks: each question costs calls to
  // the system that the walk's own cursor calls would wait behind.
  if (now_us - last_request_us_ >= kAskEveryUs) {
    prober_->Request(Along({state_.CursorX, state_.CursorY}, ahead_px));
    last_request_us_ = now_us;
  }
  if (const std::optional<RoleReading> ground = prober_->GroundAt(to)) {
    ApplyBrakeReading(state_, *ground);
  }
}

// `px` ahead of `from` in this pass's direction, kept on the screen.
Point TMyThread::Along(Point from, int64_t px) const {
  const auto move = [px](int32_t at, int32_t step, int32_t begin, int32_t end) {
    const int64_t to = at + Sign(step) * px;
    return static_cast<int32_t>(std::clamp<int64_t>(to, begin, end - 1));
  };
  return {move(from.x, step_.x, state_.ScreenLeft, state_.ScreenRight),
          move(from.y, step_.y, state_.ScreenTop, state_.ScreenBottom)};
}

}  // namespace hopla
