#include "bench/selection/iso_task.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace hopla::selection {
namespace {

// The effective width is this many standard deviations of the end points
// (the width that holds 96% of a normal spread).
constexpr double kEffectiveWidthFactor = 4.133;

}  // namespace

std::vector<Point> CircleTargets(Point centre, int32_t distance_px,
                                 int32_t count) {
  std::vector<Point> targets;
  const double radius = distance_px / 2.0;
  for (int32_t i = 0; i < count; ++i) {
    const double angle = 2 * std::numbers::pi * i / count;
    targets.push_back(
        {centre.x + static_cast<int32_t>(std::lround(radius * std::sin(angle))),
         centre.y -
             static_cast<int32_t>(std::lround(radius * std::cos(angle)))});
  }
  return targets;
}

int32_t TargetIndex(int32_t selection, int32_t count) {
  const int32_t step = (count + 1) / 2;
  return static_cast<int32_t>(static_cast<int64_t>(selection) * step % count);
}

bool Hit(const Trial& trial) {
  const int32_t half = trial.width_px / 2;
  return std::abs(trial.end.x - trial.target.x) <= half &&
         std::abs(trial.end.y - trial.target.y) <= half;
}

Figures Evaluate(const std::vector<Trial>& trials) {
  Figures figures;
  figures.selections = static_cast<int32_t>(trials.size());
  if (trials.empty()) return figures;
  double time_sum = 0, amplitude_sum = 0, dx_sum = 0, dx_square_sum = 0;
  double nominal_id_sum = 0, codes_sum = 0;
  int32_t misses = 0;
  for (const Trial& t : trials) {
    const double ax = t.target.x - t.from.x;
    const double ay = t.target.y - t.from.y;
    const double length = std::hypot(ax, ay);
    // Along the task axis: how far the cursor went, and how far from the
    // target's centre it ended.
    const double amplitude =
        length > 0
            ? ((t.end.x - t.from.x) * ax + (t.end.y - t.from.y) * ay) / length
            : 0;
    const double dx = amplitude - length;
    time_sum += t.time_ms;
    codes_sum += t.codes;
    amplitude_sum += amplitude;
    dx_sum += dx;
    dx_square_sum += dx * dx;
    nominal_id_sum += std::log2(length / t.width_px + 1);
    if (!Hit(t)) ++misses;
  }
  const double n = static_cast<double>(trials.size());
  figures.mean_time_ms = time_sum / n;
  figures.mean_codes = codes_sum / n;
  figures.error_rate = misses / n;
  figures.effective_distance_px = amplitude_sum / n;
  const double variance =
      n > 1 ? (dx_square_sum - dx_sum * dx_sum / n) / (n - 1) : 0;
  figures.effective_width_px =
      kEffectiveWidthFactor * std::sqrt(std::max(variance, 0.0));
  if (figures.mean_time_ms > 0) {
    figures.nominal_throughput_bps =
        nominal_id_sum / n / (figures.mean_time_ms / 1000);
  }
  if (figures.effective_width_px > 0 && figures.mean_time_ms > 0) {
    const double id = std::log2(
        figures.effective_distance_px / figures.effective_width_px + 1);
    figures.throughput_bps = id / (figures.mean_time_ms / 1000);
  }
  return figures;
}

}  // namespace hopla::selection
