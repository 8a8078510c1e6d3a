#include "app/hopla.h"

namespace hopla {

THopla::THopla(Application& app)
    : SettingsWindow(app),
      OnTimer(app.timers(), "OnTimer", true, kHeartbeatIntervalMs),
      TimeOverTimer(app.timers(), "TimeOverTimer", false),
      heartbeat_(app.platform(), state_, TimeOverTimer, *this) {
  BindHandlers();
  FormCreate(*this);
  // The rest of the construction, after FormCreate.
  state_.JoyInfo = JoyRecord{};
  const Rect desktop = app.platform().DesktopRect();
  state_.ScreenRight = desktop.right;
  state_.ScreenBottom = desktop.bottom;
  app.on_restore = [this](Component& sender) { RestoreHandler(sender); };
}

THopla::~THopla() {
  FormDestroy(*this);
  DestroyWindow();
}

void THopla::BindHandlers() {
  on_close_query = [this](Component& sender, bool& can_close) {
    FormCloseQuery(sender, can_close);
  };
  on_close = [this](Component& sender, CloseAction& action) {
    FormClose(sender, action);
  };
  on_sys_command = [this](uint32_t command) { SysCommandHook(command); };
  on_query_end_session = [this] { return ShutdownQueryHandler(); };
  on_get_min_max_info = [this](MinMaxInfo& info) {
    GetMinMaxInfoHandler(info);
  };
  OnTimer.on_timer = [this](Component& sender) { OnTimerTimer(sender); };
  TimeOverTimer.on_timer = [this](Component& sender) {
    TimeOverTimerTimer(sender);
  };
}

void THopla::OnTimerTimer(Component& /*sender*/) { heartbeat_.Tick(); }

void THopla::TimeOverTimerTimer(Component& /*sender*/) {
  // The execution of the press code is built on this handler.
}

void THopla::StopMoverThread() {
  if (MoverThread) MoverThread->Terminate();
}

void THopla::StartMoverThread() {
  // The cursor mover is started here once it exists.
}

void THopla::StopEngine() {
  if (MoverThread && !MoverThread->Finished()) {
    MoverThread->Terminate();
    TimeOverTimer.SetEnabled(false);
  }
}

void THopla::LoadSettings() {
  // Reading the settings file is built on this call point.
}

bool THopla::SaveSettings() {
  // Writing the settings file is built on this call point.
  return true;
}

void THopla::SpeedBarChange(Component& /*sender*/) {
  // The speed map is built on this call point.
}

void THopla::LocateJoyToKey() {
  // The drive search for JoyToKey is built on this call point.
}

}  // namespace hopla
