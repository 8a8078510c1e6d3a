// TMyThread: walks the cursor one step per pass while the engine has a moving
// direction (or from element to element, when the person chose that),
// turning back at the screen edges when asked, holding still while a press
// code is being entered and after a long press.
#ifndef HOPLA_MOTION_MOVER_THREAD_H_
#define HOPLA_MOTION_MOVER_THREAD_H_

#include <cstdint>
#include <memory>

#include "motion/brake_prober.h"
#include "motion/directions.h"
#include "motion/mover_link.h"
#include "platform/platform.h"
#include "shared/engine_state.h"
#include "shared/step_pacer.h"
#include "toolkit/thread.h"

namespace hopla {

// Edge turning starts this close to the right and bottom edges.
inline constexpr int32_t kEdgeMarginPx = 10;
// ... and at or below this coordinate at the left and top.
inline constexpr int32_t kNearEdgePx = 1;

// The thread holds the state, the link and the prober it uses, so none of
// them goes away while it still runs.
class TMyThread : public TThread {
 public:
  TMyThread(Platform& platform, std::shared_ptr<EngineState> state,
            std::shared_ptr<MoverLink> link,
            std::shared_ptr<BrakeProber> prober)
      : TThread(platform),
        owned_state_(std::move(state)),
        state_(*owned_state_),
        link_(std::move(link)),
        prober_(std::move(prober)) {}
  ~TMyThread() override = default;

  // Hands the prober the place the cursor will have reached when its answer
  // comes and, from what the answers say lies at `to` (where this pass's
  // step lands), sets the brake and may lengthen StepDelay.
  void ProbeBrake(Point to);

 protected:
  void Execute() override;
  // One pass of the run loop.
  void Pass();

 private:
  Point ReadCursor();
  void TurnAtEdges(Point at);
  // Where this pass's step from `from` lands; TurnBack turns away from a
  // step that cannot go on.
  Point StepTarget(Point from) const;
  void TurnBack();
  Point Along(Point from, int64_t px) const;
  // With element stepping on: true when this pass was the stepping's.
  bool StepToElement(Point from, StepVector unit);

  std::shared_ptr<EngineState> owned_state_;
  EngineState& state_;
  std::shared_ptr<MoverLink> link_;
  std::shared_ptr<BrakeProber> prober_;
  StepPacer pacer_;
  // This pass's step, and when the last pass asked the prober.
  Point step_;
  int64_t last_probe_us_ = 0;
  int64_t last_request_us_ = 0;
};

}  // namespace hopla

#endif  // HOPLA_MOTION_MOVER_THREAD_H_
