// What the accessibility interface finds in Hopla's keyboard: its client
// area with one push button per key, each with its name and rectangle, so
// the walk's brake, the hop and the element stepping serve the keyboard as
// they serve any dialog. The keys are read from the window each time: the
// object may be held after the window is gone, and then answers nothing.
#ifndef HOPLA_PLATFORM_WIN32_KEYBOARD_ACCESSIBLE_H_
#define HOPLA_PLATFORM_WIN32_KEYBOARD_ACCESSIBLE_H_

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/types.h"
#include "platform/win32/win32_include.h"

// After windows.h: the accessibility interface's types.
#include <oleacc.h>

namespace hopla::win32 {

// The keys as the window has them now; null once the window is gone.
struct KeyboardKeys {
  std::function<long()> count;  // NOLINT(runtime/int): the interface's type
  // The key's name and its rectangle in screen coordinates.
  std::function<std::optional<std::pair<std::wstring, Rect>>(long)>  // NOLINT
      key;
  std::function<void(long)> press;       // NOLINT
  std::function<Rect()> client;          // the client area on the screen
  std::function<std::wstring()> name;    // the keyboard's own
  std::function<std::wstring()> action;  // what a press is called
};

// A new object with one reference, answering from `keys` while they live.
IAccessible* NewKeyboardAccessible(std::weak_ptr<const KeyboardKeys> keys);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_KEYBOARD_ACCESSIBLE_H_
