#include "motion/brake_prober.h"

#include <algorithm>
#include <utility>

#include "motion/brake.h"

namespace hopla {

namespace {
// Answers kept: the cursor reaches a place asked about an answer or two
// later, at any speed.
constexpr size_t kGroundKept = 8;
}  // namespace

BrakeProber::BrakeProber(Platform& platform)
    : platform_(platform), wake_(platform.CreateAutoResetEvent(false)) {}

void BrakeProber::Request(Point at) {
  bool start = false;
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    request_ = at;
    start = !started_;
    started_ = true;
    wake = std::exchange(idle_, false);
  }
  if (start) {
    platform_.StartThread([self = shared_from_this()] { self->Run(); });
  }
  if (wake) wake_->Set();
}

std::optional<RoleReading> BrakeProber::GroundAt(Point at) {
  std::lock_guard lock(mutex_);
  const RoleReading* plain = nullptr;
  for (auto it = ground_.rbegin(); it != ground_.rend(); ++it) {
    if (!it->rect->Contains(at)) continue;
    if (IsBrakeRole(*it)) return *it;
    if (plain == nullptr) plain = &*it;
  }
  if (plain == nullptr) return std::nullopt;
  return *plain;
}

void BrakeProber::KeepLocked(const RoleReading& reading, Point at) {
  // A probe that failed, or an element that did not say where it lies,
  // tells nothing of the ground.
  if (reading.kind == RoleReading::Kind::kFailed || !reading.rect) return;
  std::erase_if(ground_, [&reading, at](const RoleReading& kept) {
    const bool same = kept.kind == reading.kind && kept.role == reading.role &&
                      kept.rect == reading.rect;
    return same || (IsBrakeRole(kept) && kept.rect->Contains(at));
  });
  ground_.push_back(reading);
  if (ground_.size() > kGroundKept) ground_.pop_front();
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
    Point at;
    {
      std::unique_lock lock(mutex_);
      if (stopping_) return;
      if (!request_) {
        idle_ = true;
        lock.unlock();
        wake_->Wait(-1);
        continue;
      }
      at = *std::exchange(request_, std::nullopt);
    }
    const int64_t began_us = platform_.NowMicros();
    const RoleReading reading = probe->RoleAt(at);
    // A running mean: one slow answer does not throw the look ahead off.
    const int64_t took_us = platform_.NowMicros() - began_us;
    const int64_t mean_us = probe_us_.load();
    probe_us_.store(mean_us == 0 ? took_us : (mean_us * 3 + took_us) / 4);
    std::lock_guard lock(mutex_);
    KeepLocked(reading, at);
  }
}

}  // namespace hopla
