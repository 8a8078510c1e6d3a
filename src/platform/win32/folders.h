// Folder listings for the drive search, and the thread's drive error boxes.
#ifndef HOPLA_PLATFORM_WIN32_FOLDERS_H_
#define HOPLA_PLATFORM_WIN32_FOLDERS_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace hopla::win32 {

// FindFirstFileW / FindNextFileW over `pattern` (UTF-8). Links are the
// reparse points whose tag is a name surrogate: symbolic links, junctions
// and mount points; other reparse points (a cloud-synchronised folder, say)
// are plain folders.
std::optional<std::vector<FolderEntry>> ListMatching(
    const std::string& pattern);

// Sets the thread's error mode so that drive access raises no system box,
// and puts the old one back when it goes.
std::unique_ptr<DriveErrorBoxesOff> QuietDriveErrors();

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_FOLDERS_H_
