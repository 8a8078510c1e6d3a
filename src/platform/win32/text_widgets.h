// Peers that show or hold text: label and single-line edit.
#ifndef HOPLA_PLATFORM_WIN32_TEXT_WIDGETS_H_
#define HOPLA_PLATFORM_WIN32_TEXT_WIDGETS_H_

#include "platform/win32/widget_base.h"

namespace hopla::win32 {

// A static text that reports clicks (a label can be a link) and can carry a
// hint, which needs it to take mouse input.
class Win32Label final : public Win32Widget {
 public:
  Win32Label(const WidgetArgs& desc, NativeWidget* parent, WidgetEvents* events,
             ExceptionTrap& trap);

  void OnHoverMove(Point at) override;

 private:
  void OnCommand(UINT code) override;
};

// Its text is read back with Text().
class Win32Edit final : public Win32Widget {
 public:
  Win32Edit(const WidgetArgs& desc, NativeWidget* parent, WidgetEvents* events,
            ExceptionTrap& trap);
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_TEXT_WIDGETS_H_
