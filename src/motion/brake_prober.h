// Probes what lies ahead of the walking cursor on a thread of its own.
// Asking the accessibility interface takes 2 ms over a plain window and 20 ms
// or more over a program that answers for its own elements, while the
// fastest walk steps every millisecond: a probe inside the mover's pass would
// slow every walk with the brake on. The mover hands over a place ahead on
// each pass; each answer tells of an element and its rectangle, and the
// prober keeps the last few, so the brake can follow the cursor's own
// position as it gets there: an element asked about but never reached slows
// nothing. Where no answer tells anything, the speed the walk has goes on,
// as after a probe that failed.
#ifndef HOPLA_MOTION_BRAKE_PROBER_H_
#define HOPLA_MOTION_BRAKE_PROBER_H_

#include <atomic>
#include <cstddef>
#include <deque>
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

  // Any thread: the place to probe next; a newer place replaces one not yet
  // probed. The probing thread starts on the first request, and is woken
  // only when it has nothing to do (a wake-up costs a call to the system).
  void Request(Point at);
  // Any thread: what the answers kept say lies at `at`: the newest element
  // of a listed role whose rectangle holds it, else the newest of any role;
  // nothing when none holds it.
  std::optional<RoleReading> GroundAt(Point at);
  // How long a probe has been taking lately, in microseconds.
  int64_t ProbeMicros() const { return probe_us_.load(); }
  // Ends the probing thread once its current probe returns. It holds what
  // it uses, so nothing it touches goes away before it ends.
  void Stop();

 private:
  void Run();
  // Keeps an answer about `at`; it replaces the listed elements kept that
  // hold `at` (one that has gone, say). Mutex held.
  void KeepLocked(const RoleReading& reading, Point at);

  Platform& platform_;
  std::unique_ptr<Event> wake_;
  std::mutex mutex_;
  std::optional<Point> request_;
  // Answers with a rectangle, the newest last.
  std::deque<RoleReading> ground_;
  bool started_ = false;
  bool idle_ = false;  // the probing thread waits for a request
  bool stopping_ = false;
  std::atomic<int64_t> probe_us_{0};
};

}  // namespace hopla

#endif  // HOPLA_MOTION_BRAKE_PROBER_H_
