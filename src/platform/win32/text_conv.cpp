#include "platform/win32/text_conv.h"

#include <climits>

#include "platform/win32/win32_include.h"

namespace hopla::win32 {

std::wstring Utf8ToWide(std::string_view utf8) {
  // The API counts in int; a text that does not fit is not a text we pass.
  if (utf8.empty() || utf8.size() > static_cast<size_t>(INT_MAX)) return {};
  const int in_size = static_cast<int>(utf8.size());
  const int out_size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in_size, nullptr, 0);
  if (out_size <= 0) return {};
  std::wstring wide(static_cast<size_t>(out_size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in_size, wide.data(), out_size);
  return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
  if (wide.empty() || wide.size() > static_cast<size_t>(INT_MAX)) return {};
  const int in_size = static_cast<int>(wide.size());
  const int out_size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), in_size,
                                           nullptr, 0, nullptr, nullptr);
  if (out_size <= 0) return {};
  std::string utf8(static_cast<size_t>(out_size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), in_size, utf8.data(), out_size,
                      nullptr, nullptr);
  return utf8;
}

}  // namespace hopla::win32
