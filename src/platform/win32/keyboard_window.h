// Hopla's keyboard: a window on top of the others that never becomes the
// active one (a click on it leaves the focus where it was, so the keys it
// types go to the window in front), with a small caption to move it by, a
// frame to size it by, and a close box. It paints its keys to fill its
// client area, reports a click on a key, and tells the accessibility
// interface of every key as a push button.
#ifndef HOPLA_PLATFORM_WIN32_KEYBOARD_WINDOW_H_
#define HOPLA_PLATFORM_WIN32_KEYBOARD_WINDOW_H_

#include <memory>
#include <optional>

#include "platform/keyboard_view.h"
#include "platform/win32/exception_trap.h"
#include "platform/win32/gdi_canvas.h"
#include "platform/win32/keyboard_accessible.h"
#include "platform/win32/system_dlls.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {

inline constexpr wchar_t kKeyboardClassName[] = L"HoplaKeyboard";

class KeyboardWindow {
 public:
  // `trap` keeps what the events throw; `oleacc` outlives the window.
  KeyboardWindow(ExceptionTrap& trap, const OleaccApi& oleacc)
      : trap_(trap), oleacc_(oleacc) {}
  ~KeyboardWindow();
  KeyboardWindow(const KeyboardWindow&) = delete;
  KeyboardWindow& operator=(const KeyboardWindow&) = delete;

  void Show(const KeyboardView& view, const Rect& place,
            KeyboardEvents* events);
  void Hide();

 private:
  bool Create(const Rect& place);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void Paint(HDC dc);
  // The key under a point of the client area.
  std::optional<size_t> KeyAt(POINT at) const;
  Point ClientSize() const;
  void Placed();

  ExceptionTrap& trap_;
  const OleaccApi& oleacc_;
  HWND window_ = nullptr;
  KeyboardView view_;
  KeyboardEvents* events_ = nullptr;
  std::optional<size_t> pressed_;
  FontCache fonts_;
  MemoryBitmap buffer_;
  // What the accessibility objects read; they outlive nothing of ours.
  std::shared_ptr<const KeyboardKeys> keys_;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_KEYBOARD_WINDOW_H_
