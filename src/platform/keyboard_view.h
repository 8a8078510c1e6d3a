// Hopla's own keyboard as the platform shows it: keys on a grid of cells,
// drawn to fill the window's client area whatever its size, and what the
// window reports back.
#ifndef HOPLA_PLATFORM_KEYBOARD_VIEW_H_
#define HOPLA_PLATFORM_KEYBOARD_VIEW_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace hopla {

struct KeyCap {
  std::string label;
  Rect cells;        // the cells it covers, in the grid
  bool lit = false;  // a key that is latched (Shift waiting for its key)
};

struct KeyboardView {
  std::string caption;
  // What pressing a key is called, for the accessibility interface.
  std::string press_name;
  int32_t columns = 1;
  int32_t rows = 1;
  std::vector<KeyCap> keys;
};

// The key's rectangle in a client area of `client` size: the grid scaled
// to fill it, with a gap between neighbours.
inline Rect KeyRect(const KeyboardView& view, const KeyCap& key, Point client) {
  constexpr int32_t kGapPx = 2;
  auto x = [&](int32_t cell) { return cell * client.x / view.columns; };
  auto y = [&](int32_t cell) { return cell * client.y / view.rows; };
  return {x(key.cells.left) + kGapPx, y(key.cells.top) + kGapPx,
          x(key.cells.right) - kGapPx, y(key.cells.bottom) - kGapPx};
}

// What the keyboard's window tells, on the UI thread.
class KeyboardEvents {
 public:
  virtual ~KeyboardEvents() = default;
  // A key was clicked (pressed and let go on it), by whatever mouse.
  virtual void OnKeyClicked(size_t index) = 0;
  // The window's close box or its system menu's close: it is hidden.
  virtual void OnKeyboardClosed() = 0;
  // The window was moved or sized to `window` (screen coordinates).
  virtual void OnKeyboardPlaced(const Rect& window) = 0;
};

}  // namespace hopla

#endif  // HOPLA_PLATFORM_KEYBOARD_VIEW_H_
