// The application object: title, message loop, the main form, minimise and
// restore of the whole program, and the standard report of an error. Its own
// window carries the taskbar button with its title and owns the forms.
#ifndef HOPLA_TOOLKIT_APPLICATION_H_
#define HOPLA_TOOLKIT_APPLICATION_H_

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "toolkit/component.h"
#include "toolkit/timer_queue.h"

namespace hopla {

class Form;

class Application : public Component, private UiLoopHost, private WidgetEvents {
 public:
  explicit Application(Platform& platform);
  ~Application() override;

  Platform& platform() { return platform_; }
  TimerQueue& timers() { return timers_; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);
  // Every text shown (captions, hints, the menu's items, boxes, the title)
  // goes through this first: the face of the program's language. Set before
  // any control is made.
  void SetTranslator(std::function<std::string(const std::string&)> face) {
    face_ = std::move(face);
  }
  std::string Translate(const std::string& text) const {
    return face_ ? face_(text) : text;
  }
  // The texts of `desc` translated.
  WidgetArgs Translated(WidgetArgs desc) const;
  const std::string& HelpFile() const { return help_file_; }
  void SetHelpFile(std::string file) { help_file_ = std::move(file); }

  // The form whose close ends the program.
  void SetMainForm(Form& form) { main_form_ = &form; }
  Form* MainForm() const { return main_form_; }
  // Shows the main form and runs the message loop until Terminate.
  void Run();
  // Shows the application's taskbar button and `form` now, before Run (a
  // long search at start-up shows that it is going on); Run then shows
  // nothing again.
  void ShowNow(Form& form);
  // A modal message box in which the timers keep running, also before the
  // message loop runs.
  DialogResult ShowMessageBox(const MessageBoxArgs& desc);
  // Runs the message loop alone, until Terminate.
  void RunLoop();
  // Runs the message loop (timers, painting, the person's input) until
  // `done` holds, asking it on every wake and at least every `poll_ms`, or
  // until the program is ending. Any thread may wake the loop to have
  // `done` asked at once.
  void ServeUntil(const std::function<bool()>& done, int32_t poll_ms);
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The window that carries the taskbar button.
  WindowHandle Handle() const;
  // A word after the title on the taskbar button for a while (empty: the
  // title alone); the title itself does not change.
  void ShowStatus(const std::string& status);
  // The native peer of that window, which forms are made in.
  NativeWidget& Peer() { return *peer_; }
  // Whether the program is minimised, however that came about: the
  // application (to the taskbar), or its main form on its own.
  bool Minimized() const;
  void Minimize();
  // Brings back whatever is minimised; the restore event follows.
  void Restore();
  // Called when the program has come back from the minimised state.
  void NoteRestored();
  NotifyEvent on_restore;

  // The cursor every window of the program shows, until set again.
  CursorShape CursorOverride() const { return cursor_override_; }
  void SetCursorOverride(CursorShape shape);

  // Runs `body`, reporting what it throws in the standard error box, so that
  // one failed handler does not end the program.
  void Guard(const std::function<void()>& body);
  void ShowException(const std::exception& error);

 private:
  int64_t RunDueWork() override;
  // The application window's events.
  void OnRestored() override;
  void OnCloseRequest() override;

  Platform& platform_;
  TimerQueue timers_;
  std::function<std::string(const std::string&)> face_;
  std::string title_;
  std::string help_file_;
  Form* main_form_ = nullptr;
  bool terminated_ = false;
  bool shown_ = false;
  CursorShape cursor_override_ = CursorShape::kNone;
  int32_t serving_ = 0;  // message loops running on this thread
  std::unique_ptr<NativeWidget> peer_;
};

}  // namespace hopla

#endif  // HOPLA_TOOLKIT_APPLICATION_H_
