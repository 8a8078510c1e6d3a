// The state of the simulated desktop that every program shares: windows,
// switch script, files, sounds, mutexes and the trace. One lock (the
// scheduler's) guards all of it; members ending in Locked expect it held.
#ifndef HOPLA_PLATFORM_SIM_SIM_WORLD_H_
#define HOPLA_PLATFORM_SIM_SIM_WORLD_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/keyboard_view.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_lock.h"
#include "platform/sim/sim_scheduler.h"

namespace hopla::sim {

class SimProcessImpl;
class SimWidget;

enum class WindowShow { kNormal, kMinimised, kMaximised };

struct WindowRec {
  WindowHandle handle = kNoWindow;
  std::string title;
  Rect rect;
  Rect restore_rect;  // the normal placement while maximised
  WindowShow show = WindowShow::kNormal;
  WindowShow before_minimised = WindowShow::kNormal;
  bool visible = true;
  bool hung = false;
  int64_t busy_ms = 0;
  // A program's form belongs to its application window: minimising the
  // application hides the form until the application is restored.
  WindowHandle owner_window = kNoWindow;
  bool hidden_by_owner = false;
  // A foreign window answers through its handler; a program's form belongs
  // to its owner process and is served by its peer on the owner's UI thread.
  std::function<intptr_t(uint32_t, uintptr_t, intptr_t)> handler;
  SimProcessImpl* owner = nullptr;
  SimWidget* peer = nullptr;
  // A program's keyboard: its keys, and who hears of them. Its client area
  // is its whole rectangle.
  struct Keyboard {
    KeyboardView view;
    KeyboardEvents* events = nullptr;
    std::optional<size_t> pressed;  // a left press began on this key
  };
  std::optional<Keyboard> keyboard;
};

struct SimDesktop::Impl {
  explicit Impl(Rect screen_rect);
  ~Impl();

  SimMutex& Mutex() { return scheduler.Mutex(); }
  int64_t NowLocked() const { return scheduler.NowLocked(); }
  void RecordLocked(std::string kind, std::string text);

  // Windows.
  WindowHandle NewHandleLocked() { return next_handle++; }
  WindowRec& AddWindowLocked(WindowRec rec);
  WindowRec* FindWindowLocked(WindowHandle handle);
  const WindowRec* FindWindowLocked(WindowHandle handle) const;
  void RemoveWindowLocked(WindowHandle handle);
  void BringToTopLocked(WindowHandle handle);
  // Enumeration order: programs' forms (topmost) first, then other windows;
  // within each band the most recently raised first.
  std::vector<WindowHandle> ZOrderLocked() const;
  // After the foreground window went away or was minimised: the next
  // visible, not minimised window in z-order becomes the foreground.
  void ActivateNextLocked(WindowHandle leaving);
  // What DefWindowProc does for a foreign window: system commands change its
  // state, a close request removes it.
  void DefaultForeignLocked(WindowHandle handle, uint32_t message,
                            uintptr_t wparam);
  void MinimiseLocked(WindowRec& rec);
  void MaximiseLocked(WindowRec& rec, Rect to);
  // Returns whether it was minimised.
  bool RestoreLocked(WindowRec& rec);
  // Where a minimised window is parked, as Windows reports it.
  static Rect ParkedRect();
  // The rectangle the window has, as GetWindowRect reports it.
  Rect ReportedRectLocked(const WindowRec& rec) const;
  Point ClampToScreen(Point p) const;
  // The key of a keyboard window under `p`, if any.
  static std::optional<size_t> KeyAtLocked(const WindowRec& rec, Point p);
  // The topmost visible, not minimised window of a program that holds `p`.
  const WindowRec* ProgramWindowAtLocked(Point p) const;
  // What the accessibility regions say of `p` (a plain window's client
  // area where none lies).
  RoleReading RegionRoleLocked(Point p) const;
  // The role of the program's control at `p` inside its window `window`, as
  // the system's standard accessibility proxies report it.
  RoleReading ControlRoleLocked(WindowHandle window, Point p) const;
  // Every element of the accessibility regions and of the controls of the
  // windows in `answered`, as the interface lists them: in front first,
  // those under a window (or a later region) left out.
  std::vector<ElementBox> ElementsLocked(
      const std::vector<WindowHandle>& answered) const;

  // The earliest person action queued after now, for RunUntil.
  int64_t NextScriptedLocked() const;

  Scheduler scheduler;
  Rect screen;
  // Several monitors, the first the primary; none: `screen` is the one.
  std::vector<Rect> monitors;
  Point cursor;
  // Held by a press of the program's or of the person's.
  bool left_button_down = false;
  bool right_button_down = false;
  bool middle_button_down = false;
  std::set<uint8_t> keys_down;  // keys a program pressed and has not let go
  std::map<WindowHandle, WindowRec> windows;
  std::vector<WindowHandle> raised;  // most recently raised first
  WindowHandle foreground = kNoWindow;
  WindowHandle next_handle = 0x10010;

  struct Span {
    int64_t from_ms;
    int64_t until_ms;
    // The device held: a joystick's button, a key or a mouse button; for a
    // failure, the joystick that is gone.
    SwitchChoice device;
  };
  // Hot keys by modifiers and key: the window that registered one, and its
  // number there.
  std::map<std::pair<uint32_t, uint32_t>, std::pair<WindowHandle, int32_t>>
      hot_keys;
  std::vector<Span> holds;
  std::vector<Span> failures;

  std::function<MessageBoxAnswer(const MessageBoxArgs&)> answer_policy;
  int32_t open_boxes = 0;
  std::map<std::string, std::string> files;
  // The current user's sign-in entries: name, command line.
  std::map<std::string, std::string> sign_in_entries;
  std::set<std::string> refused_writes;
  std::set<std::string> unreadable;
  std::map<std::string, int64_t> sound_lengths_ms;
  struct RoleRegion {
    Rect rect;
    RoleReading reading;
  };
  std::vector<RoleRegion> role_regions;  // later ones lie on top
  struct TreeEntry {
    std::string path;
    bool is_folder = false;
    std::string link_target;  // not empty: a link to this folder
  };
  std::vector<TreeEntry> tree;
  std::set<std::string> unlistable;  // folders, in lower case
  int64_t listing_cost_ms = 0;
  std::map<std::string, int64_t> slow_folders;  // in lower case
  int64_t listing_count = 0;
  std::function<void(const std::string&, const std::string&)> shell_start;
  // The entries of the folder matching `pattern`, or nothing.
  std::optional<std::vector<FolderEntry>> ListLocked(
      const std::string& pattern) const;
  void AddTreeLocked(const std::string& path, bool is_folder,
                     const std::string& link_target);
  int64_t probe_cost_ms = 2;
  int64_t probe_count = 0;
  std::map<std::string, SimProcessImpl*> mutexes;
  std::vector<TraceEntry> trace;
  std::vector<SimWidget*> widgets;  // live peers, in creation order
  std::vector<std::unique_ptr<SimProcessImpl>> processes;
  bool tearing_down = false;
};

}  // namespace hopla::sim

#endif  // HOPLA_PLATFORM_SIM_SIM_WORLD_H_
