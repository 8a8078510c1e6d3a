#include "toolkit/application.h"

#include "toolkit/form.h"
#include "toolkit/timer.h"

namespace hopla {

Application::Application(Platform& platform)
    : Component("Application"), platform_(platform), timers_(platform) {}

void Application::Run() {
  if (main_form_ == nullptr || terminated_) return;
  main_form_->ShowFirst();
  RunLoop();
}

void Application::RunLoop() {
  if (!terminated_) platform_.RunMessageLoop(*this);
}

void Application::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  platform_.QuitMessageLoop();
}

WindowHandle Application::Handle() const {
  return main_form_ == nullptr ? kNoWindow : main_form_->Handle();
}

void Application::Minimize() {
  if (main_form_ != nullptr) main_form_->Minimize();
}

void Application::Restore() {
  if (main_form_ != nullptr) main_form_->Restore();
}

void Application::NoteRestored() {
  if (on_restore) on_restore(*this);
}

void Application::Guard(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

void Application::ShowException(const std::exception& error) {
  MessageBoxSpec desc;
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

}  // namespace hopla
