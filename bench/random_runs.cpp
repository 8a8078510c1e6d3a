// The random runs as a bench: many seeds, with what they cost and cover,
// or one seed replayed with its script and trace.
//   hopla-random-runs [--first N] [--count N]   runs, virtual hours, failures
//   hopla-random-runs --seed N                  one run, told in full
//   hopla-random-runs --free 1 [...]            the program's threads side by
//                                               side on the real clock (built
//                                               with ThreadSanitizer: races)
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "random_runs/random_run.h"

namespace {

int Replay(uint64_t seed, bool free_running) {
  hopla::random_runs::RunOptions options;
  options.with_trace = true;
  options.free_running = free_running;
  const hopla::random_runs::RunReport report =
      hopla::random_runs::RunSeed(seed, options);
  std::printf("seed %llu, %.1f s of virtual time\n\nscript:\n%s\ntrace:\n%s\n",
              static_cast<unsigned long long>(seed),
              static_cast<double>(report.virtual_ms) / 1000.0,
              report.script.c_str(), report.trace.c_str());
  if (report.failures.empty()) {
    std::printf("every invariant held\n");
    return 0;
  }
  std::printf("failed:\n");
  for (const std::string& failure : report.failures) {
    std::printf("  %s\n", failure.c_str());
  }
  return 1;
}

int Sweep(uint64_t first, uint64_t count, bool free_running) {
  hopla::random_runs::RunOptions options;
  options.free_running = free_running;
  const auto began = std::chrono::steady_clock::now();
  int64_t virtual_ms = 0;
  std::vector<uint64_t> failed;
  for (uint64_t seed = first; seed < first + count; ++seed) {
    const hopla::random_runs::RunReport report =
        hopla::random_runs::RunSeed(seed, options);
    virtual_ms += report.virtual_ms;
    if (report.failures.empty()) continue;
    failed.push_back(seed);
    std::printf("seed %llu: %s (replay: %s)\n",
                static_cast<unsigned long long>(seed),
                report.failures.front().c_str(),
                hopla::random_runs::ReplayCommand(seed).c_str());
    std::fflush(stdout);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began)
          .count();
  std::printf(
      "%llu runs (seeds %llu..%llu) in %.1f s: %.1f runs per second, %.2f "
      "virtual hours, %zu failed\n",
      static_cast<unsigned long long>(count),
      static_cast<unsigned long long>(first),
      static_cast<unsigned long long>(first + count - 1), seconds,
      static_cast<double>(count) / seconds,
      static_cast<double>(virtual_ms) / 3600000.0, failed.size());
  return failed.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  uint64_t first = 1;
  uint64_t count = 1000;
  std::optional<uint64_t> seed;
  bool free_running = false;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    const uint64_t value = std::strtoull(argv[i + 1], nullptr, 10);
    if (flag == "--seed") seed = value;
    if (flag == "--first") first = value;
    if (flag == "--count") count = value;
    if (flag == "--free") free_running = value != 0;
  }
  if (seed) return Replay(*seed, free_running);
  return Sweep(first, count, free_running);
}
