// Whole-file reads and crash-safe whole-file replacement.
#ifndef HOPLA_PLATFORM_WIN32_FILES_H_
#define HOPLA_PLATFORM_WIN32_FILES_H_

#include <optional>
#include <string>

namespace hopla::win32 {

// Paths are UTF-8, relative ones to the current directory.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Writes a temporary file beside `path`, flushes it, then moves it over
// `path` in one step. On failure the old file is untouched and the temporary
// file is removed.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_FILES_H_
