// The random numbers of one run. The same seed gives the same numbers with
// any compiler on any machine (the standard library's distributions do not
// promise that), so a failing seed replays exactly wherever it is run.
#ifndef HOPLA_TESTS_RANDOM_RUNS_DICE_H_
#define HOPLA_TESTS_RANDOM_RUNS_DICE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hopla::random_runs {

class Dice {
 public:
  explicit Dice(uint64_t seed) : state_(seed) {}

  // SplitMix64: every seed, even 0, starts a good sequence.
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A whole number from `low` to `high`, both included.
  int64_t Between(int64_t low, int64_t high) {
    const uint64_t span = static_cast<uint64_t>(high - low) + 1;
    return low + static_cast<int64_t>(Next() % span);
  }
  bool Percent(int64_t percent) { return Between(1, 100) <= percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& from) {
    return from[static_cast<size_t>(
        Between(0, static_cast<int64_t>(from.size()) - 1))];
  }

 private:
  uint64_t state_;
};

}  // namespace hopla::random_runs

#endif  // HOPLA_TESTS_RANDOM_RUNS_DICE_H_
