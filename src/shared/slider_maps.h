// What each position 1..8 of the four sliders stands for.
#ifndef HOPLA_SHARED_SLIDER_MAPS_H_
#define HOPLA_SHARED_SLIDER_MAPS_H_

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>

#include "shared/engine_state.h"

namespace hopla {

struct SpeedStep {
  int32_t step_delay_ms;
  int32_t step_pixels;
};

// Positions 1..4 move one pixel a step and shorten the pause; 5..8 lengthen
// the step and pause only 4 ms down to 1 ms.
inline constexpr std::array<SpeedStep, 8> kSpeedMap = {{
    {50, 1},
    {30, 1},
    {20, 1},
    {10, 1},
    {4, 2},
    {3, 3},
    {2, 4},
    {1, 5},
}};

// With the finer speeds, positions 5..8 walk 154, 200, 286 and 400 px/s:
// between 100 and 500 px/s lie the speeds a person can still stop on a small
// target at, and the map above has none of them.
inline constexpr std::array<SpeedStep, 4> kFineFastSpeeds = {{
    {13, 2},
    {5, 1},
    {7, 2},
    {5, 2},
}};

// The sliders keep their positions in 1..8, so a map never sees another;
// one that did would be read silently as the nearest end.
inline constexpr int32_t ClampPosition(int32_t position) {
  assert(position >= 1 && position <= 8 && "a slider position is 1..8");
  return std::clamp(position, 1, 8);
}
inline constexpr SpeedStep SpeedFor(int32_t position, bool fine = false) {
  const int32_t at = ClampPosition(position);
  if (fine && at > 4) return kFineFastSpeeds[static_cast<size_t>(at - 5)];
  return kSpeedMap[static_cast<size_t>(at - 1)];
}
// StepDelay and StepPixels as SpeedPosition maps them: the speed slider's
// change, and the brake's reset on the mover thread. The pause first: the
// mover may take one step with the new pause and the old size, never a long
// step at the short pause.
inline void ApplySpeedPosition(EngineState& state) {
  const SpeedStep speed = SpeedFor(state.SpeedPosition, state.FineSpeedsOn);
  state.StepDelay = speed.step_delay_ms;
  state.StepPixels = speed.step_pixels;
}

inline constexpr int32_t LongPressTicksFor(int32_t position) {
  return 10 * (ClampPosition(position) + 1);
}
inline constexpr int32_t ExecuteDelayFor(int32_t position) {
  return 200 * (ClampPosition(position) + 1);
}
inline constexpr int32_t PollIntervalFor(int32_t position) {
  return ClampPosition(position) + 3;
}

}  // namespace hopla

#endif  // HOPLA_SHARED_SLIDER_MAPS_H_
