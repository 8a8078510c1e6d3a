// The multidirectional pointing task of ISO 9241-411, as the selection bench
// runs it: targets on a circle, selected in the order that crosses the
// circle every time, and the figures of a run: mean time, error rate and the
// effective throughput (the spread of the end points along the task axis
// makes the effective width).
#ifndef HOPLA_BENCH_SELECTION_ISO_TASK_H_
#define HOPLA_BENCH_SELECTION_ISO_TASK_H_

#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace hopla::selection {

// `count` target centres, evenly on a circle of diameter `distance_px`
// around `centre`, the first straight above it, going clockwise.
std::vector<Point> CircleTargets(Point centre, int32_t distance_px,
                                 int32_t count);

// Which target the `selection`-th selection aims at (from 0): each one lies
// across the circle from the last, as the standard order goes with an odd
// count: 0, (count + 1) / 2, 1, (count + 1) / 2 + 1, ...
int32_t TargetIndex(int32_t selection, int32_t count);

// One selection: where the cursor stood when it began, the target (a
// square `width_px` wide around `target`), where the click landed and when.
struct Trial {
  Point from;
  Point target;
  Point end;
  int32_t width_px = 0;
  double time_ms = 0;
  int32_t codes = 0;  // the codes the person entered
};

struct Figures {
  int32_t selections = 0;
  double mean_time_ms = 0;
  double mean_codes = 0;
  double error_rate = 0;  // clicks outside the target square
  double effective_distance_px = 0;
  double effective_width_px = 0;
  double throughput_bps = 0;  // log2(De / We + 1) / mean time in seconds
  // log2(D / W + 1) / mean time, from the distance and width as set: a
  // pointing aid that always ends on the centre has no spread to measure.
  double nominal_throughput_bps = 0;
};

bool Hit(const Trial& trial);
Figures Evaluate(const std::vector<Trial>& trials);

}  // namespace hopla::selection

#endif  // HOPLA_BENCH_SELECTION_ISO_TASK_H_
