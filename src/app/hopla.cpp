#include "app/hopla.h"

namespace hopla {

namespace {
// How long destruction waits for mover threads; each ends within one pass.
constexpr int32_t kMoverEndWaitMs = 2000;
constexpr int32_t kMoverEndPollMs = 5;
}  // namespace

THopla::THopla(Application& app, EngineState& state)
    : SettingsWindow(app, state),
      OnTimer(app.timers(), "OnTimer", true, kHeartbeatIntervalMs),
      TimeOverTimer(app.timers(), "TimeOverTimer", false),
      heartbeat_(app.platform(), state, TimeOverTimer, *this) {
  BindHandlers();
  FormCreate(*this);
  // The rest of the construction, after FormCreate.
  State().JoyInfo = JoyRecord{};
  const Rect desktop = app.platform().DesktopRect();
  State().ScreenRight = desktop.right;
  State().ScreenBottom = desktop.bottom;
  app.on_restore = [this](Component& sender) { RestoreHandler(sender); };
}

THopla::~THopla() {
  FormDestroy(*this);
  AwaitMovers();
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
  ShuuryouBtn.on_click = [this](Component& sender) {
    ShuuryouBtnClick(sender);
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
  auto thread = std::make_shared<TMyThread>(app().platform(), State(),
                                            static_cast<MoverSite&>(*this));
  live_movers_.fetch_add(1);
  thread->Start();
  MoverThread = std::move(thread);
}

bool THopla::BrakeWanted() const {
  return !BreakNasiRadioButton.Checked() && State().BrakeKinds != 0;
}

void THopla::MoverEnded() {
  TimeOverTimer.SetEnabled(true);
  live_movers_.fetch_sub(1);
}

void THopla::StopEngine() {
  if (MoverThread && !MoverThread->Finished()) {
    MoverThread->Terminate();
    TimeOverTimer.SetEnabled(false);
  }
}

void THopla::AwaitMovers() {
  if (MoverThread) MoverThread->Terminate();
  Platform& platform = app().platform();
  for (int32_t waited = 0; live_movers_.load() > 0 && waited < kMoverEndWaitMs;
       waited += kMoverEndPollMs) {
    // A mover waiting for the next execution is let go.
    if (State().MoverEvent) State().MoverEvent->Set();
    platform.Sleep(kMoverEndPollMs);
  }
}

void THopla::LocateJoyToKey() {
  // The drive search for JoyToKey is built on this call point.
}

}  // namespace hopla
