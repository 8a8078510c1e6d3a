// THopla: the main window. It owns the engine state, the two engine timers
// and the mover thread, and carries the program's life from creation to
// destruction.
#ifndef HOPLA_APP_HOPLA_H_
#define HOPLA_APP_HOPLA_H_

#include <memory>

#include "engine/engine_state.h"
#include "engine/heartbeat.h"
#include "settings/settings_window.h"
#include "toolkit/thread.h"
#include "toolkit/timer.h"

namespace hopla {

inline constexpr char kApplicationTitle[] = "「ホプラー。」Ver2.10";

class THopla : public SettingsWindow, private HeartbeatSite {
 public:
  explicit THopla(Application& app);
  ~THopla() override;

  EngineState& State() { return state_; }

  // The heartbeat and the execution timer.
  Timer OnTimer;
  Timer TimeOverTimer;
  // The mover thread last started, or none.
  std::shared_ptr<TThread> MoverThread;

  // Life of the window.
  void FormCreate(Component& sender);
  void FormCloseQuery(Component& sender, bool& can_close);
  void FormClose(Component& sender, CloseAction& action);
  void FormDestroy(Component& sender);
  void ShuuryouBtnClick(Component& sender);
  void RestoreHandler(Component& sender);
  // Window messages answered by the window itself.
  void SysCommandHook(uint32_t command);
  bool ShutdownQueryHandler();
  void GetMinMaxInfoHandler(MinMaxInfo& info);

  // The engine.
  void OnTimerTimer(Component& sender);
  void TimeOverTimerTimer(Component& sender);

  // Settings and JoyToKey, called by the steps above.
  void LoadSettings();
  bool SaveSettings();
  void SpeedBarChange(Component& sender);
  void LocateJoyToKey();

 private:
  // HeartbeatSite.
  bool SoundOn() const override { return SoundCheckBox.Checked(); }
  bool JoyToKeyUsed() const override { return JtkUseCheckBox.Checked(); }
  void StopMoverThread() override;
  void StartMoverThread() override;

  // Stops a running mover thread and the execution timer, as every way out
  // of the program does.
  void StopEngine();
  void BindHandlers();

  EngineState state_;
  Heartbeat heartbeat_;
};

}  // namespace hopla

#endif  // HOPLA_APP_HOPLA_H_
