// The press code: the marks collected since the last execution. The UI thread
// changes it while the mover thread asks whether it is empty, so the text sits
// behind a lock and a word beside it answers the mover's question.
#ifndef HOPLA_SHARED_PRESS_CODE_H_
#define HOPLA_SHARED_PRESS_CODE_H_

#include <algorithm>
#include <atomic>
#include <cassert>
#include <mutex>
#include <string>
#include <string_view>

namespace hopla {

class PressCodeText {
 public:
  std::string Get() const {
    std::lock_guard lock(mutex_);
    return text_;
  }
  void Set(std::string text) {
    assert(IsCode(text) && "marks are 0, 1, after KEY in key input mode");
    std::lock_guard lock(mutex_);
    text_ = std::move(text);
    not_empty_.store(!text_.empty(), std::memory_order_release);
  }
  void Append(char mark) {
    assert(IsMark(mark) && "marks are 0, 1, after KEY in key input mode");
    std::lock_guard lock(mutex_);
    text_.push_back(mark);
    not_empty_.store(true, std::memory_order_release);
  }
  // Safe from any thread, without the lock.
  bool Empty() const { return !not_empty_.load(std::memory_order_acquire); }
  bool operator==(const std::string& other) const { return Get() == other; }

 private:
  static bool IsMark(char c) { return c == '0' || c == '1'; }
  static bool IsCode(std::string_view text) {
    if (text.starts_with("KEY")) text.remove_prefix(3);
    return std::all_of(text.begin(), text.end(), IsMark);
  }

  mutable std::mutex mutex_;
  std::string text_;
  std::atomic<bool> not_empty_{false};
};

}  // namespace hopla

#endif  // HOPLA_SHARED_PRESS_CODE_H_
