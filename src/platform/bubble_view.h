// What the code bubble shows beside the cursor while a code is entered, and
// where it goes: beside the cursor, never under it, and on the screen.
#ifndef HOPLA_PLATFORM_BUBBLE_VIEW_H_
#define HOPLA_PLATFORM_BUBBLE_VIEW_H_

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace hopla {

struct BubbleView {
  std::string marks;      // the marks so far and the slot of the next: "0 1 _"
  std::string command;    // what the code runs ("右クリック", "なし")
  std::string time_left;  // until it runs ("あと 0.8 秒"); empty in a hold
  // A hold in progress: 0..1000 up to the long point, on to 2000 at the
  // key input mode point; -1 when no switch is held.
  int32_t hold_permille = -1;
  Point cursor;

  bool operator==(const BubbleView&) const = default;
};

// Gap between the cursor and the bubble's nearest corner.
inline constexpr int32_t kBubbleGapPx = 20;

// The bubble's rectangle of `size` beside `cursor`: below right of it, or
// flipped left or up where the screen ends. The cursor is never inside.
inline Rect PlaceBubble(Point cursor, Point size, const Rect& screen) {
  int32_t left = cursor.x + kBubbleGapPx;
  int32_t top = cursor.y + kBubbleGapPx;
  if (left + size.x > screen.right) left = cursor.x - kBubbleGapPx - size.x;
  if (top + size.y > screen.bottom) top = cursor.y - kBubbleGapPx - size.y;
  return {left, top, left + size.x, top + size.y};
}

}  // namespace hopla

#endif  // HOPLA_PLATFORM_BUBBLE_VIEW_H_
