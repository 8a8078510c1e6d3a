#include "joytokey/joytokey.h"

#include <atomic>

#include "shared/joytokey_interface.h"

namespace hopla {

// A search on its worker thread; it holds what it uses, so that it can end
// after the window has gone.
struct JoyToKey::Search {
  explicit Search(Platform& platform) : folders(platform) {}
  FolderSearch folders;
  std::atomic<bool> done{false};
};

// The heartbeat in flight, if any. Its answer may come after the window
// has gone; it finds this through a weak reference.
struct JoyToKey::Heartbeat {
  bool outstanding = false;
  WindowHandle window = kNoWindow;
  int64_t sent_ms = 0;
};

namespace {

// Counts a search or a start for as long as it runs.
class BusyScope {
 public:
  explicit BusyScope(int32_t& busy) : busy_(busy) { ++busy_; }
  ~BusyScope() { --busy_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  int32_t& busy_;
};

}  // namespace

JoyToKey::JoyToKey(Platform& platform, EngineState& state, WindowSearch& search,
                   JoyToKeySite& site)
    : platform_(platform),
      state_(state),
      search_(search),
      site_(site),
      heartbeat_(std::make_shared<Heartbeat>()) {}

JoyToKey::~JoyToKey() {
  if (running_) running_->folders.Cancel();
}

void JoyToKey::FindJoyToKeyWindow() {
  state_.JoyToKeyWindow = kNoWindow;
  search_.EnumerateAll();
}

// The drives are searched on a worker thread; meanwhile the window paints
// and answers, the heartbeat measures presses, and executions wait. What
// follows the search runs here, in order, with its result.
void JoyToKey::LocateJoyToKey() {
  auto job = std::make_shared<Search>(platform_);
  if (state_.JoyToKeyFound) job->folders.RememberFind(found_folder_);
  running_ = job;
  site_.ShowSearching(true);
  platform_.StartThread([job, &platform = platform_] {
    const auto quiet = platform.TurnOffDriveErrorBoxes();
    job->folders.SearchDrives();
    job->done.store(true);
    platform.WakeMessageLoop();
  });
  {
    BusyScope busy(busy_);
    site_.ServeUntil([&job] { return job->done.load(); }, kStartPollMs);
  }
  running_.reset();
  if (!job->done.load() || site_.ProgramClosed()) {
    job->folders.Cancel();  // the program is ending
    return;
  }
  site_.ShowSearching(false);
  if (job->folders.Found()) {
    state_.JoyToKeyFound = true;
    found_folder_ = job->folders.FoundFolder();
    site_.StoreFolder(found_folder_);
    // Read back, as it stands in the file; a file that refused the write
    // must not leave the folder just found unknown.
    std::string stored = site_.ReadStoredFolder();
    site_.SetJoyToKeyFolder(stored == found_folder_ ? stored : found_folder_);
    return;
  }
  MessageBoxArgs box;
  box.owner = site_.MainWindow();
  box.text = kNotInstalledText;
  box.caption = kErrorCaption;
  box.icon = MessageBoxIcon::kWarning;
  announcing_ = true;
  site_.ShowMessageBox(box);
  announcing_ = false;
  // Closed while the box was open: the close saved the tick as it stood.
  if (!site_.ProgramClosed()) site_.SetJoyToKeyUsed(false);
}

// Started hidden; its window is waited for (bounded, the window answering
// meanwhile), then told twice that it has been started. What was started is
// looked for whatever the box says: a person who clears the box meanwhile no
// longer wants JoyToKey, and it is told to quit, not left running hidden.
bool JoyToKey::StartJoyToKey(const std::string& folder) {
  WindowHandle started = kNoWindow;
  {
    BusyScope busy(busy_);
    platform_.ShellStartHidden(kJoyToKeyStartName, folder);
    const int64_t deadline = platform_.NowMs() + kStartWaitMs;
    site_.ServeUntil(
        [&] {
          started = StartedWindow();
          return started != kNoWindow || platform_.NowMs() >= deadline;
        },
        kStartPollMs);
    if (site_.ProgramClosed()) {
      QuitWhenItComes(deadline);
      return false;
    }
  }
  if (!state_.JoyToKeyUsed) {
    if (started != kNoWindow) {
      platform_.PostToWindow(started, kWmQuit, 0, 0);
    }
    return false;
  }
  state_.JoyToKeyWindow = started;
  if (started == kNoWindow) {
    WarnStartFailed();
    return false;
  }
  platform_.SendToWindow(state_.JoyToKeyWindow, kJoyToKeyShow, 0, 0,
                         kJoyToKeyCommandTimeoutMs);
  platform_.SendToWindow(state_.JoyToKeyWindow, kJoyToKeyShowNext, 0, 0,
                         kJoyToKeyCommandTimeoutMs);
  return true;
}

WindowHandle JoyToKey::StartedWindow() {
  WindowHandle last = kNoWindow;
  platform_.EnumTopLevelWindows([&last](const WindowInfo& window) {
    if (window.title.starts_with(kJoyToKeyTitlePrefix)) last = window.handle;
    return true;
  });
  return last;
}

void JoyToKey::QuitWhenItComes(int64_t deadline_ms) {
  for (;;) {
    if (const WindowHandle started = StartedWindow(); started != kNoWindow) {
      platform_.PostToWindow(started, kWmQuit, 0, 0);
      return;
    }
    if (platform_.NowMs() >= deadline_ms) return;
    platform_.SleepAnswering(kStartPollMs);
  }
}

// As when its window has gone: the box is cleared, and the person is told.
void JoyToKey::WarnStartFailed() {
  site_.SetJoyToKeyUsed(false);
  MessageBoxArgs box;
  box.text = kJoyToKeyGoneText;
  box.caption = kErrorCaption;
  box.icon = MessageBoxIcon::kWarning;
  site_.ShowMessageBox(box);
}

void JoyToKey::JtkUseCheckBoxClick() {
  site_.SetExecutionTimerEnabled(false);
  if (state_.JoyToKeyUsed) {
    site_.SetJoyToKeyFolder(site_.ReadStoredFolder());
    if (site_.JoyToKeyFolder().empty()) {
      site_.SetExecutionTimerEnabled(false);
      LocateJoyToKey();
    }
    if (site_.ProgramClosed()) return;
    if (state_.JoyToKeyUsed) {
      FindJoyToKeyWindow();
      if (state_.JoyToKeyWindow == kNoWindow) {
        StartJoyToKey(site_.JoyToKeyFolder());
      }
    }
    if (site_.ProgramClosed()) return;
  }
  platform_.Sleep(kUseTogglePauseMs);
  site_.SetExecutionTimerEnabled(true);
}

void JoyToKey::SendHeartbeat() {
  const WindowHandle window = state_.JoyToKeyWindow;
  const int64_t now = platform_.NowMs();
  Heartbeat& beat = *heartbeat_;
  if (beat.outstanding && beat.window == window &&
      now - beat.sent_ms < kHeartbeatGiveUpMs) {
    return;  // JoyToKey is busy with the last one: it is not piled up
  }
  beat = {true, window, now};
  const bool sent = platform_.SendNotifying(
      window, kJoyToKeyHeartbeatMessage, 0, 0,
      [weak = std::weak_ptr<Heartbeat>(heartbeat_), now] {
        const auto handled = weak.lock();
        if (handled && handled->sent_ms == now) handled->outstanding = false;
      });
  if (!sent) beat.outstanding = false;
}

}  // namespace hopla
