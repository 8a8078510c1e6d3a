// The CPU that Linux processes take under Wine, read from the kernel's own
// counts (/proc, through Wine's Z: drive): a Windows program's own process,
// and the prefix's wineserver, which does the window system's share.
#ifndef HOPLA_BENCH_PROC_CPU_H_
#define HOPLA_BENCH_PROC_CPU_H_

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace hopla::wine_test {

inline constexpr int kSettleMs = 2000;
inline constexpr double kTicksPerSecond = 100.0;  // USER_HZ on Linux

inline std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The Linux process whose command line holds `marker`, or whose command
// line is the wineserver's and whose environment names `prefix`.
inline std::optional<std::string> FindUnixProcess(
    const std::string& marker, const std::string& prefix = "") {
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
inline long long CpuTicks(const std::string& pid) {
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

inline Cost Measure(const std::string& program, const std::string& server,
                    int seconds) {
  Sleep(kSettleMs);
  const long long program_before = CpuTicks(program);
  const long long server_before = CpuTicks(server);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const double span = kTicksPerSecond * seconds / 100.0;  // ticks per 1%
  return Cost{(CpuTicks(program) - program_before) / span,
              (CpuTicks(server) - server_before) / span};
}

// The wineserver of this session's prefix ($WINEPREFIX).
inline std::optional<std::string> FindPrefixServer() {
  const char* prefix = std::getenv("WINEPREFIX");
  return FindUnixProcess("wineserver", prefix != nullptr ? prefix : "");
}

inline void PrintCostHead(int seconds) {
  std::printf("%d s a phase; CPU in %% of one core (kernel clock ticks)\n",
              seconds);
  std::printf("%-44s %8s %10s %8s\n", "phase", "program", "wineserver",
              "total");
}

inline void Print(const char* phase, const Cost& cost) {
  std::printf("%-44s %8.2f %10.2f %8.2f\n", phase, cost.program_percent,
              cost.server_percent, cost.Total());
}

}  // namespace hopla::wine_test

#endif  // HOPLA_BENCH_PROC_CPU_H_
