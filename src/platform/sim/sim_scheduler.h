// The baton and the virtual clock of the simulated desktop. Program threads
// are real std::threads, but only the holder of the baton runs: the test's
// thread (the controller) holds it except inside RunTo, and a program thread
// holds it from the end of one wait to the start of the next. When no thread
// is ready at the current time, time jumps to the earliest wake-up.
//
// Running freely, there is no baton: the threads run side by side on the
// real clock, and a wait is a real wait. Runs then differ from one to the
// next; what it is for is letting ThreadSanitizer see the program's threads
// overlap as they do on a real PC.
#ifndef HOPLA_PLATFORM_SIM_SIM_SCHEDULER_H_
#define HOPLA_PLATFORM_SIM_SIM_SCHEDULER_H_

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/sim/sim_lock.h"

namespace hopla::sim {

inline constexpr int64_t kNever = INT64_MAX;

// Thrown inside a program thread's wait to unwind it when its process ends or
// the desktop goes away. Deliberately not a std::exception, so program code
// that catches std::exception lets it pass.
struct ThreadKill {};

class SimThread;

// A waiting thread's owner: what it adds to the thread's wake-up (a UI thread
// in its message loop also wakes for queued input), and what it learns of
// each wait. Called with the lock held.
class WaitSource {
 public:
  virtual ~WaitSource() = default;
  virtual int64_t LoopWakeLocked() const = 0;
  // After each wait of one of its threads that began at `began_ms`.
  virtual void WaitEndedLocked(const SimThread& /*thread*/,
                               int64_t /*began_ms*/, bool /*loop_wait*/) {}
};

class SimThread {
 public:
  enum class State { kWaiting, kRunning, kDone };

  uint64_t id = 0;
  std::thread thread;
  SimCondition cv;
  State state = State::kWaiting;
  WaitSource* source = nullptr;  // the process; asked during loop waits
  // The current (or last) wait.
  int64_t begin_ms = 0;
  uint64_t seq = 0;
  int64_t deadline_ms = kNever;
  int64_t signal_ms = kNever;
  bool loop_wait = false;
  bool kill = false;
  void* owner = nullptr;  // the process that started it (opaque here)
};

class Scheduler {
 public:
  Scheduler();
  ~Scheduler();
  Scheduler(const Scheduler&) = delete;
  Scheduler& operator=(const Scheduler&) = delete;

  // One lock guards the scheduler and everything the simulated world holds.
  SimMutex& Mutex() { return mu_; }

  int64_t NowLocked() const;
  // Before any thread starts: from now on the threads run freely.
  void RunFreely();
  bool Free() const { return free_; }
  // Running freely: every waiting thread looks again at what it waits for
  // (input was queued, a wake-up asked for). Nothing otherwise: the
  // scheduler looks at every thread before it passes the baton.
  void NotifyLocked();
  // The program thread running this code, or nullptr on the controller.
  static SimThread* Current();

  // Creates a thread, ready at the current time after every thread that is
  // already waiting. `body` runs on it once it gets the baton; `on_end` runs
  // (without the lock) after the body, whether it returned, threw or was
  // killed, with the crash text when it threw.
  SimThread& SpawnLocked(
      void* owner, WaitSource* source, std::function<void()> body,
      std::function<void(const std::optional<std::string>&)> on_end);

  // The calling program thread waits until `deadline_ms`, a signal, or (for
  // a loop wait) its source's wake-up; it gives up the baton meanwhile.
  // Throws ThreadKill when the thread is to end; when it is already
  // unwinding it returns false at once instead. Must hold `lock`.
  bool WaitLocked(SimLock& lock, int64_t deadline_ms, bool loop_wait);
  // Wakes a waiting thread now (the wake of a send, an event, a kill).
  void SignalLocked(SimThread& thread);
  // Marks a thread to end at its next wait point and wakes it.
  void KillLocked(SimThread& thread);

  // Controller: runs the programs up to `target_ms`. With `done`, tests it
  // whenever every thread waits and returns once it holds. `scripted` gives
  // the next scripted event after now (kNever when none) for RunUntil; it
  // is called with the lock held.
  // Returns whether `done` held; false at once when nothing can ever wake.
  bool RunTo(int64_t target_ms, const std::function<bool()>* done,
             const std::function<int64_t()>& scripted);

  // Controller: ends every thread (their waits throw ThreadKill) and joins.
  void Teardown();

 private:
  int64_t ReadyTimeLocked(const SimThread& t) const;
  SimThread* PickReadyLocked() const;
  int64_t EarliestWakeLocked() const;
  void PassBatonLocked();
  void GiveBatonAndWaitLocked(SimLock& lock, SimThread& thread);
  void ReapLocked(SimLock& lock);
  void ThrowIfCrashedLocked();
  bool HoldsLocked(SimLock& lock, const std::function<bool()>& done);
  void ThreadMain(
      SimThread* self, std::function<void()> body,
      std::function<void(const std::optional<std::string>&)> on_end);
  bool FreeWaitLocked(SimLock& lock, SimThread& self);
  bool FreeRunTo(SimLock& lock, int64_t target_ms,
                 const std::function<bool()>* done);
  void FreeTeardown(SimLock& lock);

  mutable SimMutex mu_;
  SimCondition controller_cv_;
  int64_t now_ = 0;
  uint64_t next_seq_ = 1;
  uint64_t next_id_ = 1;
  SimThread* current_ = nullptr;  // nullptr: the controller holds the baton
  std::vector<std::unique_ptr<SimThread>> threads_;
  // The RunTo in progress.
  bool running_ = false;
  bool run_has_done_ = false;
  int64_t run_target_ = 0;
  bool tearing_down_ = false;
  std::optional<std::string> crash_;
  // Running freely: the real clock's start, and what every waiter waits on.
  bool free_ = false;
  std::chrono::steady_clock::time_point free_start_;
  SimCondition free_cv_;
};

}  // namespace hopla::sim

#endif  // HOPLA_PLATFORM_SIM_SIM_SCHEDULER_H_
