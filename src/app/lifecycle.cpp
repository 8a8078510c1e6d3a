// Start-up, restore, the window messages the window answers itself, and the
// ways out of the program.
#include "app/hopla.h"

namespace hopla {

namespace {
constexpr char kQuitQuestion[] = "｢ホプラー。」を終了しますか？";
constexpr char kQuitCaption[] = "警告";
}  // namespace

void THopla::FormCreate(Component& /*sender*/) {
  Platform& platform = app().platform();
  State().MoverEvent = platform.CreateAutoResetEvent(true);
  LoadSettings();
  if (Closed()) return;  // closed while JoyToKey was looked for
  if (SaishouCheckBox.Checked()) SetStartMinimized(true);
  SpeedBarChange(*this);
  if (JtkUseCheckBox.Checked() && Path_JoyToKey.Text().empty()) {
    LocateJoyToKey();
  }
}

void THopla::FormCloseQuery(Component& /*sender*/, bool& can_close) {
  // Closed already, or the question is open: a close sent meanwhile (while
  // a box or a wait answers sent messages) asks nothing more.
  if (Closed() || asking_) {
    can_close = false;
    return;
  }
  struct Asking {
    bool& asking;
    ~Asking() { asking = false; }
  } asking{asking_ = true};
  MessageBoxArgs question;
  question.owner = app().Handle();
  question.text = kQuitQuestion;
  question.caption = kQuitCaption;
  question.buttons = MessageBoxButtons::kOkCancel;
  question.default_is_second = true;
  if (app().ShowMessageBox(question) != DialogResult::kOk) {
    can_close = false;
  }
}

void THopla::FormClose(Component& /*sender*/, CloseAction& /*action*/) {
  BeginClosing();
  StopEngine();
  SaveSettings();
  if (State().JoyToKeyWindow != kNoWindow) {
    app().platform().PostToWindow(State().JoyToKeyWindow, kWmQuit, 0, 0);
  }
}

void THopla::FormDestroy(Component& /*sender*/) {
  StopEngine();
  SaveSettings();
}

void THopla::ShuuryouBtnClick(Component& /*sender*/) { Close(); }

void THopla::RestoreHandler(Component& /*sender*/) {
  Platform& platform = app().platform();
  platform.ShowWindowNormal(app().Handle());
  platform.SetForegroundWindow(Handle());
}

void THopla::SysCommandHook(uint32_t command) {
  State().MinimisedWindow = app().Handle();
  if (command == kExtendedSettingsCommand) {
    if (extended_dialog_ == nullptr) {
      extended_dialog_ = std::make_unique<ExtendedDialog>(app(), *this);
    }
    extended_dialog_->Open();
  }
  if (command == kPauseCommand) SetPaused(!State().Paused);
  if (command == kKeyboardCommand) ToggleKeyboard();
}

bool THopla::ShutdownQueryHandler() {
  StopEngine();
  // While the window closes, the close's own save is this moment's (it may
  // be in its refused box now): a second one would only say so again.
  if (!Closed()) SaveSettings();
  // The box of a refused save lets the switch work: a drag it began must
  // not outlive the session either.
  StopEngine();
  return true;
}

// The window's normal place and size, also while it is minimised (when its
// rectangle is the parked one, far off the screen).
void THopla::GetMinMaxInfoHandler(MinMaxInfo& info) {
  const std::optional<Rect> rect = app().platform().NormalWindowRect(Handle());
  if (!rect) return;
  info.max_size = {rect->Width(), rect->Height()};
  info.max_position = {rect->left, rect->top};
}

}  // namespace hopla
