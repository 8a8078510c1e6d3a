// The simulated desktop as the test sees it: virtual time, programs, the
// person's script, other programs' windows, files and the trace.
#include "platform/sim/sim_desktop.h"

#include <utility>

#include "platform/sim/sim_lock.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/sim_widgets.h"
#include "platform/sim/sim_world.h"

namespace hopla::sim {

using Lock = SimGuard;

SimDesktop::SimDesktop(Rect screen) : impl_(std::make_unique<Impl>(screen)) {}

SimDesktop::~SimDesktop() {
  {
    Lock lock(impl_->Mutex());
    impl_->tearing_down = true;
  }
  impl_->scheduler.Teardown();
}

// --- Virtual time ------------------------------------------------------------

int64_t SimDesktop::Now() const {
  Lock lock(impl_->Mutex());
  return impl_->NowLocked();
}

void SimDesktop::RunFreely() { impl_->scheduler.RunFreely(); }

void SimDesktop::RunFor(int64_t ms) {
  impl_->scheduler.RunTo(Now() + ms, nullptr, nullptr);
}

bool SimDesktop::RunUntil(const std::function<bool()>& done, int64_t limit_ms) {
  return impl_->scheduler.RunTo(Now() + limit_ms, &done,
                                [this] { return impl_->NextScriptedLocked(); });
}

// --- Programs ----------------------------------------------------------------

SimProcess& SimDesktop::Launch(const std::string& exe_path,
                               std::function<int(Platform&)> main,
                               std::vector<std::string> arguments) {
  Lock lock(impl_->Mutex());
  impl_->processes.push_back(std::make_unique<SimProcessImpl>(
      *impl_, exe_path, std::move(main), std::move(arguments)));
  SimProcessImpl& process = *impl_->processes.back();
  process.StartLocked();
  return process;
}

// --- The person at the switch, message boxes ---------------------------------

void SimDesktop::SetMonitors(std::vector<Rect> monitors) {
  Lock lock(impl_->Mutex());
  impl_->monitors = std::move(monitors);
}

void SimDesktop::HoldSwitch(int64_t down_ms, int64_t up_ms,
                            const SwitchChoice& device) {
  Lock lock(impl_->Mutex());
  impl_->holds.push_back({down_ms, up_ms, device});
}

void SimDesktop::FailSwitch(int64_t from_ms, int64_t until_ms,
                            int32_t joystick) {
  Lock lock(impl_->Mutex());
  SwitchChoice device;
  device.joystick = joystick;
  impl_->failures.push_back({from_ms, until_ms, device});
}

void SimDesktop::AnswerMessageBoxes(
    std::function<MessageBoxAnswer(const MessageBoxArgs&)> answer) {
  Lock lock(impl_->Mutex());
  impl_->answer_policy = std::move(answer);
}

int32_t SimDesktop::OpenMessageBoxes() const {
  Lock lock(impl_->Mutex());
  return impl_->open_boxes;
}

// --- Windows -----------------------------------------------------------------

WindowHandle SimDesktop::AddWindow(ForeignWindow window) {
  Lock lock(impl_->Mutex());
  WindowRec rec;
  rec.handle = impl_->NewHandleLocked();
  rec.title = std::move(window.title);
  rec.rect = window.rect;
  rec.restore_rect = window.rect;
  rec.handler = std::move(window.handler);
  rec.hung = window.hung;
  rec.busy_ms = window.busy_ms;
  return impl_->AddWindowLocked(std::move(rec)).handle;
}

void SimDesktop::RemoveWindow(WindowHandle window) {
  Lock lock(impl_->Mutex());
  impl_->RemoveWindowLocked(window);
}

void SimDesktop::SetBusy(WindowHandle window, int64_t busy_ms) {
  Lock lock(impl_->Mutex());
  if (WindowRec* rec = impl_->FindWindowLocked(window)) rec->busy_ms = busy_ms;
}

void SimDesktop::SetHung(WindowHandle window, bool hung) {
  Lock lock(impl_->Mutex());
  if (WindowRec* rec = impl_->FindWindowLocked(window)) rec->hung = hung;
}

std::optional<std::string> SimDesktop::SignInEntry(
    const std::string& name) const {
  Lock lock(impl_->Mutex());
  const auto found = impl_->sign_in_entries.find(name);
  if (found == impl_->sign_in_entries.end()) return std::nullopt;
  return found->second;
}

void SimDesktop::SetSignInEntry(const std::string& name,
                                std::optional<std::string> command) {
  Lock lock(impl_->Mutex());
  if (command) {
    impl_->sign_in_entries[name] = *command;
  } else {
    impl_->sign_in_entries.erase(name);
  }
}

bool SimDesktop::PressHotKey(int64_t at_ms, uint32_t modifiers, uint32_t key) {
  SimProcessImpl* owner = nullptr;
  std::pair<WindowHandle, int32_t> target;
  {
    Lock lock(impl_->Mutex());
    const auto found = impl_->hot_keys.find({modifiers, key});
    if (found == impl_->hot_keys.end()) return false;
    target = found->second;
    const WindowRec* rec = impl_->FindWindowLocked(target.first);
    if (rec == nullptr || rec->owner == nullptr) return false;
    owner = rec->owner;
  }
  owner->PostAt(at_ms, target.first, kWmHotKey,
                static_cast<uintptr_t>(target.second), 0);
  return true;
}

void SimDesktop::SetForeground(WindowHandle window) {
  Lock lock(impl_->Mutex());
  if (impl_->FindWindowLocked(window) == nullptr) window = kNoWindow;
  impl_->foreground = window;
  impl_->BringToTopLocked(window);
}

std::vector<WindowInfo> SimDesktop::Windows() const {
  Lock lock(impl_->Mutex());
  std::vector<WindowInfo> list;
  for (WindowHandle handle : impl_->ZOrderLocked()) {
    list.push_back({handle, impl_->FindWindowLocked(handle)->title});
  }
  return list;
}

std::optional<Rect> SimDesktop::WindowRectOf(WindowHandle window) const {
  Lock lock(impl_->Mutex());
  const WindowRec* rec = impl_->FindWindowLocked(window);
  if (rec == nullptr) return std::nullopt;
  return impl_->ReportedRectLocked(*rec);
}

bool SimDesktop::IsMinimised(WindowHandle window) const {
  Lock lock(impl_->Mutex());
  const WindowRec* rec = impl_->FindWindowLocked(window);
  return rec != nullptr && rec->show == WindowShow::kMinimised;
}

bool SimDesktop::IsMaximised(WindowHandle window) const {
  Lock lock(impl_->Mutex());
  const WindowRec* rec = impl_->FindWindowLocked(window);
  return rec != nullptr && rec->show == WindowShow::kMaximised;
}

bool SimDesktop::IsVisible(WindowHandle window) const {
  Lock lock(impl_->Mutex());
  const WindowRec* rec = impl_->FindWindowLocked(window);
  return rec != nullptr && rec->visible;
}

WindowHandle SimDesktop::Foreground() const {
  Lock lock(impl_->Mutex());
  return impl_->foreground;
}

WindowHandle SimDesktop::FindWindowByTitle(std::string_view title) const {
  Lock lock(impl_->Mutex());
  for (WindowHandle handle : impl_->ZOrderLocked()) {
    if (impl_->FindWindowLocked(handle)->title == title) return handle;
  }
  return kNoWindow;
}

// --- Programs' controls ------------------------------------------------------

SimWidget* SimDesktop::Widget(WindowHandle handle) const {
  Lock lock(impl_->Mutex());
  for (SimWidget* widget : impl_->widgets) {
    if (widget->Handle() == handle) return widget;
  }
  return nullptr;
}

SimWidget* SimDesktop::FindWidget(std::string_view caption) const {
  Lock lock(impl_->Mutex());
  for (SimWidget* widget : impl_->widgets) {
    if (widget->Text() == caption) return widget;
  }
  return nullptr;
}

std::vector<SimWidget*> SimDesktop::Widgets() const {
  Lock lock(impl_->Mutex());
  return impl_->widgets;
}

// --- Accessibility -----------------------------------------------------------

void SimDesktop::AddRoleRegion(Rect rect, RoleReading reading) {
  Lock lock(impl_->Mutex());
  impl_->role_regions.push_back({rect, reading});
}

void SimDesktop::ClearRoleRegions() {
  Lock lock(impl_->Mutex());
  impl_->role_regions.clear();
}

void SimDesktop::SetProbeCost(int64_t ms) {
  Lock lock(impl_->Mutex());
  impl_->probe_cost_ms = ms;
}

int64_t SimDesktop::ProbeCount() const {
  Lock lock(impl_->Mutex());
  return impl_->probe_count;
}

// --- Screen and cursor -------------------------------------------------------

Rect SimDesktop::Screen() const {
  Lock lock(impl_->Mutex());
  return impl_->screen;
}

Point SimDesktop::Cursor() const {
  Lock lock(impl_->Mutex());
  return impl_->cursor;
}

void SimDesktop::PlaceCursor(Point p) {
  Lock lock(impl_->Mutex());
  impl_->cursor = impl_->ClampToScreen(p);
}

void SimDesktop::HoldLeftButton(bool down) {
  Lock lock(impl_->Mutex());
  impl_->left_button_down = down;
}

std::vector<std::string> SimDesktop::HeldInput() const {
  Lock lock(impl_->Mutex());
  std::vector<std::string> held;
  if (impl_->left_button_down) held.push_back("left");
  if (impl_->right_button_down) held.push_back("right");
  if (impl_->middle_button_down) held.push_back("middle");
  for (uint8_t key : impl_->keys_down) {
    held.push_back("key " + std::to_string(key));
  }
  return held;
}

// --- Files and sounds --------------------------------------------------------

std::optional<std::string> SimDesktop::File(const std::string& path) const {
  Lock lock(impl_->Mutex());
  auto it = impl_->files.find(path);
  if (it == impl_->files.end()) return std::nullopt;
  return it->second;
}

void SimDesktop::PutFile(const std::string& path, std::string bytes) {
  Lock lock(impl_->Mutex());
  impl_->files[path] = std::move(bytes);
}

void SimDesktop::RemoveFile(const std::string& path) {
  Lock lock(impl_->Mutex());
  impl_->files.erase(path);
}

void SimDesktop::MakeUnreadable(const std::string& path, bool unreadable) {
  Lock lock(impl_->Mutex());
  if (unreadable) {
    impl_->unreadable.insert(path);
  } else {
    impl_->unreadable.erase(path);
  }
}

void SimDesktop::RefuseWrites(const std::string& path, bool refuse) {
  Lock lock(impl_->Mutex());
  if (refuse) {
    impl_->refused_writes.insert(path);
  } else {
    impl_->refused_writes.erase(path);
  }
}

void SimDesktop::SetSoundLength(const std::string& file_name, int64_t ms) {
  Lock lock(impl_->Mutex());
  impl_->sound_lengths_ms[file_name] = ms;
}

// --- What happened -----------------------------------------------------------

const std::vector<TraceEntry>& SimDesktop::Trace() const {
  return impl_->trace;
}

std::vector<TraceEntry> SimDesktop::TraceSnapshot() const {
  Lock lock(impl_->Mutex());
  return impl_->trace;
}

void SimDesktop::Record(std::string kind, std::string text) {
  Lock lock(impl_->Mutex());
  impl_->RecordLocked(std::move(kind), std::move(text));
}

std::vector<TraceEntry> SimDesktop::TraceOf(std::string_view kind) const {
  Lock lock(impl_->Mutex());
  std::vector<TraceEntry> found;
  for (const TraceEntry& entry : impl_->trace) {
    if (entry.kind == kind) found.push_back(entry);
  }
  return found;
}

void SimDesktop::ClearTrace() {
  Lock lock(impl_->Mutex());
  impl_->trace.clear();
}

std::string SimDesktop::DumpTrace() const {
  Lock lock(impl_->Mutex());
  std::string text;
  for (const TraceEntry& entry : impl_->trace) {
    text += std::to_string(entry.time_ms) + " " + entry.kind + " " +
            entry.text + "\n";
  }
  return text;
}

}  // namespace hopla::sim
