// A simulated desktop on virtual time, for tests. Programs launched on it run
// on real threads, but only one at a time: a thread that waits hands the baton
// on, and when every thread waits, virtual time jumps to the earliest wake-up.
// The same script therefore gives the same trace on every run.
#ifndef HOPLA_PLATFORM_SIM_SIM_DESKTOP_H_
#define HOPLA_PLATFORM_SIM_SIM_DESKTOP_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace hopla::sim {

// One thing a program did, in the order it happened.
struct TraceEntry {
  int64_t time_ms = 0;
  // "sound" (text: file name), "send" and "post" (text: "<handle> <message>
  // <wparam> <lparam>", decimal), "msgbox" (text: caption + "|" + text),
  // "msgbox-answer" ("ok" or "cancel"), "cursor" ("x,y"), "exit" (code),
  // "crash" (what a program thread threw), "flash" ("<handle> <0|1>"),
  // "show" and "foreground" (the handle given to ShowWindowNormal and
  // SetForegroundWindow), "mouse" ("<flags> <dx>,<dy>", decimal), "key"
  // ("<virtual key> down" or "... up"), "beep", "shell" (the target opened),
  // "start" ("<folder>|<file>", started hidden), "list" (the pattern of a
  // folder listing), "file-replace" (the path),
  // "drive-errors" ("off" or "on": the thread's system boxes for drives),
  // and whatever kinds Record adds. A send that does not wait is a "send"
  // too.
  std::string kind;
  std::string text;
};

// A window of another program.
struct ForeignWindow {
  std::string title;
  Rect rect;
  // Answers messages sent or posted to it (on the sender's thread, taking no
  // virtual time). May be empty.
  std::function<intptr_t(uint32_t message, uintptr_t wparam, intptr_t lparam)>
      handler;
  // A hung window never answers: sends to it wait out their time-out.
  bool hung = false;
  // A busy window answers each message this long after it was sent; a send
  // whose time-out is shorter gives up.
  int64_t busy_ms = 0;
};

struct MessageBoxAnswer {
  DialogResult result = DialogResult::kOk;
  int64_t after_ms = 0;  // how long the person takes to answer
};

class SimProcess;
class SimWidget;

class SimDesktop {
 public:
  explicit SimDesktop(Rect screen = {0, 0, 1024, 768});
  // Ends every program thread still alive (their waits unwind) and joins them.
  ~SimDesktop();
  SimDesktop(const SimDesktop&) = delete;
  SimDesktop& operator=(const SimDesktop&) = delete;

  // --- Virtual time (call from the test's thread only) ---------------------
  int64_t Now() const;
  // Before the first program starts: its threads run side by side on the
  // real clock instead of one at a time on virtual time, so that
  // ThreadSanitizer sees them overlap. Runs are then not replayable, and
  // RunFor takes the real time it names.
  void RunFreely();
  // Lets the programs run until `ms` of virtual time have passed.
  void RunFor(int64_t ms);
  // Runs until `done` holds (tested whenever the programs all wait) or
  // `limit_ms` of virtual time have passed. Returns whether it holds. Returns
  // false at once when no thread can ever wake again.
  bool RunUntil(const std::function<bool()>& done, int64_t limit_ms);

  // --- Programs ---------------------------------------------------------
  // Starts a program whose main runs on a new simulated UI thread at the
  // current virtual time. `exe_path` is what ExecutablePath reports.
  // `arguments` are what it is started with after its path; it starts in
  // the folder of `exe_path`.
  SimProcess& Launch(const std::string& exe_path,
                     std::function<int(Platform&)> main,
                     std::vector<std::string> arguments = {});

  // Several monitors in screen coordinates, the first the primary (its
  // rectangle is the desktop window's); the cursor keeps to them.
  void SetMonitors(std::vector<Rect> monitors);

  // --- The person at the switch --------------------------------------------
  // The switch is down from `down_ms` until `up_ms` (absolute virtual times):
  // button 1 of joystick 1 unless another device is named (its kind and the
  // fields of that kind count).
  void HoldSwitch(int64_t down_ms, int64_t up_ms,
                  const SwitchChoice& device = {});
  // A carer presses a hot key at `at_ms`: the window that registered it
  // hears of it. False when no window holds it.
  bool PressHotKey(int64_t at_ms, uint32_t modifiers, uint32_t key);
  // Polls of joystick `joystick` fail (it is unplugged) from `from_ms` until
  // `until_ms`.
  void FailSwitch(int64_t from_ms, int64_t until_ms, int32_t joystick = 1);

  // --- Message boxes -----------------------------------------------------
  // How the person answers every message box from now on. The default
  // answers OK at once.
  void AnswerMessageBoxes(
      std::function<MessageBoxAnswer(const MessageBoxArgs&)> answer);
  // Message boxes open now, of every program.
  int32_t OpenMessageBoxes() const;

  // --- Other programs' windows ---------------------------------------------
  WindowHandle AddWindow(ForeignWindow window);
  void RemoveWindow(WindowHandle window);
  void SetHung(WindowHandle window, bool hung);
  void SetBusy(WindowHandle window, int64_t busy_ms);
  void SetForeground(WindowHandle window);
  // Every top-level window, in enumeration order (topmost first).
  std::vector<WindowInfo> Windows() const;
  std::optional<Rect> WindowRectOf(WindowHandle window) const;
  bool IsMinimised(WindowHandle window) const;
  bool IsMaximised(WindowHandle window) const;
  // Whether the window exists and is shown (a form is hidden until Show).
  bool IsVisible(WindowHandle window) const;
  WindowHandle Foreground() const;
  // The topmost window with exactly this title, or kNoWindow.
  WindowHandle FindWindowByTitle(std::string_view title) const;

  // --- Programs' controls (the peers of their toolkit controls) ----------
  // Read state at will; act as the person (UserClick, ...) only from a
  // SimProcess::At action, on the program's UI thread.
  SimWidget* Widget(WindowHandle handle) const;
  // The first live control with this caption, in creation order, or null.
  SimWidget* FindWidget(std::string_view caption) const;
  std::vector<SimWidget*> Widgets() const;

  // --- Drives and folders (what the programs list) ---------------------------
  // Paths as Windows spells them ("C:\\Tools\\JoyToKey.exe"); a folder's
  // parents come with it. A link lists as a folder that is a link, and its
  // content is its target's.
  void AddTreeFolder(const std::string& path);
  void AddTreeFile(const std::string& path);
  void AddTreeLink(const std::string& path, const std::string& target);
  // Listing this folder fails (no medium, no access).
  void MakeUnlistable(const std::string& path);
  // How long one listing takes (default 0); of this folder alone (a dead
  // network share may take minutes).
  void SetListingCost(int64_t ms);
  void SetFolderListingCost(const std::string& folder, int64_t ms);
  int64_t ListingCount() const;
  // Called (on the starting program's thread) whenever a program asks the
  // shell to start something hidden; the trace also gets "start".
  void OnShellStart(
      std::function<void(const std::string& file, const std::string& folder)>
          start);

  // --- Accessibility ---------------------------------------------------------
  // What a probe finds inside `rect` (later regions lie on top). Elsewhere it
  // finds a plain window's client area; over a program's own window, the
  // role of its control there, once that program's UI thread has answered.
  void AddRoleRegion(Rect rect, RoleReading reading);
  void ClearRoleRegions();
  // How long one probe takes (default 2 ms).
  void SetProbeCost(int64_t ms);
  int64_t ProbeCount() const;

  // --- Screen and cursor -----------------------------------------------------
  Rect Screen() const;
  Point Cursor() const;
  void PlaceCursor(Point p);
  // The person holds the left button down, or lets it go.
  void HoldLeftButton(bool down);
  // The mouse buttons and keys held down now ("left", "right", "middle",
  // "key <virtual key>").
  std::vector<std::string> HeldInput() const;

  // --- Files (shared by every program; paths as the programs write them) ---
  std::optional<std::string> File(const std::string& path) const;
  void PutFile(const std::string& path, std::string bytes);
  void RemoveFile(const std::string& path);
  // The current user's sign-in entry of this name (a command line), as the
  // programs read and write it; nothing removes it.
  std::optional<std::string> SignInEntry(const std::string& name) const;
  void SetSignInEntry(const std::string& name,
                      std::optional<std::string> command);
  // Writes to this path are refused while set.
  void RefuseWrites(const std::string& path, bool refuse);
  // The file exists but reads fail (locked, no access) while set.
  void MakeUnreadable(const std::string& path, bool unreadable);

  // --- Sounds -------------------------------------------------------------
  // How long a synchronous sound lasts (default 0).
  void SetSoundLength(const std::string& file_name, int64_t ms);

  // --- What happened ---------------------------------------------------------
  const std::vector<TraceEntry>& Trace() const;
  // A copy, taken under the desktop's lock (for threads that run freely).
  std::vector<TraceEntry> TraceSnapshot() const;
  // Adds an entry of the test's (or a program's) own, at the current time.
  void Record(std::string kind, std::string text);
  std::vector<TraceEntry> TraceOf(std::string_view kind) const;
  void ClearTrace();
  // The whole trace as text, one entry a line, for failure messages.
  std::string DumpTrace() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// One running program: its Platform, as the program sees it, plus what a
// test may ask of the process from outside.
class SimProcess : public Platform {
 public:
  // The exit code once the program's main has returned.
  virtual std::optional<int> ExitCode() const = 0;
  bool Running() const { return !ExitCode().has_value(); }
  // What the person does, carried out on this program's UI thread at the
  // absolute virtual time `at_ms` (as real input arrives: between two
  // dispatches of its message loop, or inside a modal loop).
  virtual void At(int64_t at_ms, std::function<void()> action) = 0;
  // Delivers a window message to one of this program's windows on its UI
  // thread at `at_ms`, as another program's PostMessage would.
  virtual void PostAt(int64_t at_ms, WindowHandle window, uint32_t message,
                      uintptr_t wparam, intptr_t lparam) = 0;
  // Delivers a window message at `at_ms` as another program's SendMessage
  // would: besides the message loop, a UI thread that waits in a way that
  // answers sent messages (SleepAnswering, a send of its own) serves it.
  virtual void SendAt(int64_t at_ms, WindowHandle window, uint32_t message,
                      uintptr_t wparam, intptr_t lparam) = 0;
  // Whether the program lets its key or mouse switch through to others.
  virtual bool SwitchLetThrough() const = 0;
  // Answer returned by the program's last handled kWmQueryEndSession.
  virtual std::optional<bool> LastEndSessionAnswer() const = 0;
  // Ends the program at once, as Windows ends it after a shut-down query:
  // no more of its code runs to any effect (its threads unwind, but their
  // files, input, boxes and messages go nowhere). Test's thread only.
  virtual void Terminate() = 0;

  // When its main returned: the threads it had started that still ran, and
  // its windows that were never destroyed.
  virtual int32_t ThreadsLeftAtExit() const = 0;
  virtual int32_t WindowsLeftAtExit() const = 0;
  // The longest stretch in which its UI thread answered no sent message,
  // counting only waits the program's rules do not prescribe (a synchronous
  // sound, the pause after each poll of a held switch, the fixed 500 ms and
  // 1 s pauses are left out), and when that stretch ended.
  struct Silence {
    int64_t ms = 0;
    int64_t ended_at_ms = 0;
  };
  virtual Silence LongestSilence() const = 0;
};

}  // namespace hopla::sim

#endif  // HOPLA_PLATFORM_SIM_SIM_DESKTOP_H_
