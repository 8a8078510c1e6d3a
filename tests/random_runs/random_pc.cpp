// The PC before the program starts: its settings file, drives, JoyToKey,
// the other programs' windows, and how its boxes will be answered.
#include "random_runs/random_run_parts.h"

namespace hopla::random_runs::detail {

// --- The PC before the start ------------------------------------------------

void RandomRun::MakeSettingsFile() {
  const int64_t kind = dice_.Between(1, 100);
  std::optional<std::string> file;
  if (kind <= 15) {
    Note("no settings file");
  } else if (kind <= 25) {
    std::string garbage;
    const std::string alphabet = "[]=\r\n01x$ab\x82\xa0\x83\x8c";
    for (int64_t i = dice_.Between(0, 600); i > 0; --i) {
      garbage += alphabet[static_cast<size_t>(
          dice_.Between(0, static_cast<int64_t>(alphabet.size()) - 1))];
    }
    file = garbage;
    Note("a settings file of garbage, " + std::to_string(garbage.size()) +
         " bytes");
  } else {
    file = RandomSettings();
    Note("settings:\n" + Cp932ToUtf8(*file));
  }
  if (file) desk_.PutFile(kSettingsFile, *file);
  file_before_ = file;
  const int64_t trouble = dice_.Between(1, 100);
  if (file && trouble <= 8) {
    desk_.MakeUnreadable(kSettingsFile, true);
    file_untouchable_ = true;
    Note("the settings file cannot be read");
  } else if (trouble <= 18) {
    desk_.RefuseWrites(kSettingsFile, true);
    file_untouchable_ = true;
    Note("the settings file refuses writes (read-only)");
  }
  // The switch the person presses: the one the program will read.
  const std::optional<std::string> loaded =
      trouble <= 8 && file ? std::nullopt : file;
  device_.kind = static_cast<SwitchKind>(
      std::stoi(StoredMeaning(loaded, "拡張設定/スイッチ")));
  device_.joystick =
      std::stoi(StoredMeaning(loaded, "拡張設定/ジョイスティック"));
  device_.button = std::stoi(StoredMeaning(loaded, "拡張設定/ボタン"));
  device_.key =
      static_cast<uint32_t>(std::stoi(StoredMeaning(loaded, "拡張設定/キー")));
  device_.mouse_button = static_cast<SwitchMouseButton>(
      std::stoi(StoredMeaning(loaded, "拡張設定/マウスボタン")));
  hop_on_ = StoredMeaning(loaded, "拡張設定/要素へ跳ぶ") == "1";
}

std::string RandomRun::RandomSettings() {
  std::string file;
  const auto put = [&](const std::string& section, const std::string& key,
                       const std::string& value) {
    if (dice_.Percent(80))
      file = ini::WriteValue(file, Sjis(section), Sjis(key), Sjis(value));
  };
  const std::vector<std::string> odd = {"0", "12", "abc", "0x6", "-3"};
  for (const char* slider : kSliders) {
    const std::string name(slider);
    const size_t slash = name.find('/');
    put(name.substr(0, slash), name.substr(slash + 1),
        dice_.Percent(8) ? dice_.Pick(odd)
                         : std::to_string(dice_.Between(1, 8)));
  }
  for (const Toggle& toggle : kToggles) {
    const std::string name(toggle.setting);
    const size_t slash = name.find('/');
    if (name == "UseJoyToKey/JoyToKeyの利用") continue;  // MakeJoyToKey's
    put(name.substr(0, slash), name.substr(slash + 1),
        dice_.Percent(5) ? "2" : std::to_string(dice_.Between(0, 1)));
  }
  put("ブレーキ", "強さ",
      dice_.Pick(std::vector<std::string>{"1", "50", "100", "150", "75"}));
  put("ブレーキ", "テキストBOX", std::to_string(dice_.Between(0, 1)));
  if (dice_.Percent(45)) {
    const int64_t kind = dice_.Between(0, 2);
    put("拡張設定", "スイッチ", std::to_string(kind));
    put("拡張設定", "キー",
        dice_.Pick(std::vector<std::string>{"32", "13", "118"}));
    put("拡張設定", "マウスボタン", std::to_string(dice_.Between(2, 5)));
    put("拡張設定", "吹き出し", std::to_string(dice_.Between(0, 1)));
    put("拡張設定", "要素へ跳ぶ", std::to_string(dice_.Between(0, 1)));
  }
  if (dice_.Percent(50)) {
    file = ini::WriteValue(file, "UseJoyToKey", Sjis("JoyToKeyの利用"),
                           dice_.Percent(70) ? "1" : "0");
  }
  const int64_t where = dice_.Between(1, 10);
  if (where <= 5 && !joytokey_folder_.empty()) {
    file = ini::WriteValue(file, "UseJoyToKey", Sjis("所在フォルダー"),
                           Sjis(joytokey_folder_));
  } else if (where <= 6) {
    file = ini::WriteValue(file, "UseJoyToKey", Sjis("所在フォルダー"),
                           Sjis("C:\\Old\\"));
  }
  put("他のソフト", "値", "そのまま");
  return file;
}

void RandomRun::MakeDrives() {
  const std::vector<std::string> roots = {"C:\\", "D:\\", "E:\\"};
  std::vector<std::string> folders = roots;
  for (int64_t i = dice_.Between(0, 30); i > 0; --i) {
    const std::string folder =
        dice_.Pick(folders) + "F" + std::to_string(dice_.Between(1, 99)) + "\\";
    desk_.AddTreeFolder(folder);
    folders.push_back(folder);
  }
  if (dice_.Percent(10)) {
    const std::string folder = dice_.Pick(folders);
    desk_.MakeUnlistable(folder);
    Note(folder + " cannot be listed");
  }
  desk_.SetListingCost(dice_.Between(0, 25));
  if (dice_.Percent(8)) {
    desk_.AddTreeFolder("D:\\Share\\Files");
    desk_.SetFolderListingCost("D:\\Share\\", 600000);
    threads_may_stay_ = true;
    Note("D:\\Share\\ is a dead network share: a listing takes 10 minutes");
  }
  if (dice_.Percent(10)) desk_.AddTreeFile("C:\\Old\\joytokey.exe");
}

// JoyToKey: installed or not, running or not; a start shows its window
// after a while, or never.
void RandomRun::MakeJoyToKey() {
  if (dice_.Percent(60)) {
    joytokey_folder_ = dice_.Pick(kJoyToKeyFolders);
    desk_.AddTreeFile(joytokey_folder_ + "JoyToKey.exe");
    joytokey_folders_.insert(joytokey_folder_);
    Note("JoyToKey is installed in " + joytokey_folder_);
    if (dice_.Percent(30)) {
      joytokey_ = OpenJoyToKey();
      Note("JoyToKey runs");
    }
  }
  joytokey_starts_ = dice_.Percent(80);
  joytokey_start_delay_ms_ = dice_.Between(0, 3000);
  desk_.OnShellStart([this](const std::string&, const std::string& from) {
    std::lock_guard lock(mutex_);
    if (joytokey_folder_.empty() || from != joytokey_folder_ ||
        !joytokey_starts_ || joytokey_ != kNoWindow) {
      return;
    }
    joytokey_appearing_.push_back(desk_.Now() + joytokey_start_delay_ms_);
  });
}

// Its window quits when told to (unless it hangs).
WindowHandle RandomRun::OpenJoyToKey() {
  return desk_.AddWindow(
      {kJoyToKeyTitle,
       {},
       [this](uint32_t message, uintptr_t, intptr_t) -> intptr_t {
         if (message == kWmQuit) {
           std::lock_guard lock(mutex_);
           joytokey_told_to_quit_ = true;
         }
         return 0;
       }});
}

void RandomRun::MakeOtherWindows() {
  const Rect screen = desk_.Screen();
  for (int64_t i = dice_.Between(0, 3); i > 0; --i) {
    const int32_t left = static_cast<int32_t>(dice_.Between(0, 700));
    const int32_t top = static_cast<int32_t>(dice_.Between(0, 500));
    const Rect rect{left, top,
                    left + static_cast<int32_t>(dice_.Between(100, 500)),
                    top + static_cast<int32_t>(dice_.Between(80, 400))};
    const WindowHandle window = desk_.AddWindow({"Other", rect, nullptr});
    others_.push_back(window);
    for (int64_t j = dice_.Between(0, 6); j > 0; --j) {
      const int32_t x = static_cast<int32_t>(
          dice_.Between(rect.left, std::max(rect.left, rect.right - 40)));
      const int32_t y = static_cast<int32_t>(
          dice_.Between(rect.top, std::max(rect.top, rect.bottom - 20)));
      const int64_t role = dice_.Pick(
          std::vector<int64_t>{0x2B, 0x2C, 0x2D, 0x1E, 0x22, 0x0C, 0x25});
      desk_.AddRoleRegion({x, y, x + static_cast<int32_t>(dice_.Between(8, 80)),
                           y + static_cast<int32_t>(dice_.Between(8, 30))},
                          {RoleReading::Kind::kNumber, role});
    }
  }
  desk_.SetProbeCost(dice_.Between(1, 20));
  // A third of the walks start over the program's own window (centred).
  const Rect area = dice_.Percent(33)
                        ? Rect{screen.right / 2 - 300, screen.bottom / 2 - 210,
                               screen.right / 2 + 300, screen.bottom / 2 + 210}
                        : screen;
  desk_.PlaceCursor(
      {static_cast<int32_t>(dice_.Between(area.left, area.right - 1)),
       static_cast<int32_t>(dice_.Between(area.top, area.bottom - 1))});
}

// Each box is answered after a while; the quit question with OK or Cancel.
// Now and then the PC closes the program or shuts down while a box is open.
void RandomRun::AnswerBoxes() {
  desk_.AnswerMessageBoxes([this](const MessageBoxArgs& box) {
    std::lock_guard lock(mutex_);
    const bool question = box.buttons == MessageBoxButtons::kOkCancel;
    if (leaving_) {
      return sim::MessageBoxAnswer{DialogResult::kOk,
                                   box_dice_.Between(0, 500)};
    }
    const DialogResult result = question && box_dice_.Percent(40)
                                    ? DialogResult::kCancel
                                    : DialogResult::kOk;
    return sim::MessageBoxAnswer{result, box_dice_.Between(0, 4000)};
  });
}

}  // namespace hopla::random_runs::detail
