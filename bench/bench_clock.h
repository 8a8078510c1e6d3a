// The benches' clock: milliseconds from the performance counter, as a
// fraction, so that a 1 ms step can be measured; and how long Sleep(n)
// really lasts on this machine, which every pace here rests on.
#ifndef HOPLA_BENCH_BENCH_CLOCK_H_
#define HOPLA_BENCH_BENCH_CLOCK_H_

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>

namespace hopla::bench {

class Clock {
 public:
  Clock() { QueryPerformanceFrequency(&frequency_); }
  double NowMs() const {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 /
           static_cast<double>(frequency_.QuadPart);
  }

 private:
  LARGE_INTEGER frequency_{};
};

// Prints the mean length of Sleep(n) for each n, over about 300 ms each.
inline void PrintSleepCalibration(const Clock& clock,
                                  std::initializer_list<int> sleeps_ms) {
  constexpr int64_t kBudgetMs = 300;
  std::printf("Sleep(n) as measured here (mean over %lld ms of sleeping):\n",
              static_cast<long long>(kBudgetMs));
  for (int ms : sleeps_ms) {
    const int count = static_cast<int>(kBudgetMs / ms);
    const double start = clock.NowMs();
    for (int i = 0; i < count; ++i) Sleep(static_cast<DWORD>(ms));
    std::printf("  Sleep(%2d) lasts %.3f ms\n", ms,
                (clock.NowMs() - start) / count);
  }
}

}  // namespace hopla::bench

#endif  // HOPLA_BENCH_BENCH_CLOCK_H_
