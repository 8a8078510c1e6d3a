// How fast a switch user selects a target: the multidirectional pointing
// task of ISO 9241-411 on a simulated 1280 x 1024 screen, done by the
// simulated switch user driving the real engine through the simulated
// switch, in virtual time. Per configuration and condition (target width
// 32 or 64 px, distance 256 or 512 px, 104 selections each): mean time per
// selection, error rate (a click outside the target) and effective
// throughput.
// Configurations: the first-run settings, every speed position, and the two
// speeds that can still be stopped on a target with the shortest quiet time.
//   hopla-selection-bench [selections per condition, default 104]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/hopla.h"
#include "bench/selection/iso_task.h"
#include "bench/selection/sim_world.h"
#include "bench/selection/switch_user.h"
#include "platform/codepage.h"
#include "platform/sim/sim_desktop.h"
#include "settings/ini_file.h"
#include "settings/slider_maps.h"

namespace hopla::selection {
namespace {

constexpr Rect kScreen{0, 0, 1280, 1024};
constexpr Point kCentre{640, 512};
constexpr int32_t kTargets = 13;
constexpr int64_t kSelectionLimitMs = 120000;
constexpr uint64_t kSeed = 20261208;
constexpr int32_t kWidths[] = {32, 64};
constexpr int32_t kDistances[] = {256, 512};

struct Config {
  std::string name;
  int32_t speed = 3;  // カーソル移動速度
  int32_t long_press = 3;
  int32_t execute = 4;
  int32_t key_mode = 5;
};

std::string SettingsFile(const Config& c) {
  return "[マウス]\r\nマウス移動速度=" + std::to_string(c.speed) +
         "\r\n[サウンド]\r\n音を出す=0\r\n[タイマー]\r\n長押し判定時間=" +
         std::to_string(c.long_press) +
         "\r\n実行までの時間=" + std::to_string(c.execute) +
         "\r\nキー入力移行の時間=" + std::to_string(c.key_mode) + "\r\n";
}

Practice PracticeOf(const Config& c) {
  const SpeedStep step = SpeedFor(c.speed);
  Practice practice;
  practice.speed_px_per_ms =
      static_cast<double>(step.step_pixels) / step.step_delay_ms;
  practice.quiet_ms = ExecuteDelayFor(c.execute);
  practice.long_point_ms =
      LongPressTicksFor(c.long_press) * PollIntervalFor(c.key_mode);
  return practice;
}

// One condition of one configuration, on a desktop of its own.
Figures RunCondition(const Config& config, int32_t width, int32_t distance,
                     int32_t selections, int32_t& unfinished) {
  sim::SimDesktop desk(kScreen);
  desk.PutFile(kSettingsFile, *Utf8ToCp932(SettingsFile(config)));
  THopla* window = nullptr;
  desk.Launch("C:\\Hopla\\Hopla.exe", [&window](Platform& platform) {
    EntryHooks hooks;
    hooks.on_main_window = [&window](THopla& w) { window = &w; };
    return RunHopla(platform, hooks);
  });
  desk.RunUntil([&window] { return window != nullptr; }, 20000);
  desk.RunFor(500);
  const std::vector<Point> targets = CircleTargets(kCentre, distance, kTargets);
  desk.PlaceCursor(targets[TargetIndex(0, kTargets)]);
  SimWorld world(desk);
  SwitchUser user(world, PracticeOf(config),
                  kSeed + static_cast<uint64_t>(width * 1000 + distance));
  std::vector<Trial> trials;
  for (int32_t i = 1; i <= selections; ++i) {
    const Point target = targets[TargetIndex(i, kTargets)];
    const Rect box{target.x - width / 2, target.y - width / 2,
                   target.x - width / 2 + width, target.y - width / 2 + width};
    const Point from = desk.Cursor();
    desk.ClearTrace();
    const Outcome outcome = user.Select(box, kSelectionLimitMs);
    if (!outcome.clicked) ++unfinished;
    trials.push_back({from, target, outcome.end, width,
                      static_cast<double>(outcome.time_ms)});
  }
  return Evaluate(trials);
}

void RunConfig(const Config& config, int32_t selections) {
  const Practice practice = PracticeOf(config);
  std::printf("\n%s: %.0f px/s, quiet time %d ms, long after %d ms\n",
              config.name.c_str(), practice.speed_px_per_ms * 1000,
              practice.quiet_ms, practice.long_point_ms);
  std::printf("  %5s %8s %10s %8s %8s %8s %8s\n", "width", "distance", "mean_s",
              "errors", "We_px", "De_px", "TP_bps");
  double time_sum = 0, error_sum = 0, tp_sum = 0;
  int32_t conditions = 0, unfinished = 0;
  for (int32_t width : kWidths) {
    for (int32_t distance : kDistances) {
      const Figures f =
          RunCondition(config, width, distance, selections, unfinished);
      std::printf("  %5d %8d %10.2f %7.1f%% %8.1f %8.1f %8.3f\n", width,
                  distance, f.mean_time_ms / 1000, f.error_rate * 100,
                  f.effective_width_px, f.effective_distance_px,
                  f.throughput_bps);
      std::fflush(stdout);
      time_sum += f.mean_time_ms;
      error_sum += f.error_rate;
      tp_sum += f.throughput_bps;
      ++conditions;
    }
  }
  std::printf(
      "  all conditions: %.2f s per selection, %.1f%% errors, %.3f bits/s%s\n",
      time_sum / conditions / 1000, error_sum / conditions * 100,
      tp_sum / conditions,
      unfinished > 0 ? " (some selections gave up: see the limit)" : "");
}

}  // namespace
}  // namespace hopla::selection

int main(int argc, char** argv) {
  using hopla::selection::Config;
  const int32_t selections = argc > 1 ? std::atoi(argv[1]) : 104;
  std::printf(
      "ISO 9241-411 multidirectional task, 13 targets, %d selections per "
      "condition, four directions, simulated user (reaction 250 +- 50 ms)\n",
      selections);
  hopla::selection::RunConfig(Config{"first-run settings"}, selections);
  for (int32_t speed = 1; speed <= 8; ++speed) {
    if (speed == 3) continue;  // the first run's
    Config config{"speed position " + std::to_string(speed)};
    config.speed = speed;
    hopla::selection::RunConfig(config, selections);
  }
  // The shortest quiet time makes every code quicker: with the speeds a
  // person can still stop on a target.
  for (int32_t speed : {3, 4}) {
    Config config{"speed position " + std::to_string(speed) +
                  ", quiet time slider 1"};
    config.speed = speed;
    config.execute = 1;
    hopla::selection::RunConfig(config, selections);
  }
  return 0;
}
