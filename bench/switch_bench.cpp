// A key as the switch, and the code bubble at rest, in one run under Wine:
// 1. How soon a key switch's press is counted: 200 presses of F13 sent with
//    SendInput to the whole program running in this process, its switch
//    chosen in its settings file; from each key-down to the first poll that
//    read the switch down (the heartbeat's tick; a tap between two ticks is
//    kept until then). Median and worst.
// 2. What the bubble costs while nothing happens: Hopla.exe minimised with
//    the bubble on (the default) and off, twice each, from /proc.
//   hopla-switch-bench.exe [seconds per CPU phase, default 30]
// Exit code: 0 when every press was counted and the bubble costs nothing
// beyond the difference between two runs of the same setting; 1 when not;
// 2 when it could not run.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "hopla_program.h"
#include "in_process_hopla.h"
#include "proc_cpu.h"
#include "timing_platform.h"

namespace hopla::wine_test {
namespace {

constexpr int kPresses = 200;
constexpr int kHoldMs = 80;
constexpr int kGapMs = 120;
constexpr int kSeenTimeoutMs = 500;
constexpr int kStartSettleMs = 500;
constexpr WORD kSwitchKey = VK_F13;

// Sounds off, the longest quiet time (the presses make one long code that
// matches nothing), F13 as the switch.
constexpr char kKeySwitchSettings[] =
    "[サウンド]\n音を出す=0\n[タイマー]\n実行までの時間=8\n"
    "[拡張設定]\nスイッチ=1\nキー=124\n";

void SendKey(bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = kSwitchKey;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

// Milliseconds from each key-down to the poll that saw it; empty when the
// program did not start.
std::vector<double> MeasureLatency(int& missed) {
  const bench::Clock clock;
  bench::NoteBook notes;
  InProcessHopla program(
      kKeySwitchSettings,
      [&clock, &notes](Platform& real,
                       const std::function<void(Platform&)>& run) {
        bench::TimingPlatform platform(real, clock, notes);
        run(platform);
      },
      win32::SwitchSourceKind::kJoystick);
  std::vector<double> latencies;
  if (!program.WaitShown()) return latencies;
  Sleep(kStartSettleMs);
  for (int press = 0; press < kPresses; ++press) {
    const size_t first = notes.Size();
    const double down_at = clock.NowMs();
    SendKey(false);
    std::optional<double> seen;
    WaitUntil(
        [&] {
          for (const bench::Note& note : notes.Since(first)) {
            if (note.kind == bench::Note::Kind::kPollDown) {
              seen = note.at_ms + note.took_ms - down_at;
              return true;
            }
          }
          return false;
        },
        kSeenTimeoutMs);
    Sleep(kHoldMs);
    SendKey(true);
    if (seen) {
      latencies.push_back(std::max(0.0, *seen));
    } else {
      ++missed;
    }
    // Gaps of every length within a tick, so the presses begin at every
    // phase of the heartbeat.
    Sleep(static_cast<DWORD>(kGapMs + press * 37 % 50));
  }
  program.Quit();
  return latencies;
}

// Hopla.exe minimised for `seconds` with the bubble on or off.
std::optional<Cost> IdleCost(bool bubble, const std::string& server,
                             int seconds) {
  TempFolder work;
  auto hopla = HoplaProgram::Start(
      work.path(), QuickSettings(3, bubble ? "" : "[拡張設定]\n吹き出し=0\n"),
      std::wstring(ToWide(HOPLA_EXE_DIR)) + L"\\Hopla.exe");
  const auto pid = hopla ? FindUnixProcess("Hopla.exe") : std::nullopt;
  if (!pid) return std::nullopt;
  PostMessageW(hopla->MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  const Cost cost = Measure(*pid, server, seconds);
  hopla->Quit();
  return cost;
}

int Run(int seconds) {
  int missed = 0;
  std::vector<double> latencies = MeasureLatency(missed);
  if (latencies.empty()) {
    std::printf("the program did not start, or saw no press\n");
    return 2;
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf(
      "key switch (F13 by SendInput), %d presses: counted %zu, missed %d; "
      "from key-down to the poll that saw it: median %.1f ms, worst %.1f ms "
      "(the heartbeat ticks every 50 ms)\n",
      kPresses, latencies.size(), missed, latencies[latencies.size() / 2],
      latencies.back());

  const auto server = FindPrefixServer();
  if (!server) {
    std::printf("the prefix's wineserver was not found in /proc\n");
    return 2;
  }
  std::printf("\n");
  PrintCostHead(seconds);
  double on_sum = 0, off_sum = 0, on_spread = 0, off_spread = 0;
  std::optional<Cost> last_on, last_off;
  for (int round = 0; round < 2; ++round) {
    for (bool bubble : {true, false}) {
      const auto cost = IdleCost(bubble, *server, seconds);
      if (!cost) {
        std::printf("Hopla.exe did not start\n");
        return 2;
      }
      Print(bubble ? "Hopla.exe minimised, bubble on"
                   : "Hopla.exe minimised, bubble off",
            *cost);
      auto& last = bubble ? last_on : last_off;
      if (last) {
        (bubble ? on_spread : off_spread) =
            std::abs(last->Total() - cost->Total());
      }
      last = cost;
      (bubble ? on_sum : off_sum) += cost->Total();
    }
  }
  const double difference = (on_sum - off_sum) / 2;
  const double noise =
      std::max({on_spread, off_spread, 100.0 / (kTicksPerSecond * seconds)});
  const bool bubble_ok = std::abs(difference) <= noise;
  std::printf(
      "the bubble at rest adds %+.2f%% of one core; runs of the same setting "
      "differ by up to %.2f%%: %s\n",
      difference, noise,
      bubble_ok ? "no measurable difference" : "a difference, NOT met");
  return missed == 0 && bubble_ok ? 0 : 1;
}

}  // namespace
}  // namespace hopla::wine_test

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  return hopla::wine_test::Run(seconds > 0 ? seconds : 30);
}
