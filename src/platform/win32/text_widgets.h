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
  void SetCaption(const std::string& text) override;
  void SetBounds(const Rect& bounds) override;
  void Rescale(UINT dpi) override;

 private:
  void OnCommand(UINT code) override;
  // Sized to its text as drawn, when asked to be: so that the pointer over
  // it (a link's hand) ends where its text ends, in any language.
  void FitText();

  bool fit_text_ = false;
};

// Its text is read back with Text().
class Win32Edit final : public Win32Widget {
 public:
  Win32Edit(const WidgetArgs& desc, NativeWidget* parent, WidgetEvents* events,
            ExceptionTrap& trap);
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_TEXT_WIDGETS_H_
