#include "settings/sign_in_start.h"

#include <algorithm>
#include <cctype>

namespace hopla {
namespace {

// A path quoted for the system's splitting: backslashes before the closing
// quote are doubled, or they would escape it.
std::string Quoted(const std::string& path) {
  const size_t last = path.find_last_not_of('\\');
  const size_t trailing =
      last == std::string::npos ? path.size() : path.size() - last - 1;
  return "\"" + path + std::string(trailing, '\\') + "\"";
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return static_cast<char>(std::tolower(c));
  });
  return text;
}

// Paths name one file whatever the letter case or the kind of slash.
bool SamePath(const std::string& a, const std::string& b) {
  std::string x = Lower(a);
  std::string y = Lower(b);
  std::replace(x.begin(), x.end(), '/', '\\');
  std::replace(y.begin(), y.end(), '/', '\\');
  return x == y;
}

}  // namespace

std::string SignInCommand(const std::string& program,
                          const std::string& folder) {
  return Quoted(program) + " " + kFolderArgument + " " + Quoted(folder);
}

std::optional<std::string> ProgramOfCommand(const std::string& command) {
  const size_t start = command.find_first_not_of(" \t");
  if (start == std::string::npos) return std::nullopt;
  if (command[start] == '"') {
    const size_t end = command.find('"', start + 1);
    if (end == std::string::npos || end == start + 1) return std::nullopt;
    return command.substr(start + 1, end - start - 1);
  }
  const size_t end = command.find_first_of(" \t", start);
  return command.substr(start, end == std::string::npos ? end : end - start);
}

std::optional<std::string> FolderOfArguments(
    const std::vector<std::string>& arguments) {
  for (size_t i = 0; i + 1 < arguments.size(); ++i) {
    if (Lower(arguments[i]) == kFolderArgument && !arguments[i + 1].empty()) {
      return arguments[i + 1];
    }
  }
  return std::nullopt;
}

std::string FolderOfFile(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  // A file at a drive's root: the folder is the root, "C:\".
  if (slash == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, slash);
}

SignInStart::Entry SignInStart::Read() const {
  const std::optional<std::string> program = Program();
  if (!program || !platform_.FileExists(*program)) return Entry::kNone;
  return SamePath(*program, platform_.ExecutablePath()) ? Entry::kThisCopy
                                                        : Entry::kOtherCopy;
}

std::optional<std::string> SignInStart::Program() const {
  const std::optional<std::string> command =
      platform_.ReadSignInEntry(kSignInEntryName);
  return command ? ProgramOfCommand(*command) : std::nullopt;
}

bool SignInStart::Add() {
  return platform_.WriteSignInEntry(
      kSignInEntryName,
      SignInCommand(platform_.ExecutablePath(), platform_.CurrentFolder()));
}

bool SignInStart::Remove() {
  if (Read() != Entry::kThisCopy) return true;
  return platform_.RemoveSignInEntry(kSignInEntryName);
}

void SignInStart::Repair() {
  const std::optional<std::string> program = Program();
  if (program && !platform_.FileExists(*program)) Add();
}

}  // namespace hopla
