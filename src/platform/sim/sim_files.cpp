// The drives and folders of the simulated desktop, as a program lists them.
#include <algorithm>
#include <cctype>
#include <string>

#include "platform/sim/sim_process.h"
#include "platform/sim/sim_world.h"

namespace hopla::sim {
namespace {

constexpr int kMostLinkHops = 64;

std::string Lower(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

// "C:\\a\\" and "C:\\a" name the same folder; a drive's root keeps its
// backslash.
std::string FolderKey(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return Lower(path);
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash == 2 ? 3 : slash);
}

// The file system's wildcards: * any run, ? any one character; "*.*" is
// every name, with or without a dot.
bool Matches(const std::string& name, const std::string& pattern) {
  if (pattern == "*.*") return true;
  const std::string n = Lower(name);
  const std::string p = Lower(pattern);
  size_t i = 0;
  size_t j = 0;
  size_t star = std::string::npos;
  size_t mark = 0;
  while (i < n.size()) {
    if (j < p.size() && (p[j] == '?' || p[j] == n[i])) {
      ++i;
      ++j;
    } else if (j < p.size() && p[j] == '*') {
      star = j++;
      mark = i;
    } else if (star != std::string::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < p.size() && p[j] == '*') ++j;
  return j == p.size();
}

}  // namespace

void SimDesktop::Impl::AddTreeLocked(const std::string& path, bool is_folder,
                                     const std::string& link_target) {
  std::string stored = path;
  while (stored.size() > 3 && stored.back() == '\\') stored.pop_back();
  const std::string key = FolderKey(stored);
  for (const TreeEntry& entry : tree) {
    if (FolderKey(entry.path) == key) return;
  }
  const std::string parent = ParentOf(stored);
  if (!parent.empty() && FolderKey(parent) != key) {
    AddTreeLocked(parent, true, "");
  }
  tree.push_back({stored, is_folder, link_target});
}

std::optional<std::vector<FolderEntry>> SimDesktop::Impl::ListLocked(
    const std::string& pattern) const {
  const size_t slash = pattern.rfind('\\');
  if (slash == std::string::npos) return std::nullopt;
  std::string folder = FolderKey(pattern.substr(0, slash + 1));
  const std::string name_pattern = pattern.substr(slash + 1);
  // A link's content is its target's, as far as links lead.
  for (int hop = 0; hop < kMostLinkHops; ++hop) {
    bool moved = false;
    for (const TreeEntry& entry : tree) {
      if (entry.link_target.empty()) continue;
      const std::string link = FolderKey(entry.path);
      if (folder == link || folder.rfind(link + "\\", 0) == 0) {
        folder = FolderKey(entry.link_target) + folder.substr(link.size());
        folder = FolderKey(folder);
        moved = true;
        break;
      }
    }
    if (!moved) break;
  }
  if (unlistable.count(folder) != 0) return std::nullopt;
  const bool exists = std::any_of(tree.begin(), tree.end(), [&](auto& e) {
    return FolderKey(e.path) == folder || FolderKey(ParentOf(e.path)) == folder;
  });
  if (!exists) return std::nullopt;
  std::vector<FolderEntry> found;
  for (const TreeEntry& entry : tree) {
    if (FolderKey(ParentOf(entry.path)) != folder) continue;
    if (FolderKey(entry.path) == folder) continue;  // a root is no child
    const std::string name = entry.path.substr(entry.path.rfind('\\') + 1);
    if (!Matches(name, name_pattern)) continue;
    found.push_back({name, entry.is_folder, !entry.link_target.empty()});
  }
  return found;
}

std::optional<std::vector<FolderEntry>> SimProcessImpl::ListFolder(
    const std::string& pattern) {
  SimLock lock(Mutex());
  ++world_.listing_count;
  world_.RecordLocked("list", pattern);
  int64_t cost_ms = world_.listing_cost_ms;
  const auto slow = world_.slow_folders.find(
      FolderKey(pattern.substr(0, pattern.rfind('\\') + 1)));
  if (slow != world_.slow_folders.end()) cost_ms = slow->second;
  if (cost_ms > 0) {
    world_.scheduler.WaitLocked(lock, world_.NowLocked() + cost_ms, false);
  }
  return world_.ListLocked(pattern);
}

namespace {

class SimDriveErrorBoxesOff final : public DriveErrorBoxesOff {
 public:
  explicit SimDriveErrorBoxesOff(SimDesktop::Impl& world) : world_(world) {
    SimGuard lock(world_.Mutex());
    world_.RecordLocked("drive-errors", "off");
  }
  ~SimDriveErrorBoxesOff() override {
    SimGuard lock(world_.Mutex());
    world_.RecordLocked("drive-errors", "on");
  }

 private:
  SimDesktop::Impl& world_;
};

}  // namespace

std::unique_ptr<DriveErrorBoxesOff> SimProcessImpl::TurnOffDriveErrorBoxes() {
  return std::make_unique<SimDriveErrorBoxesOff>(world_);
}

void SimProcessImpl::ShellStartHidden(const std::string& file,
                                      const std::string& folder) {
  std::function<void(const std::string&, const std::string&)> start;
  {
    SimGuard lock(Mutex());
    if (ended_) return;
    world_.RecordLocked("start", folder + "|" + file);
    start = world_.shell_start;
  }
  if (start) start(file, folder);
}

// --- The desktop's side ------------------------------------------------------

void SimDesktop::AddTreeFolder(const std::string& path) {
  SimGuard lock(impl_->Mutex());
  impl_->AddTreeLocked(path, true, "");
}

void SimDesktop::AddTreeFile(const std::string& path) {
  SimGuard lock(impl_->Mutex());
  impl_->AddTreeLocked(path, false, "");
}

void SimDesktop::AddTreeLink(const std::string& path,
                             const std::string& target) {
  SimGuard lock(impl_->Mutex());
  impl_->AddTreeLocked(path, true, target);
}

void SimDesktop::MakeUnlistable(const std::string& path) {
  SimGuard lock(impl_->Mutex());
  impl_->unlistable.insert(FolderKey(path));
}

void SimDesktop::SetListingCost(int64_t ms) {
  SimGuard lock(impl_->Mutex());
  impl_->listing_cost_ms = ms;
}

void SimDesktop::SetFolderListingCost(const std::string& folder, int64_t ms) {
  SimGuard lock(impl_->Mutex());
  impl_->slow_folders[FolderKey(folder)] = ms;
}

int64_t SimDesktop::ListingCount() const {
  SimGuard lock(impl_->Mutex());
  return impl_->listing_count;
}

void SimDesktop::OnShellStart(
    std::function<void(const std::string&, const std::string&)> start) {
  SimGuard lock(impl_->Mutex());
  impl_->shell_start = std::move(start);
}

}  // namespace hopla::sim
