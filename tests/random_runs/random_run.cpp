#include "random_runs/random_run.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

#include "app/entry.h"
#include "app/hopla.h"
#include "platform/codepage.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_widgets.h"
#include "random_runs/dice.h"
#include "random_runs/invariants.h"
#include "settings/ini_file.h"
#include "settings/ini_rules.h"

namespace hopla::random_runs {
namespace {

constexpr char kProgramPath[] = "C:\\Program Files\\Hopla\\Hopla.exe";
constexpr char kJoyToKeyTitle[] = "JoyToKey 6.9";
// The runner looks at the world this often (virtual time).
constexpr int64_t kSliceMs = 20;
// After the last close the program must be gone within this.
constexpr int64_t kEndLimitMs = 30000;
constexpr int64_t kLongestRunMs = 40000;
constexpr int64_t kLongestFreeRunMs = 10000;
constexpr int64_t kCloseAgainMs = 3000;
constexpr uint64_t kBoxDiceSalt = 0x5EED0F0B0C5E5ULL;

using sim::SimWidget;

// The check boxes a person ticks or clears, and the setting each stores.
struct Toggle {
  const char* caption;
  const char* setting;
};
const std::vector<Toggle> kToggles = {
    {"マウス移動を8方向にする", "マウス/8方向"},
    {"左右上下端で折り返す", "マウス/画面端折り返し"},
    {"キー入力モードでJoyToKeyを使う", "UseJoyToKey/JoyToKeyの利用"},
    {"000で速度速める", "マウス/今だけ早い"},
    {"最小化で起動する", "起動/最小化"},
    {"音を出す", "サウンド/音を出す"},
    {"アイコン", "ブレーキ/アイコン"},
    {"スクロールバー", "ブレーキ/スクロールバー"},
    {"チェックBOX", "ブレーキ/チェックBOX"},
    {"トレイ/タブ", "ブレーキ/トレイ/タブ"},
    {"ボタン", "ブレーキ/ボタン"},
    {"メニューバー", "ブレーキ/メニューバー"},
    {"ラジオボタン", "ブレーキ/ラジオボタン"},
};
struct Strength {
  const char* caption;
  int32_t value;
};
const std::vector<Strength> kStrengths = {
    {"なし", 1}, {"弱", 50}, {"中", 100}, {"強", 150}};
// The sliders in the window's order, and the steppers beside them.
const std::vector<const char*> kSliders = {
    "マウス/マウス移動速度", "タイマー/長押し判定時間",
    "タイマー/実行までの時間", "タイマー/キー入力移行の時間"};
struct Stepper {
  const char* caption;
  int occurrence;
  int slider;
  int32_t delta;
};
const std::vector<Stepper> kSteppers = {{"遅い", 0, 0, -1}, {"早い", 0, 0, 1},
                                        {"短い", 0, 1, -1}, {"長い", 0, 1, 1},
                                        {"短い", 1, 2, -1}, {"長い", 1, 2, 1},
                                        {"短い", 2, 3, -1}, {"長い", 2, 3, 1}};
const std::vector<std::string> kJoyToKeyFolders = {
    "C:\\JoyToKey\\", "C:\\Program Files\\JoyToKey\\",
    "D:\\Tools\\Keys\\JoyToKey\\", "E:\\JoyToKey\\"};

// The ways the program is left, as the PC or the person takes them.
enum class Way {
  kPostClose,
  kSendClose,
  kQuitButton,
  kTaskbarClose,
  kShutDown
};
struct WayOut {
  Way way;
  const char* name;
};
const std::vector<WayOut> kWays = {
    {Way::kPostClose, "a close posted to the window"},
    {Way::kSendClose, "a close sent to the window"},
    {Way::kQuitButton, "a click on 終了"},
    {Way::kTaskbarClose, "a close from the taskbar"},
    {Way::kShutDown, "Windows shutting down"}};

// A moment the PC picks to close the program or shut down: the first look
// at or after `from_ms` at which `when` holds.
enum class Moment {
  kAnyTime,
  kSearching,
  kBoxOpen,
  kStarting,
  kHolding,
  kTryingSwitch
};
const std::vector<Moment> kMoments = {Moment::kAnyTime, Moment::kSearching,
                                      Moment::kBoxOpen, Moment::kStarting,
                                      Moment::kHolding, Moment::kTryingSwitch};

std::string Sjis(const std::string& utf8) { return *Utf8ToCp932(utf8); }

class RandomRun {
 public:
  RandomRun(uint64_t seed, const RunOptions& options)
      : seed_(seed),
        options_(options),
        dice_(seed),
        box_dice_(seed ^ kBoxDiceSalt) {}
  RunReport Run();

 private:
  void Note(const std::string& line);
  // The PC before the program starts.
  void MakeSettingsFile();
  std::string RandomSettings();
  void MakeDrives();
  void MakeJoyToKey();
  WindowHandle OpenJoyToKey();
  void MakeOtherWindows();
  void AnswerBoxes();
  // What will happen.
  void PlanPresses(int64_t until_ms);
  void PlanClicks(int64_t until_ms);
  void PlanClose(int64_t until_ms);
  void PlanTroubles(int64_t until_ms);
  // During the run.
  void Look();
  bool MomentCame(Moment moment) const;
  void Leave(const WayOut& way);
  void Click(int64_t at_ms);
  void ClickInDialog(int64_t at_ms);
  void PersonSet(const std::string& setting, const std::string& value);
  WindowHandle FormWindow() const;
  WindowHandle ApplicationWindow() const;
  SimWidget* Control(const std::string& caption, WidgetKind kind,
                     int occurrence = 0) const;
  void LastClose();
  RunRecord Record() const;

  uint64_t seed_;
  RunOptions options_;
  Dice dice_;
  Dice box_dice_;  // used as boxes open, on the program's thread
  sim::SimDesktop desk_;
  sim::SimProcess* process_ = nullptr;
  // Set by the program's entry; used on the program's thread only, while it
  // runs (actions of an ended program are dropped).
  THopla* hopla_ = nullptr;
  // What the program's thread writes too: the notes, the person's settings,
  // JoyToKey's start and quit.
  mutable std::mutex mutex_;
  std::string script_;
  std::map<SettingName, std::set<std::string>> person_set_;
  std::optional<std::string> file_before_;
  bool file_untouchable_ = false;
  SwitchChoice device_;
  std::set<std::string> joytokey_folders_;
  bool joytokey_starts_ = false;  // a start shows a window
  int64_t joytokey_start_delay_ms_ = 0;
  std::vector<int64_t> joytokey_appearing_;  // when a started one shows
  std::set<WindowHandle> joytokey_started_;
  bool joytokey_told_to_quit_ = false;
  bool hung_joytokey_ = false;
  WindowHandle joytokey_ = kNoWindow;  // the one running, if any
  std::string joytokey_folder_;        // where it is installed, if it is
  std::vector<WindowHandle> others_;
  bool threads_may_stay_ = false;
  bool hop_on_ = false;
  bool window_hung_ = false;  // the hop's look may wait on it for ever
  // The scripted events of the PC, by time.
  std::multimap<int64_t, std::pair<std::string, std::function<void()>>> events_;
  // The close or shut-down waiting for its moment.
  std::optional<Moment> moment_;
  int64_t moment_from_ms_ = 0;
  WayOut moment_way_ = kWays.front();
  // A shut-down asked: the system ends the program once it has answered.
  std::optional<int64_t> end_after_answer_ms_;
  bool leaving_ = false;  // the last close: every box is answered OK
};

void RandomRun::Note(const std::string& line) {
  std::lock_guard lock(mutex_);
  script_ += std::to_string(desk_.Now()) + " ms: " + line + "\n";
}

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

// --- What will happen ----------------------------------------------------

void RandomRun::PlanPresses(int64_t until_ms) {
  int64_t at = dice_.Between(0, 3000);
  while (at < until_ms) {
    const int64_t kind = dice_.Between(1, 100);
    const int64_t length = kind <= 5    ? dice_.Between(5, 40)
                           : kind <= 60 ? dice_.Between(40, 250)
                           : kind <= 90 ? dice_.Between(350, 1500)
                                        : dice_.Between(2000, 7000);
    desk_.HoldSwitch(at, at + length, device_);
    at += length + dice_.Between(60, 2500);
  }
  if (dice_.Percent(8) && device_.kind == SwitchKind::kJoystick) {
    const int64_t from = dice_.Between(0, until_ms);
    const int64_t gone = dice_.Between(200, 4000);
    desk_.FailSwitch(from, from + gone, device_.joystick);
    Note("the switch is unplugged from " + std::to_string(from) + " ms for " +
         std::to_string(gone) + " ms");
  }
}

void RandomRun::PlanClicks(int64_t until_ms) {
  for (int64_t i = dice_.Between(0, 8); i > 0; --i) {
    Click(dice_.Between(200, until_ms));
  }
  for (int64_t i = dice_.Percent(30) ? dice_.Between(1, 3) : 0; i > 0; --i) {
    ClickInDialog(dice_.Between(200, until_ms));
  }
}

// The extended settings dialog, opened from the system menu: another kind
// of switch (pressed within its 15 s, or not), the bubble or the hop.
void RandomRun::ClickInDialog(int64_t at_ms) {
  const int64_t which = dice_.Between(0, 1000);
  const bool confirm = dice_.Percent(50);
  const int64_t press_after = dice_.Between(500, 12000);
  events_.insert({at_ms, {"the person opens the extended settings", [this] {
                            process_->PostAt(desk_.Now(), FormWindow(),
                                             kWmSysCommand,
                                             kExtendedSettingsCommand, 0);
                          }}});
  process_->At(at_ms + 300, [this, which, confirm, press_after] {
    ExtendedDialog* dialog =
        hopla_ == nullptr ? nullptr : hopla_->ExtendedSettingsDialog();
    if (dialog == nullptr || desk_.OpenMessageBoxes() > 0) return;
    const auto peer = [this](hopla::Control& control) {
      return desk_.Widget(control.Handle());
    };
    const ExtendedSettings before = hopla_->Extended();
    switch (which % 3) {
      case 0: {
        RadioButton* kinds[] = {&dialog->JoystickRadio, &dialog->KeyRadio,
                                &dialog->MouseRadio};
        RadioButton* kind = kinds[(which / 3) % 3];
        if (kind->Checked() || !peer(*kind)->UserClick()) return;
        const SwitchChoice now = hopla_->Extended().switch_choice;
        Note("the person chooses switch kind " +
             std::to_string(static_cast<int>(now.kind)) +
             (confirm ? " and presses it" : " and does not press it"));
        if (!confirm) return;
        desk_.HoldSwitch(desk_.Now() + press_after,
                         desk_.Now() + press_after + 150, now);
        PersonSet("拡張設定/スイッチ",
                  std::to_string(static_cast<int>(now.kind)));
        PersonSet("拡張設定/キー", std::to_string(now.key));
        PersonSet("拡張設定/マウスボタン",
                  std::to_string(static_cast<int>(now.mouse_button)));
        return;
      }
      case 1:
        if (!peer(dialog->BubbleCheckBox)->UserClick()) return;
        PersonSet("拡張設定/吹き出し", before.bubble ? "0" : "1");
        return;
      default:
        if (!peer(dialog->HopCheckBox)->UserClick()) return;
        PersonSet("拡張設定/要素へ跳ぶ", before.hop ? "0" : "1");
        return;
    }
  });
}

void RandomRun::PlanClose(int64_t until_ms) {
  const int64_t plan = dice_.Between(1, 100);
  if (plan <= 20) return;  // only the last close, at the end
  moment_way_ = dice_.Pick(kWays);
  moment_ = plan <= 55 ? Moment::kAnyTime : dice_.Pick(kMoments);
  // A third of them during the start-up.
  moment_from_ms_ =
      dice_.Percent(35) ? dice_.Between(0, 2500) : dice_.Between(0, until_ms);
  Note(std::string(moment_way_.name) + " planned from " +
       std::to_string(moment_from_ms_) + " ms");
}

void RandomRun::PlanTroubles(int64_t until_ms) {
  for (int64_t i = dice_.Between(0, 4); i > 0; --i) {
    const int64_t at = dice_.Between(0, until_ms);
    switch (dice_.Between(1, 6)) {
      case 1:
        events_.insert({at, {"JoyToKey hangs, or answers again", [this] {
                               if (joytokey_ == kNoWindow) return;
                               hung_joytokey_ = !hung_joytokey_;
                               desk_.SetHung(joytokey_, hung_joytokey_);
                             }}});
        break;
      case 2:
        events_.insert({at, {"JoyToKey vanishes", [this] {
                               desk_.RemoveWindow(joytokey_);
                               joytokey_ = kNoWindow;
                             }}});
        break;
      case 3:
        events_.insert({at, {"JoyToKey takes 600 ms over each message", [this] {
                               desk_.SetBusy(joytokey_, 600);
                             }}});
        break;
      case 4:
        if (others_.empty()) break;
        events_.insert({at, {"a window of another program hangs", [this] {
                               desk_.SetHung(others_.front(), true);
                               window_hung_ = true;
                             }}});
        break;
      case 5:
        if (file_untouchable_) break;
        events_.insert({at, {"the settings file refuses writes", [this] {
                               desk_.RefuseWrites(kSettingsFile, true);
                             }}});
        events_.insert({at + dice_.Between(100, 8000),
                        {"the settings file takes writes again", [this] {
                           desk_.RefuseWrites(kSettingsFile, false);
                         }}});
        break;
      default:
        if (joytokey_folders_.empty()) break;
        events_.insert({at, {"JoyToKey is started by hand", [this] {
                               if (joytokey_ != kNoWindow) return;
                               joytokey_ = OpenJoyToKey();
                             }}});
        break;
    }
  }
}

// --- During the run -------------------------------------------------------

WindowHandle RandomRun::FormWindow() const {
  for (const WindowInfo& info : desk_.Windows()) {
    if (info.title.rfind(kWindowCaption, 0) == 0 &&
        info.title.rfind(kApplicationTitle, 0) != 0) {
      return info.handle;
    }
  }
  return kNoWindow;
}

WindowHandle RandomRun::ApplicationWindow() const {
  for (const WindowInfo& info : desk_.Windows()) {
    if (info.title.rfind(kApplicationTitle, 0) == 0) return info.handle;
  }
  return kNoWindow;
}

SimWidget* RandomRun::Control(const std::string& caption, WidgetKind kind,
                              int occurrence) const {
  for (SimWidget* widget : desk_.Widgets()) {
    if (widget->Text() == caption && widget->Kind() == kind &&
        occurrence-- == 0) {
      return widget;
    }
  }
  return nullptr;
}

void RandomRun::PersonSet(const std::string& setting,
                          const std::string& value) {
  std::lock_guard lock(mutex_);
  person_set_[setting].insert(value);
  script_ += std::to_string(desk_.Now()) + " ms: the person sets " + setting +
             " to " + value + "\n";
}

// A click on a control of the window, as the person makes it: only on a
// window that shows, only on a control that can be used, and never while a
// box is open (the program's windows take no click then).
void RandomRun::Click(int64_t at_ms) {
  const int64_t kind = dice_.Between(1, 100);
  const int64_t which = dice_.Between(0, 1000);
  const int32_t position = static_cast<int32_t>(dice_.Between(1, 8));
  process_->At(at_ms, [this, kind, which, position] {
    if (!desk_.IsVisible(FormWindow()) || desk_.OpenMessageBoxes() > 0) return;
    if (kind <= 50) {
      const Toggle& toggle =
          kToggles[static_cast<size_t>(which) % kToggles.size()];
      SimWidget* box = Control(toggle.caption, WidgetKind::kCheckBox);
      if (box == nullptr || !box->Visible() || !box->Enabled()) return;
      const bool ticked = !box->Checked();
      PersonSet(toggle.setting, ticked ? "1" : "0");
      box->UserCheck(ticked);
    } else if (kind <= 65) {
      const Strength& strength =
          kStrengths[static_cast<size_t>(which) % kStrengths.size()];
      SimWidget* radio = Control(strength.caption, WidgetKind::kRadioButton);
      if (radio == nullptr || radio->Checked()) return;
      PersonSet("ブレーキ/強さ", std::to_string(strength.value));
      radio->UserCheck(true);
    } else if (kind <= 80) {
      const size_t slider = static_cast<size_t>(which) % kSliders.size();
      SimWidget* bar =
          Control("", WidgetKind::kTrackBar, static_cast<int>(slider));
      if (bar == nullptr || !bar->UserPosition(position)) return;
      PersonSet(kSliders[slider], std::to_string(position));
    } else if (kind <= 95) {
      const Stepper& step =
          kSteppers[static_cast<size_t>(which) % kSteppers.size()];
      SimWidget* button =
          Control(step.caption, WidgetKind::kCustom, step.occurrence);
      SimWidget* bar = Control("", WidgetKind::kTrackBar, step.slider);
      if (button == nullptr || bar == nullptr) return;
      const int32_t to = std::clamp(bar->Position() + step.delta, 1, 8);
      PersonSet(kSliders[static_cast<size_t>(step.slider)], std::to_string(to));
      button->UserMouseDown(MouseButtonKind::kLeft);
      button->UserMouseUp(MouseButtonKind::kLeft);
    } else if (SimWidget* button = Control("最小化", WidgetKind::kPushButton)) {
      button->UserClick();
    }
  });
}

bool RandomRun::MomentCame(Moment moment) const {
  switch (moment) {
    case Moment::kAnyTime:
      return true;
    case Moment::kSearching:
      return desk_.FindWindowByTitle(std::string(kWindowCaption) +
                                     kSearchingNote) != kNoWindow;
    case Moment::kBoxOpen:
      return desk_.OpenMessageBoxes() > 0;
    case Moment::kStarting: {
      std::lock_guard lock(mutex_);
      return !joytokey_appearing_.empty();
    }
    case Moment::kHolding: {
      const auto held = desk_.HeldInput();
      return std::find(held.begin(), held.end(), "left") != held.end();
    }
    case Moment::kTryingSwitch: {
      // Read while every thread of the program waits; running freely they
      // do not, and it is any time.
      if (options_.free_running) return true;
      const ExtendedDialog* dialog = hopla_ == nullptr || !process_->Running()
                                         ? nullptr
                                         : hopla_->ExtendedSettingsDialog();
      return dialog != nullptr && dialog->Confirming();
    }
  }
  return false;
}

void RandomRun::Leave(const WayOut& way) {
  Note(way.name);
  const int64_t now = desk_.Now();
  switch (way.way) {
    case Way::kPostClose:
      process_->PostAt(now, FormWindow(), kWmClose, 0, 0);
      break;
    case Way::kSendClose:
      process_->SendAt(now, FormWindow(), kWmClose, 0, 0);
      break;
    case Way::kQuitButton:
      process_->At(now, [this] {
        SimWidget* quit = Control("終了", WidgetKind::kPushButton);
        if (quit != nullptr && desk_.OpenMessageBoxes() == 0) {
          quit->UserClick();
        }
      });
      break;
    case Way::kTaskbarClose:
      process_->PostAt(now, ApplicationWindow(), kWmSysCommand, kScClose, 0);
      break;
    case Way::kShutDown:
      process_->SendAt(now, FormWindow(), kWmQueryEndSession, 0, 0);
      // Most shut-downs go on; another program may call one off.
      end_after_answer_ms_ =
          dice_.Percent(80) ? dice_.Between(0, 300) : int64_t{-1};
      break;
  }
}

// One look at the world between two slices: the PC's events that are due,
// JoyToKey's window once started, the planned close at its moment, and the
// end the system makes after a shut-down.
void RandomRun::Look() {
  const int64_t now = desk_.Now();
  while (!events_.empty() && events_.begin()->first <= now) {
    auto event = events_.extract(events_.begin());
    Note(event.mapped().first);
    event.mapped().second();
  }
  {
    std::lock_guard lock(mutex_);
    for (const int64_t due : joytokey_appearing_) {
      if (due > now || joytokey_ != kNoWindow) continue;
      joytokey_ = OpenJoyToKey();
      joytokey_started_.insert(joytokey_);
      script_ += std::to_string(now) + " ms: JoyToKey's window comes\n";
    }
    std::erase_if(joytokey_appearing_,
                  [now](int64_t due) { return due <= now; });
    if (joytokey_told_to_quit_) {
      joytokey_told_to_quit_ = false;
      desk_.RemoveWindow(joytokey_);
      joytokey_ = kNoWindow;
      script_ += std::to_string(now) + " ms: JoyToKey quits\n";
    }
  }
  if (moment_ && now >= moment_from_ms_ && MomentCame(*moment_)) {
    moment_.reset();
    Leave(moment_way_);
  }
  if (end_after_answer_ms_ && process_->LastEndSessionAnswer()) {
    if (*end_after_answer_ms_ < 0) {
      Note("the shut-down is called off");
    } else {
      events_.insert(
          {now + *end_after_answer_ms_,
           {"the system ends the program", [this] { process_->Terminate(); }}});
    }
    end_after_answer_ms_.reset();
  }
}

void RandomRun::LastClose() {
  {
    std::lock_guard lock(mutex_);
    leaving_ = true;
  }
  Note("the last close, from the taskbar");
  process_->PostAt(desk_.Now(), ApplicationWindow(), kWmSysCommand, kScClose,
                   0);
}

RunRecord RandomRun::Record() const {
  RunRecord record;
  record.file_before = file_before_;
  record.file_after = desk_.File(kSettingsFile);
  record.file_untouchable = file_untouchable_;
  record.person_set = person_set_;
  record.joytokey_folders = joytokey_folders_;
  record.terminated = !desk_.TraceOf("terminate").empty();
  record.exited = !process_->Running() && !record.terminated;
  record.threads_left = process_->ThreadsLeftAtExit();
  record.windows_left = process_->WindowsLeftAtExit();
  const auto hop = person_set_.find("拡張設定/要素へ跳ぶ");
  const bool hop_ever_on =
      hop_on_ || (hop != person_set_.end() && hop->second.count("1") != 0);
  record.threads_may_stay = threads_may_stay_ || (window_hung_ && hop_ever_on);
  record.silence = process_->LongestSilence();
  record.held_input = desk_.HeldInput();
  if (record.exited) {
    for (WindowHandle window : joytokey_started_) {
      if (window == joytokey_ && !hung_joytokey_ &&
          desk_.WindowRectOf(window)) {
        ++record.joytokey_left;
      }
    }
  }
  record.trace = desk_.TraceSnapshot();
  return record;
}

RunReport RandomRun::Run() {
  if (options_.free_running) desk_.RunFreely();
  MakeJoyToKey();
  MakeSettingsFile();
  MakeDrives();
  MakeOtherWindows();
  AnswerBoxes();
  process_ = &desk_.Launch(kProgramPath, [this](Platform& platform) {
    EntryHooks hooks;
    hooks.on_main_window = [this](THopla& window) { hopla_ = &window; };
    return RunHopla(platform, hooks);
  });
  const int64_t until = dice_.Between(
      2000, options_.free_running ? kLongestFreeRunMs : kLongestRunMs);
  PlanPresses(until);
  PlanClicks(until);
  PlanClose(until);
  PlanTroubles(until);
  while (process_->Running() && desk_.Now() < until) {
    desk_.RunFor(kSliceMs);
    Look();
  }
  // The person closes it, again if a close met the quit question open.
  const int64_t end = desk_.Now() + kEndLimitMs;
  int64_t next_close = desk_.Now();
  while (process_->Running() && desk_.Now() < end) {
    if (desk_.Now() >= next_close && desk_.OpenMessageBoxes() == 0) {
      LastClose();
      next_close = desk_.Now() + kCloseAgainMs;
    }
    desk_.RunFor(kSliceMs);
    Look();
  }
  RunReport report;
  report.seed = seed_;
  report.virtual_ms = desk_.Now();
  RunRecord record = Record();
  if (options_.free_running) {
    record.silence = {};
    record.threads_may_stay = true;
  }
  report.failures = CheckRun(record);
  report.script = script_;
  if (options_.with_trace) report.trace = desk_.DumpTrace();
  return report;
}

}  // namespace

RunReport RunSeed(uint64_t seed, const RunOptions& options) {
  return RandomRun(seed, options).Run();
}

std::string ReplayCommand(uint64_t seed) {
  return "bench/random_runs.sh --seed " + std::to_string(seed);
}

}  // namespace hopla::random_runs
