// How the program was started and where it starts: its arguments, its
// working folder, and the current user's sign-in entries (the registry's
// Run key), which the system starts at each sign-in.
#include <vector>

#include "platform/win32/text_conv.h"
#include "platform/win32/win32_include.h"
#include "platform/win32/win32_platform.h"

// After windows.h: the shell's splitting of command lines.
#include <shellapi.h>

namespace hopla::win32 {
namespace {

constexpr wchar_t kRunKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// No command line of a sign-in entry is longer.
constexpr DWORD kMaxCommandBytes = 64 * 1024;

}  // namespace

std::vector<std::string> Win32Platform::Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* split = CommandLineToArgvW(GetCommandLineW(), &count);
  if (split == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(WideToUtf8(split[i]));
  LocalFree(split);
  return arguments;
}

std::string Win32Platform::CurrentFolder() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return {};
  std::wstring folder(size, L'\0');
  const DWORD length = GetCurrentDirectoryW(size, folder.data());
  folder.resize(length < size ? length : 0);
  return WideToUtf8(folder);
}

bool Win32Platform::SetCurrentFolder(const std::string& folder) {
  return SetCurrentDirectoryW(Utf8ToWide(folder).c_str()) != FALSE;
}

std::optional<std::string> Win32Platform::ReadSignInEntry(
    const std::string& name) {
  const std::wstring value = Utf8ToWide(name);
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, value.c_str(),
                   RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type,
                   nullptr, &bytes) != ERROR_SUCCESS ||
      bytes > kMaxCommandBytes) {
    return std::nullopt;
  }
  std::wstring command(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(command.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, value.c_str(),
                   RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type,
                   command.data(), &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  command.resize(wcsnlen(command.c_str(), command.size()));
  return WideToUtf8(command);
}

bool Win32Platform::WriteSignInEntry(const std::string& name,
                                     const std::string& command) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring text = Utf8ToWide(command);
  const LONG result =
      RegSetValueExW(key, Utf8ToWide(name).c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool Win32Platform::RemoveSignInEntry(const std::string& name) {
  const LONG result =
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, Utf8ToWide(name).c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace hopla::win32
