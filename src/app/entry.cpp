#include "app/entry.h"

#include <exception>
#include <memory>
#include <string>

#include "app/hopla.h"
#include "settings/extended_settings.h"
#include "settings/ini_file.h"
#include "settings/setting_rows.h"
#include "settings/settings_window.h"
#include "settings/sign_in_start.h"
#include "toolkit/application.h"

namespace hopla {

namespace {

constexpr char kSecondCopyMessage[] =
    "二重起動は出来ません。"
    "[ホプラー。」"
    " はすでに実行されています！";

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What the application calls itself before its title is set: the file name
// without its extension.
std::string DefaultTitle(const std::string& file_name) {
  const size_t dot = file_name.find_last_of('.');
  return dot == std::string::npos ? file_name : file_name.substr(0, dot);
}

Language StoredLanguage(Platform& platform) {
  IniFile ini(platform, kSettingsFile);
  for (const SettingRow& row : SettingRows()) {
    if (row.kind == SettingKind::kExtended &&
        row.key == std::string(kLanguageKey)) {
      return static_cast<Language>(ReadExtendedValue(ini, row));
    }
  }
  return Language::kJapanese;
}

}  // namespace

int RunHopla(Platform& platform, const EntryHooks& hooks) {
  const std::string file_name = FileNameOf(platform.ExecutablePath());
  if (!platform.CreateSingleInstanceMutex(file_name)) {
    MessageBoxArgs refusal;
    refusal.text = Face(StoredLanguage(platform), kSecondCopyMessage);
    refusal.caption = DefaultTitle(file_name);
    platform.ShowMessageBox(refusal);
    return 0;
  }
  // Started at sign-in: in the folder its settings are read from, or, when
  // that folder is gone, in its own.
  if (const auto folder = FolderOfArguments(platform.Arguments())) {
    if (!platform.SetCurrentFolder(*folder)) {
      platform.SetCurrentFolder(FolderOfFile(platform.ExecutablePath()));
    }
  }
  SignInStart(platform).Repair();
  // Shared with the mover threads, so it outlives the last of them.
  auto state = std::make_shared<EngineState>();
  // The language is the one setting read before any window is made: every
  // text is made in it.
  const Language language = StoredLanguage(platform);
  state->TextLanguage = language;
  Application app(platform);
  app.SetTranslator(
      [language](const std::string& text) { return Face(language, text); });
  app.SetTitle(kApplicationTitle);
  app.SetHelpFile("");
  try {
    auto main_window = std::make_unique<THopla>(app, state);
    app.SetMainForm(*main_window);
    if (hooks.on_main_window) hooks.on_main_window(*main_window);
    app.Run();
    main_window->Release();
    main_window.reset();
  } catch (const std::exception& error) {
    app.ShowException(error);
  }
  return 0;
}

}  // namespace hopla
