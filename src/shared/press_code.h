// The press code: the marks collected since the last execution. The UI thread
// changes it while the mover thread asks whether it is empty, so the text sits
// behind a lock and a word beside it answers the mover's question.
#ifndef HOPLA_SHARED_PRESS_CODE_H_
#define HOPLA_SHARED_PRESS_CODE_H_

#include <atomic>
#include <mutex>
#include <string>

namespace hopla {

class PressCodeText {
 public:
  std::string Get() const {
    std::lock_guard lock(mutex_);
    return text_;
  }
  void Set(std::string text) {
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
    not_empty_.store(!text_.empty(), std::memory_order_release);
  }
  void Append(char mark) {
    std::lock_guard lock(mutex_);
    text_.push_back(mark);
    not_empty_.store(true, std::memory_order_release);
  }
  // Safe from any thread, without the lock.
  bool Empty() const { return !not_empty_.load(std::memory_order_acquire); }
  bool operator==(const std::string& other) const { return Get() == other; }

 private:
  mutable std::mutex mutex_;
  std::string text_;
  std::atomic<bool> not_empty_{false};
};

}  // namespace hopla

#endif  // HOPLA_SHARED_PRESS_CODE_H_
