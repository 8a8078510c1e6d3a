// What the simulated switch user's walking and stepping both go by: how
// often the person looks, when the program sees a press, and when they give
// up on a target.
#ifndef HOPLA_BENCH_SELECTION_SWITCH_USER_RULES_H_
#define HOPLA_BENCH_SELECTION_SWITCH_USER_RULES_H_

#include <cstdint>

namespace hopla::selection::user_rules {

inline constexpr int64_t kLookMs = 10;
// The heartbeat sees a press within a tick, half a tick on average; the walk
// halts then (the press stops it) and waits for the code.
inline constexpr double kPressSeenMs = 25;
// After this many codes for one target (at a speed too fast to stop or turn
// in time), a person stops and clicks where the cursor ends.
inline constexpr int32_t kMostCodes = 12;
inline constexpr int64_t kPushButton = 0x2B;

}  // namespace hopla::selection::user_rules

#endif  // HOPLA_BENCH_SELECTION_SWITCH_USER_RULES_H_
