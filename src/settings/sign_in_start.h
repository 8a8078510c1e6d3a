// Starting with Windows: a sign-in entry of the current user, named
// "Hopla", whose command starts this copy of the program in the folder it
// reads its settings from ("C:\Hopla\Hopla.exe" /folder "C:\Hopla"). The
// system is where it is kept, not the settings file: it belongs to the
// user's sign-in, and a carer may remove it with the system's own tools.
#ifndef HOPLA_SETTINGS_SIGN_IN_START_H_
#define HOPLA_SETTINGS_SIGN_IN_START_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace hopla {

inline constexpr char kSignInEntryName[] = "Hopla";
// The argument that names the folder to start in.
inline constexpr char kFolderArgument[] = "/folder";

// The command that starts `program` in `folder`, quoted as the system
// splits command lines (a folder ending in a backslash keeps it).
std::string SignInCommand(const std::string& program,
                          const std::string& folder);
// The program a command starts: its first argument, quoted or not.
std::optional<std::string> ProgramOfCommand(const std::string& command);
// The folder the arguments ask to start in, if they do.
std::optional<std::string> FolderOfArguments(
    const std::vector<std::string>& arguments);
// The folder a file lies in ("C:\Hopla" of "C:\Hopla\Hopla.exe").
std::string FolderOfFile(const std::string& path);

class SignInStart {
 public:
  enum class Entry {
    kNone,       // no entry, or one that names no program file
    kThisCopy,   // it starts this program
    kOtherCopy,  // it starts another copy, which exists
  };

  explicit SignInStart(Platform& platform) : platform_(platform) {}

  Entry Read() const;
  // The program another copy's entry starts.
  std::optional<std::string> Program() const;
  // Starts this copy, in the working folder of now, at each sign-in.
  bool Add();
  // Removes the entry when it starts this copy; another's stays.
  bool Remove();
  // At start: an entry of a program file that no longer exists (the folder
  // was moved or renamed) is pointed at this copy and this folder.
  void Repair();

 private:
  Platform& platform_;
};

}  // namespace hopla

#endif  // HOPLA_SETTINGS_SIGN_IN_START_H_
