#include "platform/win32/button_widgets.h"

namespace hopla::win32 {
namespace {

constexpr wchar_t kButtonClass[] = L"BUTTON";
constexpr UINT_PTR kGroupBoxSubclassId = 1;

void SetCheckState(HWND window, bool checked) {
  // BM_SETCHECK sends no BN_CLICKED: code changes are not user actions.
  SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

Win32CheckBox::Win32CheckBox(const WidgetArgs& desc, NativeWidget* parent,
                             WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap) {
  CreateChild(kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP, 0, desc, parent);
  SetCheckState(window(), desc.checked);
}

void Win32CheckBox::SetChecked(bool checked) {
  SetCheckState(window(), checked);
}

void Win32CheckBox::OnCommand(UINT code) {
  if (code != BN_CLICKED) return;
  const bool checked = SendMessageW(window(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  Notify([checked](WidgetEvents& e) { e.OnUserChecked(checked); });
}

Win32RadioButton::Win32RadioButton(const WidgetArgs& desc, NativeWidget* parent,
                                   WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap) {
  CreateChild(kButtonClass, BS_RADIOBUTTON | WS_TABSTOP, 0, desc, parent);
  SetCheckState(window(), desc.checked);
}

void Win32RadioButton::SetChecked(bool checked) {
  SetCheckState(window(), checked);
}

void Win32RadioButton::OnCommand(UINT code) {
  if (code != BN_CLICKED) return;
  // A clicked radio button shows itself selected at once, whatever the
  // toolkit then does with its neighbours.
  SetCheckState(window(), true);
  Notify([](WidgetEvents& e) { e.OnUserChecked(true); });
}

Win32PushButton::Win32PushButton(const WidgetArgs& desc, NativeWidget* parent,
                                 WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap) {
  CreateChild(kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 0, desc, parent);
}

void Win32PushButton::OnCommand(UINT code) {
  if (code != BN_CLICKED) return;
  Notify([](WidgetEvents& e) { e.OnUserClicked(); });
}

Win32GroupBox::Win32GroupBox(const WidgetArgs& desc, NativeWidget* parent,
                             WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap),
      container_(dynamic_cast<Win32Widget*>(parent)) {
  // Clips its children and paints its own face below them; controls of the
  // form that lie over it are above it in the stack, and clicks pass through
  // the frame to them.
  CreateChild(kButtonClass, BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
              desc, parent);
  SetWindowSubclass(window(), &Win32GroupBox::SubclassProc, kGroupBoxSubclassId,
                    0);
}

int Win32GroupBox::TakeControlId() {
  return container_ != nullptr ? container_->TakeControlId() : 0;
}

Win32GroupBox::~Win32GroupBox() {
  if (IsWindow(window())) {
    RemoveWindowSubclass(window(), &Win32GroupBox::SubclassProc,
                         kGroupBoxSubclassId);
  }
}

LRESULT CALLBACK Win32GroupBox::SubclassProc(HWND window, UINT message,
                                             WPARAM wparam, LPARAM lparam,
                                             UINT_PTR /*id*/,
                                             DWORD_PTR /*data*/) {
  if (RouteChildNotification(message, wparam, lparam)) return 0;
  if (message == WM_ERASEBKGND) {
    // The system's frame leaves its inside unpainted.
    RECT r{};
    GetClientRect(window, &r);
    FillRect(reinterpret_cast<HDC>(wparam), &r,
             GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &Win32GroupBox::SubclassProc,
                         kGroupBoxSubclassId);
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace hopla::win32
