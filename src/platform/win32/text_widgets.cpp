#include "platform/win32/text_widgets.h"

namespace hopla::win32 {
namespace {

constexpr wchar_t kStaticClass[] = L"STATIC";
constexpr wchar_t kEditClass[] = L"EDIT";

}  // namespace

Win32Label::Win32Label(const WidgetArgs& desc, NativeWidget* parent,
                       WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap) {
  CreateChild(kStaticClass, SS_LEFT | SS_NOTIFY, 0, desc, parent);
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
