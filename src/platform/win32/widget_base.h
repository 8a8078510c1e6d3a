// What every native control peer shares: its window, its font, its hint in
// the form's tooltip, and the routing of a child's notifications (which the
// system sends to the parent window) back to the child's own peer.
#ifndef HOPLA_PLATFORM_WIN32_WIDGET_BASE_H_
#define HOPLA_PLATFORM_WIN32_WIDGET_BASE_H_

#include <string>

#include "platform/native_widget.h"
#include "platform/win32/exception_trap.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {

class Win32Widget : public NativeWidget {
 public:
  // `events` may be null (nothing is told); `trap` outlives the widget.
  Win32Widget(WidgetEvents* events, ExceptionTrap& trap);
  // Destroys the window if it still exists; no event reaches this peer
  // afterwards.
  ~Win32Widget() override;
  Win32Widget(const Win32Widget&) = delete;
  Win32Widget& operator=(const Win32Widget&) = delete;

  WindowHandle Handle() const override;
  void SetCaption(const std::string& text) override;
  std::string Text() const override;
  void SetBounds(const Rect& bounds) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetHint(const std::string& hint) override;
  // Kinds without a checked state or a position ignore these.
  void SetChecked(bool /*checked*/) override {}
  void SetPosition(int32_t /*position*/) override {}
  // Only forms show, minimise and restore themselves.
  void Show(bool /*minimised*/) override {}
  void Minimize() override {}
  void Restore() override {}
  bool IsMinimized() const override { return false; }
  void Destroy() override;

  HWND window() const { return window_; }
  // The DPI the window is laid out for; bounds and fonts are 96-dpi values
  // scaled to it.
  UINT dpi() const { return dpi_; }
  // Lays the window out again for `dpi`: place, size and font.
  virtual void Rescale(UINT dpi);
  // The pointer moved over this control (labels tell their model).
  virtual void OnHoverMove(Point /*at*/) {}
  // A mnemonic typed in the form; true when this control took it.
  virtual bool TakeMnemonic(uint32_t /*character*/) { return false; }
  // For a control about to be made inside this one: the next id in the
  // form's order of creation. Only forms and frames hold controls.
  virtual int TakeControlId() { return 0; }
  // The form's tooltip, shared by every control on it.
  HWND tooltip() const { return tooltip_; }

  // For the window procedure of a parent (form or group box): hands
  // WM_COMMAND and WM_HSCROLL from a child control to the child's peer.
  // Returns true when the message was a child's and has been handled.
  static bool RouteChildNotification(UINT message, WPARAM wparam,
                                     LPARAM lparam);

 protected:
  // Takes ownership of `window` and marks it as this peer's.
  void Attach(HWND window, HWND tooltip);
  // Gives the window `font` at the peer's DPI, and keeps it for a rescale.
  void ApplyFont(const FontArgs& font);
  void SetDpi(UINT dpi) { dpi_ = dpi; }
  // The 96-dpi place and size last given.
  const Rect& logical_bounds() const { return bounds_; }
  void set_logical_bounds(const Rect& bounds) { bounds_ = bounds; }
  static Win32Widget* FromWindow(HWND window);
  // Makes the child window of a control, takes it, and gives it the
  // control's font and hint.
  void CreateChild(const wchar_t* window_class, DWORD style, DWORD ex_style,
                   const WidgetArgs& desc, NativeWidget* parent);
  // A notification code from WM_COMMAND, or a WM_HSCROLL.
  virtual void OnCommand(UINT /*code*/) {}
  virtual void OnScroll() {}
  // The procedure of a top-level window of ours (a form, the application's
  // window): hands every message to the peer's HandleMessage, the rest to
  // the system.
  static LRESULT CALLBACK TopLevelWindowProc(HWND window, UINT message,
                                             WPARAM wparam, LPARAM lparam);
  // Handles what a top-level peer handles itself; false for the rest.
  virtual bool HandleMessage(HWND /*window*/, UINT /*message*/,
                             WPARAM /*wparam*/, LPARAM /*lparam*/,
                             LRESULT& /*result*/) {
    return false;
  }
  // Runs a WidgetEvents call through the trap; nothing when there is no
  // receiver.
  template <typename Fn>
  void Notify(Fn&& fn) {
    if (events_ != nullptr) trap_.Run([&] { fn(*events_); });
  }
  // Passes on what an event handler threw during a call that made the
  // system send us messages.
  void RethrowPending() { trap_.RethrowPending(); }
  ExceptionTrap& exception_trap() { return trap_; }
  WidgetEvents* receiver() { return events_; }

 private:
  WidgetEvents* events_;
  ExceptionTrap& trap_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;
  FontArgs font_args_;
  Rect bounds_;
  UINT dpi_ = 96;
};

// A child control's window, or throws std::system_error. `parent` is the
// form or group box peer the control lives in.
HWND CreateChildWindow(const wchar_t* window_class, DWORD style, DWORD ex_style,
                       const WidgetArgs& desc, NativeWidget* parent);

// Registers the class of a top-level window of ours (a form, the
// application's window), with the program's icon; a class registered
// already is fine. Its procedure is DefWindowProcW until the peer takes its
// window over (TopLevelWindowProc).
void RegisterTopLevelClass(const wchar_t* name, HBRUSH background);

// The form's or group box's tooltip, for a child created inside it.
HWND TooltipOf(NativeWidget* parent);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_WIDGET_BASE_H_
