#include "platform/win32/win32_event.h"

#include <system_error>
#include <thread>
#include <utility>

#include "platform/win32/win32_include.h"

namespace hopla::win32 {
namespace {

class Win32Event final : public Event {
 public:
  explicit Win32Event(bool initially_set)
      : handle_(CreateEventW(nullptr, FALSE, initially_set ? TRUE : FALSE,
                             nullptr)) {
    if (handle_ == nullptr) {
      throw std::system_error(static_cast<int>(GetLastError()),
                              std::system_category(), "CreateEventW");
    }
  }
  ~Win32Event() override { CloseHandle(handle_); }
  Win32Event(const Win32Event&) = delete;
  Win32Event& operator=(const Win32Event&) = delete;

  void Set() override { SetEvent(handle_); }

  bool Wait(int32_t timeout_ms) override {
    const DWORD timeout =
        timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms);
    return WaitForSingleObject(handle_, timeout) == WAIT_OBJECT_0;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<Event> MakeAutoResetEvent(bool initially_set) {
  return std::make_unique<Win32Event>(initially_set);
}

void StartDetachedThread(std::function<void()> body) {
  std::thread([body = std::move(body)] {
    // As with the form library's threads: a failure inside a worker is
    // swallowed there instead of terminating the whole program.
    try {
      body();
    } catch (...) {
    }
  }).detach();
}

}  // namespace hopla::win32
