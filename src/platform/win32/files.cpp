#include "platform/win32/files.h"

#include <algorithm>
#include <cstdint>

#include "platform/win32/text_conv.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {
namespace {

// Settings files are a few kilobytes; anything beyond this is not ours.
constexpr int64_t kMaxReadBytes = int64_t{64} * 1024 * 1024;
// ReadFile/WriteFile take a DWORD count; stay well inside it.
constexpr size_t kChunkBytes = size_t{1} << 20;
constexpr wchar_t kTempSuffix[] = L".tmp";

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  bool Close() {
    if (!Valid()) return true;
    const bool ok = CloseHandle(h_) != FALSE;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  // Each pass writes at least one byte or fails, so this ends.
  while (done < bytes.size()) {
    const DWORD chunk =
        static_cast<DWORD>(std::min(kChunkBytes, bytes.size() - done));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// Unique per process, so two copies saving at once do not share a file.
std::wstring TempPathFor(const std::wstring& path) {
  return path + L"." + std::to_wstring(GetCurrentProcessId()) + kTempSuffix;
}

// An existing file is replaced so that it keeps its attributes, owner and
// permissions; a move would give it the new file's. Without a backup name, a
// failed replace leaves the old file where it was, and the move is tried.
bool MoveInPlace(const std::wstring& temp, const std::wstring& target,
                 DWORD target_attributes) {
  if (target_attributes != INVALID_FILE_ATTRIBUTES &&
      ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                   REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    return true;
  }
  return MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
         FALSE;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
  // Sharing delete too: a replace by another program (or another copy of
  // ours) goes through while we read.
  FileHandle file(
      CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxReadBytes) {
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk =
        static_cast<DWORD>(std::min(kChunkBytes, bytes.size() - done));
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data() + done, chunk, &read, nullptr)) {
      return std::nullopt;
    }
    if (read == 0) break;  // the file shrank while we read it
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

bool ReplaceFileBytes(const std::string& path, const std::string& bytes) {
  const std::wstring target = Utf8ToWide(path);
  if (target.empty()) return false;
  // Windows refuses to move over a read-only file (Wine does not): refuse it
  // here on both, before anything is written.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) !=
          0) {
    return false;
  }
  const std::wstring temp = TempPathFor(target);
  FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  const bool written =
      WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get()) != FALSE;
  const bool closed = file.Close();
  if (written && closed && MoveInPlace(temp, target, attributes)) return true;
  DeleteFileW(temp.c_str());
  return false;
}

}  // namespace hopla::win32
