// The rules of the settings file, on its own bytes (code page 932): find a
// key's value, write a key where it stands, read an integer.
#ifndef HOPLA_SETTINGS_INI_RULES_H_
#define HOPLA_SETTINGS_INI_RULES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hopla::ini {

// A read returns at most this many bytes of a value.
inline constexpr size_t kMaxValueBytes = 2047;

// The value of `key` in `section` (the first of each; names compare without
// regard to ASCII letter case), or nothing when either is absent.
std::optional<std::string> ReadValue(std::string_view file,
                                     std::string_view section,
                                     std::string_view key);

// The file with `key` set to `value`: replaced where it stands, else added at
// the end of its section, else in a new section at the end of the file. New
// lines end in CR LF; the rest of the file is left as it was.
std::string WriteValue(std::string_view file, std::string_view section,
                       std::string_view key, std::string_view value);

// Decimal, or hexadecimal after "0x", "0X" or "$", with an optional sign;
// nothing for anything else, or a number beyond 32 bits.
std::optional<int32_t> ParseInteger(std::string_view text);

}  // namespace hopla::ini

#endif  // HOPLA_SETTINGS_INI_RULES_H_
