// The peer of a form: a top-level window with a fixed single border, a system
// menu and a minimise box, whose client area has exactly the asked size. A
// form of the application is owned by the application's window: minimising
// it minimises the application.
#ifndef HOPLA_PLATFORM_WIN32_FORM_WIDGET_H_
#define HOPLA_PLATFORM_WIN32_FORM_WIDGET_H_

#include "platform/win32/app_window.h"
#include "platform/win32/control_order.h"
#include "platform/win32/widget_base.h"

namespace hopla::win32 {

inline constexpr wchar_t kFormClassName[] = L"HoplaForm";

class Win32Form final : public Win32Widget {
 public:
  // Created hidden; Show makes it appear. `parent` is the application's
  // window, or null for a form of its own. Throws std::system_error when the
  // window cannot be made.
  Win32Form(const WidgetArgs& desc, NativeWidget* parent, WidgetEvents* events,
            ExceptionTrap& trap);

  // Keeps the window's position and gives it this client size.
  void SetBounds(const Rect& bounds) override;
  void Rescale(UINT dpi) override;
  void SetVisible(bool visible) override;
  void Show(bool minimised) override;
  void Minimize() override;
  void Restore() override;
  bool IsMinimized() const override;
  int TakeControlId() override { return next_control_id_++; }
  void SetMenuItemChecked(uint32_t command, bool checked) override;
  bool RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t key) override;

  // For the message loop, before a message is dispatched: keyboard
  // navigation inside a form (Tab, arrows, Enter, Escape). Returns true when
  // the message was consumed.
  static bool HandleDialogKey(MSG& msg);

 private:
  enum class ShowState { kHidden, kNormal, kMinimised };

  // Handles the messages the toolkit hears about; false for the rest.
  bool HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                     LRESULT& result) override;
  void HandleMinMaxInfo(MINMAXINFO& info);
  void HandleDpiChanged(HWND window, UINT dpi, const RECT& suggested);
  bool HandleSetCursor(HWND window, HWND over, UINT hit, UINT mouse,
                       LRESULT& result);
  static bool HandleMnemonic(HWND root, WPARAM character);
  // The form's own font and every control's, at the form's DPI.
  void RescaleControls();
  static bool IsForm(HWND window);
  // Called after every position or visibility change.
  void NoteShowState(HWND window);

  Win32AppWindow* app_;  // outlives the form; may be null
  FontArgs font_;
  ShowState show_state_ = ShowState::kHidden;
  int next_control_id_ = kFirstControlId;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_FORM_WIDGET_H_
