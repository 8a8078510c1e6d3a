// Text crosses the platform seam as UTF-8 and the Win32 API as UTF-16; these
// two functions are the only place where one becomes the other.
#ifndef HOPLA_PLATFORM_WIN32_TEXT_CONV_H_
#define HOPLA_PLATFORM_WIN32_TEXT_CONV_H_

#include <string>
#include <string_view>

namespace hopla::win32 {

// Invalid UTF-8 sequences become U+FFFD rather than failing the whole text.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace hopla::win32

#endif  // HOPLA_PLATFORM_WIN32_TEXT_CONV_H_
