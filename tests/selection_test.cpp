// The arithmetic of the pointing task that the selection bench runs: the
// standard order across the circle and the effective throughput, against
// figures worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "bench/selection/iso_task.h"
#include "bench/selection/sim_world.h"
#include "bench/selection/switch_user.h"
#include "hopla_fixture.h"

namespace hopla::selection {
namespace {

TEST(IsoTaskTest, OrderCrossesTheCircleAndVisitsEveryTarget) {
  constexpr int32_t kCount = 13;
  std::vector<int32_t> order;
  for (int32_t i = 0; i < kCount; ++i) order.push_back(TargetIndex(i, kCount));
  EXPECT_EQ(order,
            (std::vector<int32_t>{0, 7, 1, 8, 2, 9, 3, 10, 4, 11, 5, 12, 6}));
  const auto targets = CircleTargets({640, 512}, 512, kCount);
  EXPECT_EQ(targets[0], (Point{640, 256}));
  // Neighbours in the order lie nearly a diameter apart.
  const double span =
      std::hypot(targets[7].x - targets[0].x, targets[7].y - targets[0].y);
  EXPECT_NEAR(span, 512, 512 * 0.01);
}

// Four selections 100 px to the right, ending 5 short, on, 5 past and on,
// a second each: dx has a standard deviation of sqrt(50 / 3) = 4.0825, so
// We = 4.133 x 4.0825 = 16.873, De = 100, IDe = log2(100 / 16.873 + 1) =
// 2.7922 bits, and the throughput 2.79 bits/s. With 8 px targets the two
// ends 5 px off are misses. The nominal throughput goes by the distance
// and width as set: log2(100 / 8 + 1) = 3.7549 bits a second.
TEST(IsoTaskTest, EffectiveThroughputOfAHandWorkedRun) {
  std::vector<Trial> trials;
  for (int32_t end_x : {95, 100, 105, 100}) {
    trials.push_back({{0, 0}, {100, 0}, {end_x, 3}, 8, 1000});
  }
  const Figures f = Evaluate(trials);
  EXPECT_EQ(f.selections, 4);
  EXPECT_DOUBLE_EQ(f.mean_time_ms, 1000);
  EXPECT_DOUBLE_EQ(f.error_rate, 0.5);
  EXPECT_DOUBLE_EQ(f.effective_distance_px, 100);
  EXPECT_NEAR(f.effective_width_px, 16.873, 0.001);
  EXPECT_NEAR(f.throughput_bps, 2.7922, 0.0005);
  EXPECT_NEAR(f.nominal_throughput_bps, 3.7549, 0.0005);
}

// The simulated user on simple cases, at the first-run speed (50 px/s): a
// target straight right is one walk, a stop and a click; one straight below
// the same; one up and to the left needs the longer way round ("00" then
// "0" to walk left, a turn up), or, with 8 directions, one slanting walk
// after three codes. Each ends with a click inside, in about the time its
// walk and codes take.
class SwitchUserTest : public HoplaTest {
 protected:
  Outcome SelectAt(Point from, Point centre, int32_t directions) {
    desk_.PlaceCursor(from);
    Practice practice;  // the first run's: 50 px/s, 1 s, 320 ms
    practice.directions = directions;
    SimWorld world(desk_);
    SwitchUser user(world, practice, 7);
    return user.Select(
        {centre.x - 16, centre.y - 16, centre.x + 16, centre.y + 16}, 60000);
  }
};

TEST_F(SwitchUserTest, PlansTheWayAndClicksInsideInTheTimeItTakes) {
  Start();
  desk_.RunFor(500);
  struct Case {
    Point from;
    Point centre;
    int32_t directions;
    double most_s;  // walking time plus the codes' time, and a second
  };
  // Start "0" about 1.5 s (or "00" 1.7 s), stop "1" and click "1" about 1.9 s
  // each, a turn about 1.4 s; with 8 directions three "00" about 1.7 s
  // each, and their turns on the way cost a correction.
  const Case cases[] = {{{200, 300}, {500, 300}, 4, 6 + 5.3 + 1},
                        {{200, 200}, {200, 500}, 4, 6 + 5.5 + 1},
                        {{600, 600}, {400, 400}, 4, 8 + 8.5 + 1},
                        {{600, 600}, {400, 400}, 8, 4 + 9.9 + 1}};
  for (const Case& c : cases) {
    Do([&] { hopla_->HoukouCheckBox.SetChecked(c.directions == 8); });
    const Outcome outcome = SelectAt(c.from, c.centre, c.directions);
    EXPECT_TRUE(outcome.clicked);
    EXPECT_LE(std::abs(outcome.end.x - c.centre.x), 16);
    EXPECT_LE(std::abs(outcome.end.y - c.centre.y), 16);
    EXPECT_LT(outcome.time_ms, c.most_s * 1000) << c.centre.x;
  }
}

}  // namespace
}  // namespace hopla::selection
