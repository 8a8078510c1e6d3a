// The peer of the application object: a top-level window of no size that
// carries the taskbar button with the application's title, and owns the
// forms (which therefore have no button of their own). Minimising the
// program minimises this window and hides the forms; restoring it shows them
// again, then tells the application.
#ifndef HOPLA_PLATFORM_WIN32_APP_WINDOW_H_
#define HOPLA_PLATFORM_WIN32_APP_WINDOW_H_

#include <vector>

#include "platform/win32/widget_base.h"

namespace hopla::win32 {

inline constexpr wchar_t kAppWindowClassName[] = L"HoplaApplication";

class Win32AppWindow final : public Win32Widget {
 public:
  // Created hidden. Throws std::system_error when the window cannot be made.
  Win32AppWindow(const WidgetArgs& desc, WidgetEvents* events,
                 ExceptionTrap& trap);

  void SetBounds(const Rect& /*bounds*/) override {}  // it has no size
  void Show(bool minimised) override;
  void Minimize() override;
  void Restore() override;
  bool IsMinimized() const override;

  // A form made for this application, to be shown when the application is
  // restored (it was shown minimised from the start).
  void ShowOnRestore(HWND form);

  void SetCursorOverride(CursorShape shape) override { cursor_ = shape; }
  CursorShape cursor_override() const { return cursor_; }

 private:
  bool HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                     LRESULT& result) override;
  bool HandleSysCommand(HWND window, WPARAM command, LRESULT& result);
  void HideForms();
  void ShowForms();
  // The first visible, enabled form, to take the focus given to this window.
  HWND ActiveForm() const;

  std::vector<HWND> hidden_forms_;
  bool minimised_ = false;
  CursorShape cursor_ = CursorShape::kNone;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_APP_WINDOW_H_
