// The settings file, read one key at a time with nothing cached, and written
// as one save: the keys go into the text read once, and the file is replaced
// once, never half done. Names and values are UTF-8 here and code page 932 in
// the file.
#ifndef HOPLA_SETTINGS_INI_FILE_H_
#define HOPLA_SETTINGS_INI_FILE_H_

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/platform.h"

namespace hopla {

inline constexpr char kSettingsFile[] = ".\\Hoplar.ini";

// What a refused write says after the file's path.
inline constexpr char kCannotWrite[] = " に書き込めません";

// The system refused a write; the text names the file.
class IniWriteError : public std::runtime_error {
 public:
  explicit IniWriteError(const std::string& path);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
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

 private:
  std::optional<std::string> ReadRaw(const std::string& section,
                                     const std::string& key);

  Platform& platform_;
  std::string path_;
};

// One save of one key or many: the file is read when the save begins, every
// key is written into that text in order, and Commit replaces the file once.
class IniFileSave {
 public:
  IniFileSave(Platform& platform, std::string path);

  // Each throws IniWriteError for a text the file cannot hold; the keys
  // written before it stay in the save.
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key,
                    int32_t value);
  void WriteBool(const std::string& section, const std::string& key,
                 bool value);
  // Whether the text being saved holds the key already.
  bool Contains(const std::string& section, const std::string& key) const;
  // Throws IniWriteError when the system refuses, or when the file exists
  // but could not be read (it is never replaced by a file of our keys only).
  void Commit();

 private:
  Platform& platform_;
  std::string path_;
  std::string text_;
  bool unreadable_ = false;
};

}  // namespace hopla

#endif  // HOPLA_SETTINGS_INI_FILE_H_
