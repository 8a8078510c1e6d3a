// TMarqueeLabel: a label whose caption scrolls across it, one step per tick
// of its own timer, from one edge until it has left by the other, with a
// drop shadow. It reports the start, each step and the end of a pass, so
// that its owner can chain passes.
#ifndef HOPLA_CONTROLS_MARQUEE_LABEL_H_
#define HOPLA_CONTROLS_MARQUEE_LABEL_H_

#include <cstdint>
#include <string>

#include "controls/shadow.h"
#include "toolkit/custom_control.h"
#include "toolkit/timer.h"

namespace hopla {

enum TDirection { mlRightToLeft = 0, mlLeftToRight = 1 };

inline constexpr int32_t kMarqueeMinSpeedMs = 1;
inline constexpr int32_t kMarqueeMaxSpeedMs = 1000;

class TMarqueeLabel : public CustomControl {
 public:
  TMarqueeLabel(Application& app, Control& parent, std::string name,
                const WidgetArgs& desc);

  TDirection Direction() const { return direction_; }
  TShadow& Shadow() { return shadow_; }
  int32_t Speed() const { return speed_; }
  int32_t Steps() const { return steps_; }
  bool Running() const { return timer_.Enabled(); }

  int32_t GetCurrentStep() const { return current_step_; }
  // Runs from `step` (0 when outside 0..Steps); nothing while running.
  void Start(int32_t step);
  // Stops and returns the step reached, from which Start resumes.
  int32_t Stop();
  // Turns round where the caption stands.
  void Reverse();
  void SetDirection(TDirection direction);
  // Copies another shadow's values into this label's own.
  void SetShadow(const TShadow& shadow);
  // Milliseconds between steps, brought into 1..1000.
  void SetSpeed(int32_t speed_ms);
  // Steps in a pass, at least 1.
  void SetSteps(int32_t steps);
  // Repaints, as setting a caption does.
  void SetText(const std::string& caption);
  // The step timer's tick.
  void DoMoving(Component& sender);

  NotifyEvent OnBegin;
  NotifyEvent OnStep;
  NotifyEvent OnEnd;

 protected:
  void Paint(Canvas& canvas) override;

 private:
  void ShadowChanged(Component& sender);

  Timer timer_;
  TShadow shadow_;
  TDirection direction_ = mlRightToLeft;
  int32_t speed_ = 100;
  int32_t steps_ = 50;
  int32_t current_step_ = 0;
};

// The caption's left edge at `step` of `steps`, before the shadow's
// correction: `label_width` plus `travel` is the way from just beyond one
// edge to just beyond the other. Halves round to even.
int32_t MarqueeX(TDirection direction, int32_t step, int32_t steps,
                 int32_t label_width, int32_t travel);

}  // namespace hopla

#endif  // HOPLA_CONTROLS_MARQUEE_LABEL_H_
