// The code bubble's window: a layered popup that the pointer, the focus and
// WindowFromPoint pass through. It is drawn into a bitmap and copied to the
// window at once, with no message loop, so it can be redrawn from inside a
// hold; WM_PAINT copies the same bitmap. (UpdateLayeredWindow would do the
// same, but Wine does not show its windows without a compositor.)
#ifndef HOPLA_PLATFORM_WIN32_BUBBLE_WINDOW_H_
#define HOPLA_PLATFORM_WIN32_BUBBLE_WINDOW_H_

#include "platform/bubble_view.h"
#include "platform/win32/gdi_canvas.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {

inline constexpr wchar_t kBubbleClassName[] = L"HoplaBubble";

class BubbleWindow {
 public:
  BubbleWindow() = default;
  ~BubbleWindow();
  BubbleWindow(const BubbleWindow&) = delete;
  BubbleWindow& operator=(const BubbleWindow&) = delete;

  // On the UI thread. The window is made at the first show.
  void Show(const BubbleView& view);
  void Hide();

 private:
  bool Create();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam);

  // Draws `view` into the bitmap, sized to fit; false when it cannot.
  bool Render(const BubbleView& view);

  HWND window_ = nullptr;
  FontCache fonts_;
  MemoryBitmap buffer_;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_BUBBLE_WINDOW_H_
