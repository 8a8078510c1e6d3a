#include "platform/win32/gdi_canvas.h"

#include "platform/win32/dpi.h"
#include "platform/win32/text_conv.h"

namespace hopla::win32 {

HFONT MakeFont(const FontArgs& font, UINT dpi) {
  // A negative height asks for the character height, not the cell height.
  return CreateFontW(
      -ToDpi(font.height_px, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
      font.italic ? TRUE : FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
      DEFAULT_PITCH | FF_DONTCARE, Utf8ToWide(font.face).c_str());
}

HDC MemoryBitmap::Prepare(HDC like, SIZE size) {
  if (dc_ != nullptr && size_.cx == size.cx && size_.cy == size.cy) return dc_;
  Free();
  dc_ = CreateCompatibleDC(like);
  bitmap_ = CreateCompatibleBitmap(like, size.cx, size.cy);
  if (dc_ == nullptr || bitmap_ == nullptr) {
    Free();
    return nullptr;
  }
  old_ = SelectObject(dc_, bitmap_);
  size_ = size;
  return dc_;
}

void MemoryBitmap::CopyTo(HDC target) const {
  if (dc_ != nullptr)
    BitBlt(target, 0, 0, size_.cx, size_.cy, dc_, 0, 0, SRCCOPY);
}

void MemoryBitmap::Free() {
  if (dc_ != nullptr) {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  size_ = SIZE{0, 0};
}

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) {
    if (font != nullptr) DeleteObject(font);
  }
}

std::optional<Point> FontCache::Extent(const std::string& text,
                                       const FontArgs& font, UINT dpi) const {
  auto it = extents_.find({text, KeyOf(font, dpi)});
  if (it == extents_.end()) return std::nullopt;
  return it->second;
}

// Only the latest few stay: captions change seldom.
void FontCache::KeepExtent(const std::string& text, const FontArgs& font,
                           UINT dpi, Point extent) {
  constexpr size_t kMaxExtents = 16;
  if (extents_.size() >= kMaxExtents) extents_.clear();
  extents_[{text, KeyOf(font, dpi)}] = extent;
}

HFONT FontCache::Get(const FontArgs& font, UINT dpi) {
  const Key key = KeyOf(font, dpi);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) it = fonts_.emplace(key, MakeFont(font, dpi)).first;
  return it->second;
}

GdiCanvas::GdiCanvas(HDC dc, Point size, UINT dpi, FontCache& fonts)
    : dc_(dc),
      size_(size),
      dpi_(dpi),
      fonts_(fonts),
      original_font_(GetCurrentObject(dc, OBJ_FONT)) {
  SetBkMode(dc_, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() { SelectObject(dc_, original_font_); }

int32_t GdiCanvas::Scale(int32_t px_at_96_dpi) const {
  return ToDpi(px_at_96_dpi, dpi_);
}

Color GdiCanvas::SystemColorOf(SystemColor which) const {
  int index = COLOR_BTNFACE;
  switch (which) {
    case SystemColor::kButtonFace:
      index = COLOR_BTNFACE;
      break;
    case SystemColor::kButtonHighlight:
      index = COLOR_BTNHIGHLIGHT;
      break;
    case SystemColor::kButtonShadow:
      index = COLOR_BTNSHADOW;
      break;
    case SystemColor::kWindowText:
      index = COLOR_WINDOWTEXT;
      break;
  }
  const COLORREF c = GetSysColor(index);
  return Color{GetRValue(c), GetGValue(c), GetBValue(c)};
}

void GdiCanvas::FillRect(const Rect& rect, Color color) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  SetDCBrushColor(dc_, RGB(color.red, color.green, color.blue));
  ::FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiCanvas::Select(const FontArgs& font) {
  HFONT made = fonts_.Get(font, dpi_);
  if (made != nullptr) SelectObject(dc_, made);
}

Point GdiCanvas::TextExtent(const std::string& text, const FontArgs& font) {
  if (auto known = fonts_.Extent(text, font, dpi_)) return *known;
  Select(font);
  const std::wstring wide = Utf8ToWide(text);
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()),
                        &size);
  if (wide.empty()) {
    // The height of a line still counts when there is no text.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    size.cy = metrics.tmHeight;
  }
  fonts_.KeepExtent(text, font, dpi_, Point{size.cx, size.cy});
  return Point{size.cx, size.cy};
}

void GdiCanvas::DrawString(Point at, const std::string& text,
                           const FontArgs& font, Color color) {
  Select(font);
  SetTextColor(dc_, RGB(color.red, color.green, color.blue));
  const std::wstring wide = Utf8ToWide(text);
  TextOutW(dc_, at.x, at.y, wide.c_str(), static_cast<int>(wide.size()));
}

}  // namespace hopla::win32
