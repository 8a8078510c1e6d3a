// Peers built on the system's BUTTON class: check box, radio button, push
// button and group box.
#ifndef HOPLA_PLATFORM_WIN32_BUTTON_WIDGETS_H_
#define HOPLA_PLATFORM_WIN32_BUTTON_WIDGETS_H_

#include "platform/win32/widget_base.h"

namespace hopla::win32 {

// A check box the system ticks on a click; the click is reported with the
// new state. Setting the state from code reports nothing.
class Win32CheckBox final : public Win32Widget {
 public:
  Win32CheckBox(const WidgetArgs& desc, NativeWidget* parent,
                WidgetEvents* events, ExceptionTrap& trap);
  void SetChecked(bool checked) override;

 private:
  void OnCommand(UINT code) override;
};

// A radio button that does not clear its neighbours: the toolkit clears the
// group itself, so the system must not do it behind its back.
class Win32RadioButton final : public Win32Widget {
 public:
  Win32RadioButton(const WidgetArgs& desc, NativeWidget* parent,
                   WidgetEvents* events, ExceptionTrap& trap);
  void SetChecked(bool checked) override;

 private:
  void OnCommand(UINT code) override;
};

class Win32PushButton final : public Win32Widget {
 public:
  Win32PushButton(const WidgetArgs& desc, NativeWidget* parent,
                  WidgetEvents* events, ExceptionTrap& trap);

 private:
  void OnCommand(UINT code) override;
};

// A frame that is also the real parent of the controls inside it: their
// notifications arrive here and are passed on to their peers.
class Win32GroupBox final : public Win32Widget {
 public:
  Win32GroupBox(const WidgetArgs& desc, NativeWidget* parent,
                WidgetEvents* events, ExceptionTrap& trap);
  ~Win32GroupBox() override;
  // Its controls are numbered in the form's order.
  int TakeControlId() override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wparam,
                                       LPARAM lparam, UINT_PTR id,
                                       DWORD_PTR data);

  // The form or frame this frame lives in; it outlives the controls made
  // inside this frame.
  Win32Widget* container_;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_BUTTON_WIDGETS_H_
