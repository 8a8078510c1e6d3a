#include "platform/sim/sim_widgets.h"

#include <algorithm>
#include <functional>

#include "platform/sim/sim_lock.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/sim_world.h"

namespace hopla::sim {

SimWidget::SimWidget(SimDesktop::Impl& world, SimProcessImpl& process,
                     const WidgetArgs& desc, SimWidget* parent,
                     WidgetEvents* events)
    : world_(world),
      process_(process),
      desc_(desc),
      parent_(parent),
      events_(events),
      kind_(desc.kind),
      caption_(desc.caption),
      bounds_(desc.bounds),
      // A form's window is created hidden; Show reveals it.
      visible_(desc.kind == WidgetKind::kForm ? false : desc.visible),
      enabled_(desc.enabled),
      hint_(desc.hint),
      checked_(desc.checked),
      position_(desc.position) {
  SimGuard lock(world_.Mutex());
  handle_ = world_.NewHandleLocked();
  world_.widgets.push_back(this);
  if (kind_ != WidgetKind::kForm && kind_ != WidgetKind::kApplication) return;
  if (kind_ == WidgetKind::kApplication) visible_ = false;
  WindowRec rec;
  rec.handle = handle_;
  rec.title = caption_;
  // The application's window has no size: only its taskbar button shows.
  rec.rect = kind_ == WidgetKind::kForm ? CentredRect() : CentrePoint();
  rec.restore_rect = rec.rect;
  rec.visible = false;
  rec.owner = &process_;
  rec.peer = this;
  if (parent_ != nullptr && parent_->kind_ == WidgetKind::kApplication) {
    rec.owner_window = parent_->handle_;
  }
  world_.AddWindowLocked(std::move(rec));
}

bool SimWidget::IsWindow() const {
  return kind_ == WidgetKind::kForm || kind_ == WidgetKind::kApplication;
}

Rect SimWidget::CentrePoint() const {
  const Rect& screen = world_.screen;
  const int32_t x = screen.left + screen.Width() / 2;
  const int32_t y = screen.top + screen.Height() / 2;
  return {x, y, x, y};
}

SimWidget* SimWidget::OwnerApplication() const {
  return parent_ != nullptr && parent_->kind_ == WidgetKind::kApplication
             ? parent_
             : nullptr;
}

SimWidget::~SimWidget() {
  SimGuard lock(world_.Mutex());
  auto& list = world_.widgets;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  std::erase_if(world_.hot_keys, [this](const auto& entry) {
    return entry.second.first == handle_;
  });
  if (IsWindow() && !destroyed_) {
    WindowRec* rec = world_.FindWindowLocked(handle_);
    if (rec != nullptr && rec->peer == this) world_.RemoveWindowLocked(handle_);
  }
}

SimProcess& SimWidget::Process() const { return process_; }

Rect SimWidget::CentredRect() const {
  const Rect& screen = world_.screen;
  int32_t width = bounds_.Width();
  int32_t height = bounds_.Height();
  int32_t left = screen.left + (screen.Width() - width) / 2;
  int32_t top = screen.top + (screen.Height() - height) / 2;
  return {left, top, left + width, top + height};
}

// The state other threads read (a probe, the test) changes under the
// world's lock.
void SimWidget::SetCaption(const std::string& text) {
  SimGuard lock(world_.Mutex());
  caption_ = text;
  if (!IsWindow()) return;
  if (WindowRec* rec = world_.FindWindowLocked(handle_)) rec->title = text;
}

void SimWidget::SetEnabled(bool enabled) {
  SimGuard lock(world_.Mutex());
  enabled_ = enabled;
}

void SimWidget::SetChecked(bool checked) {
  SimGuard lock(world_.Mutex());
  checked_ = checked;
}

void SimWidget::SetPosition(int32_t position) {
  SimGuard lock(world_.Mutex());
  position_ = position;
}

void SimWidget::SetBounds(const Rect& bounds) {
  SimGuard lock(world_.Mutex());
  bounds_ = bounds;
  if (kind_ != WidgetKind::kForm) return;
  WindowRec* rec = world_.FindWindowLocked(handle_);
  if (rec == nullptr) return;
  rec->restore_rect = CentredRect();
  if (rec->show != WindowShow::kMaximised) rec->rect = rec->restore_rect;
}

namespace {

// What the form's peer sees of its window; on Win32 it is read after every
// change of the window's place or state.
enum class Seen { kHidden, kMinimised, kNormal };

Seen SeenOf(const WindowRec& rec) {
  if (!rec.visible) return Seen::kHidden;
  return rec.show == WindowShow::kMinimised ? Seen::kMinimised : Seen::kNormal;
}

}  // namespace

// Changes the form's window; when that shows it in its normal (or
// maximised) state after it was hidden or minimised, the form hears
// OnShown, then OnRestored when it came back from minimised, as the Win32
// peer reports them.
void SimWidget::ChangeForm(const std::function<void(WindowRec&)>& change) {
  Seen before = Seen::kHidden;
  Seen after = Seen::kHidden;
  {
    SimGuard lock(world_.Mutex());
    WindowRec* rec = world_.FindWindowLocked(handle_);
    if (rec == nullptr) return;
    before = SeenOf(*rec);
    change(*rec);
    after = SeenOf(*rec);
    visible_ = rec->visible;
  }
  if (after != Seen::kNormal || before == Seen::kNormal) return;
  if (events_ == nullptr) return;
  events_->OnShown();
  if (before == Seen::kMinimised) events_->OnRestored();
}

// Brings the form's window to the front with the focus. Lock held.
void SimWidget::ActivateLocked(WindowRec& rec) {
  if (!rec.visible || rec.show == WindowShow::kMinimised) return;
  world_.foreground = rec.handle;
  world_.BringToTopLocked(rec.handle);
}

void SimWidget::SetVisible(bool visible) {
  if (kind_ != WidgetKind::kForm) {
    SimGuard lock(world_.Mutex());
    visible_ = visible;
    return;
  }
  ChangeForm([&](WindowRec& rec) {
    if (rec.visible == visible) return;
    rec.visible = visible;
    if (visible) {
      ActivateLocked(rec);
    } else if (world_.foreground == rec.handle) {
      world_.ActivateNextLocked(rec.handle);
    }
  });
}

// Shows the form normally (to the front, with the focus) or minimised; a
// form of an application that starts minimised waits for its restore. The
// application shows its taskbar button, normal or minimised.
void SimWidget::Show(bool minimised) {
  if (kind_ == WidgetKind::kApplication) {
    SimGuard lock(world_.Mutex());
    WindowRec* rec = world_.FindWindowLocked(handle_);
    if (rec == nullptr) return;
    rec->visible = visible_ = true;
    if (minimised) world_.MinimiseLocked(*rec);
    return;
  }
  if (kind_ != WidgetKind::kForm) {
    visible_ = true;
    return;
  }
  if (minimised && OwnerApplication() != nullptr) {
    SimGuard lock(world_.Mutex());
    if (WindowRec* rec = world_.FindWindowLocked(handle_)) {
      rec->hidden_by_owner = true;
    }
    return;
  }
  ChangeForm([&](WindowRec& rec) {
    rec.visible = true;
    if (minimised) {
      world_.MinimiseLocked(rec);
      return;
    }
    if (rec.show == WindowShow::kMinimised) world_.RestoreLocked(rec);
    ActivateLocked(rec);
  });
}

// A form of an application minimises the whole application.
void SimWidget::Minimize() {
  if (kind_ == WidgetKind::kApplication) {
    MinimiseApplication();
  } else if (SimWidget* app = OwnerApplication()) {
    app->MinimiseApplication();
  } else if (kind_ == WidgetKind::kForm) {
    MinimiseForm();
  }
}

void SimWidget::ExternalMinimize() {
  if (kind_ == WidgetKind::kApplication) {
    MinimiseApplication();
  } else if (kind_ == WidgetKind::kForm) {
    MinimiseForm();
  }
}

void SimWidget::MinimiseForm() {
  ChangeForm([&](WindowRec& rec) { world_.MinimiseLocked(rec); });
}

// The application's window goes to the taskbar and its visible forms hide
// until it is restored.
void SimWidget::MinimiseApplication() {
  SimGuard lock(world_.Mutex());
  WindowRec* app = world_.FindWindowLocked(handle_);
  if (app == nullptr) return;
  world_.MinimiseLocked(*app);
  for (auto& [handle, rec] : world_.windows) {
    if (rec.owner_window != handle_ || !rec.visible) continue;
    rec.visible = false;
    rec.hidden_by_owner = true;
    if (rec.peer != nullptr) rec.peer->visible_ = false;
    if (world_.foreground == handle) world_.ActivateNextLocked(handle);
  }
}

// Back from the taskbar: its forms show again, each hears it, and then the
// application hears that it was restored.
void SimWidget::RestoreApplication() {
  std::vector<SimWidget*> forms;
  {
    SimGuard lock(world_.Mutex());
    WindowRec* app = world_.FindWindowLocked(handle_);
    if (app == nullptr || app->show != WindowShow::kMinimised) return;
    world_.RestoreLocked(*app);
    for (auto& [handle, rec] : world_.windows) {
      if (rec.owner_window == handle_ && rec.hidden_by_owner && rec.peer) {
        forms.push_back(rec.peer);
      }
    }
  }
  for (SimWidget* form : forms) {
    form->ChangeForm([&](WindowRec& rec) {
      rec.hidden_by_owner = false;
      rec.visible = true;
      ActivateLocked(rec);
    });
  }
  if (events_ != nullptr) events_->OnRestored();
}

// Back from minimised or maximised; it comes to the front. A form whose
// application is minimised brings the application back.
void SimWidget::Restore() {
  if (kind_ == WidgetKind::kApplication) {
    RestoreApplication();
    return;
  }
  if (kind_ != WidgetKind::kForm) return;
  SimWidget* app = OwnerApplication();
  if (!IsMinimized() && app != nullptr && app->IsMinimized()) {
    app->RestoreApplication();
    return;
  }
  ChangeForm([&](WindowRec& rec) {
    world_.RestoreLocked(rec);
    ActivateLocked(rec);
  });
}

bool SimWidget::IsMinimized() const {
  if (!IsWindow()) return false;
  SimGuard lock(world_.Mutex());
  const WindowRec* rec = world_.FindWindowLocked(handle_);
  return rec != nullptr && rec->show == WindowShow::kMinimised;
}

void SimWidget::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  visible_ = false;
  if (!IsWindow()) return;
  SimGuard lock(world_.Mutex());
  WindowRec* rec = world_.FindWindowLocked(handle_);
  if (rec != nullptr && rec->peer == this) world_.RemoveWindowLocked(handle_);
}

intptr_t SimWidget::HandleMessage(uint32_t message, uintptr_t wparam,
                                  intptr_t /*lparam*/) {
  if (destroyed_ || events_ == nullptr) return 0;
  if (kind_ == WidgetKind::kApplication) {
    if (message == kWmSysCommand) AppSysCommand(static_cast<uint32_t>(wparam));
    if (message == kWmClose) events_->OnCloseRequest();
    return message == kWmQueryEndSession ? 1 : 0;
  }
  switch (message) {
    case kWmSysCommand:
      SysCommand(static_cast<uint32_t>(wparam));
      return 0;
    case kWmHotKey:
      events_->OnHotKey(static_cast<int32_t>(wparam));
      return 0;
    case kWmClose:
      events_->OnCloseRequest();
      return 0;
    case kWmQueryEndSession: {
      bool answer = events_->OnQueryEndSession();
      process_.SetEndSessionAnswer(answer);
      return answer ? 1 : 0;
    }
    default:
      return 0;
  }
}

// The application's window: minimise and restore stand for the whole
// program; it cannot be maximised (a maximise brings a minimised program
// back); closing it asks the program to close.
void SimWidget::AppSysCommand(uint32_t command) {
  switch (command & 0xFFF0u) {
    case kScMinimize:
      MinimiseApplication();
      break;
    case kScRestore:
    case kScMaximize:
      RestoreApplication();
      break;
    case kScClose:
      events_->OnCloseRequest();
      break;
    default:
      break;
  }
}

// The form hears the command first, then the window system's default.
void SimWidget::SysCommand(uint32_t command) {
  events_->OnSysCommand(command);
  switch (command & 0xFFF0u) {
    case kScMinimize:
      Minimize();
      break;
    case kScMaximize:
      MaximiseForm();
      break;
    case kScRestore:
      Restore();
      break;
    case kScClose:
      events_->OnCloseRequest();
      break;
    default:
      break;
  }
}

void SimWidget::MaximiseForm() {
  MinMaxInfo info;
  {
    SimGuard lock(world_.Mutex());
    info.max_size = {world_.screen.Width(), world_.screen.Height()};
    info.max_position = {0, 0};
  }
  events_->OnGetMinMaxInfo(info);
  Rect to{info.max_position.x, info.max_position.y,
          info.max_position.x + info.max_size.x,
          info.max_position.y + info.max_size.y};
  ChangeForm([&](WindowRec& rec) {
    world_.MaximiseLocked(rec, to);
    ActivateLocked(rec);
  });
}

bool SimWidget::UserMouseDown(MouseButtonKind button, Point at) {
  if (!Usable() || events_ == nullptr) return false;
  events_->OnMouseDown(button, at);
  return true;
}

bool SimWidget::UserMouseUp(MouseButtonKind button, Point at) {
  if (!Usable() || events_ == nullptr) return false;
  events_->OnMouseUp(button, at);
  return true;
}

bool SimWidget::UserMouseMove(Point at) {
  if (!Usable() || events_ == nullptr) return false;
  events_->OnMouseMove(at);
  return true;
}

bool SimWidget::UserMouseEnter() {
  if (!Usable() || events_ == nullptr) return false;
  events_->OnMouseEnter();
  return true;
}

bool SimWidget::UserMouseLeave() {
  if (!Usable() || events_ == nullptr) return false;
  events_->OnMouseLeave();
  return true;
}

bool SimWidget::UserKey(uint32_t key, bool down) {
  if (!Usable() || events_ == nullptr) return false;
  if (down) {
    events_->OnKeyDown(key);
  } else {
    events_->OnKeyUp(key);
  }
  return true;
}

bool SimWidget::UserFocus(bool gained) {
  if (!Usable() || events_ == nullptr) return false;
  events_->OnFocusChanged(gained);
  return true;
}

bool SimWidget::UserDialogChar(uint32_t character) {
  if (!Usable() || events_ == nullptr) return false;
  return events_->OnDialogChar(character);
}

void SimWidget::PaintTo(Canvas& canvas) {
  if (events_ != nullptr) events_->OnPaint(canvas);
}

bool SimWidget::UserClick() {
  if (!Usable()) return false;
  if (kind_ == WidgetKind::kCheckBox) return UserCheck(!checked_);
  if (kind_ == WidgetKind::kRadioButton) return UserCheck(true);
  if (events_ != nullptr) events_->OnUserClicked();
  return true;
}

bool SimWidget::UserCheck(bool checked) {
  if (!Usable()) return false;
  if (checked_ == checked) return true;
  checked_ = checked;
  if (events_ != nullptr) events_->OnUserChecked(checked);
  return true;
}

bool SimWidget::UserPosition(int32_t position) {
  if (!Usable()) return false;
  position = std::clamp(position, std::min(desc_.min, desc_.max),
                        std::max(desc_.min, desc_.max));
  if (position_ == position) return true;
  position_ = position;
  if (events_ != nullptr) events_->OnUserPosition(position);
  return true;
}

}  // namespace hopla::sim
