// The simulated switch user against the real program, once: the same user,
// with the same seed, driving Hopla-testswitch.exe under Wine through the
// test switch for a handful of selections of one condition of the pointing
// task (targets 64 px wide on a circle 256 px across, first-run settings,
// the program minimised so that the clicks land on a logger window). Print
// its mean time per selection, to hold against the simulation's figure for
// the same condition and count (`hopla-selection-bench 8`, "64 256").
// With "hop", the hop is on and each target is the logger's button (a new
// logger for each), as the bench's "hop at the first-run settings"; with
// "steps" the element stepping instead, as "element stepping at the
// first-run settings"; with "click" no button, but the stop with a click,
// the finer speeds at position 6 and the shortest quiet time, as "stop with
// a click, finer speeds, speed position 6".
//   hopla-selection-check.exe [selections, default 8] [hop|steps|click]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/selection/iso_task.h"
#include "bench/selection/switch_user.h"
#include "bench_clock.h"
#include "hopla_program.h"

namespace hopla::selection {
namespace {

constexpr int32_t kWidth = 64;
constexpr int32_t kDistance = 256;
constexpr int32_t kTargets = 13;
constexpr Point kCentre{640, 512};
constexpr uint64_t kSeed = 20261208 + kWidth * 1000 + kDistance;
constexpr int64_t kSelectionLimitMs = 60000;
constexpr RECT kLoggerRect{300, 200, 980, 824};
constexpr RECT kLoggerButton{310, 210, 330, 220};

class WineWorld final : public World {
 public:
  WineWorld(wine_test::HoplaProgram& hopla, wine_test::InputLogger* logger)
      : hopla_(hopla), logger_(logger) {}
  // The logger the clicks land on from now on.
  void UseLogger(wine_test::InputLogger* logger) { logger_ = logger; }
  int64_t NowMs() override { return static_cast<int64_t>(clock_.NowMs()); }
  void Wait(int64_t ms) override { Sleep(static_cast<DWORD>(ms)); }
  void Hold(int64_t ms) override { hopla_.Press(static_cast<int>(ms)); }
  Point Cursor() override {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
  }
  int64_t Clicks() override {
    return static_cast<int64_t>(logger_->LinesOf("ldown").size());
  }

 private:
  wine_test::HoplaProgram& hopla_;
  wine_test::InputLogger* logger_;
  bench::Clock clock_;
};

// What the check runs: the settings file's lines beyond the sound, and how
// the user uses them.
struct Mode {
  std::string name;
  std::string settings;
  Practice practice;
  bool target_is_button = false;
};

Mode ModeNamed(const std::string& name) {
  Mode mode{name, "", {}, false};
  if (name == "hop") {
    mode.settings = "[拡張設定]\n要素へ跳ぶ=1\n";
    mode.practice.hop = true;
    mode.target_is_button = true;
  } else if (name == "steps") {
    mode.settings = "[拡張設定]\n要素をたどる=1\n";
    mode.practice.step_pace_ms = 1000;
    mode.target_is_button = true;
  } else if (name == "click") {
    mode.settings =
        "[マウス]\nマウス移動速度=6\n[タイマー]\n実行までの時間=1\n"
        "[拡張設定]\n止まってクリック=1\n細かい速さ=1\n";
    mode.practice.speed_px_per_ms = 0.2;
    mode.practice.quiet_ms = 400;
    mode.practice.stop_click = true;
  }
  return mode;
}

int Run(int32_t selections, const Mode& mode) {
  const bool hop = mode.target_is_button;
  auto logger = wine_test::InputLogger::Start(kLoggerRect, kLoggerButton);
  if (logger == nullptr) {
    std::printf("the logger window did not come\n");
    return 2;
  }
  wine_test::TempFolder folder;
  auto hopla = wine_test::HoplaProgram::Start(
      folder.path(), std::string("[サウンド]\n音を出す=0\n") + mode.settings);
  if (hopla == nullptr) {
    std::printf("Hopla-testswitch.exe did not start\n");
    return 2;
  }
  PostMessageW(hopla->MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Sleep(1000);
  const std::vector<Point> targets =
      CircleTargets(kCentre, kDistance, kTargets);
  SetCursorPos(targets[0].x, targets[0].y);
  WineWorld world(*hopla, logger.get());
  SwitchUser user(world, mode.practice, kSeed);
  std::vector<Trial> trials;
  std::printf("selection  time_s  end\n");
  for (int32_t i = 1; i <= selections; ++i) {
    const Point target = targets[TargetIndex(i, kTargets)];
    const Rect box{target.x - kWidth / 2, target.y - kWidth / 2,
                   target.x + kWidth / 2, target.y + kWidth / 2};
    std::vector<Rect> buttons;
    if (hop) {
      // The target is the new logger's button; the cursor stays where the
      // last selection left it.
      const Point at = world.Cursor();
      logger.reset();
      logger = wine_test::InputLogger::Start(
          kLoggerRect, RECT{box.left, box.top, box.right, box.bottom});
      if (logger == nullptr) return 2;
      world.UseLogger(logger.get());
      Sleep(500);
      SetCursorPos(at.x, at.y);
      buttons.push_back(box);
    }
    const Point from = world.Cursor();
    const Outcome outcome = user.Select(box, kSelectionLimitMs, buttons);
    trials.push_back({from, target, outcome.end, kWidth,
                      static_cast<double>(outcome.time_ms), outcome.codes});
    std::printf("%9d %7.2f  %d,%d%s\n", i, outcome.time_ms / 1000.0,
                outcome.end.x, outcome.end.y,
                Hit(trials.back()) ? "" : " (outside)");
    std::fflush(stdout);
  }
  const Figures f = Evaluate(trials);
  std::printf(
      "under Wine, %d selections of 64 px targets 256 px apart%s%s: %.2f s "
      "per selection, %.1f%% errors\n",
      f.selections, mode.name.empty() ? "" : ", ", mode.name.c_str(),
      f.mean_time_ms / 1000, f.error_rate * 100);
  hopla->Quit();
  return 0;
}

}  // namespace
}  // namespace hopla::selection

int main(int argc, char** argv) {
  const int32_t selections = argc > 1 ? std::atoi(argv[1]) : 8;
  return hopla::selection::Run(
      selections > 0 ? selections : 8,
      hopla::selection::ModeNamed(argc > 2 ? argv[2] : ""));
}
