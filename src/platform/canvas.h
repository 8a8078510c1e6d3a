// What controls of our own paint with. Coordinates are device pixels of the
// surface; fonts are given at 96 dpi and scaled by the surface, so a control
// drawn at 150% is sharp rather than a stretched bitmap.
#ifndef HOPLA_PLATFORM_CANVAS_H_
#define HOPLA_PLATFORM_CANVAS_H_

#include <cstdint>
#include <string>

#include "platform/native_widget.h"
#include "platform/types.h"

namespace hopla {

struct Color {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

enum class SystemColor {
  kButtonFace,
  kButtonHighlight,
  kButtonShadow,
  kWindowText,
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  // The surface's width and height.
  virtual Point Size() const = 0;
  // A length given at 96 dpi, in the surface's pixels.
  virtual int32_t Scale(int32_t px_at_96_dpi) const = 0;
  virtual Color SystemColorOf(SystemColor which) const = 0;
  virtual void FillRect(const Rect& rect, Color color) = 0;
  // Width and height of `text` drawn in `font`.
  virtual Point TextExtent(const std::string& text, const FontArgs& font) = 0;
  // Draws `text` with its top-left corner at `at`, without a background.
  virtual void DrawString(Point at, const std::string& text,
                          const FontArgs& font, Color color) = 0;
};

}  // namespace hopla

#endif  // HOPLA_PLATFORM_CANVAS_H_
