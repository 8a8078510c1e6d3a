// The peer of a control of our own: a child window that its model paints
// through a canvas (double-buffered), and that tells the model about the
// mouse (captured between a left press and its release; entering and
// leaving in pairs), the keys, the focus and mnemonics.
#ifndef HOPLA_PLATFORM_WIN32_CUSTOM_WIDGET_H_
#define HOPLA_PLATFORM_WIN32_CUSTOM_WIDGET_H_

#include "platform/win32/gdi_canvas.h"
#include "platform/win32/widget_base.h"

namespace hopla::win32 {

inline constexpr wchar_t kCustomClassName[] = L"HoplaControl";

class Win32Custom final : public Win32Widget {
 public:
  Win32Custom(const WidgetArgs& desc, NativeWidget* parent,
              WidgetEvents* events, ExceptionTrap& trap);
  ~Win32Custom() override;

  void SetCaption(const std::string& text) override;
  void Invalidate() override;
  void ReleaseMouseCapture() override;
  bool TakeMnemonic(uint32_t character) override;

 private:
  bool HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                     LRESULT& result) override;
  void Paint(HWND window);
  void MouseButton(HWND window, UINT message, LPARAM lparam);
  void MouseMove(HWND window, LPARAM lparam);
  // The 96-dpi point of a mouse message's position.
  Point Logical(LPARAM lparam) const;

  bool tab_stop_;
  bool hovering_ = false;
  FontCache fonts_;
  MemoryBitmap buffer_;  // what painting goes to
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_CUSTOM_WIDGET_H_
