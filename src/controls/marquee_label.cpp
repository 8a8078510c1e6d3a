#include "controls/marquee_label.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "toolkit/application.h"

namespace hopla {

namespace {
int64_t RoundHalfToEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  auto result = static_cast<int64_t>(below);
  if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
  return result;
}
// A step up to half an interval early is not seen; sharing the heartbeat's
// wake-ups keeps the program cheap while it sits minimised. Just under
// half, so that a step never joins two wake-ups of a timer twice as fast.
int32_t StepSlackMs(int32_t speed_ms) { return speed_ms / 2 - 1; }
}  // namespace

int32_t MarqueeX(TDirection direction, int32_t step, int32_t steps,
                 int32_t label_width, int32_t travel) {
  const double f = static_cast<double>(step) / steps;
  const double way = static_cast<double>(label_width) + travel;
  const double at = direction == mlRightToLeft ? (1.0 - f) * way : f * way;
  return static_cast<int32_t>(RoundHalfToEven(at) - travel);
}

TMarqueeLabel::TMarqueeLabel(Application& app, Control& parent,
                             std::string name, const WidgetArgs& desc)
    : CustomControl(app, parent, std::move(name), desc),
      timer_(app.timers(), Name() + ".Timer", false, 100) {
  timer_.on_timer = [this](Component& sender) { DoMoving(sender); };
  timer_.SetSlack(StepSlackMs(speed_));
  shadow_.OnChange = [this](Component& sender) { ShadowChanged(sender); };
}

void TMarqueeLabel::Start(int32_t step) {
  if (timer_.Enabled()) return;
  current_step_ = step >= 0 && step <= steps_ ? step : 0;
  timer_.SetEnabled(true);
}

int32_t TMarqueeLabel::Stop() {
  timer_.SetEnabled(false);
  return current_step_;
}

void TMarqueeLabel::Reverse() {
  current_step_ = steps_ - current_step_;
  direction_ = direction_ == mlRightToLeft ? mlLeftToRight : mlRightToLeft;
}

void TMarqueeLabel::SetDirection(TDirection direction) {
  direction_ = direction;
}

void TMarqueeLabel::SetShadow(const TShadow& shadow) {
  // Quietly: the one repaint below stands for all four.
  NotifyEvent listener = std::move(shadow_.OnChange);
  shadow_.OnChange = nullptr;
  shadow_.SetColor(shadow.GetColor());
  shadow_.SetOffsetLeft(shadow.OffsetLeft());
  shadow_.SetOffsetTop(shadow.OffsetTop());
  shadow_.SetVisible(shadow.Visible());
  shadow_.OnChange = std::move(listener);
  Invalidate();
}

void TMarqueeLabel::SetSpeed(int32_t speed_ms) {
  if (speed_ms == speed_) return;
  speed_ = std::clamp(speed_ms, kMarqueeMinSpeedMs, kMarqueeMaxSpeedMs);
  timer_.SetInterval(speed_);
  timer_.SetSlack(StepSlackMs(speed_));
}

void TMarqueeLabel::SetSteps(int32_t steps) {
  if (steps == steps_) return;
  steps_ = std::max(steps, 1);
}

void TMarqueeLabel::SetText(const std::string& caption) {
  if (caption == Caption()) return;
  SetCaption(caption);
  Invalidate();
}

void TMarqueeLabel::DoMoving(Component& /*sender*/) {
  if (!timer_.Enabled()) return;
  if (current_step_ == 0 && OnBegin) OnBegin(*this);
  ++current_step_;
  if (OnStep) OnStep(*this);
  Invalidate();
  if (current_step_ >= steps_) {
    timer_.SetEnabled(false);
    if (OnEnd) OnEnd(*this);
    current_step_ = 0;
  }
}

void TMarqueeLabel::ShadowChanged(Component& /*sender*/) { Invalidate(); }

// Drawn in the canvas's pixels; the shadow's offsets are 96-dpi lengths.
void TMarqueeLabel::Paint(Canvas& canvas) {
  const Point size = canvas.Size();
  const Point text = canvas.TextExtent(Caption(), Font());
  const int32_t offset_left = canvas.Scale(shadow_.OffsetLeft());
  const int32_t offset_top = canvas.Scale(shadow_.OffsetTop());
  const int32_t travel = text.x + std::abs(offset_left);
  canvas.FillRect({0, 0, size.x, size.y},
                  canvas.SystemColorOf(SystemColor::kButtonFace));
  int32_t y = 0;
  if (size.y > text.y) {
    y = (size.y - text.y - (shadow_.Visible() ? offset_top : 0)) / 2;
  }
  int32_t x = MarqueeX(direction_, current_step_, steps_, size.x, travel);
  if (shadow_.Visible() && offset_left < 0) x -= offset_left;
  if (shadow_.Visible()) {
    canvas.DrawString({x + offset_left, y + offset_top}, Caption(), Font(),
                      shadow_.GetColor());
  }
  canvas.DrawString({x, y}, Caption(), Font(),
                    canvas.SystemColorOf(SystemColor::kWindowText));
}

}  // namespace hopla
