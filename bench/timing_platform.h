// The real platform with the switch's polls and the sounds noted on the
// way, when and for how long: what the benches that run the whole program in
// their own process measure it by. Everything else passes straight through.
#ifndef HOPLA_BENCH_TIMING_PLATFORM_H_
#define HOPLA_BENCH_TIMING_PLATFORM_H_

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "engine/heartbeat.h"
#include "platform/platform.h"

namespace hopla::bench {

inline constexpr size_t kNotesReserved = 1 << 16;

// What the program asked of the platform, with when and for how long.
struct Note {
  enum class Kind { kPollDown, kPollUp, kLongSound, kOtherSound };
  Kind kind;
  double at_ms;
  double took_ms;
};

class NoteBook {
 public:
  NoteBook() { notes_.reserve(kNotesReserved); }
  void Add(const Note& note) {
    std::lock_guard lock(mutex_);
    notes_.push_back(note);
  }
  size_t Size() const {
    std::lock_guard lock(mutex_);
    return notes_.size();
  }
  std::vector<Note> Since(size_t first) const {
    std::lock_guard lock(mutex_);
    return {notes_.begin() + static_cast<std::ptrdiff_t>(first), notes_.end()};
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Note> notes_;
};

// The real platform, with the switch's polls and the sounds noted on the
// way. Everything else passes straight through.
class TimingPlatform final : public Platform {
 public:
  TimingPlatform(Platform& real, const Clock& clock, NoteBook& notes)
      : real_(real), clock_(clock), notes_(notes) {}

  SwitchPoll PollSwitch() override {
    const double at = clock_.NowMs();
    const SwitchPoll poll = real_.PollSwitch();
    const bool down = poll.ok && (poll.buttons & kSwitchButton) != 0;
    notes_.Add({down ? Note::Kind::kPollDown : Note::Kind::kPollUp, at,
                clock_.NowMs() - at});
    return poll;
  }
  void UseSwitch(const SwitchChoice& choice) override {
    real_.UseSwitch(choice);
  }
  void LetSwitchThrough(bool through) override {
    real_.LetSwitchThrough(through);
  }
  void ShowBubble(const BubbleView& view) override { real_.ShowBubble(view); }
  void HideBubble() override { real_.HideBubble(); }
  void ShowKeyboard(const KeyboardView& view, const Rect& place,
                    KeyboardEvents* events) override {
    real_.ShowKeyboard(view, place, events);
  }
  void HideKeyboard() override { real_.HideKeyboard(); }
  void TypeKey(uint8_t virtual_key, bool up) override {
    real_.TypeKey(virtual_key, up);
  }
  std::vector<Rect> MonitorRects() override { return real_.MonitorRects(); }
  void PlaySoundFile(const std::string& file_name) override {
    const double at = clock_.NowMs();
    real_.PlaySoundFile(file_name);
    notes_.Add({file_name == kLongPointSound ? Note::Kind::kLongSound
                                             : Note::Kind::kOtherSound,
                at, clock_.NowMs() - at});
  }

  int64_t NowMs() override { return real_.NowMs(); }
  int64_t NowMicros() override { return real_.NowMicros(); }
  void Sleep(int32_t ms) override { real_.Sleep(ms); }
  std::unique_ptr<Event> CreateAutoResetEvent(bool initially_set) override {
    return real_.CreateAutoResetEvent(initially_set);
  }
  void StartThread(std::function<void()> body) override {
    real_.StartThread(std::move(body));
  }
  int32_t ThreadsRunning() override { return real_.ThreadsRunning(); }
  void SleepAnswering(int32_t ms) override { real_.SleepAnswering(ms); }
  void RunMessageLoop(UiLoopHost& host) override { real_.RunMessageLoop(host); }
  void QuitMessageLoop() override { real_.QuitMessageLoop(); }
  void WakeMessageLoop() override { real_.WakeMessageLoop(); }
  DialogResult ShowMessageBox(const MessageBoxArgs& desc) override {
    return real_.ShowMessageBox(desc);
  }
  std::string ExecutablePath() override { return real_.ExecutablePath(); }
  std::vector<std::string> Arguments() override { return real_.Arguments(); }
  std::string CurrentFolder() override { return real_.CurrentFolder(); }
  bool SetCurrentFolder(const std::string& folder) override {
    return real_.SetCurrentFolder(folder);
  }
  std::optional<std::string> ReadSignInEntry(const std::string& name) override {
    return real_.ReadSignInEntry(name);
  }
  bool WriteSignInEntry(const std::string& name,
                        const std::string& command) override {
    return real_.WriteSignInEntry(name, command);
  }
  bool RemoveSignInEntry(const std::string& name) override {
    return real_.RemoveSignInEntry(name);
  }
  bool CreateSingleInstanceMutex(const std::string& name) override {
    return real_.CreateSingleInstanceMutex(name);
  }
  std::optional<intptr_t> SendToWindow(WindowHandle window, uint32_t message,
                                       uintptr_t wparam, intptr_t lparam,
                                       int32_t timeout_ms) override {
    return real_.SendToWindow(window, message, wparam, lparam, timeout_ms);
  }
  bool PostToWindow(WindowHandle window, uint32_t message, uintptr_t wparam,
                    intptr_t lparam) override {
    return real_.PostToWindow(window, message, wparam, lparam);
  }
  bool SendNotifying(WindowHandle window, uint32_t message, uintptr_t wparam,
                     intptr_t lparam, std::function<void()> handled) override {
    return real_.SendNotifying(window, message, wparam, lparam,
                               std::move(handled));
  }
  void EnumTopLevelWindows(
      const std::function<bool(const WindowInfo&)>& visit) override {
    real_.EnumTopLevelWindows(visit);
  }
  std::string WindowTitle(WindowHandle window) override {
    return real_.WindowTitle(window);
  }
  WindowHandle ForegroundWindow() override { return real_.ForegroundWindow(); }
  bool SetForegroundWindow(WindowHandle window) override {
    return real_.SetForegroundWindow(window);
  }
  std::optional<Rect> WindowRect(WindowHandle window) override {
    return real_.WindowRect(window);
  }
  std::optional<Rect> NormalWindowRect(WindowHandle window) override {
    return real_.NormalWindowRect(window);
  }
  void ShowWindowNormal(WindowHandle window) override {
    real_.ShowWindowNormal(window);
  }
  void FlashWindow(WindowHandle window, bool invert) override {
    real_.FlashWindow(window, invert);
  }
  Rect DesktopRect() override { return real_.DesktopRect(); }
  std::optional<Point> CursorPos() override { return real_.CursorPos(); }
  void SetCursorPos(Point p) override { real_.SetCursorPos(p); }
  bool LeftButtonDown() override { return real_.LeftButtonDown(); }
  void MouseButton(uint32_t flags, Point at) override {
    real_.MouseButton(flags, at);
  }
  void KeyEvent(uint8_t virtual_key, bool up) override {
    real_.KeyEvent(virtual_key, up);
  }
  void Beep() override { real_.Beep(); }
  std::unique_ptr<RoleProbe> CreateRoleProbe() override {
    return real_.CreateRoleProbe();
  }
  void ShellOpen(const std::string& target) override {
    real_.ShellOpen(target);
  }
  void ShellStartHidden(const std::string& file,
                        const std::string& folder) override {
    real_.ShellStartHidden(file, folder);
  }
  std::optional<std::vector<FolderEntry>> ListFolder(
      const std::string& pattern) override {
    return real_.ListFolder(pattern);
  }
  std::unique_ptr<DriveErrorBoxesOff> TurnOffDriveErrorBoxes() override {
    return real_.TurnOffDriveErrorBoxes();
  }
  std::optional<std::string> ReadFileBytes(const std::string& path) override {
    return real_.ReadFileBytes(path);
  }
  bool FileExists(const std::string& path) override {
    return real_.FileExists(path);
  }
  bool ReplaceFileBytes(const std::string& path,
                        const std::string& bytes) override {
    return real_.ReplaceFileBytes(path, bytes);
  }
  std::unique_ptr<NativeWidget> CreateWidget(const WidgetArgs& desc,
                                             NativeWidget* parent,
                                             WidgetEvents* events) override {
    return real_.CreateWidget(desc, parent, events);
  }

 private:
  Platform& real_;
  const Clock& clock_;
  NoteBook& notes_;
};

}  // namespace hopla::bench

#endif  // HOPLA_BENCH_TIMING_PLATFORM_H_
