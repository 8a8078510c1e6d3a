// A control the program paints itself: it hears the mouse, the keyboard and
// the focus through overridable steps, in the toolkit's usual order, and
// fires the matching events. A left press and release over it is a click.
#ifndef HOPLA_TOOLKIT_CUSTOM_CONTROL_H_
#define HOPLA_TOOLKIT_CUSTOM_CONTROL_H_

#include <cstdint>
#include <functional>
#include <string>

#include "platform/canvas.h"
#include "toolkit/control.h"

namespace hopla {

inline constexpr uint32_t kKeyReturn = 13;
inline constexpr uint32_t kKeySpace = 32;

using MouseEvent =
    std::function<void(Component& sender, MouseButtonKind button, Point at)>;
using KeyEvent = std::function<void(Component& sender, uint32_t& key)>;

class CustomControl : public Control {
 public:
  CustomControl(Application& app, Control& parent, std::string name,
                const WidgetArgs& desc);

  // Paints again soon (on the simulated desktop: counted).
  void Invalidate() { peer().Invalidate(); }
  void ReleaseMouseCapture() { peer().ReleaseMouseCapture(); }
  // Whether the system reports the left mouse button as held down.
  bool LeftButtonHeld() const;

  NotifyEvent on_click;
  MouseEvent on_mouse_down;
  MouseEvent on_mouse_up;
  std::function<void(Component& sender, Point at)> on_mouse_move;
  KeyEvent on_key_down;
  KeyEvent on_key_up;
  NotifyEvent on_enter;
  NotifyEvent on_exit;

 protected:
  // The steps, each firing its event; subclasses add their own work around
  // the base's.
  virtual void MouseDown(MouseButtonKind button, Point at);
  virtual void MouseUp(MouseButtonKind button, Point at);
  virtual void MouseMove(Point at);
  virtual void CMMouseEnter() {}
  virtual void CMMouseLeave() {}
  virtual void KeyDown(uint32_t& key);
  virtual void KeyUp(uint32_t& key);
  virtual void DoEnter();
  virtual void DoExit();
  // A mnemonic typed in the form; true when taken.
  virtual bool KeyAccel(uint32_t /*character*/) { return false; }
  virtual void Click();
  virtual void Paint(Canvas& canvas) = 0;

 private:
  // What the peer tells, each run through the application's guard, so that
  // a failing handler is reported instead of ending the program.
  void OnMouseDown(MouseButtonKind button, Point at) final;
  void OnMouseUp(MouseButtonKind button, Point at) final;
  void OnMouseMove(Point at) final;
  void OnMouseEnter() final;
  void OnMouseLeave() final;
  void OnKeyDown(uint32_t key) final;
  void OnKeyUp(uint32_t key) final;
  void OnFocusChanged(bool gained) final;
  bool OnDialogChar(uint32_t character) final;
  void OnPaint(Canvas& canvas) final;
  void Guarded(const std::function<void()>& body);

  // Set by a left press, so that its release over the control clicks.
  bool clicked_ = false;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_CUSTOM_CONTROL_H_
