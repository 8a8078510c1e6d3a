// The one seam between Hopla and the operating system. Everything the program
// asks of the OS goes through this interface, in the program's own terms:
// plain C++ values, UTF-8 text, no Win32 types. Two implementations exist:
// win32/ (the real thing) and sim/ (a simulated desktop on virtual time).
#ifndef HOPLA_PLATFORM_PLATFORM_H_
#define HOPLA_PLATFORM_PLATFORM_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/bubble_view.h"
#include "platform/keyboard_view.h"
#include "platform/native_widget.h"
#include "platform/switch_choice.h"
#include "platform/types.h"

namespace hopla {

// An auto-reset event: Set releases one waiter, or stays set until the next
// wait when no one waits.
class Event {
 public:
  virtual ~Event() = default;
  virtual void Set() = 0;
  // Waits until the event is set, or timeout_ms passes (a negative timeout
  // waits forever). Returns true when the event was taken.
  virtual bool Wait(int32_t timeout_ms) = 0;
};

// Called by the platform on the UI thread whenever its message loop (or a
// modal loop such as an open message box) wakes up.
class UiLoopHost {
 public:
  virtual ~UiLoopHost() = default;
  // Runs whatever is due (timers, posted tasks). Returns the absolute time
  // (NowMs) at which it wants to be called again, or kNoWake.
  virtual int64_t RunDueWork() = 0;
  static constexpr int64_t kNoWake = INT64_MAX;
};

enum class MessageBoxButtons { kOk, kOkCancel };
enum class MessageBoxIcon { kNone, kWarning, kError, kInformation };
enum class DialogResult { kOk, kCancel };

struct MessageBoxArgs {
  WindowHandle owner = kNoWindow;
  std::string text;
  std::string caption;
  MessageBoxButtons buttons = MessageBoxButtons::kOk;
  MessageBoxIcon icon = MessageBoxIcon::kNone;
  bool default_is_second = false;  // Cancel is the default button
};

// One reading of the switch device.
struct SwitchPoll {
  bool ok = false;       // the device answered
  uint32_t buttons = 0;  // button bits, valid only when ok; bit 0 = button 1
};

// A window of any program, as the window enumeration sees it.
struct WindowInfo {
  WindowHandle handle = kNoWindow;
  std::string title;
};

// What the accessibility interface says of the element at a point.
struct RoleReading {
  enum class Kind {
    kFailed,  // no object at the point, or it would not tell its role
    kNumber,  // `role` holds the role number
    kText,    // the object named its role in words instead of a number
  };
  constexpr RoleReading() = default;
  constexpr RoleReading(Kind kind_read, int64_t role_read,
                        std::optional<Rect> rect_read = std::nullopt)
      : kind(kind_read), role(role_read), rect(rect_read) {}

  Kind kind = Kind::kFailed;
  int64_t role = 0;
  // Where the element lies on the screen, when it told.
  std::optional<Rect> rect;
};

// An element that the accessibility interface lists, and where it stands.
struct ElementBox {
  Rect rect;
  int64_t role = 0;
};

// One entry of a folder listing.
struct FolderEntry {
  std::string name;  // as the file system spells it
  bool is_folder = false;
  // A symbolic link, junction or mount point: a name for another place.
  bool is_link = false;
};

// While it lives, drive access on the thread that made it raises no system
// box (an empty floppy or card drive would ask for a disk).
class DriveErrorBoxesOff {
 public:
  virtual ~DriveErrorBoxesOff() = default;
};

// Asks the accessibility interface what lies at a point. Made and used on
// one thread, which it sets up for the interface while it lives.
class RoleProbe {
 public:
  virtual ~RoleProbe() = default;
  // May wait for the program that owns the window at `at` to answer.
  virtual RoleReading RoleAt(Point at) = 0;
  // The elements with a role number in the visible windows that reach into
  // `area`, in front first; one hidden under another window is left out.
  // May wait for programs to answer; a program that hangs is passed by, and
  // a search through very many elements ends after a second with what it
  // found by then.
  virtual std::vector<ElementBox> Elements(const Rect& area) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Time, waiting, threads
  // Milliseconds on a monotonic clock.
  virtual int64_t NowMs() = 0;
  // The same clock in microseconds, for pacing steps shorter than a few ms.
  virtual int64_t NowMicros() = 0;
  virtual void Sleep(int32_t ms) = 0;
  virtual std::unique_ptr<Event> CreateAutoResetEvent(bool initially_set) = 0;
  // Starts a detached thread at normal priority that runs `body` once.
  virtual void StartThread(std::function<void()> body) = 0;
  // How many threads that StartThread started have not ended yet (their
  // body returned and what it held was let go).
  virtual int32_t ThreadsRunning() = 0;
  // Sleeps `ms` on the UI thread while still answering what other threads
  // send to its windows (an accessibility query, say), without running
  // timers or the person's input.
  virtual void SleepAnswering(int32_t ms) = 0;

  // --- The UI thread's message loop
  // Runs the message loop on the calling (UI) thread until QuitMessageLoop.
  // The host is also served by modal loops (message boxes) while it runs.
  virtual void RunMessageLoop(UiLoopHost& host) = 0;
  // Ends RunMessageLoop after the current dispatch. UI thread only.
  virtual void QuitMessageLoop() = 0;
  // Any thread: asks the UI thread to call host.RunDueWork() soon.
  virtual void WakeMessageLoop() = 0;

  // --- The switch
  // Bit 0 of the buttons is the chosen switch, whatever device it is. A key
  // or mouse button also reads as down once for a tap that went down and up
  // since the last poll.
  virtual SwitchPoll PollSwitch() = 0;
  // From now on the switch is this device.
  virtual void UseSwitch(const SwitchChoice& choice) = 0;
  // While true, a key or mouse button taken as the switch still reads as
  // the switch and also reaches the programs, as it would without Hopla.
  // Kept across UseSwitch.
  virtual void LetSwitchThrough(bool through) = 0;

  // --- The code bubble
  // Shows or redraws the bubble beside the cursor: it never takes the focus
  // or a click and is never found at a point. Callable from the UI thread
  // also while it runs no message loop (inside a hold).
  virtual void ShowBubble(const BubbleView& view) = 0;
  virtual void HideBubble() = 0;

  // --- Hopla's keyboard
  // Shows the keyboard's window at `place` (the whole window, in screen
  // coordinates), or, when it shows already, redraws it where it is. It
  // stays on top and never takes the focus, so what it types goes to the
  // window in front; each key answers the accessibility interface as a
  // push button with its rectangle. `events` outlives the window. UI thread.
  virtual void ShowKeyboard(const KeyboardView& view, const Rect& place,
                            KeyboardEvents* events) = 0;
  // Closes the window; `events` hears nothing more until the next show.
  virtual void HideKeyboard() = 0;
  // One key as a keyboard types it (its scan code, the extended flag where
  // the key has it), to the window with the focus.
  virtual void TypeKey(uint8_t virtual_key, bool up) = 0;

  // --- Sound
  // Plays a sound file looked up by name, synchronously; a missing file plays
  // the system's default sound.
  virtual void PlaySoundFile(const std::string& file_name) = 0;

  // --- Message boxes
  // Modal on the UI thread; timers keep firing while it is open.
  virtual DialogResult ShowMessageBox(const MessageBoxArgs& desc) = 0;

  // --- Process
  // Full path of the running executable.
  virtual std::string ExecutablePath() = 0;
  // What the program was started with after its own path, one argument an
  // entry, as the system splits a command line.
  virtual std::vector<std::string> Arguments() = 0;
  // The current working folder as a full path, and a change of it (false,
  // changing nothing, when there is no such folder).
  virtual std::string CurrentFolder() = 0;
  virtual bool SetCurrentFolder(const std::string& folder) = 0;
  // The programs the system starts when the current user signs in: a
  // command line under a name. False when the system refused the change.
  virtual std::optional<std::string> ReadSignInEntry(
      const std::string& name) = 0;
  virtual bool WriteSignInEntry(const std::string& name,
                                const std::string& command) = 0;
  virtual bool RemoveSignInEntry(const std::string& name) = 0;
  // Creates (not owned) the named system mutex and keeps it until the process
  // ends. Returns false when a mutex of that name already existed.
  virtual bool CreateSingleInstanceMutex(const std::string& name) = 0;

  // --- Windows and messages
  // Sends a message and waits for its handling, at most timeout_ms, giving up
  // at once on a hung receiver. Returns the receiver's answer, or nothing
  // when it was not handled. Meanwhile the sender answers what other threads
  // send to its own windows, so its window procedure may be entered again.
  virtual std::optional<intptr_t> SendToWindow(WindowHandle window,
                                               uint32_t message,
                                               uintptr_t wparam,
                                               intptr_t lparam,
                                               int32_t timeout_ms) = 0;
  virtual bool PostToWindow(WindowHandle window, uint32_t message,
                            uintptr_t wparam, intptr_t lparam) = 0;
  // UI thread: sends a message without waiting for it. `handled` runs on the
  // UI thread once the receiver has handled it (never, when it does not).
  // Returns false when the message could not be sent.
  virtual bool SendNotifying(WindowHandle window, uint32_t message,
                             uintptr_t wparam, intptr_t lparam,
                             std::function<void()> handled) = 0;
  // Visits every top-level window in the system's order; the visitor returns
  // false to stop early.
  virtual void EnumTopLevelWindows(
      const std::function<bool(const WindowInfo&)>& visit) = 0;
  virtual std::string WindowTitle(WindowHandle window) = 0;
  virtual WindowHandle ForegroundWindow() = 0;
  virtual bool SetForegroundWindow(WindowHandle window) = 0;
  virtual std::optional<Rect> WindowRect(WindowHandle window) = 0;
  // Where the window stands when neither minimised nor maximised, in screen
  // coordinates: its rectangle now, or the one it returns to.
  virtual std::optional<Rect> NormalWindowRect(WindowHandle window) = 0;
  // ShowWindow with SW_SHOW.
  virtual void ShowWindowNormal(WindowHandle window) = 0;
  virtual void FlashWindow(WindowHandle window, bool invert) = 0;
  // Rectangle of the desktop window.
  virtual Rect DesktopRect() = 0;
  // The rectangle of every monitor, in screen coordinates.
  virtual std::vector<Rect> MonitorRects() = 0;

  // --- Cursor and synthetic input
  virtual std::optional<Point> CursorPos() = 0;
  virtual void SetCursorPos(Point p) = 0;
  // Whether the system reports the left mouse button as held down.
  virtual bool LeftButtonDown() = 0;
  // One mouse-button event as the system's mouse_event makes it: `flags`
  // (absolute, without a move, so the button acts where the cursor stands),
  // `at` as dx and dy, data 0 and extra information 0.
  virtual void MouseButton(uint32_t flags, Point at) = 0;
  // One key event as the system's keybd_event makes it: `virtual_key`, scan
  // code 0x45, the extended-key flag when down, the key-up flag when up, and
  // extra information 0.
  virtual void KeyEvent(uint8_t virtual_key, bool up) = 0;
  // The system's default beep.
  virtual void Beep() = 0;

  // --- Accessibility
  // A probe for the calling thread; use it on that thread only.
  virtual std::unique_ptr<RoleProbe> CreateRoleProbe() = 0;

  // --- Shell
  // Asks the shell to "open" a file (relative to the current directory) or
  // an address, shown normally. What the shell makes of it is not examined.
  virtual void ShellOpen(const std::string& target) = 0;
  // Asks the shell to "open" `file` in `folder` (its working directory too),
  // hidden, and returns at once. What became of it is not examined.
  virtual void ShellStartHidden(const std::string& file,
                                const std::string& folder) = 0;

  // --- Files
  // Paths are as the program writes them (".\\Hoplar.ini"), relative to the
  // current working directory at the moment of the call.
  // The whole file's bytes, or nothing when it is absent or unreadable.
  virtual std::optional<std::string> ReadFileBytes(const std::string& path) = 0;
  // Whether something exists at `path`: a file that exists but cannot be
  // read must not be taken for a missing one and overwritten.
  virtual bool FileExists(const std::string& path) = 0;
  // Replaces the file's bytes as one step: written to a temporary file in
  // the same folder, then moved over the old one, so a failure part-way
  // leaves the old file whole. Returns false when the system refused.
  virtual bool ReplaceFileBytes(const std::string& path,
                                const std::string& bytes) = 0;
  // The entries that match `pattern`, a folder and a name that may hold the
  // wildcards * and ? ("C:\\*.*"), compared without regard to letter case as
  // the file system does. Nothing when the folder cannot be listed (no
  // medium, no access, no such folder).
  virtual std::optional<std::vector<FolderEntry>> ListFolder(
      const std::string& pattern) = 0;
  virtual std::unique_ptr<DriveErrorBoxesOff> TurnOffDriveErrorBoxes() = 0;

  // --- Native widgets
  // Creates the native peer of a toolkit control; `events` receives the
  // user's actions on the UI thread. A platform without a screen returns a
  // peer that only remembers its state.
  virtual std::unique_ptr<NativeWidget> CreateWidget(const WidgetArgs& desc,
                                                     NativeWidget* parent,
                                                     WidgetEvents* events) = 0;
};

}  // namespace hopla

#endif  // HOPLA_PLATFORM_PLATFORM_H_
