#include "motion/brake_prober.h"

#include <utility>

namespace hopla {

BrakeProber::BrakeProber(Platform& platform)
    : platform_(platform), wake_(platform.CreateAutoResetEvent(false)) {}

void BrakeProber::Request(Point at, int64_t ticket) {
  bool start = false;
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    request_ = Ask{at, ticket};
    start = !started_;
    started_ = true;
  }
  if (start) {
    platform_.StartThread([self = shared_from_this()] { self->Run(); });
  }
  wake_->Set();
}

std::optional<BrakeProber::Answer> BrakeProber::TakeAnswer() {
  std::lock_guard lock(mutex_);
  return std::exchange(answer_, std::nullopt);
}

void BrakeProber::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_->Set();
}

void BrakeProber::Run() {
  // Made on this thread: the accessibility interface is set up per thread.
  const std::unique_ptr<RoleProbe> probe = platform_.CreateRoleProbe();
  for (;;) {
    wake_->Wait(-1);
    Ask ask{};
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      if (!request_) continue;
      ask = *std::exchange(request_, std::nullopt);
    }
    const RoleReading reading = probe->RoleAt(ask.at);
    std::lock_guard lock(mutex_);
    answer_ = Answer{reading, ask.ticket};
  }
}

}  // namespace hopla
