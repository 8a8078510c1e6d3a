// How a simulated program was started and where it starts: its working
// folder, and the current user's sign-in entries, which the world keeps.
#include <algorithm>
#include <string>

#include "platform/sim/sim_process.h"
#include "platform/sim/sim_world.h"

namespace hopla::sim {

std::string SimProcessImpl::CurrentFolder() {
  SimGuard lock(Mutex());
  return folder_;
}

// A folder exists when a file or an entry of the drives lies in it.
bool SimProcessImpl::SetCurrentFolder(const std::string& folder) {
  SimGuard lock(Mutex());
  const std::string inside = folder + "\\";
  auto in = [&](const std::string& path) { return path.rfind(inside, 0) == 0; };
  const bool exists =
      std::any_of(world_.files.begin(), world_.files.end(),
                  [&](const auto& file) { return in(file.first); }) ||
      std::any_of(world_.tree.begin(), world_.tree.end(),
                  [&](const auto& entry) { return in(entry.path); });
  if (!exists) return false;
  folder_ = folder;
  world_.RecordLocked("folder", folder);
  return true;
}

std::optional<std::string> SimProcessImpl::ReadSignInEntry(
    const std::string& name) {
  SimGuard lock(Mutex());
  const auto found = world_.sign_in_entries.find(name);
  if (found == world_.sign_in_entries.end()) return std::nullopt;
  return found->second;
}

bool SimProcessImpl::WriteSignInEntry(const std::string& name,
                                      const std::string& command) {
  SimGuard lock(Mutex());
  if (ended_) return false;
  world_.sign_in_entries[name] = command;
  world_.RecordLocked("sign-in", name + "=" + command);
  return true;
}

bool SimProcessImpl::RemoveSignInEntry(const std::string& name) {
  SimGuard lock(Mutex());
  if (ended_) return false;
  world_.sign_in_entries.erase(name);
  world_.RecordLocked("sign-in", name + " removed");
  return true;
}

}  // namespace hopla::sim
