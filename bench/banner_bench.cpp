// What the scrolling banner costs: the CPU of Hopla with its window shown
// and the banner running, of Hopla minimised, and of a bare program with one
// 50 ms timer as the floor, each over the same time, read from the kernel's
// own counts (/proc, through Wine's Z: drive) for the program and for the
// prefix's wineserver, which does the window system's share of the work.
//   hopla-banner-bench.exe [seconds per phase, default 30]
// Exit code: 0 when the banner adds under 0.5% of one core over minimised
// and minimised Hopla stays within 1.5 times the bare program; 1 when not;
// 2 when it could not run.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "hopla_program.h"
#include "proc_cpu.h"

namespace hopla::wine_test {
namespace {

constexpr double kBannerLimitPercent = 0.5;
constexpr double kMinimisedLimitFactor = 1.5;

int Run(int seconds) {
  const auto server = FindPrefixServer();
  if (!server) {
    std::printf("the prefix's wineserver was not found in /proc\n");
    return 2;
  }
  PrintCostHead(seconds);
  TempFolder folder;
  const std::wstring bare_exe =
      std::wstring(ToWide(HOPLA_EXE_DIR)) + L"\\hopla-bare-timer.exe";
  auto bare = ChildProcess::Start(
      bare_exe, std::to_wstring(seconds + kSettleMs / 1000 + 5), folder.path());
  const auto bare_pid =
      bare ? FindUnixProcess("hopla-bare-timer.exe") : std::nullopt;
  if (!bare_pid) {
    std::printf("the bare program did not start\n");
    return 2;
  }
  const Cost floor = Measure(*bare_pid, *server, seconds);
  Print("bare program, one 50 ms timer", floor);
  bare.reset();

  // The program as shipped (its switch a joystick; under Wine there is
  // none, and Wine looks for one every 2 s), then the test build, whose
  // switch opens a named byte on every poll.
  Cost shown{}, minimised{};
  for (const wchar_t* exe : {L"Hopla.exe", L"Hopla-testswitch.exe"}) {
    TempFolder work;
    auto hopla =
        HoplaProgram::Start(work.path(), QuickSettings(3),
                            std::wstring(ToWide(HOPLA_EXE_DIR)) + L"\\" + exe);
    const auto pid = hopla ? FindUnixProcess(ToUtf8(exe)) : std::nullopt;
    if (!pid) {
      std::printf("%s did not start\n", ToUtf8(exe).c_str());
      return 2;
    }
    const std::string name = ToUtf8(exe);
    const Cost on_screen = Measure(*pid, *server, seconds);
    Print((name + " shown, banner running").c_str(), on_screen);
    PostMessageW(hopla->MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    const Cost hidden = Measure(*pid, *server, seconds);
    Print((name + " minimised").c_str(), hidden);
    hopla->Quit();
    if (shown.Total() == 0) {
      shown = on_screen;
      minimised = hidden;
    }
  }

  // The targets are the shipped program's.
  const double banner = shown.Total() - minimised.Total();
  const double factor =
      floor.Total() > 0 ? minimised.Total() / floor.Total() : 0.0;
  const bool banner_ok = banner < kBannerLimitPercent;
  const bool minimised_ok =
      minimised.Total() <=
      kMinimisedLimitFactor * std::max(floor.Total(), 1.0 / seconds);
  std::printf(
      "Hopla.exe: the banner adds %+.2f%% of one core over minimised "
      "(target < %.1f%%): %s\n",
      banner, kBannerLimitPercent, banner_ok ? "met" : "NOT met");
  std::printf(
      "Hopla.exe minimised: %.2f x the bare program (target <= %.1f): %s\n",
      factor, kMinimisedLimitFactor, minimised_ok ? "met" : "NOT met");
  return banner_ok && minimised_ok ? 0 : 1;
}

}  // namespace
}  // namespace hopla::wine_test

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  return hopla::wine_test::Run(seconds > 0 ? seconds : 30);
}
