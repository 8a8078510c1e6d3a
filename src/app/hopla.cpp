// Building THopla: its parts, their wiring, and what they ask of the window.
#include "app/hopla.h"

#include "motion/screen_bounds.h"

namespace hopla {

namespace {
// How long destruction waits for the threads the program started: a mover
// ends within a pass, the prober and the hop's search within their probe.
constexpr int32_t kThreadsEndWaitMs = 2000;
constexpr int32_t kThreadsEndPollMs = 5;
}  // namespace

THopla::THopla(Application& app, std::shared_ptr<EngineState> state)
    : SettingsWindow(app, *state, static_cast<SettingsSite&>(*this)),
      OnTimer(app.timers(), "OnTimer", true, kHeartbeatIntervalMs),
      TimeOverTimer(app.timers(), "TimeOverTimer", false),
      state_(std::move(state)),
      mover_link_(std::make_shared<MoverLink>(static_cast<MoverSite&>(*this))),
      brake_prober_(std::make_shared<BrakeProber>(app.platform())),
      bubble_(app.platform(), *state_, TimeOverTimer),
      heartbeat_(app.platform(), *state_, TimeOverTimer, *this, bubble_),
      window_search_(app.platform(), *state_),
      key_input_(app.platform(), *state_),
      executor_(app.platform(), *state_, TimeOverTimer, *this, window_search_,
                key_input_),
      joytokey_(app.platform(), *state_, window_search_, *this),
      keyboard_(app.platform(), *this, state_->TextLanguage) {
  // Executions go on inside a message box an execution opened itself: a
  // person with one switch closes it by walking to its button and clicking.
  TimeOverTimer.SetReentrant(true);
  BindHandlers();
  // Ready before FormCreate: a search for JoyToKey at start-up, and the box
  // it may end with, serve the timers, and a walk needs the screen's size.
  State().JoyInfo = JoyRecord{};
  const Rect desktop = app.platform().DesktopRect();
  State().ScreenRight = desktop.right;
  State().ScreenBottom = desktop.bottom;
  UseMonitors(State(), app.platform().MonitorRects());
  app.on_restore = [this](Component& sender) { RestoreHandler(sender); };
  // A close during start-up (a search for JoyToKey serves the window) must
  // end the program, not only hide its window.
  app.SetMainForm(*this);
  try {
    FormCreate(*this);
  } catch (...) {
    // What started meanwhile (a mover after a press during a search at
    // start-up) must not call into a window that will never be.
    if (MoverThread) MoverThread->Terminate();
    brake_prober_->Stop();
    mover_link_->Detach();
    throw;
  }
}

THopla::~THopla() { Release(); }

// Outside the destructor: its steps wait (a box, the threads), and a wait
// may end in an exception (the system ending the process, under test).
void THopla::Release() {
  if (released_) return;
  released_ = true;
  FormDestroy(*this);
  keyboard_.Close();
  AwaitThreads();
  // From here on nothing a mover still does reaches the window; the state it
  // uses lives as long as it does.
  mover_link_->Detach();
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
  on_hot_key = [this](int32_t id) {
    if (id == kPauseHotKeyId) SetPaused(!State().Paused);
  };
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
  HelpBtn.on_click = [this](Component& sender) { HelpButtonClick(sender); };
}

void THopla::StopMoverThread() {
  if (MoverThread) MoverThread->Terminate();
}

void THopla::StartMoverThread() {
  auto thread = std::make_shared<TMyThread>(app().platform(), state_,
                                            mover_link_, brake_prober_);
  thread->Start();
  MoverThread = std::move(thread);
}

WindowHandle THopla::ApplicationWindow() const { return app().Handle(); }

void THopla::RestoreApplication() { app().Restore(); }

void THopla::BringForward() { app().platform().SetForegroundWindow(Handle()); }

void THopla::ToggleKeyboard() {
  if (keyboard_.IsOpen()) {
    keyboard_.Close();
    return;
  }
  const ExtendedSettings& kept = Extended();
  keyboard_.Open({kept.keyboard_left, kept.keyboard_top,
                  kept.keyboard_left + kept.keyboard_width,
                  kept.keyboard_top + kept.keyboard_height},
                 app().platform().DesktopRect());
}

// Kept in the settings, so it opens there next time, also after a restart.
void THopla::KeyboardPlaced(const Rect& window) {
  ExtendedSettings values = Extended();
  values.keyboard_left = window.left;
  values.keyboard_top = window.top;
  values.keyboard_width = window.Width();
  values.keyboard_height = window.Height();
  SetExtended(values);
}

void THopla::StopEngine() {
  ReleaseHeldButton();
  if (MoverThread && !MoverThread->Finished()) {
    MoverThread->Terminate();
    TimeOverTimer.SetEnabled(false);
  }
}

// A button left down by a press-and-hold command must not outlive the
// program: the person could not let go of it.
void THopla::ReleaseHeldButton() {
  if (!State().ButtonHeld) return;
  app().platform().MouseButton(kMouseLeftUp,
                               {State().CursorX, State().CursorY});
  State().ButtonHeld = false;
}

void THopla::AwaitThreads() {
  if (MoverThread) MoverThread->Terminate();
  brake_prober_->Stop();
  Platform& platform = app().platform();
  for (int32_t waited = 0;
       platform.ThreadsRunning() > 0 && waited < kThreadsEndWaitMs;
       waited += kThreadsEndPollMs) {
    // A mover waiting for the next execution is let go.
    if (State().MoverEvent) State().MoverEvent->Set();
    platform.SleepAnswering(kThreadsEndPollMs);
  }
}

}  // namespace hopla
