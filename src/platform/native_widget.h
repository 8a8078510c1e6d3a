// The native side of a toolkit control: a real window on Win32, a state
// holder (and a window of the simulated desktop, for forms) in tests.
#ifndef HOPLA_PLATFORM_NATIVE_WIDGET_H_
#define HOPLA_PLATFORM_NATIVE_WIDGET_H_

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace hopla {

enum class WidgetKind {
  // The application's own top-level window: it carries the taskbar button
  // with the application's title, owns the forms, and stands for the whole
  // program when it is minimised.
  kApplication,
  kForm,
  kCheckBox,
  kRadioButton,
  kTrackBar,
  kLabel,
  kEdit,
  kGroupBox,
  kPushButton,
  // A control of our own: the toolkit model paints it and hears the mouse,
  // the keyboard and the focus.
  kCustom,
};

enum class MouseButtonKind { kLeft, kRight, kMiddle };

// The application-wide cursor that overrides each window's own.
enum class CursorShape { kNone, kArrow, kHandPoint };

class Canvas;

struct FontArgs {
  std::string face = "ＭＳ Ｐゴシック";
  int32_t height_px = 12;
  bool bold = false;
  bool italic = false;
};

struct WidgetArgs {
  WidgetKind kind = WidgetKind::kLabel;
  std::string caption;
  // Position and size; for a form, left/top are ignored (it is centred) and
  // width/height give the client area.
  Rect bounds;
  FontArgs font;
  std::string hint;
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  // Track bars.
  int32_t min = 0;
  int32_t max = 10;
  int32_t position = 0;
  // Forms.
  bool topmost = false;
  // Items added at the end of the form's system menu: a command number (a
  // multiple of 16 under 0xF000, reported through OnSysCommand) and a text.
  struct MenuItem {
    uint32_t command = 0;
    std::string caption;
  };
  std::vector<MenuItem> system_menu;
  // Custom controls: whether Tab stops on it and a press focuses it.
  bool tab_stop = false;
  // Labels: as wide as their text is drawn in their font (the width given
  // is a first guess).
  bool fit_text = false;
};

// What a form's window reports of its maximised placement.
struct MinMaxInfo {
  Point max_size;
  Point max_position;
};

// The user's actions and the window system's questions, delivered on the UI
// thread. Defaults ignore what a kind of control never gets.
class WidgetEvents {
 public:
  virtual ~WidgetEvents() = default;
  // Check box or radio button changed by the user to `checked`.
  virtual void OnUserChecked(bool /*checked*/) {}
  // Push button clicked by the user.
  virtual void OnUserClicked() {}
  // Track bar moved by the user.
  virtual void OnUserPosition(int32_t /*position*/) {}
  // Form: the user or the system asks to close the window. The form decides;
  // the peer does not destroy anything itself.
  virtual void OnCloseRequest() {}
  // Form: a system command arrives, before its default handling.
  virtual void OnSysCommand(uint32_t /*command*/) {}
  // Form: Windows asks whether it may end the session. Returns the answer.
  virtual bool OnQueryEndSession() { return true; }
  // Form: the system asks for the maximised placement; `info` holds the
  // system's values and may be changed.
  virtual void OnGetMinMaxInfo(MinMaxInfo& /*info*/) {}
  // Form: the hot key it registered under `id` was pressed.
  virtual void OnHotKey(int32_t /*id*/) {}
  // Form: shown (first show or after a restore).
  virtual void OnShown() {}
  // Form or application: brought back from the minimised state.
  virtual void OnRestored() {}
  // The pointer moved over a label, or over a form's bare client area (not
  // over any of its controls; frames and labels count as controls).
  virtual void OnMouseMove(Point /*at*/) {}
  // Custom controls. A press captures the mouse until its release; enter
  // and leave come in pairs.
  virtual void OnMouseDown(MouseButtonKind /*button*/, Point /*at*/) {}
  virtual void OnMouseUp(MouseButtonKind /*button*/, Point /*at*/) {}
  virtual void OnMouseEnter() {}
  virtual void OnMouseLeave() {}
  virtual void OnKeyDown(uint32_t /*key*/) {}
  virtual void OnKeyUp(uint32_t /*key*/) {}
  virtual void OnFocusChanged(bool /*gained*/) {}
  // A mnemonic typed in the form; true when the control took it.
  virtual bool OnDialogChar(uint32_t /*character*/) { return false; }
  virtual void OnPaint(Canvas& /*canvas*/) {}
};

class NativeWidget {
 public:
  virtual ~NativeWidget() = default;
  virtual WindowHandle Handle() const = 0;
  virtual void SetCaption(const std::string& text) = 0;
  virtual std::string Text() const = 0;
  virtual void SetBounds(const Rect& bounds) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetHint(const std::string& hint) = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual void SetPosition(int32_t position) = 0;
  // Forms: show normally. The application: show its taskbar button, normal
  // or minimised (then its forms stay hidden until it is restored).
  virtual void Show(bool minimised) = 0;
  // Forms and the application: minimise, restore, and whether the window
  // really is minimised now, however it came to be.
  virtual void Minimize() = 0;
  virtual void Restore() = 0;
  virtual bool IsMinimized() const = 0;
  // Forms: destroys the window for good.
  virtual void Destroy() = 0;
  // Custom controls: paint again soon; let go of the mouse.
  virtual void Invalidate() {}
  virtual void ReleaseMouseCapture() {}
  // The application: the cursor every window of the program shows.
  virtual void SetCursorOverride(CursorShape /*shape*/) {}
  // Forms: a check mark beside an item added to the system menu.
  virtual void SetMenuItemChecked(uint32_t /*command*/, bool /*checked*/) {}
  // Forms: a system-wide hot key (kMod* bits and a virtual key) reported
  // through OnHotKey(id), in place of the one registered under `id` before.
  // Returns false when another program holds it; key 0 only lets go.
  virtual bool RegisterHotKey(int32_t /*id*/, uint32_t /*modifiers*/,
                              uint32_t /*key*/) {
    return false;
  }
};

}  // namespace hopla

#endif  // HOPLA_PLATFORM_NATIVE_WIDGET_H_
