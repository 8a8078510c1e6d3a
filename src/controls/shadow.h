// TShadow: the drop shadow of a marquee label, which listens to its changes.
#ifndef HOPLA_CONTROLS_SHADOW_H_
#define HOPLA_CONTROLS_SHADOW_H_

#include <cstdint>

#include "platform/canvas.h"
#include "toolkit/component.h"

namespace hopla {

class TShadow : public Component {
 public:
  TShadow() : Component("Shadow") {}

  Color GetColor() const { return color_; }
  int32_t OffsetLeft() const { return offset_left_; }
  int32_t OffsetTop() const { return offset_top_; }
  bool Visible() const { return visible_; }

  // Each stores a new value and tells OnChange; the same value does nothing.
  void SetColor(Color color);
  void SetOffsetLeft(int32_t offset);
  void SetOffsetTop(int32_t offset);
  void SetVisible(bool visible);
  // Tells OnChange, when it is set.
  void Invalidate();

  NotifyEvent OnChange;

 private:
  Color color_{128, 128, 128};
  int32_t offset_left_ = 2;
  int32_t offset_top_ = 2;
  bool visible_ = true;
};

}  // namespace hopla

#endif  // HOPLA_CONTROLS_SHADOW_H_
