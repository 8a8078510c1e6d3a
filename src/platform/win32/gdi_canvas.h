// The canvas of controls of our own on Win32: GDI on a memory bitmap, which
// the control's peer copies to the screen in one go, so nothing flickers.
#ifndef HOPLA_PLATFORM_WIN32_GDI_CANVAS_H_
#define HOPLA_PLATFORM_WIN32_GDI_CANVAS_H_

#include <map>
#include <string>
#include <tuple>

#include "platform/canvas.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {

// The font of `font` at `dpi`; the caller deletes it. Null when the system
// cannot make it.
HFONT MakeFont(const FontSpec& font, UINT dpi);

class GdiCanvas final : public Canvas {
 public:
  GdiCanvas(HDC dc, Point size, UINT dpi);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  Point Size() const override { return size_; }
  int32_t Scale(int32_t px_at_96_dpi) const override;
  Color SystemColorOf(SystemColor which) const override;
  void FillRect(const Rect& rect, Color color) override;
  Point TextExtent(const std::string& text, const FontSpec& font) override;
  void DrawString(Point at, const std::string& text, const FontSpec& font,
                  Color color) override;

 private:
  // Selects `font` into the DC, made once per canvas.
  void Select(const FontSpec& font);

  HDC dc_;
  Point size_;
  UINT dpi_;
  HGDIOBJ original_font_;
  std::map<std::tuple<std::string, int32_t, bool, bool>, HFONT> fonts_;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_GDI_CANVAS_H_
