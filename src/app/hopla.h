// THopla: the main window. On top of the settings window it carries the
// engine's two timers and the mover thread, and the program's life from
// creation to destruction.
#ifndef HOPLA_APP_HOPLA_H_
#define HOPLA_APP_HOPLA_H_

#include <atomic>
#include <memory>

#include "engine/engine_state.h"
#include "engine/heartbeat.h"
#include "motion/mover_thread.h"
#include "settings/settings_window.h"
#include "toolkit/timer.h"

namespace hopla {

inline constexpr char kApplicationTitle[] = "「ホプラー。」Ver2.10";

class THopla : public SettingsWindow, private HeartbeatSite, private MoverSite {
 public:
  THopla(Application& app, EngineState& state);
  ~THopla() override;

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
  bool ShutdownQueryHandler();
  void GetMinMaxInfoHandler(MinMaxInfo& info);

  // The engine.
  void OnTimerTimer(Component& sender);
  void TimeOverTimerTimer(Component& sender);

  // JoyToKey, called by the steps above.
  void LocateJoyToKey();

 private:
  // HeartbeatSite.
  bool SoundOn() const override { return SoundCheckBox.Checked(); }
  bool JoyToKeyUsed() const override { return JtkUseCheckBox.Checked(); }
  void StopMoverThread() override;
  void StartMoverThread() override;
  // MoverSite.
  bool TurnAtEdges() const override { return OrikaesiCheckBox.Checked(); }
  bool BrakeWanted() const override;
  void MoverEnded() override;

  // Stops a running mover thread and the execution timer, as every way out
  // of the program does.
  void StopEngine();
  // Lets every mover thread still alive end before the state goes away.
  void AwaitMovers();
  void BindHandlers();

  Heartbeat heartbeat_;
  std::atomic<int32_t> live_movers_{0};
};

}  // namespace hopla

#endif  // HOPLA_APP_HOPLA_H_
