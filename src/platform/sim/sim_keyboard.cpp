// A program's keyboard on the simulated desktop: a window of its program on
// top of the others, whose keys the accessibility queries find as push
// buttons and whose keys any program's left click presses; and the keys it
// types (told in the trace as "type").
#include <string>
#include <utility>

#include "platform/sim/sim_process.h"
#include "platform/sim/sim_world.h"

namespace hopla::sim {

std::optional<size_t> SimDesktop::Impl::KeyAtLocked(const WindowRec& rec,
                                                    Point p) {
  if (!rec.keyboard || !rec.visible) return std::nullopt;
  const Point client{rec.rect.Width(), rec.rect.Height()};
  const Point inside{p.x - rec.rect.left, p.y - rec.rect.top};
  const KeyboardView& view = rec.keyboard->view;
  for (size_t i = 0; i < view.keys.size(); ++i) {
    if (KeyRect(view, view.keys[i], client).Contains(inside)) return i;
  }
  return std::nullopt;
}

void SimProcessImpl::ShowKeyboard(const KeyboardView& view, const Rect& place,
                                  KeyboardEvents* events) {
  SimGuard lock(Mutex());
  if (ended_) return;
  WindowRec* rec = world_.FindWindowLocked(keyboard_window_);
  if (rec == nullptr) {
    WindowRec made;
    made.handle = world_.NewHandleLocked();
    made.rect = place;
    made.owner = this;
    made.visible = false;
    rec = &world_.AddWindowLocked(std::move(made));
    keyboard_window_ = rec->handle;
  }
  rec->title = view.caption;
  rec->keyboard = WindowRec::Keyboard{view, events, std::nullopt};
  if (!rec->visible) {
    rec->rect = place;
    rec->visible = true;
    world_.BringToTopLocked(rec->handle);
    world_.RecordLocked("keyboard", "shown");
  }
}

void SimProcessImpl::HideKeyboard() {
  SimGuard lock(Mutex());
  WindowRec* rec = world_.FindWindowLocked(keyboard_window_);
  if (rec == nullptr) return;
  world_.RemoveWindowLocked(keyboard_window_);
  keyboard_window_ = kNoWindow;
  world_.RecordLocked("keyboard", "hidden");
}

void SimProcessImpl::TypeKey(uint8_t virtual_key, bool up) {
  SimGuard lock(Mutex());
  PressKeyLocked("type", virtual_key, up);
}

void SimProcessImpl::ClickKeyboardLocked(uint32_t flags, Point at) {
  const WindowRec* top = world_.ProgramWindowAtLocked(at);
  for (auto& [handle, rec] : world_.windows) {
    if (!rec.keyboard) continue;
    const std::optional<size_t> key =
        &rec == top ? SimDesktop::Impl::KeyAtLocked(rec, at) : std::nullopt;
    if (flags == kMouseLeftDown) {
      rec.keyboard->pressed = key;
    } else if (flags == kMouseLeftUp) {
      const std::optional<size_t> pressed =
          std::exchange(rec.keyboard->pressed, std::nullopt);
      if (key && pressed == key && rec.owner != nullptr &&
          rec.keyboard->events != nullptr) {
        KeyboardEvents* events = rec.keyboard->events;
        const size_t index = *key;
        rec.owner->QueueInputLocked(world_.NowLocked(), [events, index] {
          events->OnKeyClicked(index);
        });
      }
    }
  }
}

}  // namespace hopla::sim
