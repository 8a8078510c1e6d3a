// TMyThread: walks the cursor one step per pass while the engine has a moving
// direction, turning back at the screen edges when asked, holding still while
// a press code is being entered and after a long press.
#ifndef HOPLA_MOTION_MOVER_THREAD_H_
#define HOPLA_MOTION_MOVER_THREAD_H_

#include <cstdint>

#include "engine/engine_state.h"
#include "motion/step_pacer.h"
#include "platform/platform.h"
#include "toolkit/thread.h"

namespace hopla {

// What the mover needs of the main window.
class MoverSite {
 public:
  virtual ~MoverSite() = default;
  virtual bool TurnAtEdges() const = 0;  // OrikaesiCheckBox
  // A brake strength other than none and at least one kind selected.
  virtual bool BrakeWanted() const = 0;
  // The thread's last act: the execution timer's countdown starts now.
  virtual void MoverEnded() = 0;
};

// Edge turning starts this close to the right and bottom edges.
inline constexpr int32_t kEdgeMarginPx = 10;
// ... and at or below this coordinate at the left and top.
inline constexpr int32_t kNearEdgePx = 1;

class TMyThread : public TThread {
 public:
  TMyThread(Platform& platform, EngineState& state, MoverSite& site)
      : TThread(platform), state_(state), site_(site) {}
  ~TMyThread() override = default;

  // Looks at what lies under the cursor and may lengthen StepDelay.
  void ProbeBrake();

 protected:
  void Execute() override;

 private:
  // One pass of the run loop.
  void Pass();
  Point ReadCursor();
  void TurnAtEdges(Point at);

  EngineState& state_;
  MoverSite& site_;
  StepPacer pacer_;
};

}  // namespace hopla

#endif  // HOPLA_MOTION_MOVER_THREAD_H_
