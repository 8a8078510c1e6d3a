#include <windows.h>

#include <string>

#include "platform/codepage.h"

namespace hopla {

namespace {

constexpr UINT kJapaneseCodePage = 932;

std::wstring Widen(std::string_view text, UINT code_page, DWORD flags,
                   bool* ok) {
  *ok = true;
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(
      code_page, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) {
    *ok = false;
    return {};
  }
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, flags, text.data(),
                      static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  bool ok = false;
  const std::wstring wide = Widen(utf8, CP_UTF8, MB_ERR_INVALID_CHARS, &ok);
  if (!ok) return std::nullopt;
  if (wide.empty()) return std::string();
  BOOL lossy = FALSE;
  const int length = WideCharToMultiByte(
      kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
      static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
  if (length <= 0 || lossy) return std::nullopt;
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                      static_cast<int>(wide.size()), out.data(), length,
                      nullptr, nullptr);
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  bool ok = false;
  // Without MB_ERR_INVALID_CHARS bad bytes become U+FFFD or '?'.
  const std::wstring wide = Widen(cp932, kJapaneseCodePage, 0, &ok);
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(),
                                         static_cast<int>(wide.size()), nullptr,
                                         0, nullptr, nullptr);
  std::string out(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                        out.data(), length, nullptr, nullptr);
  }
  return out;
}

}  // namespace hopla
