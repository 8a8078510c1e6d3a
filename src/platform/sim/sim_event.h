// An auto-reset event on virtual time: waiting is a wait point of the
// simulated desktop's scheduler.
#ifndef HOPLA_PLATFORM_SIM_SIM_EVENT_H_
#define HOPLA_PLATFORM_SIM_SIM_EVENT_H_

#include <cstdint>
#include <deque>
#include <memory>

#include "platform/platform.h"
#include "platform/sim/sim_scheduler.h"

namespace hopla::sim {

class SimEvent : public Event {
 public:
  SimEvent(Scheduler& scheduler, bool initially_set);
  ~SimEvent() override;
  void Set() override;
  bool Wait(int32_t timeout_ms) override;

 private:
  struct Waiter {
    SimThread* thread;
    bool taken;
  };
  // Shared with the waits in progress, so that a waiter that unwinds after
  // the program destroyed the event (its process ended) touches no freed
  // memory.
  struct State {
    bool set = false;
    std::deque<Waiter*> waiters;  // in the order they began waiting
  };
  // The wait itself; the ordering of a set taken is told after it.
  bool WaitForSet(const std::shared_ptr<State>& state, int32_t timeout_ms);

  Scheduler& scheduler_;
  std::shared_ptr<State> state_;
};

}  // namespace hopla::sim

#endif  // HOPLA_PLATFORM_SIM_SIM_EVENT_H_
