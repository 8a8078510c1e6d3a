// The search of the drives for JoyToKey's program file, depth first in the
// order the file system lists the folders. After the first find the search
// does not descend any further, but the folders it still visits (the
// siblings left at every level) are looked at themselves, and a later one
// that holds the program wins. Links (symbolic links, junctions, mount
// points) are not followed: a loop on disk cannot trap the search.
#ifndef HOPLA_JOYTOKEY_FOLDER_SEARCH_H_
#define HOPLA_JOYTOKEY_FOLDER_SEARCH_H_

#include <atomic>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace hopla {

inline constexpr char kJoyToKeyProgram[] = "JoyToKey.exe";
// The drive roots searched, in this order.
inline constexpr const char* kSearchedDrives[] = {"A:\\", "C:\\", "D:\\",
                                                  "E:\\", "F:\\"};

class FolderSearch {
 public:
  explicit FolderSearch(Platform& platform) : platform_(platform) {}

  // Any thread: ends the search at the next folder.
  void Cancel() { cancelled_.store(true); }

  // Searches `folder` (ending in a backslash) and what lies below it. True
  // when the program has been found, here or in any earlier search.
  bool SearchJoyToKeyFolder(const std::string& folder);
  // The drives one after the other, up to the first that says found.
  bool SearchDrives();

  // Found in this search or an earlier one; and where.
  bool Found() const { return found_; }
  const std::string& FoundFolder() const { return folder_; }
  // A search that carries on from an earlier one's find.
  void RememberFind(const std::string& folder);

 private:
  // The look at one folder itself: its program file, then whether to stop.
  bool LookInto(const std::string& folder);
  std::vector<std::string> SubfoldersOf(const std::string& folder);

  Platform& platform_;
  std::atomic<bool> cancelled_{false};
  bool found_ = false;
  std::string folder_;
};

}  // namespace hopla

#endif  // HOPLA_JOYTOKEY_FOLDER_SEARCH_H_
