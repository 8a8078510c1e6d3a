// Conversion between the program's UTF-8 and the Japanese ANSI code page
// (932, Shift-JIS) that the settings file keeps, done with the operating
// system's own tables.
#ifndef HOPLA_PLATFORM_CODEPAGE_H_
#define HOPLA_PLATFORM_CODEPAGE_H_

#include <optional>
#include <string>
#include <string_view>

namespace hopla {

// Nothing when the text has a character that code page 932 cannot hold.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
// Bytes that are not valid code page 932 become U+FFFD, never lost silently
// into a crash.
std::string Cp932ToUtf8(std::string_view cp932);

}  // namespace hopla

#endif  // HOPLA_PLATFORM_CODEPAGE_H_
