// A canvas for tests: fills land in a grid of pixels, texts in a list. A
// character is half the font's height wide (ASCII) or as wide as it is high.
#ifndef HOPLA_TESTS_RECORDING_CANVAS_H_
#define HOPLA_TESTS_RECORDING_CANVAS_H_

#include <algorithm>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace hopla::testing {

inline constexpr Color kFace{240, 240, 240};
inline constexpr Color kLight{255, 255, 255};
inline constexpr Color kDark{160, 160, 160};
inline constexpr Color kText{0, 0, 0};
inline constexpr Color kUnpainted{1, 2, 3};

struct DrawnText {
  Point at;
  std::string text;
  Color color;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int32_t width, int32_t height, int32_t dpi = 96)
      : width_(width),
        height_(height),
        dpi_(dpi),
        pixels_(static_cast<size_t>(width * height), kUnpainted) {}

  Point Size() const override { return {width_, height_}; }
  int32_t Scale(int32_t px) const override { return px * dpi_ / 96; }
  Color SystemColorOf(SystemColor which) const override {
    switch (which) {
      case SystemColor::kButtonFace:
        return kFace;
      case SystemColor::kButtonHighlight:
        return kLight;
      case SystemColor::kButtonShadow:
        return kDark;
      case SystemColor::kWindowText:
        return kText;
    }
    return kText;
  }
  void FillRect(const Rect& r, Color color) override {
    for (int32_t y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y) {
      for (int32_t x = std::max(r.left, 0); x < std::min(r.right, width_);
           ++x) {
        pixels_[static_cast<size_t>(y * width_ + x)] = color;
      }
    }
  }
  Point TextExtent(const std::string& text, const FontArgs& font) override {
    const int32_t height = Scale(font.height_px);
    int32_t width = 0;
    for (unsigned char c : text) {
      if ((c & 0xC0) == 0x80) continue;
      width += c < 0x80 ? height / 2 : height;
    }
    return {width, height};
  }
  void DrawString(Point at, const std::string& text, const FontArgs&,
                  Color color) override {
    texts.push_back({at, text, color});
  }

  Color At(int32_t x, int32_t y) const {
    return pixels_[static_cast<size_t>(y * width_ + x)];
  }

  std::vector<DrawnText> texts;

 private:
  int32_t width_;
  int32_t height_;
  int32_t dpi_;
  std::vector<Color> pixels_;
};

}  // namespace hopla::testing

#endif  // HOPLA_TESTS_RECORDING_CANVAS_H_
