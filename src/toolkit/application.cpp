#include "toolkit/application.h"

#include <algorithm>

#include "toolkit/form.h"
#include "toolkit/timer.h"

namespace hopla {

namespace {
WidgetArgs ApplicationWindowArgs() {
  WidgetArgs desc;
  desc.kind = WidgetKind::kApplication;
  desc.visible = false;  // shown by Run
  return desc;
}
}  // namespace

Application::Application(Platform& platform)
    : Component("Application"),
      platform_(platform),
      timers_(platform),
      peer_(platform.CreateWidget(ApplicationWindowArgs(), nullptr, this)) {}

Application::~Application() { peer_->Destroy(); }

void Application::SetTitle(std::string title) {
  title_ = Translate(title);
  peer_->SetCaption(title_);
}

WidgetArgs Application::Translated(WidgetArgs desc) const {
  desc.caption = Translate(desc.caption);
  desc.hint = Translate(desc.hint);
  for (WidgetArgs::MenuItem& item : desc.system_menu) {
    item.caption = Translate(item.caption);
  }
  return desc;
}

void Application::Run() {
  if (main_form_ == nullptr || terminated_) return;
  ShowNow(*main_form_);
  RunLoop();
}

void Application::ShowNow(Form& form) {
  if (shown_) return;
  shown_ = true;
  peer_->Show(form.StartMinimized());
  form.ShowFirst();
}

void Application::RunLoop() {
  if (terminated_) return;
  ++serving_;
  platform_.RunMessageLoop(*this);
  --serving_;
}

namespace {

// The loop's host while a caller waits: the application's own work, and a
// look at the caller's condition on every wake.
class ServingHost : public UiLoopHost {
 public:
  ServingHost(Platform& platform, UiLoopHost& inner,
              const std::function<bool()>& done, int32_t poll_ms,
              const bool& terminated)
      : platform_(platform),
        inner_(inner),
        done_(done),
        poll_ms_(poll_ms),
        terminated_(terminated) {}

  int64_t RunDueWork() override {
    if (ended_ || Ended()) return kNoWake;
    const int64_t next = inner_.RunDueWork();
    if (Ended()) return kNoWake;
    return std::min(next, platform_.NowMs() + poll_ms_);
  }

 private:
  bool Ended() {
    if (!ended_ && (terminated_ || done_())) {
      ended_ = true;
      platform_.QuitMessageLoop();
    }
    return ended_;
  }

  Platform& platform_;
  UiLoopHost& inner_;
  const std::function<bool()>& done_;
  int32_t poll_ms_;
  const bool& terminated_;
  bool ended_ = false;
};

}  // namespace

void Application::ServeUntil(const std::function<bool()>& done,
                             int32_t poll_ms) {
  if (terminated_ || done()) return;
  ServingHost host(platform_, *this, done, poll_ms, terminated_);
  ++serving_;
  platform_.RunMessageLoop(host);
  --serving_;
  // A quit asked while serving ended this loop; the outer one must end too.
  if (terminated_) platform_.QuitMessageLoop();
}

namespace {

// A loop whose first work is the box; inside the box it serves the
// application's timers, and it ends when the box closes.
class BoxHost : public UiLoopHost {
 public:
  BoxHost(Platform& platform, UiLoopHost& inner, const MessageBoxArgs& desc)
      : platform_(platform), inner_(inner), desc_(desc) {}

  int64_t RunDueWork() override {
    if (opened_) return inner_.RunDueWork();
    opened_ = true;
    answer_ = platform_.ShowMessageBox(desc_);
    platform_.QuitMessageLoop();
    return kNoWake;
  }
  DialogResult answer() const { return answer_; }

 private:
  Platform& platform_;
  UiLoopHost& inner_;
  const MessageBoxArgs& desc_;
  bool opened_ = false;
  DialogResult answer_ = DialogResult::kCancel;
};

}  // namespace

// Inside a box the switch must keep working: a person with one switch closes
// it by walking the cursor to its button. Before the message loop runs (while
// the window is being made) nothing would serve the timers inside the box, so
// the box then opens from a loop of its own.
DialogResult Application::ShowMessageBox(const MessageBoxArgs& asked) {
  MessageBoxArgs desc = asked;
  desc.text = Translate(desc.text);
  desc.caption = Translate(desc.caption);
  if (serving_ > 0 || terminated_) return platform_.ShowMessageBox(desc);
  BoxHost host(platform_, *this, desc);
  ++serving_;
  platform_.RunMessageLoop(host);
  --serving_;
  return host.answer();
}

void Application::ShowStatus(const std::string& status) {
  peer_->SetCaption(status.empty() ? title_ : title_ + " " + status);
}

void Application::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  platform_.QuitMessageLoop();
}

WindowHandle Application::Handle() const { return peer_->Handle(); }

bool Application::Minimized() const {
  return peer_->IsMinimized() ||
         (main_form_ != nullptr && main_form_->Minimized());
}

void Application::Minimize() { peer_->Minimize(); }

// The peers report what they brought back (OnRestored), so the restore event
// comes from them, after the window is shown again.
void Application::Restore() {
  if (peer_->IsMinimized()) peer_->Restore();
  if (main_form_ != nullptr && main_form_->Minimized()) main_form_->Restore();
}

void Application::NoteRestored() {
  if (on_restore) on_restore(*this);
}

void Application::OnRestored() {
  Guard([this] { NoteRestored(); });
}

void Application::OnCloseRequest() {
  if (main_form_ != nullptr) Guard([this] { main_form_->Close(); });
}

void Application::Guard(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

void Application::ShowException(const std::exception& error) {
  MessageBoxArgs desc;
  desc.owner = Handle();
  desc.text = error.what();
  desc.caption = title_;
  desc.icon = MessageBoxIcon::kError;
  platform_.ShowMessageBox(desc);
}

int64_t Application::RunDueWork() {
  if (terminated_) return kNoWake;
  return timers_.FireDue([this](Timer& timer) {
    Guard([&] {
      if (timer.on_timer) timer.on_timer(timer);
    });
  });
}

void Application::SetCursorOverride(CursorShape shape) {
  cursor_override_ = shape;
  peer_->SetCursorOverride(shape);
}

}  // namespace hopla
