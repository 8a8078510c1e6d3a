// A focusable face with an outer and an inner bevel and a caption: the base
// of buttons that draw their own look.
#ifndef HOPLA_TOOLKIT_PANEL_H_
#define HOPLA_TOOLKIT_PANEL_H_

#include <cstdint>
#include <string>

#include "toolkit/custom_control.h"

namespace hopla {

enum class Bevel { kNone, kRaised, kLowered };
enum class Alignment { kLeft, kCenter, kRight };

class Panel : public CustomControl {
 public:
  Panel(Application& app, Control& parent, std::string name,
        const WidgetArgs& desc);

  Bevel BevelOuter() const { return bevel_outer_; }
  Bevel BevelInner() const { return bevel_inner_; }
  int32_t BevelWidth() const { return bevel_width_; }
  Alignment CaptionAlignment() const { return alignment_; }
  // Every setting of a bevel repaints, also to the value it has.
  void SetBevelOuter(Bevel bevel);
  void SetBevelInner(Bevel bevel);

 protected:
  // Bevels from the outside in, the face in Color, the caption centred on
  // the height of a "W".
  void Paint(Canvas& canvas) override;

 private:
  Bevel bevel_outer_ = Bevel::kRaised;
  Bevel bevel_inner_ = Bevel::kNone;
  int32_t bevel_width_ = 1;
  Alignment alignment_ = Alignment::kCenter;
};

// Draws `width` rings of a bevel just inside `rect` and shrinks `rect` by
// them: a raised bevel is light at the top and left, dark at the bottom and
// right; a lowered one the other way round.
void DrawBevel(Canvas& canvas, Rect& rect, Bevel bevel, int32_t width);

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_PANEL_H_
