// The random run's parts, shared by its two files: what a seed can make
// of the PC and the person (the tables), and the run itself. The PC before
// the start is made in random_pc.cpp; the plans and the run in
// random_run.cpp.
#ifndef HOPLA_TESTS_RANDOM_RUNS_RANDOM_RUN_PARTS_H_
#define HOPLA_TESTS_RANDOM_RUNS_RANDOM_RUN_PARTS_H_

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
#include "random_runs/random_run.h"
#include "settings/ini_file.h"
#include "settings/ini_rules.h"

namespace hopla::random_runs::detail {

inline constexpr char kProgramPath[] = "C:\\Program Files\\Hopla\\Hopla.exe";
inline constexpr char kJoyToKeyTitle[] = "JoyToKey 6.9";
// The runner looks at the world this often (virtual time).
inline constexpr int64_t kSliceMs = 20;
// After the last close the program must be gone within this.
inline constexpr int64_t kEndLimitMs = 30000;
inline constexpr int64_t kLongestRunMs = 40000;
inline constexpr int64_t kLongestFreeRunMs = 10000;
inline constexpr int64_t kCloseAgainMs = 3000;
inline constexpr uint64_t kBoxDiceSalt = 0x5EED0F0B0C5E5ULL;
inline constexpr uint64_t kPauseDiceSalt = 0x9A05E0F1C4E5ULL;

using sim::SimWidget;

// The check boxes a person ticks or clears, and the setting each stores.
struct Toggle {
  const char* caption;
  const char* setting;
};
inline const std::vector<Toggle> kToggles = {
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
inline const std::vector<Strength> kStrengths = {
    {"なし", 1}, {"弱", 50}, {"中", 100}, {"強", 150}};
// The sliders in the window's order, and the steppers beside them.
inline const std::vector<const char*> kSliders = {
    "マウス/マウス移動速度", "タイマー/長押し判定時間",
    "タイマー/実行までの時間", "タイマー/キー入力移行の時間"};
struct Stepper {
  const char* caption;
  int occurrence;
  int slider;
  int32_t delta;
};
inline const std::vector<Stepper> kSteppers = {
    {"遅い", 0, 0, -1}, {"早い", 0, 0, 1},  {"短い", 0, 1, -1},
    {"長い", 0, 1, 1},  {"短い", 1, 2, -1}, {"長い", 1, 2, 1},
    {"短い", 2, 3, -1}, {"長い", 2, 3, 1}};
inline const std::vector<std::string> kJoyToKeyFolders = {
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
inline const std::vector<WayOut> kWays = {
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
inline const std::vector<Moment> kMoments = {
    Moment::kAnyTime,  Moment::kSearching, Moment::kBoxOpen,
    Moment::kStarting, Moment::kHolding,   Moment::kTryingSwitch};

inline std::string Sjis(const std::string& utf8) { return *Utf8ToCp932(utf8); }

class RandomRun {
 public:
  RandomRun(uint64_t seed, const RunOptions& options)
      : seed_(seed),
        options_(options),
        dice_(seed),
        box_dice_(seed ^ kBoxDiceSalt),
        pause_dice_(seed ^ kPauseDiceSalt) {}
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
  void PlanPause(int64_t until_ms);
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
  // A carer's pause: dice of its own, so the seeds before it play as before.
  Dice pause_dice_;
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

}  // namespace hopla::random_runs::detail

#endif  // HOPLA_TESTS_RANDOM_RUNS_RANDOM_RUN_PARTS_H_
