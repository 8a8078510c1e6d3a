// Plain values that cross the platform seam.
#ifndef HOPLA_PLATFORM_TYPES_H_
#define HOPLA_PLATFORM_TYPES_H_

#include <cstdint>

namespace hopla {

// A window of any program; 0 is "none", and messages to it go nowhere.
using WindowHandle = std::uintptr_t;
inline constexpr WindowHandle kNoWindow = 0;

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  // Right and bottom edges are outside, as the system counts them.
  bool Contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  // Whether the two share at least one pixel.
  bool Meets(const Rect& other) const {
    return right > other.left && left < other.right && bottom > other.top &&
           top < other.bottom;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Window message numbers the program sends, posts or answers.
inline constexpr uint32_t kWmClose = 0x0010;
inline constexpr uint32_t kWmGetObject = 0x003D;
inline constexpr uint32_t kWmQueryEndSession = 0x0011;
inline constexpr uint32_t kWmQuit = 0x0012;
inline constexpr uint32_t kWmGetMinMaxInfo = 0x0024;
inline constexpr uint32_t kWmSysCommand = 0x0112;
inline constexpr uint32_t kWmHotKey = 0x0312;

// System commands (wParam of kWmSysCommand).
inline constexpr uint32_t kScMinimize = 0xF020;
inline constexpr uint32_t kScMaximize = 0xF030;
inline constexpr uint32_t kScClose = 0xF060;
inline constexpr uint32_t kScRestore = 0xF120;

// Modifiers of a hot key, as the system numbers them.
inline constexpr uint32_t kModAlt = 0x0001;
inline constexpr uint32_t kModControl = 0x0002;
inline constexpr uint32_t kModShift = 0x0004;

// Mouse-button events: each holds the absolute flag and no move flag.
inline constexpr uint32_t kMouseLeftDown = 0x8002;
inline constexpr uint32_t kMouseLeftUp = 0x8004;
inline constexpr uint32_t kMouseRightDown = 0x8008;
inline constexpr uint32_t kMouseRightUp = 0x8010;
inline constexpr uint32_t kMouseMiddleDown = 0x8020;
inline constexpr uint32_t kMouseMiddleUp = 0x8040;

// Virtual keys the program types.
inline constexpr uint8_t kVkTab = 0x09;
inline constexpr uint8_t kVkReturn = 0x0D;
inline constexpr uint8_t kVkShift = 0x10;
inline constexpr uint8_t kVkControl = 0x11;
inline constexpr uint8_t kVkMenu = 0x12;  // Alt
inline constexpr uint8_t kVkEscape = 0x1B;
inline constexpr uint8_t kVkSpace = 0x20;
inline constexpr uint8_t kVkPrior = 0x21;  // Page Up
inline constexpr uint8_t kVkNext = 0x22;   // Page Down
inline constexpr uint8_t kVkF1 = 0x70;

}  // namespace hopla

#endif  // HOPLA_PLATFORM_TYPES_H_
