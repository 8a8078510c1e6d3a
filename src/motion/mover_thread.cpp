#include "motion/mover_thread.h"

#include "motion/directions.h"

namespace hopla {

void TMyThread::Execute() {
  while (!Terminated()) Pass();
  site_.MoverEnded();
}

void TMyThread::Pass() {
  const Point at = ReadCursor();
  if (site_.TurnAtEdges()) TurnAtEdges(at);
  const int32_t pixels = state_.StepPixels;
  const StepVector unit = StepFor(state_.Direction, state_.DirectionCount);
  state_.Moving = unit.moving;
  // While a code is being entered, one pass per execution.
  if (!state_.PressCode.Empty()) state_.MoverEvent->Wait(-1);
  if (unit.moving && state_.HoldTicks < state_.LongPressTicks) {
    const Point from = ReadCursor();
    if (site_.BrakeWanted()) ProbeBrake();
    const int32_t factor = state_.SpeedFactor;
    platform().SetCursorPos({from.x + unit.dx * pixels * factor,
                             from.y + unit.dy * pixels * factor});
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

void TMyThread::ProbeBrake() {
  // The brake's probe of the element under the cursor is built here.
}

}  // namespace hopla
