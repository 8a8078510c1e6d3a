// THopla: the main window. On top of the settings window it owns the
// engine's parts (heartbeat, executor, key input, brake), its two timers and
// the mover thread, wires them together, and keeps the handler names the
// rest of the team uses as thin calls into the parts.
#ifndef HOPLA_APP_HOPLA_H_
#define HOPLA_APP_HOPLA_H_

#include <memory>
#include <string>

#include "engine/code_bubble.h"
#include "engine/executor.h"
#include "engine/heartbeat.h"
#include "engine/key_input.h"
#include "engine/keyboard.h"
#include "engine/window_search.h"
#include "joytokey/joytokey.h"
#include "motion/brake.h"
#include "motion/brake_prober.h"
#include "motion/mover_link.h"
#include "motion/mover_thread.h"
#include "settings/extended_dialog.h"
#include "settings/settings_window.h"
#include "shared/engine_state.h"
#include "toolkit/timer.h"

namespace hopla {

inline constexpr char kApplicationTitle[] = "「ホプラー。」Ver2.10";
inline constexpr char kSearchingNote[] = "　JoyToKeyを探しています…";
inline constexpr char kPausedNote[] =
    "　一時停止中（スイッチを長く押し続けると再開）";

class THopla : public SettingsWindow,
               private SettingsSite,
               private HeartbeatSite,
               private ExecutorSite,
               private MoverSite,
               private JoyToKeySite,
               private KeyboardSite {
 public:
  THopla(Application& app, std::shared_ptr<EngineState> state);
  ~THopla() override;
  // The destruction: FormDestroy, every thread ended, the window gone. The
  // destructor does it when it was not done before.
  void Release();

  // The heartbeat and the execution timer.
  Timer OnTimer;
  Timer TimeOverTimer;
  // The mover thread last started, or none. Requests through it stay safe
  // after the thread has ended.
  std::shared_ptr<TMyThread> MoverThread;

  // Life of the window.
  void FormCreate(Component& sender);
  void FormCloseQuery(Component& sender, bool& can_close);
  void FormClose(Component& sender, CloseAction& action);
  void FormDestroy(Component& sender);
  void ShuuryouBtnClick(Component& sender);
  void RestoreHandler(Component& sender);
  // Window messages answered by the window itself.
  void SysCommandHook(uint32_t command);
  // The carer's pause, from the system menu, the hot key or the switch.
  void SetPaused(bool paused);
  // The extended settings dialog, once the system menu has opened it.
  ExtendedDialog* ExtendedSettingsDialog() { return extended_dialog_.get(); }
  bool ShutdownQueryHandler();
  void GetMinMaxInfoHandler(MinMaxInfo& info);

  // The engine.
  void OnTimerTimer(Component& sender);
  void TimeOverTimerTimer(Component& sender);
  void HelpButtonClick(Component& sender);

  // JoyToKey.
  void FindJoyToKeyWindow() override;
  bool StartJoyToKey(const std::string& folder) override;
  void LocateJoyToKey();
  void JoyToKeyUseChanged() override;

 private:
  // What the parts ask of the window.
  void SendJoyToKeyHeartbeat() override { joytokey_.SendHeartbeat(); }
  bool JoyToKeyBusy() const override { return joytokey_.Busy(); }
  bool JoyToKeyAnnouncing() const override { return joytokey_.Announcing(); }
  void SetJoyToKeyUsed(bool used) override { JtkUseCheckBox.SetChecked(used); }
  std::string JoyToKeyFolder() const override { return Path_JoyToKey.Text(); }
  void SetJoyToKeyFolder(const std::string& folder) override {
    Path_JoyToKey.SetText(folder);
  }
  std::string ReadStoredFolder() override;
  void StoreFolder(const std::string& folder) override;
  void SetExecutionTimerEnabled(bool enabled) override {
    TimeOverTimer.SetEnabled(enabled);
  }
  bool ProgramClosed() const override { return Closed(); }
  void ShowSearching(bool searching) override;
  WindowHandle MainWindow() const override { return Handle(); }
  void ShowMessageBox(const MessageBoxArgs& desc) override {
    app().ShowMessageBox(desc);
  }
  void ServeUntil(const std::function<bool()>& done, int32_t poll_ms) override {
    app().ServeUntil(done, poll_ms);
  }
  void StopMoverThread() override;
  void StartMoverThread() override;
  bool TakePress(int32_t held_ms, bool long_press) override {
    return extended_dialog_ != nullptr &&
           extended_dialog_->TakePress(held_ms, long_press);
  }
  bool HasMoverThread() const override { return MoverThread != nullptr; }
  void EndPause() override { SetPaused(false); }
  void ToggleKeyboard() override;
  void KeyboardPlaced(const Rect& window) override;
  void KeyboardShown(bool open) override {
    SetMenuItemChecked(kKeyboardCommand, open);
  }
  void MoverEnded() override { TimeOverTimer.SetEnabled(true); }
  WindowHandle ApplicationWindow() const override;
  void ClearJoyToKeyUse() override { JtkUseCheckBox.SetChecked(false); }
  void RestoreApplication() override;
  void BringForward() override;
  void OpenHelp() override { HelpButtonClick(HelpBtn); }

  // Stops a running mover thread and the execution timer, as every way out
  // of the program does, after letting go of a held mouse button.
  void StopEngine();
  void ReleaseHeldButton();
  // The caption and the taskbar button: the title, and what goes on.
  void ShowCaption();
  // Asks every thread the program started to end and waits for them
  // (bounded), answering what they send to the window meanwhile: a probe in
  // flight asks the window itself. One that cannot end in time keeps what
  // it uses (the state, the platform) until the process's exit ends it.
  void AwaitThreads();
  void BindHandlers();

  std::shared_ptr<EngineState> state_;
  std::shared_ptr<MoverLink> mover_link_;
  std::shared_ptr<BrakeProber> brake_prober_;
  CodeBubble bubble_;
  Heartbeat heartbeat_;
  TopLevelWindowSearch window_search_;
  KeyInput key_input_;
  Executor executor_;
  JoyToKey joytokey_;
  HoplaKeyboard keyboard_;
  // Made when the system menu first opens it.
  std::unique_ptr<ExtendedDialog> extended_dialog_;
  // The quit question is open.
  bool asking_ = false;
  // A search for JoyToKey goes on.
  bool searching_ = false;
  bool released_ = false;
};

}  // namespace hopla

#endif  // HOPLA_APP_HOPLA_H_
