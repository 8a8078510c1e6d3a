// The benches' clock: milliseconds from the performance counter, as a
// fraction, so that a 1 ms step can be measured.
#ifndef HOPLA_BENCH_BENCH_CLOCK_H_
#define HOPLA_BENCH_BENCH_CLOCK_H_

#include <windows.h>

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

}  // namespace hopla::bench

#endif  // HOPLA_BENCH_BENCH_CLOCK_H_
