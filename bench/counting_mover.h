// A mover that counts its passes, for the benches' mean pass time; its link
// goes nowhere (no window waits for the walk's end).
#ifndef HOPLA_BENCH_COUNTING_MOVER_H_
#define HOPLA_BENCH_COUNTING_MOVER_H_

#include <atomic>
#include <cstdint>
#include <memory>

#include "motion/mover_link.h"
#include "motion/mover_thread.h"

namespace hopla::bench {

class NoWindow : public MoverSite {
 public:
  void MoverEnded() override {}
};

class CountingMover : public TMyThread {
 public:
  CountingMover(Platform& platform, std::shared_ptr<EngineState> state,
                std::shared_ptr<BrakeProber> prober)
      : TMyThread(platform, std::move(state),
                  std::make_shared<MoverLink>(no_window_), std::move(prober)) {}
  int64_t passes() const { return passes_.load(std::memory_order_relaxed); }

 protected:
  void Execute() override {
    // Counted as a pass begins, so a window of time that a pass straddles
    // counts it.
    while (!Terminated()) {
      passes_.fetch_add(1, std::memory_order_relaxed);
      Pass();
    }
  }

 private:
  // Made before the base, which is handed a link to it: static storage.
  static inline NoWindow no_window_;
  std::atomic<int64_t> passes_{0};
};

}  // namespace hopla::bench

#endif  // HOPLA_BENCH_COUNTING_MOVER_H_
