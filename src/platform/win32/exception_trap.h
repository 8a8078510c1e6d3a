// C++ exceptions must not unwind through the system's frames between
// DispatchMessageW and a window procedure. Window procedures run the
// program's code through a trap, which keeps the first exception; the loop
// that dispatched the message throws it again on our own side.
#ifndef HOPLA_PLATFORM_WIN32_EXCEPTION_TRAP_H_
#define HOPLA_PLATFORM_WIN32_EXCEPTION_TRAP_H_

#include <exception>
#include <utility>

namespace hopla::win32 {

// UI thread only, like the window procedures that use it.
class ExceptionTrap {
 public:
  // Runs `fn`; returns false when it threw (the exception is kept).
  template <typename Fn>
  bool Run(Fn&& fn) {
    try {
      std::forward<Fn>(fn)();
      return true;
    } catch (...) {
      if (!pending_) pending_ = std::current_exception();
      return false;
    }
  }

  void RethrowPending() {
    if (!pending_) return;
    std::exception_ptr pending = std::exchange(pending_, nullptr);
    std::rethrow_exception(pending);
  }

 private:
  std::exception_ptr pending_;
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_EXCEPTION_TRAP_H_
