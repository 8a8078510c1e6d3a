// The area the walk covers. With one monitor it is the desktop window's
// rectangle, as it always was; with several, the box around them all, and a
// step onto no monitor (a gap between monitors of different sizes) counts
// as an edge.
#ifndef HOPLA_MOTION_SCREEN_BOUNDS_H_
#define HOPLA_MOTION_SCREEN_BOUNDS_H_

#include <algorithm>
#include <vector>

#include "shared/engine_state.h"

namespace hopla {

// Before any mover thread starts.
inline void UseMonitors(EngineState& state, const std::vector<Rect>& monitors) {
  if (monitors.size() < 2) return;
  Rect box = monitors.front();
  for (const Rect& m : monitors) {
    box = {std::min(box.left, m.left), std::min(box.top, m.top),
           std::max(box.right, m.right), std::max(box.bottom, m.bottom)};
  }
  state.ScreenLeft = box.left;
  state.ScreenTop = box.top;
  state.ScreenRight = box.right;
  state.ScreenBottom = box.bottom;
  state.Monitors = monitors;
}

}  // namespace hopla

#endif  // HOPLA_MOTION_SCREEN_BOUNDS_H_
