#include "motion/mover_thread.h"

#include <algorithm>

#include "motion/brake.h"
#include "motion/directions.h"

namespace hopla {

void TMyThread::Execute() {
  while (!Terminated()) Pass();
  link_->MoverEnded();
}

void TMyThread::Pass() {
  const Point at = ReadCursor();
  if (link_->TurnAtEdges()) TurnAtEdges(at);
  const int32_t pixels = state_.StepPixels;
  const StepVector unit = StepFor(state_.Direction, state_.DirectionCount);
  state_.Moving = unit.moving;
  // While a code is being entered, one pass per execution.
  if (!state_.PressCode.Empty()) state_.MoverEvent->Wait(-1);
  ++passes_;
  if (unit.moving && state_.HoldTicks < state_.LongPressTicks) {
    const Point from = ReadCursor();
    const int32_t factor = state_.SpeedFactor;
    step_ = {unit.dx * pixels * factor, unit.dy * pixels * factor};
    if (link_->BrakeWanted()) ProbeBrake();
    platform().SetCursorPos({from.x + step_.x, from.y + step_.y});
  }
  // The delay is read after the step, so a brake acts in the same pass.
  const int32_t sleep_ms =
      pacer_.SleepAfterPass(platform().NowMicros(), state_.StepDelay);
  if (sleep_ms > 0) platform().Sleep(sleep_ms);
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
  if (at.x <= kNearEdgePx) state_.Direction = kDirectionRight;
  if (at.y > state_.ScreenBottom - kEdgeMarginPx)
    state_.Direction = UpIn(count);
  if (at.y <= kNearEdgePx) state_.Direction = DownIn(count);
}

// The answer about a place comes some passes after the question. Asking
// about the place the cursor will stand on when the answer is used lets the
// brake act on the pass that starts there, as if the probe took no time,
// at any speed; once braking, passes are long and that place is the next.
void TMyThread::ProbeBrake() {
  constexpr int64_t kMostPassesAhead = 50;
  const int64_t ahead = std::min(answer_passes_, kMostPassesAhead);
  const auto along = [ahead](int32_t from, int32_t step, int32_t end) {
    const int64_t to = from + step * ahead;
    return static_cast<int32_t>(std::clamp<int64_t>(to, 0, end - 1));
  };
  prober_->Request({along(state_.CursorX, step_.x, state_.ScreenRight),
                    along(state_.CursorY, step_.y, state_.ScreenBottom)},
                   passes_);
  if (const auto answer = prober_->TakeAnswer()) {
    answer_passes_ = std::max<int64_t>(passes_ - answer->ticket, 1);
    ApplyBrakeReading(state_, answer->reading,
                      [this] { link_->ApplySpeedBar(); });
  }
}

}  // namespace hopla
