// The real platform: Hopla's seam implemented with the Win32 API. Owns all
// of its state (the switch source, the timer resolution request, the message
// loop, the single-instance mutexes); nothing lives in globals.
#ifndef HOPLA_PLATFORM_WIN32_WIN32_PLATFORM_H_
#define HOPLA_PLATFORM_WIN32_WIN32_PLATFORM_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/win32/bubble_window.h"
#include "platform/win32/exception_trap.h"
#include "platform/win32/keyboard_window.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/switch_source.h"
#include "platform/win32/system_dlls.h"

namespace hopla::win32 {

class Win32Platform final : public Platform {
 public:
  // Construct on the UI thread: the message loop and every widget belong to
  // the thread that runs RunMessageLoop. Asks for 1 ms timer resolution
  // until destruction.
  explicit Win32Platform(SwitchSourceKind switch_source);
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // Whether the system granted the 1 ms timer resolution asked for.
  bool TimerResolutionRaised() const { return timer_resolution_raised_; }

  int64_t NowMs() override;
  int64_t NowMicros() override;
  void Sleep(int32_t ms) override;
  std::unique_ptr<Event> CreateAutoResetEvent(bool initially_set) override;
  void StartThread(std::function<void()> body) override;
  int32_t ThreadsRunning() override { return threads_running_->load(); }
  void SleepAnswering(int32_t ms) override;

  void RunMessageLoop(UiLoopHost& host) override;
  void QuitMessageLoop() override;
  void WakeMessageLoop() override;

  SwitchPoll PollSwitch() override;
  void UseSwitch(const SwitchChoice& choice) override;
  void LetSwitchThrough(bool through) override;
  void ShowBubble(const BubbleView& view) override;
  void HideBubble() override;
  void ShowKeyboard(const KeyboardView& view, const Rect& place,
                    KeyboardEvents* events) override;
  void HideKeyboard() override;
  void TypeKey(uint8_t virtual_key, bool up) override;
  void PlaySoundFile(const std::string& file_name) override;
  DialogResult ShowMessageBox(const MessageBoxArgs& desc) override;
  std::string ExecutablePath() override;
  bool CreateSingleInstanceMutex(const std::string& name) override;

  std::optional<intptr_t> SendToWindow(WindowHandle window, uint32_t message,
                                       uintptr_t wparam, intptr_t lparam,
                                       int32_t timeout_ms) override;
  bool PostToWindow(WindowHandle window, uint32_t message, uintptr_t wparam,
                    intptr_t lparam) override;
  bool SendNotifying(WindowHandle window, uint32_t message, uintptr_t wparam,
                     intptr_t lparam, std::function<void()> handled) override;
  void EnumTopLevelWindows(
      const std::function<bool(const WindowInfo&)>& visit) override;
  std::string WindowTitle(WindowHandle window) override;
  WindowHandle ForegroundWindow() override;
  bool SetForegroundWindow(WindowHandle window) override;
  std::optional<Rect> WindowRect(WindowHandle window) override;
  std::optional<Rect> NormalWindowRect(WindowHandle window) override;
  void ShowWindowNormal(WindowHandle window) override;
  void FlashWindow(WindowHandle window, bool invert) override;
  Rect DesktopRect() override;
  std::vector<Rect> MonitorRects() override;

  std::optional<Point> CursorPos() override;
  void SetCursorPos(Point p) override;
  bool LeftButtonDown() override;
  void MouseButton(uint32_t flags, Point at) override;
  void KeyEvent(uint8_t virtual_key, bool up) override;
  void Beep() override;
  std::unique_ptr<RoleProbe> CreateRoleProbe() override;
  void ShellOpen(const std::string& target) override;
  void ShellStartHidden(const std::string& file,
                        const std::string& folder) override;

  std::vector<std::string> Arguments() override;
  std::string CurrentFolder() override;
  bool SetCurrentFolder(const std::string& folder) override;
  std::optional<std::string> ReadSignInEntry(const std::string& name) override;
  bool WriteSignInEntry(const std::string& name,
                        const std::string& command) override;
  bool RemoveSignInEntry(const std::string& name) override;

  std::optional<std::string> ReadFileBytes(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool ReplaceFileBytes(const std::string& path,
                        const std::string& bytes) override;
  std::optional<std::vector<FolderEntry>> ListFolder(
      const std::string& pattern) override;
  std::unique_ptr<DriveErrorBoxesOff> TurnOffDriveErrorBoxes() override;

  std::unique_ptr<NativeWidget> CreateWidget(const WidgetArgs& desc,
                                             NativeWidget* parent,
                                             WidgetEvents* events) override;

 private:
  WinmmApi winmm_;
  std::unique_ptr<SwitchSource> switch_source_;
  BubbleWindow bubble_;
  bool timer_resolution_raised_ = false;
  int64_t counter_frequency_ = 1;
  ExceptionTrap trap_;
  MessageLoop loop_;
  OleaccApi oleacc_;
  KeyboardWindow keyboard_{trap_, oleacc_};
  // Shared with the threads, which may end after the platform.
  std::shared_ptr<std::atomic<int32_t>> threads_running_ =
      std::make_shared<std::atomic<int32_t>>(0);
};

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_WIN32_PLATFORM_H_
