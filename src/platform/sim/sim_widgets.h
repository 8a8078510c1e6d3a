// The native peers of toolkit controls on the simulated desktop: each
// remembers its state; a form is also a top-level window of the desktop.
// Tests read the state, and act as the person would (UserClick, ...) from a
// SimProcess::At action, on the program's UI thread.
#ifndef HOPLA_PLATFORM_SIM_SIM_WIDGETS_H_
#define HOPLA_PLATFORM_SIM_SIM_WIDGETS_H_

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "platform/native_widget.h"
#include "platform/sim/sim_desktop.h"

namespace hopla::sim {

class SimProcessImpl;
struct WindowRec;

class SimWidget : public NativeWidget {
 public:
  SimWidget(SimDesktop::Impl& world, SimProcessImpl& process,
            const WidgetArgs& desc, SimWidget* parent, WidgetEvents* events);
  ~SimWidget() override;
  SimWidget(const SimWidget&) = delete;
  SimWidget& operator=(const SimWidget&) = delete;

  // --- NativeWidget ------------------------------------------------------
  WindowHandle Handle() const override { return handle_; }
  void SetCaption(const std::string& text) override;
  std::string Text() const override { return caption_; }
  void SetBounds(const Rect& bounds) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetHint(const std::string& hint) override { hint_ = hint; }
  void SetChecked(bool checked) override;
  void SetPosition(int32_t position) override;
  void Show(bool minimised) override;
  void Minimize() override;
  void Restore() override;
  bool IsMinimized() const override;
  void Destroy() override;
  void Invalidate() override { ++invalidations_; }
  void ReleaseMouseCapture() override { ++capture_releases_; }
  void SetCursorOverride(CursorShape shape) override { cursor_ = shape; }
  void SetMenuItemChecked(uint32_t command, bool checked) override;
  bool RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t key) override;

  // --- State, for tests ----------------------------------------------------
  WidgetKind Kind() const { return kind_; }
  SimWidget* Parent() const { return parent_; }
  SimProcess& Process() const;
  const WidgetArgs& CreatedAs() const { return desc_; }
  // Bounds as last set (for a form: its client size; WindowRectOf gives the
  // window's place on the screen).
  Rect Bounds() const { return bounds_; }
  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  const std::string& Hint() const { return hint_; }
  bool Checked() const { return checked_; }
  int32_t Position() const { return position_; }
  bool Destroyed() const { return destroyed_; }
  // Repaints asked for, and mouse captures let go, since creation.
  int Invalidations() const { return invalidations_; }
  int CaptureReleases() const { return capture_releases_; }
  // Whether the system menu's item shows a check mark.
  bool MenuItemChecked(uint32_t command) const;
  // The application's cursor override as last set.
  CursorShape Cursor() const { return cursor_; }
  // What the control would paint now.
  void PaintTo(Canvas& canvas);

  // --- What the person does (call on the owner's UI thread) -----------------
  // Each returns false, doing nothing, when the control is hidden or
  // disabled. A check box or radio button set to the state it has, or a
  // track bar moved to where it is, raises no event.
  bool UserClick();
  bool UserCheck(bool checked);
  bool UserPosition(int32_t position);
  // Another program minimises this window itself (ShowWindow from outside,
  // Win+M): a form becomes minimised on its own, the application hides its
  // forms. Call on the owner's UI thread.
  void ExternalMinimize();
  // The pointer and the keyboard, as the window system reports them to a
  // control (custom controls; a move also to labels and forms). Positions
  // are relative to the control. Hidden or disabled controls hear nothing
  // and return false.
  bool UserMouseDown(MouseButtonKind button, Point at = {1, 1});
  bool UserMouseUp(MouseButtonKind button, Point at = {1, 1});
  bool UserMouseMove(Point at = {1, 1});
  bool UserMouseEnter();
  bool UserMouseLeave();
  bool UserKey(uint32_t key, bool down);
  bool UserFocus(bool gained);
  // A mnemonic typed in the form; true when the control took it.
  bool UserDialogChar(uint32_t character);

  // A window message to a form, handled on the owner's UI thread.
  intptr_t HandleMessage(uint32_t message, uintptr_t wparam, intptr_t lparam);

 private:
  void SysCommand(uint32_t command);
  void AppSysCommand(uint32_t command);
  void MaximiseForm();
  void MinimiseForm();
  void MinimiseApplication();
  void RestoreApplication();
  // The application window that owns this form, or null.
  SimWidget* OwnerApplication() const;
  void ChangeForm(const std::function<void(WindowRec&)>& change);
  void ActivateLocked(WindowRec& rec);
  Rect CentredRect() const;
  Rect CentrePoint() const;
  bool IsWindow() const;
  bool Usable() const { return visible_ && enabled_ && !destroyed_; }

  SimDesktop::Impl& world_;
  SimProcessImpl& process_;
  WidgetArgs desc_;
  SimWidget* parent_;
  WidgetEvents* events_;
  WidgetKind kind_;
  WindowHandle handle_ = kNoWindow;
  std::string caption_;
  Rect bounds_;
  bool visible_;
  bool enabled_;
  std::string hint_;
  bool checked_;
  int32_t position_;
  bool destroyed_ = false;
  int invalidations_ = 0;
  int capture_releases_ = 0;
  CursorShape cursor_ = CursorShape::kNone;
  std::set<uint32_t> checked_items_;
};

}  // namespace hopla::sim

#endif  // HOPLA_PLATFORM_SIM_SIM_WIDGETS_H_
