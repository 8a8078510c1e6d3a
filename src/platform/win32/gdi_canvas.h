// The canvas of controls of our own on Win32: GDI on a memory bitmap, which
// the control's peer copies to the screen in one go, so nothing flickers.
#ifndef HOPLA_PLATFORM_WIN32_GDI_CANVAS_H_
#define HOPLA_PLATFORM_WIN32_GDI_CANVAS_H_

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "platform/canvas.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {

// The font of `font` at `dpi`; the caller deletes it. Null when the system
// cannot make it.
HFONT MakeFont(const FontArgs& font, UINT dpi);

// Fonts made once and kept for a control's whole life: making a font costs
// more than painting the banner with it.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  // The font of `font` at `dpi`, or null.
  HFONT Get(const FontArgs& font, UINT dpi);
  // The extent measured last for this text in this font, if any: the
  // banner measures the same long caption ten times a second.
  std::optional<Point> Extent(const std::string& text, const FontArgs& font,
                              UINT dpi) const;
  void KeepExtent(const std::string& text, const FontArgs& font, UINT dpi,
                  Point extent);

 private:
  using Key = std::tuple<std::string, int32_t, bool, bool, UINT>;
  static Key KeyOf(const FontArgs& font, UINT dpi) {
    return {font.face, font.height_px, font.bold, font.italic, dpi};
  }
  std::map<Key, HFONT> fonts_;
  std::map<std::pair<std::string, Key>, Point> extents_;
};

// A bitmap painted on and then copied to a window in one go, so nothing
// flickers; kept while its size stays.
class MemoryBitmap {
 public:
  MemoryBitmap() = default;
  ~MemoryBitmap() { Free(); }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  // The device context of a bitmap of `size`, compatible with `like`; null
  // when the system cannot make one.
  HDC Prepare(HDC like, SIZE size);
  void CopyTo(HDC target) const;
  SIZE size() const { return size_; }

 private:
  void Free();

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  SIZE size_{0, 0};
};

class GdiCanvas final : public Canvas {
 public:
  GdiCanvas(HDC dc, Point size, UINT dpi, FontCache& fonts);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  Point Size() const override { return size_; }
  int32_t Scale(int32_t px_at_96_dpi) const override;
  Color SystemColorOf(SystemColor which) const override;
  void FillRect(const Rect& rect, Color color) override;
  Point TextExtent(const std::string& text, const FontArgs& font) override;
  void DrawString(Point at, const std::string& text, const FontArgs& font,
                  Color color) override;

 private:
  void Select(const FontArgs& font);

  HDC dc_;
  Point size_;
  UINT dpi_;
  FontCache& fonts_;
  HGDIOBJ original_font_;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_GDI_CANVAS_H_
