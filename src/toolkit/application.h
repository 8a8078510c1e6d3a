// The application object: title, message loop, the main form, minimise and
// restore of the whole program, and the standard report of an error.
#ifndef HOPLA_TOOLKIT_APPLICATION_H_
#define HOPLA_TOOLKIT_APPLICATION_H_

#include <exception>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "toolkit/component.h"
#include "toolkit/timer_queue.h"

namespace hopla {

class Form;

class Application : public Component, private UiLoopHost {
 public:
  explicit Application(Platform& platform);

  Platform& platform() { return platform_; }
  TimerQueue& timers() { return timers_; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  const std::string& HelpFile() const { return help_file_; }
  void SetHelpFile(std::string file) { help_file_ = std::move(file); }

  // The form whose close ends the program.
  void SetMainForm(Form& form) { main_form_ = &form; }
  Form* MainForm() const { return main_form_; }
  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Runs the message loop alone, until Terminate.
  void RunLoop();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The window that carries the taskbar button: the main form's window.
  WindowHandle Handle() const;
  void Minimize();
  void Restore();
  // Called by the main form when it has come back from the minimised state.
  void NoteRestored();
  NotifyEvent on_restore;

  // Runs `body`, reporting what it throws in the standard error box, so that
  // one failed handler does not end the program.
  void Guard(const std::function<void()>& body);
  void ShowException(const std::exception& error);

 private:
  int64_t RunDueWork() override;

  Platform& platform_;
  TimerQueue timers_;
  std::string title_;
  std::string help_file_;
  Form* main_form_ = nullptr;
  bool terminated_ = false;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_APPLICATION_H_
