#include "platform/win32/text_widgets.h"

#include <string>

#include "platform/win32/dpi.h"
#include "platform/win32/text_conv.h"

namespace hopla::win32 {
namespace {

constexpr wchar_t kStaticClass[] = L"STATIC";
constexpr wchar_t kEditClass[] = L"EDIT";
constexpr int kItalicLeanPx = 2;

}  // namespace

Win32Label::Win32Label(const WidgetArgs& desc, NativeWidget* parent,
                       WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap) {
  CreateChild(kStaticClass, SS_LEFT | SS_NOTIFY, 0, desc, parent);
  fit_text_ = desc.fit_text;
  FitText();
}

void Win32Label::SetCaption(const std::string& text) {
  Win32Widget::SetCaption(text);
  FitText();
}

void Win32Label::SetBounds(const Rect& bounds) {
  Win32Widget::SetBounds(bounds);
  FitText();
}

void Win32Label::Rescale(UINT dpi) {
  Win32Widget::Rescale(dpi);
  FitText();
}

void Win32Label::FitText() {
  if (!fit_text_ || window() == nullptr) return;
  const std::wstring text = Utf8ToWide(Text());
  HDC dc = GetDC(window());
  HGDIOBJ old = SelectObject(
      dc, reinterpret_cast<HFONT>(SendMessageW(window(), WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()),
                        &extent);
  SelectObject(dc, old);
  ReleaseDC(window(), dc);
  RECT r{};
  GetWindowRect(window(), &r);
  // An italic text leans out of its extent by a little.
  const int lean = ToDpi(kItalicLeanPx, dpi());
  SetWindowPos(window(), nullptr, 0, 0, extent.cx + lean, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Label::OnHoverMove(Point at) {
  Notify([at](WidgetEvents& e) { e.OnMouseMove(at); });
}

void Win32Label::OnCommand(UINT code) {
  if (code != STN_CLICKED) return;
  Notify([](WidgetEvents& e) { e.OnUserClicked(); });
}

Win32Edit::Win32Edit(const WidgetArgs& desc, NativeWidget* parent,
                     WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap) {
  CreateChild(kEditClass, ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE, desc, parent);
}

}  // namespace hopla::win32
