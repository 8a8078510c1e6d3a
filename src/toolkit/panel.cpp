#include "toolkit/panel.h"

namespace hopla {

Panel::Panel(Application& app, Control& parent, std::string name,
             const WidgetArgs& desc)
    : CustomControl(app, parent, std::move(name), desc) {}

void Panel::SetBevelOuter(Bevel bevel) {
  bevel_outer_ = bevel;
  Invalidate();
}

void Panel::SetBevelInner(Bevel bevel) {
  bevel_inner_ = bevel;
  Invalidate();
}

void DrawBevel(Canvas& canvas, Rect& rect, Bevel bevel, int32_t width) {
  if (bevel == Bevel::kNone) return;
  const Color light = canvas.SystemColorOf(SystemColor::kButtonHighlight);
  const Color dark = canvas.SystemColorOf(SystemColor::kButtonShadow);
  const Color top_left = bevel == Bevel::kRaised ? light : dark;
  const Color bottom_right = bevel == Bevel::kRaised ? dark : light;
  for (int32_t ring = 0; ring < width && rect.Width() > 0 && rect.Height() > 0;
       ++ring) {
    const Rect r = rect;
    canvas.FillRect({r.left, r.top, r.right - 1, r.top + 1}, top_left);
    canvas.FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, top_left);
    canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
    canvas.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottom_right);
    rect = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
}

void Panel::Paint(Canvas& canvas) {
  const Point size = canvas.Size();
  Rect rect{0, 0, size.x, size.y};
  const int32_t width = canvas.Scale(bevel_width_);
  DrawBevel(canvas, rect, bevel_outer_, width);
  DrawBevel(canvas, rect, bevel_inner_, width);
  canvas.FillRect(rect, canvas.SystemColorOf(SystemColor::kButtonFace));
  const Point text = canvas.TextExtent(Caption(), Font());
  const int32_t w_height = canvas.TextExtent("W", Font()).y;
  int32_t x = rect.left;
  if (alignment_ == Alignment::kCenter) {
    x = (size.x - text.x) / 2;
  } else if (alignment_ == Alignment::kRight) {
    x = rect.right - text.x;
  }
  const int32_t y = (size.y - w_height) / 2;
  canvas.DrawString({x, y}, Caption(), Font(),
                    canvas.SystemColorOf(SystemColor::kWindowText));
}

}  // namespace hopla
