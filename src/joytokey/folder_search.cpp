#include "joytokey/folder_search.h"

namespace hopla {

void FolderSearch::RememberFind(const std::string& folder) {
  found_ = true;
  folder_ = folder;
}

bool FolderSearch::LookInto(const std::string& folder) {
  // Listed without regard to letter case; only the exact name counts.
  if (const auto entries = platform_.ListFolder(folder + kJoyToKeyProgram)) {
    for (const FolderEntry& entry : *entries) {
      if (entry.name == kJoyToKeyProgram) RememberFind(folder);
    }
  }
  return found_;
}

std::vector<std::string> FolderSearch::SubfoldersOf(const std::string& folder) {
  std::vector<std::string> subfolders;
  const auto entries = platform_.ListFolder(folder + "*.*");
  if (!entries) return subfolders;  // a folder that cannot be listed
  for (const FolderEntry& entry : *entries) {
    if (!entry.is_folder || entry.is_link) continue;
    if (entry.name == "." || entry.name == "..") continue;
    subfolders.push_back(folder + entry.name + "\\");
  }
  return subfolders;
}

// Depth first, without recursion: a deep tree cannot run the thread out of
// stack. A folder whose own look says found is not descended into.
bool FolderSearch::SearchJoyToKeyFolder(const std::string& folder) {
  if (LookInto(folder)) return true;
  struct Level {
    std::vector<std::string> subfolders;
    size_t next = 0;
  };
  std::vector<Level> levels;
  levels.push_back({SubfoldersOf(folder)});
  while (!levels.empty() && !cancelled_.load()) {
    Level& level = levels.back();
    if (level.next == level.subfolders.size()) {
      levels.pop_back();
      continue;
    }
    const std::string child = level.subfolders[level.next++];
    if (LookInto(child)) continue;
    levels.push_back({SubfoldersOf(child)});
  }
  return found_;
}

bool FolderSearch::SearchDrives() {
  for (const char* drive : kSearchedDrives) {
    if (cancelled_.load()) break;
    if (SearchJoyToKeyFolder(drive)) return true;
  }
  return false;
}

}  // namespace hopla
