// The direction table: what one step of the walking cursor is for each
// direction number, with four or eight directions (clockwise from right).
#ifndef HOPLA_MOTION_DIRECTIONS_H_
#define HOPLA_MOTION_DIRECTIONS_H_

#include <array>
#include <cstdint>

namespace hopla {

struct StepVector {
  int32_t dx = 0;
  int32_t dy = 0;
  bool moving = false;
};

inline constexpr std::array<StepVector, 8> kEightDirections = {{
    {1, 0, true},    // 1 right
    {1, 1, true},    // 2 down-right
    {0, 1, true},    // 3 down
    {-1, 1, true},   // 4 down-left
    {-1, 0, true},   // 5 left
    {-1, -1, true},  // 6 up-left
    {0, -1, true},   // 7 up
    {1, -1, true},   // 8 up-right
}};

inline constexpr std::array<StepVector, 4> kFourDirections = {{
    {1, 0, true},   // 1 right
    {0, 1, true},   // 2 down
    {-1, 0, true},  // 3 left
    {0, -1, true},  // 4 up
}};

// The unit step of `direction`; no motion for 0 and for any number outside
// the table in use.
inline constexpr StepVector StepFor(int32_t direction,
                                    int32_t direction_count) {
  if (direction_count == 8 && direction >= 1 && direction <= 8) {
    return kEightDirections[static_cast<size_t>(direction - 1)];
  }
  if (direction_count != 8 && direction >= 1 && direction <= 4) {
    return kFourDirections[static_cast<size_t>(direction - 1)];
  }
  return {};
}

// The directions that edge turning assigns.
inline constexpr int32_t kDirectionRight = 1;
inline constexpr int32_t LeftIn(int32_t count) { return count == 8 ? 5 : 3; }
inline constexpr int32_t UpIn(int32_t count) { return count == 8 ? 7 : 4; }
inline constexpr int32_t DownIn(int32_t count) { return count == 8 ? 3 : 2; }

}  // namespace hopla

#endif  // HOPLA_MOTION_DIRECTIONS_H_
