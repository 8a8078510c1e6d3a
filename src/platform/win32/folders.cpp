#include "platform/win32/folders.h"

#include "platform/win32/text_conv.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {
namespace {

class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

FolderEntry EntryOf(const WIN32_FIND_DATAW& found) {
  FolderEntry entry;
  entry.name = WideToUtf8(found.cFileName);
  entry.is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  // The reparse tag is in dwReserved0 when the attribute says there is one.
  // Wine lists a Unix symbolic link as a reparse point with no tag at all:
  // a reparse point of unknown kind is not followed either.
  const DWORD tag = found.dwReserved0;
  entry.is_link =
      (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      (tag == 0 || IsReparseTagNameSurrogate(tag));
  return entry;
}

class ThreadErrorModeQuiet final : public DriveErrorBoxesOff {
 public:
  ThreadErrorModeQuiet() {
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX,
                       &old_mode_);
  }
  ~ThreadErrorModeQuiet() override { SetThreadErrorMode(old_mode_, nullptr); }
  ThreadErrorModeQuiet(const ThreadErrorModeQuiet&) = delete;
  ThreadErrorModeQuiet& operator=(const ThreadErrorModeQuiet&) = delete;

 private:
  DWORD old_mode_ = 0;
};

}  // namespace

std::optional<std::vector<FolderEntry>> ListMatching(
    const std::string& pattern) {
  WIN32_FIND_DATAW found{};
  FindHandle search(FindFirstFileW(Utf8ToWide(pattern).c_str(), &found));
  if (!search.Valid()) {
    // No match at all is an empty listing; anything else cannot be listed.
    if (GetLastError() == ERROR_FILE_NOT_FOUND) {
      return std::vector<FolderEntry>{};
    }
    return std::nullopt;
  }
  std::vector<FolderEntry> entries;
  do {
    entries.push_back(EntryOf(found));
  } while (FindNextFileW(search.Get(), &found));
  return entries;
}

std::unique_ptr<DriveErrorBoxesOff> QuietDriveErrors() {
  return std::make_unique<ThreadErrorModeQuiet>();
}

}  // namespace hopla::win32
