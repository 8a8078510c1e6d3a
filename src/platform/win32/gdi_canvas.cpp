#include "platform/win32/gdi_canvas.h"

#include "platform/win32/dpi.h"
#include "platform/win32/text_conv.h"

namespace hopla::win32 {

HFONT MakeFont(const FontSpec& font, UINT dpi) {
  // A negative height asks for the character height, not the cell height.
  return CreateFontW(
      -ToDpi(font.height_px, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
      font.italic ? TRUE : FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
      DEFAULT_PITCH | FF_DONTCARE, Utf8ToWide(font.face).c_str());
}

GdiCanvas::GdiCanvas(HDC dc, Point size, UINT dpi)
    : dc_(dc),
      size_(size),
      dpi_(dpi),
      original_font_(GetCurrentObject(dc, OBJ_FONT)) {
  SetBkMode(dc_, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
  SelectObject(dc_, original_font_);
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

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

void GdiCanvas::Select(const FontSpec& font) {
  const auto key =
      std::make_tuple(font.face, font.height_px, font.bold, font.italic);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) it = fonts_.emplace(key, MakeFont(font, dpi_)).first;
  if (it->second != nullptr) SelectObject(dc_, it->second);
}

Point GdiCanvas::TextExtent(const std::string& text, const FontSpec& font) {
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
  return Point{size.cx, size.cy};
}

void GdiCanvas::DrawString(Point at, const std::string& text,
                           const FontSpec& font, Color color) {
  Select(font);
  SetTextColor(dc_, RGB(color.red, color.green, color.blue));
  const std::wstring wide = Utf8ToWide(text);
  TextOutW(dc_, at.x, at.y, wide.c_str(), static_cast<int>(wide.size()));
}

}  // namespace hopla::win32
