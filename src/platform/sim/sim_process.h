// One program on the simulated desktop: the Platform it sees, its threads,
// its UI thread's message loop and the queue of input (person actions, window
// messages) that loop serves.
#ifndef HOPLA_PLATFORM_SIM_SIM_PROCESS_H_
#define HOPLA_PLATFORM_SIM_SIM_PROCESS_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_lock.h"
#include "platform/sim/sim_scheduler.h"
#include "platform/sim/sim_world.h"

namespace hopla::sim {

class SimProcessImpl : public SimProcess, public WaitSource {
 public:
  SimProcessImpl(SimDesktop::Impl& world, std::string exe_path,
                 std::function<int(Platform&)> main,
                 std::vector<std::string> arguments);
  ~SimProcessImpl() override;

  // Starts the main (UI) thread. Lock held.
  void StartLocked();

  // --- Platform: time, waiting, threads (sim_process.cpp) ------------------
  int64_t NowMs() override;
  int64_t NowMicros() override { return NowMs() * 1000; }
  void Sleep(int32_t ms) override;
  std::unique_ptr<Event> CreateAutoResetEvent(bool initially_set) override;
  void StartThread(std::function<void()> body) override;
  int32_t ThreadsRunning() override;
  void SleepAnswering(int32_t ms) override;
  void RunMessageLoop(UiLoopHost& host) override;
  void QuitMessageLoop() override;
  void WakeMessageLoop() override;
  SwitchPoll PollSwitch() override;
  void UseSwitch(const SwitchChoice& choice) override;
  void LetSwitchThrough(bool through) override;
  bool SwitchLetThrough() const override;
  void ShowBubble(const BubbleView& view) override;
  void HideBubble() override;
  void ShowKeyboard(const KeyboardView& view, const Rect& place,
                    KeyboardEvents* events) override;
  void HideKeyboard() override;
  void TypeKey(uint8_t virtual_key, bool up) override;
  void PlaySoundFile(const std::string& file_name) override;
  DialogResult ShowMessageBox(const MessageBoxArgs& desc) override;
  std::string ExecutablePath() override;
  std::vector<std::string> Arguments() override { return arguments_; }
  std::string CurrentFolder() override;
  bool SetCurrentFolder(const std::string& folder) override;
  std::optional<std::string> ReadSignInEntry(const std::string& name) override;
  bool WriteSignInEntry(const std::string& name,
                        const std::string& command) override;
  bool RemoveSignInEntry(const std::string& name) override;
  bool CreateSingleInstanceMutex(const std::string& name) override;
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
  std::optional<std::vector<FolderEntry>> ListFolder(
      const std::string& pattern) override;
  std::unique_ptr<DriveErrorBoxesOff> TurnOffDriveErrorBoxes() override;
  std::optional<std::string> ReadFileBytes(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool ReplaceFileBytes(const std::string& path,
                        const std::string& bytes) override;
  std::unique_ptr<NativeWidget> CreateWidget(const WidgetArgs& desc,
                                             NativeWidget* parent,
                                             WidgetEvents* events) override;

  // --- Platform: windows and messages (sim_windows.cpp) -------------------
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

  // --- SimProcess ----------------------------------------------------------
  std::optional<int> ExitCode() const override;
  void At(int64_t at_ms, std::function<void()> action) override;
  void PostAt(int64_t at_ms, WindowHandle window, uint32_t message,
              uintptr_t wparam, intptr_t lparam) override;
  void SendAt(int64_t at_ms, WindowHandle window, uint32_t message,
              uintptr_t wparam, intptr_t lparam) override;
  std::optional<bool> LastEndSessionAnswer() const override;
  void Terminate() override;
  int32_t ThreadsLeftAtExit() const override;
  int32_t WindowsLeftAtExit() const override;
  Silence LongestSilence() const override;

  // --- For the rest of the simulator ----------------------------------------
  int64_t LoopWakeLocked() const override;
  void WaitEndedLocked(const SimThread& thread, int64_t began_ms,
                       bool loop_wait) override;
  // Whether the process has ended: what its threads still do goes nowhere.
  bool EndedLocked() const { return ended_; }
  // The earliest queued input due after `now_ms`, or kNever.
  int64_t NextInputAfterLocked(int64_t now_ms) const;
  // Runs `run` on the UI thread at `due_ms`, when its loop next serves input.
  // A message sent from another thread `answers_send`: it is served also
  // while the UI thread sleeps in SleepAnswering.
  void QueueInputLocked(int64_t due_ms, std::function<void()> run,
                        bool answers_send = false);
  // The role an accessibility query finds at `p`; may wait for the UI
  // thread of the program whose window lies there. From a probe's thread.
  RoleReading ProbeRoleAt(Point p);
  std::vector<ElementBox> ProbeElements(const Rect& area);
  // Hands a window message to the form's peer; on the owner's UI thread.
  // Returns false when the window is gone or not this program's.
  // Returns the window's answer, or nothing when the window is gone or not
  // this program's.
  std::optional<intptr_t> DispatchToForm(WindowHandle window, uint32_t message,
                                         uintptr_t wparam, intptr_t lparam);
  void SetEndSessionAnswer(bool answer);
  // A left button event of any program at `at`: a press and a release on
  // one key of a keyboard click it, on its owner's UI thread.
  void ClickKeyboardLocked(uint32_t flags, Point at);
  // A key down or up, held or let go in the world, told in the trace as
  // `kind`.
  void PressKeyLocked(const char* kind, uint8_t virtual_key, bool up);
  bool OnUiThread() const;

 private:
  // A message sent to one of this program's forms from another thread,
  // waiting in the input queue; the sender waits for `done`.
  struct SendCall {
    SimThread* waiter = nullptr;  // cleared when the sender stops waiting
    bool done = false;
    bool handled = false;
    intptr_t result = 0;
  };
  void FinishSendLocked(SendCall& call, bool handled, intptr_t result = 0);
  void OnThreadEnd(const std::optional<std::string>& crash, bool is_main);
  struct Input {
    std::function<void()> run;
    bool answers_send = false;
  };
  using InputQueue = std::map<std::pair<int64_t, uint64_t>, Input>;
  // Returns the input that will never run, to be destroyed without the lock
  // (it may hold program objects whose destructors call the platform).
  [[nodiscard]] InputQueue EndLocked(std::optional<int> exit_code);
  // Serves queued input due now (with `sends_only`, only the messages sent
  // from other threads). Returns false when the loop was asked to quit (only
  // with stop_on_quit).
  bool RunDueInputs(bool stop_on_quit, bool sends_only = false);
  // The UI loop's wait: until `deadline_ms`, a wake request or due input.
  bool LoopWaitLocked(SimLock& lock, int64_t deadline_ms);
  void RunModalLoop(int64_t answer_ms);
  // The UI thread waits until `deadline_ms`, or until `done` holds, serving
  // the messages other threads send to its windows meanwhile. Returns false
  // when the thread is to end.
  bool WaitAnsweringLocked(SimLock& lock, int64_t deadline_ms,
                           const std::function<bool()>& done = nullptr);
  // The calling thread waits until `deadline_ms` (or `done`): answering, when
  // it is this program's UI thread.
  bool WaitAsSenderLocked(SimLock& lock, int64_t deadline_ms,
                          const std::function<bool()>& done = nullptr);
  bool OnUiThreadLocked() const {
    return ui_thread_ != nullptr && Scheduler::Current() == ui_thread_;
  }
  // A send, recorded in the trace or not. Lock held.
  std::optional<intptr_t> SendLocked(SimLock& lock, WindowHandle window,
                                     uint32_t message, uintptr_t wparam,
                                     intptr_t lparam, int32_t timeout_ms,
                                     bool record);
  std::optional<intptr_t> SendToForm(SimLock& lock, WindowRec& rec,
                                     uint32_t message, uintptr_t wparam,
                                     intptr_t lparam, int32_t timeout_ms);
  std::optional<intptr_t> SendToForeign(SimLock& lock, WindowRec& rec,
                                        uint32_t message, uintptr_t wparam,
                                        intptr_t lparam);
  SimMutex& Mutex() const { return world_.Mutex(); }

  SimDesktop::Impl& world_;
  std::string exe_path_;
  std::vector<std::string> arguments_;
  std::string folder_;  // the working folder
  std::function<int(Platform&)> main_;

  SimThread* ui_thread_ = nullptr;
  std::vector<SimThread*> threads_;  // alive
  std::optional<int> main_result_;
  std::optional<int> exit_code_;
  bool ended_ = false;
  std::optional<bool> last_end_session_;
  int32_t threads_left_at_exit_ = 0;
  int32_t windows_left_at_exit_ = 0;
  // The UI thread's silence: unexcused waits since it last answered.
  bool excuse_wait_ = false;  // the next wait is one the rules prescribe
  bool after_poll_ = false;   // its last act was a poll of the switch
  int64_t silent_ms_ = 0;
  Silence longest_silence_;

  UiLoopHost* host_ = nullptr;
  bool quit_ = false;
  bool answering_only_ = false;  // the UI thread is in SleepAnswering
  bool wake_pending_ = false;
  int64_t wake_ms_ = kNever;
  SwitchChoice switch_choice_;
  bool switch_through_ = false;
  WindowHandle keyboard_window_ = kNoWindow;
  int64_t last_switch_poll_ms_ = kNever;
  uint64_t next_input_seq_ = 0;
  InputQueue inputs_;  // by due time, then by the order queued
  std::vector<std::shared_ptr<SendCall>> pending_sends_;
};

}  // namespace hopla::sim

#endif  // HOPLA_PLATFORM_SIM_SIM_PROCESS_H_
