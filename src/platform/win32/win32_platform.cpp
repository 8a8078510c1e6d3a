#include "platform/win32/win32_platform.h"

#include <utility>
#include <vector>

#include "platform/win32/files.h"
#include "platform/win32/folders.h"
#include "platform/win32/form_widget.h"
#include "platform/win32/message_box.h"
#include "platform/win32/text_conv.h"
#include "platform/win32/widget_factory.h"
#include "platform/win32/win32_event.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {
namespace {

// Step delays of 1 to 4 ms and short poll intervals only last what they say
// when the system timer ticks every millisecond.
constexpr UINT kTimerResolutionMs = 1;
constexpr int64_t kMsPerSecond = 1000;
constexpr DWORD kControlClasses =
    ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES;
// Long paths reach 32767 characters; no module path is longer.
constexpr DWORD kMaxPathChars = 32768;
constexpr DWORD kFirstPathChars = MAX_PATH;

int64_t QueryFrequency() {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart > 0 ? frequency.QuadPart : 1;
}

}  // namespace

Win32Platform::Win32Platform(SwitchSourceKind switch_source)
    : switch_source_(MakeSwitchSource(switch_source, winmm_)),
      timer_resolution_raised_(winmm_.time_begin_period != nullptr &&
                               winmm_.time_begin_period(kTimerResolutionMs) ==
                                   TIMERR_NOERROR),
      counter_frequency_(QueryFrequency()),
      loop_([this] { return NowMs(); }, trap_) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = kControlClasses;
  InitCommonControlsEx(&controls);
}

Win32Platform::~Win32Platform() {
  if (timer_resolution_raised_) winmm_.time_end_period(kTimerResolutionMs);
}

int64_t Win32Platform::NowMicros() {
  constexpr int64_t kMicrosPerSecond = 1000000;
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  const int64_t seconds = counter.QuadPart / counter_frequency_;
  const int64_t rest = counter.QuadPart % counter_frequency_;
  return seconds * kMicrosPerSecond +
         rest * kMicrosPerSecond / counter_frequency_;
}

int64_t Win32Platform::NowMs() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  // Split so that the multiplication cannot overflow after long uptimes.
  const int64_t seconds = counter.QuadPart / counter_frequency_;
  const int64_t rest = counter.QuadPart % counter_frequency_;
  return seconds * kMsPerSecond + rest * kMsPerSecond / counter_frequency_;
}

void Win32Platform::Sleep(int32_t ms) {
  ::Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0);
}

std::unique_ptr<Event> Win32Platform::CreateAutoResetEvent(bool initially_set) {
  return MakeAutoResetEvent(initially_set);
}

void Win32Platform::StartThread(std::function<void()> body) {
  threads_running_->fetch_add(1);
  StartDetachedThread(
      [running = threads_running_, body = std::move(body)]() mutable {
        // Counted out only once what the body held is let go, also when it
        // throws.
        struct Ended {
          std::function<void()>& body;
          std::atomic<int32_t>& running;
          ~Ended() {
            body = nullptr;
            running.fetch_sub(1);
          }
        } ended{body, *running};
        body();
      });
}

void Win32Platform::RunMessageLoop(UiLoopHost& host) {
  loop_.Run(host, &Win32Form::HandleDialogKey);
}

void Win32Platform::QuitMessageLoop() { loop_.Quit(); }

void Win32Platform::WakeMessageLoop() { loop_.Wake(); }

SwitchPoll Win32Platform::PollSwitch() { return switch_source_->Poll(); }

void Win32Platform::UseSwitch(const SwitchChoice& choice) {
  switch_source_->Use(choice);
}

void Win32Platform::LetSwitchThrough(bool through) {
  switch_source_->LetThrough(through);
}

void Win32Platform::ShowBubble(const BubbleView& view) { bubble_.Show(view); }

void Win32Platform::HideBubble() { bubble_.Hide(); }

void Win32Platform::ShowKeyboard(const KeyboardView& view, const Rect& place,
                                 KeyboardEvents* events) {
  keyboard_.Show(view, place, events);
}

void Win32Platform::HideKeyboard() { keyboard_.Hide(); }

void Win32Platform::PlaySoundFile(const std::string& file_name) {
  // Flags 0: synchronous, and the system's default sound when the file is
  // missing.
  if (winmm_.play_sound == nullptr) return;
  winmm_.play_sound(Utf8ToWide(file_name).c_str(), nullptr, 0);
}

DialogResult Win32Platform::ShowMessageBox(const MessageBoxArgs& desc) {
  // The timers keep running inside the box.
  loop_.ServeSoon();
  const DialogResult answer = ShowModalMessageBox(desc);
  // A handler that threw while the box was open (timers keep running).
  trap_.RethrowPending();
  return answer;
}

std::string Win32Platform::ExecutablePath() {
  // Grows the buffer until the path fits; bounded by the longest path.
  for (DWORD size = kFirstPathChars; size <= kMaxPathChars; size *= 2) {
    std::vector<wchar_t> buffer(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return {};
    if (length < size) {
      return WideToUtf8(std::wstring_view(buffer.data(), length));
    }
  }
  return {};
}

bool Win32Platform::CreateSingleInstanceMutex(const std::string& name) {
  // Not owned, and never closed: the system removes it when the process
  // ends, which is what keeps a second copy out for the whole run.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, Utf8ToWide(name).c_str());
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    if (mutex != nullptr) CloseHandle(mutex);  // the other copy's, not ours
    return false;
  }
  // A mutex of that name made by another user's copy cannot be opened; it
  // exists all the same.
  return !(mutex == nullptr && error == ERROR_ACCESS_DENIED);
}

std::optional<std::string> Win32Platform::ReadFileBytes(
    const std::string& path) {
  return win32::ReadFileBytes(path);
}

bool Win32Platform::FileExists(const std::string& path) {
  return GetFileAttributesW(Utf8ToWide(path).c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}

bool Win32Platform::ReplaceFileBytes(const std::string& path,
                                     const std::string& bytes) {
  return win32::ReplaceFileBytes(path, bytes);
}

std::optional<std::vector<FolderEntry>> Win32Platform::ListFolder(
    const std::string& pattern) {
  return ListMatching(pattern);
}

std::unique_ptr<DriveErrorBoxesOff> Win32Platform::TurnOffDriveErrorBoxes() {
  return QuietDriveErrors();
}

std::unique_ptr<NativeWidget> Win32Platform::CreateWidget(
    const WidgetArgs& desc, NativeWidget* parent, WidgetEvents* events) {
  return MakeWidget(desc, parent, events, trap_);
}

}  // namespace hopla::win32
