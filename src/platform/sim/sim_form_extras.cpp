// A simulated form's system menu check marks and its hot keys, which the
// world keeps so that a carer's key press reaches the window that holds it.
#include <string>
#include <utility>

#include "platform/sim/sim_widgets.h"
#include "platform/sim/sim_world.h"

namespace hopla::sim {

void SimWidget::SetMenuItemChecked(uint32_t command, bool checked) {
  SimGuard lock(world_.Mutex());
  if (checked) {
    checked_items_.insert(command);
  } else {
    checked_items_.erase(command);
  }
}

bool SimWidget::MenuItemChecked(uint32_t command) const {
  SimGuard lock(world_.Mutex());
  return checked_items_.count(command) != 0;
}

bool SimWidget::RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t key) {
  SimGuard lock(world_.Mutex());
  std::erase_if(world_.hot_keys, [&](const auto& entry) {
    return entry.second == std::pair(handle_, id);
  });
  if (key == 0) return true;
  const auto [at, added] =
      world_.hot_keys.try_emplace({modifiers, key}, handle_, id);
  world_.RecordLocked("hotkey", std::to_string(modifiers) + "+" +
                                    std::to_string(key) +
                                    (added ? "" : " held by another"));
  return added;
}

}  // namespace hopla::sim
