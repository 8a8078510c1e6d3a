#include "settings/ini_file.h"

#include "platform/codepage.h"
#include "settings/ini_rules.h"

namespace hopla {

namespace {

// Names are fixed texts that code page 932 holds; anything it cannot hold
// would never match, so it reads as absent.
std::optional<std::string> InFile(const std::string& utf8) {
  return Utf8ToCp932(utf8);
}
}  // namespace

IniWriteError::IniWriteError(const std::string& path)
    : std::runtime_error(path + kCannotWrite), path_(path) {}

std::optional<std::string> IniFile::ReadRaw(const std::string& section,
                                            const std::string& key) {
  const auto file = platform_.ReadFileBytes(path_);
  const auto section_bytes = InFile(section);
  const auto key_bytes = InFile(key);
  if (!file || !section_bytes || !key_bytes) return std::nullopt;
  return ini::ReadValue(*file, *section_bytes, *key_bytes);
}

std::string IniFile::ReadString(const std::string& section,
                                const std::string& key,
                                const std::string& fallback) {
  const auto raw = ReadRaw(section, key);
  return raw ? Cp932ToUtf8(*raw) : fallback;
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t fallback) {
  const auto raw = ReadRaw(section, key);
  if (!raw) return fallback;
  return ini::ParseInteger(*raw).value_or(fallback);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key,
                       bool fallback) {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

IniFileSave::IniFileSave(Platform& platform, std::string path)
    : platform_(platform), path_(std::move(path)) {
  if (auto bytes = platform_.ReadFileBytes(path_)) {
    text_ = std::move(*bytes);
  } else {
    unreadable_ = platform_.FileExists(path_);
  }
}

bool IniFileSave::Contains(const std::string& section,
                           const std::string& key) const {
  const auto section_bytes = InFile(section);
  const auto key_bytes = InFile(key);
  return section_bytes && key_bytes &&
         ini::ReadValue(text_, *section_bytes, *key_bytes).has_value();
}

void IniFileSave::WriteString(const std::string& section,
                              const std::string& key,
                              const std::string& value) {
  const auto section_bytes = InFile(section);
  const auto key_bytes = InFile(key);
  const auto value_bytes = InFile(value);
  if (!section_bytes || !key_bytes || !value_bytes) {
    throw IniWriteError(path_);
  }
  text_ = ini::WriteValue(text_, *section_bytes, *key_bytes, *value_bytes);
}

void IniFileSave::WriteInteger(const std::string& section,
                               const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFileSave::WriteBool(const std::string& section, const std::string& key,
                            bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFileSave::Commit() {
  if (unreadable_ || !platform_.ReplaceFileBytes(path_, text_)) {
    throw IniWriteError(path_);
  }
}

}  // namespace hopla
