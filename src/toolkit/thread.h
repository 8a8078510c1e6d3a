// A worker thread in the form toolkit's manner: it starts at once, a
// terminate request only sets a flag that the body polls, and it frees itself
// when it ends. Holders keep it through a shared pointer, so a request made
// after the thread has ended reaches a live object and does nothing harmful.
#ifndef HOPLA_TOOLKIT_THREAD_H_
#define HOPLA_TOOLKIT_THREAD_H_

#include <atomic>
#include <memory>

#include "platform/platform.h"

namespace hopla {

class TThread : public std::enable_shared_from_this<TThread> {
 public:
  explicit TThread(Platform& platform) : platform_(platform) {}
  virtual ~TThread() = default;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Creates the thread and runs Execute on it. The thread keeps itself alive
  // until Execute returns.
  void Start();
  // Asks the thread to end; returns at once.
  void Terminate() { terminated_.store(true, std::memory_order_relaxed); }
  bool Terminated() const {
    return terminated_.load(std::memory_order_relaxed);
  }
  bool Finished() const { return finished_.load(std::memory_order_acquire); }

 protected:
  virtual void Execute() = 0;
  Platform& platform() { return platform_; }

 private:
  Platform& platform_;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_THREAD_H_
