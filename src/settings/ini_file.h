// The settings file, read and written one key at a time with nothing cached:
// every read reads the file, every write replaces it whole (never half
// written). Names and values are UTF-8 here and code page 932 in the file.
#ifndef HOPLA_SETTINGS_INI_FILE_H_
#define HOPLA_SETTINGS_INI_FILE_H_

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/platform.h"

namespace hopla {

inline constexpr char kSettingsFile[] = ".\\Hoplar.ini";

// The system refused a write; the text names the file.
class IniWriteError : public std::runtime_error {
 public:
  explicit IniWriteError(const std::string& path);
};

class IniFile {
 public:
  IniFile(Platform& platform, std::string path)
      : platform_(platform), path_(std::move(path)) {}

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback);
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t fallback);
  bool ReadBool(const std::string& section, const std::string& key,
                bool fallback);

  // Each throws IniWriteError when the system refuses the write.
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key,
                    int32_t value);
  void WriteBool(const std::string& section, const std::string& key,
                 bool value);

 private:
  std::optional<std::string> ReadRaw(const std::string& section,
                                     const std::string& key);

  Platform& platform_;
  std::string path_;
};

}  // namespace hopla

#endif  // HOPLA_SETTINGS_INI_FILE_H_
