// Cooperation with JoyToKey: finding its window, finding its program on the
// drives (on a worker thread, while the window goes on answering), starting
// it hidden, keeping it informed on every heartbeat, and the handler of the
// box that turns its use on and off.
#ifndef HOPLA_JOYTOKEY_JOYTOKEY_H_
#define HOPLA_JOYTOKEY_JOYTOKEY_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "joytokey/folder_search.h"
#include "platform/platform.h"
#include "shared/engine_state.h"
#include "shared/window_search.h"

namespace hopla {

// What the cooperation needs of the main window.
class JoyToKeySite {
 public:
  virtual ~JoyToKeySite() = default;
  // Ticks or clears JtkUseCheckBox; its click handler runs.
  virtual void SetJoyToKeyUsed(bool used) = 0;
  // Path_JoyToKey, the folder known.
  virtual std::string JoyToKeyFolder() const = 0;
  virtual void SetJoyToKeyFolder(const std::string& folder) = 0;
  // The folder key of the settings file, read and written at once.
  virtual std::string ReadStoredFolder() = 0;
  virtual void StoreFolder(const std::string& folder) = 0;
  virtual void SetExecutionTimerEnabled(bool enabled) = 0;  // TimeOverTimer
  // Tells the person that a search is going on, or that it has ended.
  virtual void ShowSearching(bool searching) = 0;
  virtual WindowHandle MainWindow() const = 0;
  // A box the switch can close: the timers go on inside it.
  virtual void ShowMessageBox(const MessageBoxArgs& desc) = 0;
  // Serves the window (painting, timers, the person's input) until `done`
  // holds, or the window is closed meanwhile; `done` is asked at least every
  // `poll_ms`.
  virtual void ServeUntil(const std::function<bool()>& done,
                          int32_t poll_ms) = 0;
  // The window has been closed: a search or start that served it meanwhile
  // starts nothing, opens no box and changes no setting.
  virtual bool ProgramClosed() const = 0;
};

inline constexpr char kNotInstalledText[] =
    "JoyToKeyがインストールされていません";
// JoyToKey is started by this name, in its folder.
inline constexpr char kJoyToKeyStartName[] = "JoyToKey";
// A start whose window has not come by then has failed.
inline constexpr int32_t kStartWaitMs = 5000;
inline constexpr int32_t kStartPollMs = 50;
inline constexpr int32_t kUseTogglePauseMs = 1000;
// A heartbeat JoyToKey has not handled by then is given up on; the next
// tick sends a new one.
inline constexpr int64_t kHeartbeatGiveUpMs = 2000;

class JoyToKey {
 public:
  JoyToKey(Platform& platform, EngineState& state, WindowSearch& search,
           JoyToKeySite& site);
  ~JoyToKey();
  JoyToKey(const JoyToKey&) = delete;
  JoyToKey& operator=(const JoyToKey&) = delete;

  // The window search: JoyToKeyWindow becomes the last match, or none.
  void FindJoyToKeyWindow();
  // The program search; afterwards Path_JoyToKey holds the folder, or the
  // box is cleared (with a message).
  void LocateJoyToKey();
  // Starts JoyToKey from `folder` and waits (bounded) for its window.
  bool StartJoyToKey(const std::string& folder);
  // The click handler of JtkUseCheckBox.
  void JtkUseCheckBoxClick();
  // On every heartbeat tick while JoyToKey is in use: sent without waiting,
  // at most one at a time.
  void SendHeartbeat();
  // A search or a start is going on: executions wait for it.
  bool Busy() const { return busy_ > 0; }
  // The box saying JoyToKey is not installed is open: the use is about to be
  // cleared, so there is nothing to check meanwhile.
  bool Announcing() const { return announcing_; }

 private:
  struct Search;
  struct Heartbeat;
  void WarnStartFailed();
  // After a close during a start: JoyToKey, started hidden, is told to quit
  // once its window comes (until `deadline_ms`), so it is not left running.
  void QuitWhenItComes(int64_t deadline_ms);
  // The last window titled as JoyToKey's, whether its use is ticked or not.
  WindowHandle StartedWindow();

  Platform& platform_;
  EngineState& state_;
  WindowSearch& search_;
  JoyToKeySite& site_;
  // JoyToKeyFolder: where the program was found in this run.
  std::string found_folder_;
  std::shared_ptr<Search> running_;
  std::shared_ptr<Heartbeat> heartbeat_;
  int32_t busy_ = 0;
  bool announcing_ = false;
};

}  // namespace hopla

#endif  // HOPLA_JOYTOKEY_JOYTOKEY_H_
