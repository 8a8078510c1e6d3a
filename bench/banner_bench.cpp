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

namespace hopla::wine_test {
namespace {

constexpr int kSettleMs = 2000;
constexpr double kTicksPerSecond = 100.0;  // USER_HZ on Linux
constexpr double kBannerLimitPercent = 0.5;
constexpr double kMinimisedLimitFactor = 1.5;

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The Linux process whose command line holds `marker`, or whose command
// line is the wineserver's and whose environment names `prefix`.
std::optional<std::string> FindUnixProcess(const std::string& marker,
                                           const std::string& prefix = "") {
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator("Z:\\proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != name.npos) {
      continue;
    }
    const std::string cmdline = ReadWhole(entry.path() / "cmdline");
    if (cmdline.find(marker) == std::string::npos) continue;
    if (!prefix.empty() &&
        ReadWhole(entry.path() / "environ").find("WINEPREFIX=" + prefix) ==
            std::string::npos) {
      continue;
    }
    return name;
  }
  return std::nullopt;
}

// User and system clock ticks of a Linux process so far.
long long CpuTicks(const std::string& pid) {
  const std::string stat = ReadWhole("Z:\\proc\\" + pid + "\\stat");
  const size_t end_of_name = stat.rfind(')');
  if (end_of_name == std::string::npos) return 0;
  std::istringstream fields(stat.substr(end_of_name + 2));
  std::string field;
  long long utime = 0, stime = 0;
  // State is field 3; utime and stime are fields 14 and 15.
  for (int index = 3; index <= 15 && fields >> field; ++index) {
    if (index == 14) utime = std::atoll(field.c_str());
    if (index == 15) stime = std::atoll(field.c_str());
  }
  return utime + stime;
}

struct Cost {
  double program_percent;
  double server_percent;
  double Total() const { return program_percent + server_percent; }
};

Cost Measure(const std::string& program, const std::string& server,
             int seconds) {
  Sleep(kSettleMs);
  const long long program_before = CpuTicks(program);
  const long long server_before = CpuTicks(server);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const double span = kTicksPerSecond * seconds / 100.0;  // ticks per 1%
  return Cost{(CpuTicks(program) - program_before) / span,
              (CpuTicks(server) - server_before) / span};
}

void Print(const char* phase, const Cost& cost) {
  std::printf("%-44s %8.2f %10.2f %8.2f\n", phase, cost.program_percent,
              cost.server_percent, cost.Total());
}

int Run(int seconds) {
  const char* prefix_env = std::getenv("WINEPREFIX");
  const std::string prefix = prefix_env != nullptr ? prefix_env : "";
  const auto server = FindUnixProcess("wineserver", prefix);
  if (!server) {
    std::printf("the prefix's wineserver was not found in /proc\n");
    return 2;
  }
  std::printf("%d s a phase; CPU in %% of one core (kernel clock ticks)\n",
              seconds);
  std::printf("%-44s %8s %10s %8s\n", "phase", "program", "wineserver",
              "total");
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
