#include "platform/sim/sim_world.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/sim/sim_process.h"
#include "platform/sim/sim_widgets.h"

namespace hopla::sim {

SimDesktop::Impl::Impl(Rect screen_rect)
    : screen(screen_rect),
      cursor{screen_rect.left + screen_rect.Width() / 2,
             screen_rect.top + screen_rect.Height() / 2} {}

SimDesktop::Impl::~Impl() = default;

void SimDesktop::Impl::RecordLocked(std::string kind, std::string text) {
  trace.push_back({NowLocked(), std::move(kind), std::move(text)});
}

WindowRec& SimDesktop::Impl::AddWindowLocked(WindowRec rec) {
  WindowHandle handle = rec.handle;
  raised.insert(raised.begin(), handle);
  return windows[handle] = std::move(rec);
}

WindowRec* SimDesktop::Impl::FindWindowLocked(WindowHandle handle) {
  auto it = windows.find(handle);
  return it == windows.end() ? nullptr : &it->second;
}

const WindowRec* SimDesktop::Impl::FindWindowLocked(WindowHandle handle) const {
  auto it = windows.find(handle);
  return it == windows.end() ? nullptr : &it->second;
}

void SimDesktop::Impl::RemoveWindowLocked(WindowHandle handle) {
  if (windows.erase(handle) == 0) return;
  raised.erase(std::remove(raised.begin(), raised.end(), handle), raised.end());
  if (foreground == handle) ActivateNextLocked(handle);
}

void SimDesktop::Impl::BringToTopLocked(WindowHandle handle) {
  auto it = std::find(raised.begin(), raised.end(), handle);
  if (it == raised.end()) return;
  std::rotate(raised.begin(), it, it + 1);
}

std::vector<WindowHandle> SimDesktop::Impl::ZOrderLocked() const {
  std::vector<WindowHandle> order;
  for (bool forms : {true, false}) {
    for (WindowHandle handle : raised) {
      const WindowRec* rec = FindWindowLocked(handle);
      if ((rec->owner != nullptr) == forms) order.push_back(handle);
    }
  }
  return order;
}

void SimDesktop::Impl::ActivateNextLocked(WindowHandle leaving) {
  foreground = kNoWindow;
  for (WindowHandle handle : ZOrderLocked()) {
    const WindowRec* rec = FindWindowLocked(handle);
    if (handle != leaving && rec->visible &&
        rec->show != WindowShow::kMinimised) {
      foreground = handle;
      return;
    }
  }
}

void SimDesktop::Impl::MinimiseLocked(WindowRec& rec) {
  if (rec.show != WindowShow::kMinimised) rec.before_minimised = rec.show;
  rec.show = WindowShow::kMinimised;
  if (foreground == rec.handle) ActivateNextLocked(rec.handle);
}

void SimDesktop::Impl::MaximiseLocked(WindowRec& rec, Rect to) {
  if (rec.show == WindowShow::kNormal) rec.restore_rect = rec.rect;
  rec.rect = to;
  rec.show = WindowShow::kMaximised;
}

bool SimDesktop::Impl::RestoreLocked(WindowRec& rec) {
  if (rec.show == WindowShow::kMinimised) {
    rec.show = rec.before_minimised;
    return true;
  }
  if (rec.show == WindowShow::kMaximised) {
    rec.rect = rec.restore_rect;
    rec.show = WindowShow::kNormal;
  }
  return false;
}

void SimDesktop::Impl::DefaultForeignLocked(WindowHandle handle,
                                            uint32_t message,
                                            uintptr_t wparam) {
  WindowRec* rec = FindWindowLocked(handle);
  if (rec == nullptr) return;
  if (message == kWmClose) {
    RemoveWindowLocked(handle);
    return;
  }
  if (message != kWmSysCommand) return;
  switch (static_cast<uint32_t>(wparam) & 0xFFF0u) {
    case kScMinimize:
      MinimiseLocked(*rec);
      break;
    case kScMaximize:
      MaximiseLocked(*rec, screen);
      break;
    case kScRestore:
      RestoreLocked(*rec);
      break;
    case kScClose:
      RemoveWindowLocked(handle);
      break;
    default:
      break;
  }
}

Rect SimDesktop::Impl::ParkedRect() {
  constexpr int32_t kParked = -32000;
  constexpr int32_t kIconWidth = 160;
  constexpr int32_t kIconHeight = 28;
  return {kParked, kParked, kParked + kIconWidth, kParked + kIconHeight};
}

Rect SimDesktop::Impl::ReportedRectLocked(const WindowRec& rec) const {
  return rec.show == WindowShow::kMinimised ? ParkedRect() : rec.rect;
}

namespace {}  // namespace

const WindowRec* SimDesktop::Impl::ProgramWindowAtLocked(Point p) const {
  for (WindowHandle handle : ZOrderLocked()) {
    const WindowRec* rec = FindWindowLocked(handle);
    if (rec->owner != nullptr && rec->visible &&
        rec->show != WindowShow::kMinimised && rec->rect.Contains(p)) {
      return rec;
    }
  }
  return nullptr;
}

RoleReading SimDesktop::Impl::RegionRoleLocked(Point p) const {
  constexpr int64_t kRoleClient = 0x0A;
  for (auto it = role_regions.rbegin(); it != role_regions.rend(); ++it) {
    if (!it->rect.Contains(p)) continue;
    RoleReading reading = it->reading;
    if (reading.kind != RoleReading::Kind::kFailed && !reading.rect) {
      reading.rect = it->rect;
    }
    return reading;
  }
  return {RoleReading::Kind::kNumber, kRoleClient, screen};
}

namespace {

int64_t RoleOfKind(WidgetKind kind) {
  switch (kind) {
    case WidgetKind::kPushButton:
      return 0x2B;
    case WidgetKind::kCheckBox:
      return 0x2C;
    case WidgetKind::kRadioButton:
      return 0x2D;
    case WidgetKind::kTrackBar:
      return 0x33;
    case WidgetKind::kEdit:
      return 0x2A;
    case WidgetKind::kLabel:
      return 0x29;
    case WidgetKind::kGroupBox:
      return 0x14;
    default:
      return 0x0A;
  }
}

// A control's place on the screen (the offsets of its frames, then its
// form's client area) when it is shown on the window `rec`.
std::optional<Rect> ControlOnScreen(const SimWidget& widget,
                                    const WindowRec& rec) {
  Rect r = widget.Bounds();
  const SimWidget* up = widget.Parent();
  bool visible = widget.Visible();
  while (up != nullptr && up->Kind() != WidgetKind::kForm) {
    r = {r.left + up->Bounds().left, r.top + up->Bounds().top,
         r.right + up->Bounds().left, r.bottom + up->Bounds().top};
    visible = visible && up->Visible();
    up = up->Parent();
  }
  if (up == nullptr || up->Handle() != rec.handle || !visible) {
    return std::nullopt;
  }
  return Rect{r.left + rec.rect.left, r.top + rec.rect.top,
              r.right + rec.rect.left, r.bottom + rec.rect.top};
}

// A key of a keyboard window on the screen.
Rect KeyOnScreen(const WindowRec& rec, size_t key) {
  const KeyboardView& view = rec.keyboard->view;
  const Rect r =
      KeyRect(view, view.keys[key], Point{rec.rect.Width(), rec.rect.Height()});
  return {r.left + rec.rect.left, r.top + rec.rect.top, r.right + rec.rect.left,
          r.bottom + rec.rect.top};
}

}  // namespace

RoleReading SimDesktop::Impl::ControlRoleLocked(WindowHandle window,
                                                Point p) const {
  const WindowRec* rec = FindWindowLocked(window);
  RoleReading reading{RoleReading::Kind::kNumber,
                      RoleOfKind(WidgetKind::kForm)};
  if (rec == nullptr) return reading;
  reading.rect = rec->rect;
  if (rec->keyboard) {
    if (const std::optional<size_t> key = KeyAtLocked(*rec, p)) {
      reading.role = RoleOfKind(WidgetKind::kPushButton);
      reading.rect = KeyOnScreen(*rec, *key);
    }
    return reading;
  }
  bool found_control = false;
  for (const SimWidget* widget : widgets) {
    const std::optional<Rect> r = ControlOnScreen(*widget, *rec);
    if (!r || !r->Contains(p)) continue;
    // Frames lie below the other controls; later controls lie on top.
    const bool frame = widget->Kind() == WidgetKind::kGroupBox;
    if (frame && found_control) continue;
    reading.role = RoleOfKind(widget->Kind());
    reading.rect = *r;
    found_control = found_control || !frame;
  }
  return reading;
}

std::vector<ElementBox> SimDesktop::Impl::ElementsLocked(
    const std::vector<WindowHandle>& answered) const {
  std::vector<ElementBox> found;
  auto centre = [](const Rect& r) {
    return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  for (WindowHandle handle : answered) {
    const WindowRec* rec = FindWindowLocked(handle);
    if (rec == nullptr) continue;
    for (size_t key = 0; rec->keyboard && key < rec->keyboard->view.keys.size();
         ++key) {
      const Rect r = KeyOnScreen(*rec, key);
      if (ProgramWindowAtLocked(centre(r)) == rec) {
        found.push_back({r, RoleOfKind(WidgetKind::kPushButton)});
      }
    }
    for (const SimWidget* widget : widgets) {
      const std::optional<Rect> r = ControlOnScreen(*widget, *rec);
      if (r && ProgramWindowAtLocked(centre(*r)) == rec) {
        found.push_back({*r, RoleOfKind(widget->Kind())});
      }
    }
  }
  for (auto it = role_regions.rbegin(); it != role_regions.rend(); ++it) {
    const Point c = centre(it->rect);
    if (it->reading.kind != RoleReading::Kind::kNumber ||
        ProgramWindowAtLocked(c) != nullptr) {
      continue;
    }
    bool covered = false;
    for (auto above = role_regions.rbegin(); above != it; ++above) {
      covered = covered || above->rect.Contains(c);
    }
    if (!covered) found.push_back({it->rect, it->reading.role});
  }
  return found;
}

// As the system does: a point on no monitor goes to the nearest point of
// the nearest monitor.
Point SimDesktop::Impl::ClampToScreen(Point p) const {
  auto clamp_to = [p](const Rect& r) {
    return Point{std::clamp(p.x, r.left, r.right - 1),
                 std::clamp(p.y, r.top, r.bottom - 1)};
  };
  if (monitors.empty()) return clamp_to(screen);
  Point best = clamp_to(monitors.front());
  int64_t best_distance = INT64_MAX;
  for (const Rect& monitor : monitors) {
    const Point q = clamp_to(monitor);
    const int64_t dx = q.x - p.x;
    const int64_t dy = q.y - p.y;
    if (dx * dx + dy * dy < best_distance) {
      best_distance = dx * dx + dy * dy;
      best = q;
    }
  }
  return best;
}

int64_t SimDesktop::Impl::NextScriptedLocked() const {
  int64_t next = kNever;
  for (const auto& process : processes) {
    next = std::min(next, process->NextInputAfterLocked(NowLocked()));
  }
  return next;
}

}  // namespace hopla::sim
