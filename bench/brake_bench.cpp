// What the brake costs and how soon it acts, on the real platform, against
// hopla-input-logger.exe: a window of another program that answers the
// accessibility query with a push button in one region and its plain client
// area elsewhere. Run it through bench/brake.sh. Three parts:
//  1. one probe's time on this thread, over the plain area, over the button
//     and over the desktop;
//  2. the walking speed with the brake on over plain ground (every pass asks,
//     nothing brakes) against the brake off, at every SpeedBar position;
//  3. how far the cursor gets into a braked button before it slows, its pace
//     outside and inside, and whether the brake, once on, holds, at every
//     position, with the fivefold boost and without.
// Each walk is a real TMyThread, sampled through the cursor every
// millisecond from this thread; one BrakeProber serves them all, as one
// serves all the window's movers.
//
// Under Wine the cursor over another program's window is the place that
// program last saw: while that program is busy (answering the probe, say),
// fast jumps are read back late and the cursor may step back. The fast
// positions over the logger show Wine's lag as much as the program.
//
// Exit code 0 when the walk with the brake on keeps kTargetRatio of the walk
// without it at every position, 1 when it does not, 2 when it could not run.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "counting_mover.h"
#include "hopla_program.h"
#include "motion/brake.h"
#include "motion/brake_prober.h"
#include "motion/element_hop.h"
#include "motion/mover_thread.h"
#include "platform/win32/win32_platform.h"
#include "shared/engine_state.h"
#include "shared/slider_maps.h"

namespace {

constexpr int kProbeCalls = 1000;
constexpr int kWarmUpCalls = 20;
constexpr int64_t kWalkMs = 1500;
constexpr int kRounds = 3;
constexpr double kTargetRatio = 0.9;
constexpr int kFirstPosition = 1;
constexpr int kLastPosition = 8;
constexpr int kReachRuns = 4;
constexpr int kBoostFactors[] = {1, 5};
// The slowing must begin within this many steps past the button's edge.
constexpr int kReachSteps = 2;
// The walk towards the button starts this far (in time, at most in pixels)
// before its edge, and goes on this long once over it.
constexpr int64_t kApproachMs = 1500;
constexpr int32_t kLongestApproachPx = 800;
constexpr int64_t kInsideMs = 1500;
constexpr int64_t kReachSlackMs = 3000;
constexpr int kFourDirections = 4;
constexpr int kDirectionRight = 1;
constexpr int kSampleEveryMs = 1;
constexpr int kStopTimeoutMs = 5000;
// Before a walk: the last walk's probe has time to finish.
constexpr int kProbeSettleMs = 200;
constexpr int kThreadsEndMs = 2000;
// A new mover's first passes may stand a while; slowing is looked for after.
constexpr double kWalkSettleMs = 100;
constexpr int kLoggerTimeoutMs = 20000;
constexpr int kPollMs = 20;
constexpr int32_t kBrakeDelayMs = hopla::kBrakeWeak;
constexpr uint32_t kBrakeKinds = hopla::kBrakeButton.bit;

using hopla::bench::Clock;
using hopla::wine_test::InputLogger;

// The logger spans the screen's width in its middle band, so one row crosses
// nothing but its plain area; its button sits right of centre, lower down.
struct Layout {
  RECT logger{};
  RECT button{};
  LONG plain_row = 0;
  LONG button_row = 0;
  LONG desktop_row = 0;  // above the logger
};

Layout MakeLayout(const hopla::Rect& desktop) {
  const LONG w = desktop.Width();
  const LONG h = desktop.Height();
  Layout layout;
  layout.logger = {desktop.left, desktop.top + h / 5, desktop.right,
                   desktop.top + h * 4 / 5};
  layout.button = {desktop.left + w * 11 / 16, desktop.top + h / 2,
                   desktop.left + w * 15 / 16, desktop.top + h * 7 / 10};
  layout.plain_row = desktop.top + h * 3 / 10;
  layout.button_row = (layout.button.top + layout.button.bottom) / 2;
  layout.desktop_row = desktop.top + h / 10;
  return layout;
}

// Accessibility queries the logger has answered so far: one line each.
int64_t Queries(const InputLogger& logger) {
  return static_cast<int64_t>(logger.LinesOf("getobject").size());
}

std::string RoleText(const hopla::RoleReading& reading) {
  switch (reading.kind) {
    case hopla::RoleReading::Kind::kFailed:
      return "failed";
    case hopla::RoleReading::Kind::kText:
      return "text";
    case hopla::RoleReading::Kind::kNumber:
      break;
  }
  char text[16];
  std::snprintf(text, sizeof(text), "0x%02llX",
                static_cast<unsigned long long>(reading.role));
  return text;
}

// --- The probe's own time

void MeasureProbe(hopla::RoleProbe& probe, const Clock& clock, POINT at,
                  const char* where, const char* expected) {
  for (int i = 0; i < kWarmUpCalls; ++i) probe.RoleAt({at.x, at.y});
  std::vector<double> times_ms;
  times_ms.reserve(kProbeCalls);
  hopla::RoleReading last;
  int failed = 0;
  double total_ms = 0;
  for (int i = 0; i < kProbeCalls; ++i) {
    const double start = clock.NowMs();
    const hopla::RoleReading reading = probe.RoleAt({at.x, at.y});
    const double took = clock.NowMs() - start;
    times_ms.push_back(took);
    total_ms += took;
    if (reading.kind == hopla::RoleReading::Kind::kFailed) {
      ++failed;
    } else {
      last = reading;
    }
  }
  std::sort(times_ms.begin(), times_ms.end());
  std::printf("  %-30s %-6s %-8s %6d %9.3f %9.3f %9.3f\n", where,
              RoleText(last).c_str(), expected, failed,
              times_ms[times_ms.size() / 2], total_ms / kProbeCalls,
              times_ms.back());
  std::fflush(stdout);
}

// --- Walks

// What every walk shares: one prober for all of them, as the window has one
// for all its movers.
struct Bench {
  hopla::win32::Win32Platform& platform;
  const Clock& clock;
  const Layout& layout;
  const InputLogger& logger;
  std::shared_ptr<hopla::BrakeProber> prober;
};

// A mover walking right from `start`, with the brake set as the window would
// have it (weak, the button kind ticked) whether it is wanted or not, and
// the step `factor` times as long (5: the boost).
class Walk {
 public:
  Walk(Bench& bench, int position, bool brake, bool turn_at_edges, POINT start,
       int factor = 1)
      : state_(std::make_shared<hopla::EngineState>()) {
    const hopla::Rect desktop = bench.platform.DesktopRect();
    hopla::EngineState& state = *state_;
    state.DirectionCount = kFourDirections;
    state.Direction = kDirectionRight;
    state.ScreenRight = desktop.right;
    state.ScreenBottom = desktop.bottom;
    state.BrakeDelay = kBrakeDelayMs;
    state.BrakeKinds = kBrakeKinds;
    state.SpeedFactor = factor;
    state.MoverEvent = bench.platform.CreateAutoResetEvent(true);
    // As the window has it: the slider's position with its map, the brake
    // wanted or not, edge turning on or off.
    state.SpeedPosition = position;
    hopla::ApplySpeedPosition(state);
    state.BrakeOn = brake;
    state.TurnAtEdges = turn_at_edges;
    // The last walk's probe finishes.
    Sleep(kProbeSettleMs);
    // Wine may report the old place for a moment after a jump.
    SetCursorPos(start.x, start.y);
    for (int waited = 0; waited < kStopTimeoutMs; ++waited) {
      POINT at{};
      GetCursorPos(&at);
      if (at.x == start.x && at.y == start.y) break;
      Sleep(1);
    }
    mover_ = std::make_shared<hopla::bench::CountingMover>(
        bench.platform, state_, bench.prober);
  }
  Walk(const Walk&) = delete;
  Walk& operator=(const Walk&) = delete;
  // The state dies with this; a mover still running would use it afterwards.
  ~Walk() {
    mover_->Terminate();
    const DWORD give_up = GetTickCount() + kStopTimeoutMs;
    while (!mover_->Finished() && GetTickCount() < give_up) Sleep(1);
    if (!mover_->Finished()) {
      std::printf("the mover did not end; giving up\n");
      std::fflush(stdout);
      std::_Exit(2);
    }
  }

  void Start() { mover_->Start(); }
  int64_t passes() const { return mover_->passes(); }
  bool braking() const { return state_->Braking; }

 private:
  std::shared_ptr<hopla::EngineState> state_;
  std::shared_ptr<hopla::bench::CountingMover> mover_;
};

// --- Speed over plain ground

struct Speed {
  double moving_ms = 0;
  int64_t pixels = 0;
  int64_t queries = 0;  // answered by the logger
  int64_t passes = 0;
  double walked_ms = 0;
};

// Taken between the first and the last sample that saw the cursor move, so
// that a slow position is not off by a whole step at either end.
void WalkSpeed(Bench& bench, int position, bool brake, LONG row, Speed& total) {
  const hopla::Rect desktop = bench.platform.DesktopRect();
  Walk walk(bench, position, brake, /*turn_at_edges=*/true,
            {desktop.left, row});
  POINT last{};
  GetCursorPos(&last);
  const int64_t queries_before = Queries(bench.logger);
  const double start = bench.clock.NowMs();
  walk.Start();
  double now = start;
  double first_move_at = -1;
  double moving_ms = 0;
  int64_t pixels = 0;
  int64_t counted_pixels = 0;
  while (now - start < kWalkMs) {
    Sleep(kSampleEveryMs);
    POINT at{};
    GetCursorPos(&at);
    now = bench.clock.NowMs();
    const int64_t moved = std::abs(at.x - last.x) + std::abs(at.y - last.y);
    last = at;
    if (moved == 0) continue;
    if (first_move_at < 0) {
      first_move_at = now;
      continue;
    }
    pixels += moved;
    moving_ms = now - first_move_at;
    counted_pixels = pixels;
  }
  total.moving_ms += moving_ms;
  total.pixels += counted_pixels;
  total.walked_ms += bench.clock.NowMs() - start;
  total.queries += Queries(bench.logger) - queries_before;
  total.passes += walk.passes();
}

double PixelsPerSecond(const Speed& speed) {
  return speed.moving_ms > 0
             ? static_cast<double>(speed.pixels) * 1000.0 / speed.moving_ms
             : 0;
}

struct RowResult {
  double off_px_per_s = 0;
  double on_px_per_s = 0;
  double ratio = 0;
  double queries_per_s = 0;  // with the brake on
  double off_pass_ms = 0;    // the mover's mean period
  double on_pass_ms = 0;
};

// Brake off and on in turn, kRounds times, so that a slow moment of the
// machine falls on both alike.
RowResult CompareOnRow(Bench& bench, int position, LONG row) {
  Speed off;
  Speed on;
  for (int round = 0; round < kRounds; ++round) {
    WalkSpeed(bench, position, /*brake=*/false, row, off);
    WalkSpeed(bench, position, /*brake=*/true, row, on);
  }
  RowResult result;
  result.off_px_per_s = PixelsPerSecond(off);
  result.on_px_per_s = PixelsPerSecond(on);
  result.ratio =
      result.off_px_per_s > 0 ? result.on_px_per_s / result.off_px_per_s : 0;
  result.off_pass_ms =
      off.passes > 0 ? off.walked_ms / static_cast<double>(off.passes) : 0;
  result.on_pass_ms =
      on.passes > 0 ? on.walked_ms / static_cast<double>(on.passes) : 0;
  result.queries_per_s =
      on.walked_ms > 0 ? static_cast<double>(on.queries) * 1000.0 / on.walked_ms
                       : 0;
  return result;
}

// Returns whether every ratio reached the target.
void PrintRow(int position, const char* ground, double promised,
              const RowResult& row, bool show_queries) {
  std::printf("%8d %-7s %13.0f %8.0f %7.0f %5.3f %11.3f %10.3f", position,
              ground, promised, row.off_px_per_s, row.on_px_per_s, row.ratio,
              row.off_pass_ms, row.on_pass_ms);
  if (show_queries) {
    std::printf(" %9.0f", row.queries_per_s);
  } else {
    std::printf(" %9s", "-");
  }
  std::printf("%s\n", row.ratio >= kTargetRatio ? "" : "  SHORT");
  std::fflush(stdout);
}

// Returns whether every ratio reached the target.
bool PrintPlainGround(Bench& bench) {
  std::printf(
      "\nWalking over plain ground with the brake on (weak, %d ms, the "
      "button kind ticked) against the brake off, on the same row, %d "
      "rounds of %lld ms each.\n"
      "logger: along the logger's plain area, every probe asks the other "
      "program; desktop: along Wine's desktop, where every probe fails.\n"
      "pass_ms: the mover's mean period; queries/s: accessibility queries "
      "the logger answered while the brake was on (its own count).\n",
      kBrakeDelayMs, kRounds, static_cast<long long>(kWalkMs));
  std::printf(
      "position ground  promised_px/s off_px/s on_px/s ratio off_pass_ms "
      "on_pass_ms queries/s\n");
  bool met = true;
  for (int position = kFirstPosition; position <= kLastPosition; ++position) {
    const hopla::SpeedStep step = hopla::SpeedFor(position);
    const double promised =
        step.step_pixels * 1000.0 / static_cast<double>(step.step_delay_ms);
    const RowResult logger =
        CompareOnRow(bench, position, bench.layout.plain_row);
    PrintRow(position, "logger", promised, logger, true);
    const RowResult desktop =
        CompareOnRow(bench, position, bench.layout.desktop_row);
    PrintRow(position, "desktop", promised, desktop, false);
    met = met && logger.ratio >= kTargetRatio && desktop.ratio >= kTargetRatio;
  }
  std::printf(
      "target: brake-on speed >= %.2f of brake-off at every position: %s\n",
      kTargetRatio, met ? "met" : "NOT met");
  return met;
}

// --- How far into a braked button

struct Sample {
  double at_ms;
  LONG x;
  bool braking;  // as the mover's state said then
};

struct Reach {
  bool slowed = false;
  LONG past_edge_px = 0;  // where the lasting slowing began, from the edge
  double after_crossing_ms = 0;
  double outside_px_per_s = 0;
  double inside_px_per_s = 0;
  bool ran_through = false;  // reached the button's middle unbraked
  int backwards = 0;         // cursor reads that went back
  int releases = 0;          // times the brake let go during the walk
};

// The cursor's moves: the samples at which x changed.
std::vector<Sample> Moves(const std::vector<Sample>& samples) {
  std::vector<Sample> moves;
  for (size_t i = 1; i < samples.size(); ++i) {
    if (samples[i].x != samples[i - 1].x) moves.push_back(samples[i]);
  }
  return moves;
}

double Pace(const Sample& from, const Sample& to) {
  const double ms = to.at_ms - from.at_ms;
  return ms > 0 ? static_cast<double>(to.x - from.x) * 1000.0 / ms : 0;
}

// A slow pass is a stand longer than a step and half the brake. The cursor
// slowed where the slow passes began that went on to the end of the walk;
// the walk's first moments are left out, as a new mover's first passes may
// stand.
Reach FindSlowing(const std::vector<Sample>& samples, const RECT& button,
                  int32_t step_delay_ms) {
  const std::vector<Sample> moves = Moves(samples);
  Reach reach;
  for (size_t i = 1; i < moves.size(); ++i) {
    if (moves[i].x < moves[i - 1].x) ++reach.backwards;
  }
  for (size_t i = 1; i < samples.size(); ++i) {
    if (samples[i - 1].braking && !samples[i].braking) ++reach.releases;
  }
  reach.ran_through =
      std::any_of(samples.begin(), samples.end(), [&](const Sample& s) {
        return s.x >= (button.left + button.right) / 2 && !s.braking;
      });
  const double settled_ms = samples.front().at_ms + kWalkSettleMs;
  const auto settled =
      std::find_if(moves.begin(), moves.end(),
                   [&](const Sample& m) { return m.at_ms >= settled_ms; });
  if (settled == moves.end()) return reach;
  const size_t first = static_cast<size_t>(settled - moves.begin());
  const double slow_ms = step_delay_ms + kBrakeDelayMs / 2.0;
  const double end_ms = samples.back().at_ms;
  const auto stand_ms = [&](size_t i) {
    return (i + 1 < moves.size() ? moves[i + 1].at_ms : end_ms) -
           moves[i].at_ms;
  };
  // The slowing that held: from it to the end of the walk every stand is
  // slow (the last one, cut off by the end, aside). Slow stands that did
  // not last do not count; a walk that ran through never slowed for good.
  if (reach.ran_through || moves.size() < 2 || first + 1 >= moves.size()) {
    return reach;
  }
  const size_t last = moves.size() - 1;
  size_t slow = last;
  while (slow > first && stand_ms(slow - 1) > slow_ms) --slow;
  if (slow == last) return reach;
  reach.slowed = true;
  reach.past_edge_px = moves[slow].x - button.left;
  const auto crossing =
      std::find_if(samples.begin(), samples.end(),
                   [&](const Sample& s) { return s.x >= button.left; });
  if (crossing != samples.end()) {
    reach.after_crossing_ms = moves[slow].at_ms - crossing->at_ms;
  }
  reach.outside_px_per_s = Pace(moves[first], moves[slow]);
  // Inside: from the slowing (or the edge, if later) to the last move
  // still over the button.
  size_t inside_from = slow;
  while (inside_from < moves.size() && moves[inside_from].x < button.left) {
    ++inside_from;
  }
  size_t inside_to = inside_from;
  for (size_t i = inside_from; i < moves.size(); ++i) {
    if (moves[i].x < button.right) inside_to = i;
  }
  if (inside_to > inside_from) {
    reach.inside_px_per_s = Pace(moves[inside_from], moves[inside_to]);
  }
  return reach;
}

// With `trace`, every change of the brake is printed as it is sampled.
Reach WalkIntoButton(Bench& bench, int position, int factor, bool trace) {
  const Layout& layout = bench.layout;
  const hopla::Rect desktop = bench.platform.DesktopRect();
  const hopla::SpeedStep step = hopla::SpeedFor(position);
  const int64_t approach_px =
      std::min<int64_t>(kLongestApproachPx, kApproachMs * step.step_pixels *
                                                factor / step.step_delay_ms);
  const LONG start_x =
      std::max<LONG>(desktop.left + 2 * hopla::kEdgeMarginPx,
                     layout.button.left - static_cast<LONG>(approach_px));
  std::vector<Sample> samples;
  samples.reserve(static_cast<size_t>(
      (kApproachMs + kInsideMs + kReachSlackMs) / kSampleEveryMs + 1));
  {
    Walk walk(bench, position, /*brake=*/true, /*turn_at_edges=*/false,
              {start_x, layout.button_row}, factor);
    const double start = bench.clock.NowMs();
    samples.push_back({start, start_x, false});
    walk.Start();
    double crossed_at = -1;
    for (;;) {
      Sleep(kSampleEveryMs);
      POINT at{};
      GetCursorPos(&at);
      const double now = bench.clock.NowMs();
      samples.push_back({now, at.x, walk.braking()});
      if (trace &&
          samples.back().braking != samples[samples.size() - 2].braking) {
        std::printf("      %7.1f ms x=%ld: brake %s (pass %lld)\n", now - start,
                    at.x, samples.back().braking ? "on" : "off",
                    static_cast<long long>(walk.passes()));
      }
      if (crossed_at < 0 && at.x >= layout.button.left) crossed_at = now;
      if (crossed_at >= 0 && now - crossed_at >= kInsideMs) break;
      // Half way in is far enough: braked with the boost at the fastest
      // positions, the cursor crosses the whole button within kInsideMs.
      if (at.x >= (layout.button.left + layout.button.right) / 2) break;
      if (now - start > kApproachMs + kInsideMs + kReachSlackMs) break;
      if (samples.size() == samples.capacity()) break;
    }
  }
  return FindSlowing(samples, layout.button, step.step_delay_ms);
}

// One position and boost: every run's reach, then what they come to.
bool PrintReachAt(Bench& bench, int position, int factor, bool trace) {
  const hopla::SpeedStep step = hopla::SpeedFor(position);
  const int32_t step_px = step.step_pixels * factor;
  std::vector<LONG> distances;
  double outside_sum = 0;
  double inside_sum = 0;
  int through = 0;
  int with_backwards = 0;
  int with_releases = 0;
  for (int run = 1; run <= kReachRuns; ++run) {
    const Reach reach = WalkIntoButton(bench, position, factor, trace);
    if (reach.ran_through) ++through;
    if (reach.backwards > 0) ++with_backwards;
    if (reach.releases > 0) ++with_releases;
    if (!reach.slowed) {
      std::printf("%8d %5d %3d did not slow down for good %s %8d %4d\n",
                  position, factor, run, reach.ran_through ? "yes" : "no",
                  reach.releases, reach.backwards);
      continue;
    }
    distances.push_back(reach.past_edge_px);
    outside_sum += reach.outside_px_per_s;
    inside_sum += reach.inside_px_per_s;
    std::printf("%8d %5d %3d %12ld %8.1f %12.0f %11.1f %7s %8d %4d\n", position,
                factor, run, reach.past_edge_px, reach.after_crossing_ms,
                reach.outside_px_per_s, reach.inside_px_per_s,
                reach.ran_through ? "yes" : "no", reach.releases,
                reach.backwards);
    std::fflush(stdout);
  }
  const double promised_outside =
      step_px * 1000.0 / static_cast<double>(step.step_delay_ms);
  const double promised_inside =
      step_px * 1000.0 /
      static_cast<double>(step.step_delay_ms + kBrakeDelayMs);
  std::printf(
      "position %d, boost %d: slowed in %zu of %d runs, ran through the "
      "button in %d, the brake let go in %d, cursor reads went back in "
      "%d\n",
      position, factor, distances.size(), kReachRuns, through, with_releases,
      with_backwards);
  if (distances.empty()) return false;
  std::sort(distances.begin(), distances.end());
  const double runs = static_cast<double>(distances.size());
  const bool within = static_cast<int>(distances.size()) == kReachRuns &&
                      distances.front() >= 0 &&
                      distances.back() <= kReachSteps * step_px;
  std::printf(
      "  slowed %ld..%ld px past the edge (median %ld; one step is %d px: "
      "within %d steps %s); pace outside %.0f px/s (promised %.0f), inside "
      "%.1f px/s (promised %.1f)\n",
      distances.front(), distances.back(), distances[distances.size() / 2],
      step_px, kReachSteps, within ? "yes" : "no", outside_sum / runs,
      promised_outside, inside_sum / runs, promised_inside);
  std::fflush(stdout);
  return within;
}

// Returns whether, at every position and boost, every run slowed within
// kReachSteps steps of the edge.
bool PrintReach(Bench& bench, bool trace) {
  const Layout& layout = bench.layout;
  std::printf(
      "\nInto a braked button (weak, %d ms, the button kind ticked), walking "
      "right along y=%ld over the logger's plain area; the button's edge is "
      "at x=%ld.\n"
      "past_edge_px: where the slow passes began that lasted to the end of "
      "the walk, from the edge (0 = the first pixel inside);\n"
      "after_ms: from the first sample over the button to that pass "
      "(negative: it slowed before);\n"
      "inside_px/s: from there (or the edge) to the last move over the "
      "button; through: the cursor reached the button's middle unbraked;\n"
      "releases: times the brake let go during the walk (once on it should "
      "hold: the walk ends over the button);\n"
      "back: cursor reads that went back (Wine's X11 driver lags behind fast "
      "jumps over another program's window).\n",
      kBrakeDelayMs, layout.button_row, layout.button.left);
  std::printf(
      "position boost run past_edge_px after_ms outside_px/s inside_px/s "
      "through releases back\n");
  bool met = true;
  for (int position = kFirstPosition; position <= kLastPosition; ++position) {
    for (int factor : kBoostFactors) {
      met = PrintReachAt(bench, position, factor, trace) && met;
    }
  }
  std::printf("slowed within %d steps of the edge in every run: %s\n",
              kReachSteps, met ? "yes" : "no");
  return met;
}

void PrintProbeCost(hopla::win32::Win32Platform& platform, const Clock& clock,
                    const Layout& layout) {
  const std::unique_ptr<hopla::RoleProbe> probe = platform.CreateRoleProbe();
  std::printf(
      "\nOne probe (RoleProbe::RoleAt on this thread), %d calls each after "
      "%d to warm up:\n",
      kProbeCalls, kWarmUpCalls);
  std::printf("  %-30s %-6s %-8s %6s %9s %9s %9s\n", "where", "role",
              "expected", "failed", "median_ms", "mean_ms", "worst_ms");
  const LONG plain_x = (layout.logger.left + layout.button.left) / 2;
  MeasureProbe(*probe, clock, {plain_x, layout.plain_row},
               "logger, plain client area", "0x0A");
  MeasureProbe(
      *probe, clock,
      {(layout.button.left + layout.button.right) / 2, layout.button_row},
      "logger, push button", "0x2B");
  MeasureProbe(*probe, clock, {plain_x, layout.desktop_row},
               "desktop (for comparison)", "-");
  // The hop's search: every element of the windows on the whole screen.
  std::vector<double> times_ms;
  size_t count = 0;
  for (int i = 0; i < kProbeCalls / 10; ++i) {
    const double start = clock.NowMs();
    count = probe
                ->Elements({0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN)})
                .size();
    times_ms.push_back(clock.NowMs() - start);
  }
  std::sort(times_ms.begin(), times_ms.end());
  std::printf(
      "\nThe hop's search (RoleProbe::Elements over the whole screen), %zu "
      "calls: %zu elements, median %.2f ms, worst %.2f ms (the hop waits "
      "%d ms at most)\n",
      times_ms.size(), count, times_ms[times_ms.size() / 2], times_ms.back(),
      hopla::kHopWaitMs);
}

// The prober's thread starts with its first request; its first probe pays
// for setting up, as the window's does once.
bool WarmUp(hopla::BrakeProber& prober, const Layout& layout) {
  const hopla::Point at{layout.logger.left + 1, layout.plain_row};
  prober.Request(at);
  for (int waited = 0; waited < kLoggerTimeoutMs; waited += kPollMs) {
    if (prober.GroundAt(at)) return true;
    Sleep(kPollMs);
  }
  return false;
}

}  // namespace

// With one argument (probe, plain or reach), only that part runs; trace is
// reach with every change of the brake printed as it happens.
int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  if (argc > 2 || !(only.empty() || only == "probe" || only == "plain" ||
                    only == "reach" || only == "trace")) {
    std::fprintf(stderr,
                 "usage: hopla-brake-bench.exe [probe|plain|reach|trace]\n");
    return 2;
  }
  hopla::win32::Win32Platform platform(
      hopla::win32::SwitchSourceKind::kJoystick);
  const Clock clock;
  const Layout layout = MakeLayout(platform.DesktopRect());
  const std::unique_ptr<InputLogger> logger =
      InputLogger::Start(layout.logger, layout.button);
  if (logger == nullptr) {
    std::printf("the input logger did not start or show its window\n");
    return 2;
  }
  std::printf("1 ms timer resolution granted: %s\n",
              platform.TimerResolutionRaised() ? "yes" : "no");
  std::printf(
      "input logger over (%ld,%ld)-(%ld,%ld), its push button over "
      "(%ld,%ld)-(%ld,%ld)\n",
      layout.logger.left, layout.logger.top, layout.logger.right,
      layout.logger.bottom, layout.button.left, layout.button.top,
      layout.button.right, layout.button.bottom);
  if (only.empty() || only == "probe") PrintProbeCost(platform, clock, layout);

  Bench bench{platform, clock, layout, *logger,
              std::make_shared<hopla::BrakeProber>(platform)};
  if (!WarmUp(*bench.prober, layout)) {
    std::printf("the prober never answered\n");
    return 2;
  }
  bool met = true;
  if (only.empty() || only == "plain") met = PrintPlainGround(bench);
  if (only.empty() || only == "reach" || only == "trace") {
    met = PrintReach(bench, only == "trace") && met;
  }
  bench.prober->Stop();
  // The prober's thread ends before the platform it uses.
  for (int waited = 0; platform.ThreadsRunning() > 0 && waited < kThreadsEndMs;
       waited += kPollMs) {
    Sleep(kPollMs);
  }
  return met ? 0 : 1;
}
