#include "motion/element_hop.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace hopla {
namespace {

// Straight on, the next element begins beyond the cursor: not the one it is
// on, nor one beside it that reaches back past it. On a slant, its centre
// lies beyond the cursor both ways, and the cursor is not on it.
bool Beyond(const Rect& r, Point from, StepVector unit) {
  if (unit.dy == 0) return unit.dx > 0 ? r.left > from.x : r.right <= from.x;
  if (unit.dx == 0) return unit.dy > 0 ? r.top > from.y : r.bottom <= from.y;
  return !r.Contains(from) && ((r.left + r.right) / 2 - from.x) * unit.dx > 0 &&
         ((r.top + r.bottom) / 2 - from.y) * unit.dy > 0;
}

}  // namespace

std::optional<Point> HopTarget(const std::vector<ElementBox>& elements,
                               Point from, StepVector unit) {
  if (!unit.moving) return std::nullopt;
  const double length = std::hypot(unit.dx, unit.dy);
  const double ux = unit.dx / length;
  const double uy = unit.dy / length;
  std::optional<Point> best;
  double best_score = 0;
  for (const ElementBox& element : elements) {
    const Rect& r = element.rect;
    if (std::find(kHopRoles.begin(), kHopRoles.end(), element.role) ==
            kHopRoles.end() ||
        r.Width() <= 0 || r.Height() <= 0) {
      continue;
    }
    if (!Beyond(r, from, unit)) continue;
    const Point centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const double dx = centre.x - from.x;
    const double dy = centre.y - from.y;
    const double ahead = dx * ux + dy * uy;
    const double aside = std::abs(dx * uy - dy * ux);
    if (ahead <= 0 || aside > ahead) continue;
    const double score = ahead + 2 * aside;
    if (!best || score < best_score) {
      best = centre;
      best_score = score;
    }
  }
  return best;
}

Rect AheadArea(Point from, StepVector unit, const Rect& screen) {
  Rect area = screen;
  if (unit.dx > 0) area.left = from.x;
  if (unit.dx < 0) area.right = from.x;
  if (unit.dy > 0) area.top = from.y;
  if (unit.dy < 0) area.bottom = from.y;
  return area;
}

namespace {

// Asks on a thread of its own; `pause` waits a slice, and says false to give
// up.
std::optional<std::vector<ElementBox>> SearchElements(
    Platform& platform, const Rect& area,
    const std::function<bool(int32_t)>& pause,
    std::function<void()> done = nullptr) {
  constexpr int32_t kLookEveryMs = 10;
  // Shared with the searching thread, which may outlive this call.
  struct Search {
    std::unique_ptr<Event> done;
    std::vector<ElementBox> found;
  };
  auto search = std::make_shared<Search>();
  search->done = platform.CreateAutoResetEvent(false);
  platform.StartThread([search, &platform, area, done = std::move(done)] {
    search->found = platform.CreateRoleProbe()->Elements(area);
    if (done) done();
    search->done->Set();
  });
  for (int32_t waited = 0; waited <= kHopWaitMs; waited += kLookEveryMs) {
    if (search->done->Wait(0)) return std::move(search->found);
    if (!pause(kLookEveryMs)) break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<ElementBox>> FindElements(Platform& platform,
                                                    const Rect& area) {
  return SearchElements(platform, area, [&platform](int32_t ms) {
    platform.SleepAnswering(ms);
    return true;
  });
}

std::optional<std::vector<ElementBox>> FindElementsOffUi(
    Platform& platform, const Rect& area, const std::function<bool()>& give_up,
    std::function<void()> done) {
  return SearchElements(
      platform, area,
      [&platform, &give_up](int32_t ms) {
        if (give_up()) return false;
        platform.Sleep(ms);
        return true;
      },
      std::move(done));
}

}  // namespace hopla
