// Probes what lies under the walking cursor on a thread of its own. Asking
// the accessibility interface takes 2 ms over a plain window and 20 ms or
// more over a program that answers for its own elements, while the fastest
// walk steps every millisecond: a probe inside the mover's pass would slow
// every walk with the brake on. The mover hands over a place on each pass
// and takes each finished reading once; until one comes, the speed it has
// goes on, as after a probe that failed.
#ifndef HOPLA_MOTION_BRAKE_PROBER_H_
#define HOPLA_MOTION_BRAKE_PROBER_H_

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/platform.h"

namespace hopla {

class BrakeProber : public std::enable_shared_from_this<BrakeProber> {
 public:
  explicit BrakeProber(Platform& platform);
  BrakeProber(const BrakeProber&) = delete;
  BrakeProber& operator=(const BrakeProber&) = delete;

  // A finished probe: what lies at the place `at`.
  struct Answer {
    RoleReading reading;
    Point at;
  };

  // Any thread: the place to probe next; a newer place replaces one not yet
  // probed. The probing thread starts on the first request, and is woken
  // only when it has nothing to do (a wake-up costs a call to the system).
  void Request(Point at);
  // Any thread: the answer finished since the last call, if any.
  std::optional<Answer> TakeAnswer();
  // How long a probe has been taking lately, in microseconds.
  int64_t ProbeMicros() const { return probe_us_.load(); }
  // Ends the probing thread once its current probe returns. It holds what
  // it uses, so nothing it touches goes away before it ends.
  void Stop();

 private:
  void Run();

  Platform& platform_;
  std::unique_ptr<Event> wake_;
  std::mutex mutex_;
  std::optional<Point> request_;
  std::optional<Answer> answer_;
  bool started_ = false;
  bool idle_ = false;  // the probing thread waits for a request
  bool stopping_ = false;
  std::atomic<int64_t> probe_us_{0};
};

}  // namespace hopla

#endif  // HOPLA_MOTION_BRAKE_PROBER_H_
