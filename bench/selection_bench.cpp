// How fast a switch user selects a target: the multidirectional pointing
// task of ISO 9241-411 on a simulated 1280 x 1024 screen, done by the
// simulated switch user driving the real engine through the simulated
// switch, in virtual time. Per configuration and condition (target width
// 32 or 64 px, distance 256 or 512 px, 104 selections each): mean time per
// selection, error rate (a click outside the target) and effective
// throughput. Then the same on a window full of buttons.
// Every figure for two users: the practised one (reaction 250 +- 50 ms)
// and a slower one (600 +- 200 ms, presses twice as variable).
//   hopla-selection-bench [selections per condition, default 104]
//       [new|aids|typing] [--user practised|slower]
// "new": only the configurations after the speed positions; "aids": only
// the aids to pointing; "typing": characters per minute with Hopla's
// keyboard (selections / 16 phrases); --user: one of the two users only.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/hopla.h"
#include "bench/selection/iso_task.h"
#include "bench/selection/sim_world.h"
#include "bench/selection/switch_user.h"
#include "engine/keyboard.h"
#include "engine/keyboard_layout.h"
#include "motion/brake.h"
#include "platform/codepage.h"
#include "platform/sim/sim_desktop.h"
#include "settings/ini_file.h"
#include "shared/slider_maps.h"

namespace hopla::selection {
namespace {

constexpr Rect kScreen{0, 0, 1280, 1024};
constexpr Point kCentre{640, 512};
constexpr int32_t kTargets = 13;
constexpr int64_t kSelectionLimitMs = 120000;
constexpr uint64_t kSeed = 20261208;
constexpr int32_t kWidths[] = {32, 64};
constexpr int32_t kDistances[] = {256, 512};
constexpr RoleReading kPushButton{RoleReading::Kind::kNumber, 0x2B};

struct Config {
  std::string name;
  int32_t speed = 3;  // カーソル移動速度
  int32_t long_press = 3;
  int32_t execute = 4;
  int32_t key_mode = 5;
  bool eight = false;
  bool boost = false;  // the person uses the boost
  bool brake = false;  // strong, for push buttons; the targets are buttons
  bool hop = false;    // the targets are buttons
  // Every circle answers as a push button, not only the target.
  bool all_buttons = false;
  bool stop_click = false;  // "11" while walking stops and clicks
  bool fine = false;        // positions 5..8 at 150..400 px/s
  int32_t step_pace = 0;    // element stepping, tenths of a second (0: off)
  bool keyboard = false;    // "10" while standing opens Hopla's keyboard
};

std::string SettingsFile(const Config& c) {
  std::string text = "[マウス]\r\nマウス移動速度=" + std::to_string(c.speed) +
                     "\r\n8方向=" + (c.eight ? "1" : "0") +
                     "\r\n[サウンド]\r\n音を出す=0\r\n[起動]\r\n最小化=1\r\n"
                     "[タイマー]\r\n長押し判定時間=" +
                     std::to_string(c.long_press) +
                     "\r\n実行までの時間=" + std::to_string(c.execute) +
                     "\r\nキー入力移行の時間=" + std::to_string(c.key_mode) +
                     "\r\n";
  if (c.brake) {
    text += "[ブレーキ]\r\n強さ=" + std::to_string(kBrakeStrong) +
            "\r\nボタン=1\r\n";
  }
  text += "[拡張設定]\r\n";
  if (c.hop) text += "要素へ跳ぶ=1\r\n";
  if (c.stop_click) text += "止まってクリック=1\r\n";
  if (c.fine) text += "細かい速さ=1\r\n";
  if (c.step_pace > 0) {
    text +=
        "要素をたどる=1\r\nたどる間隔=" + std::to_string(c.step_pace) + "\r\n";
  }
  if (c.keyboard) text += "キーボード=1\r\n";
  return text;
}

Practice PracticeOf(const Config& c) {
  const SpeedStep step = SpeedFor(c.speed, c.fine);
  Practice practice;
  practice.speed_px_per_ms =
      static_cast<double>(step.step_pixels) / step.step_delay_ms;
  practice.quiet_ms = ExecuteDelayFor(c.execute);
  practice.long_point_ms =
      LongPressTicksFor(c.long_press) * PollIntervalFor(c.key_mode);
  practice.directions = c.eight ? 8 : 4;
  practice.boost = c.boost;
  practice.brake = c.brake;
  practice.hop = c.hop;
  practice.stop_click = c.stop_click;
  practice.step_pace_ms = c.step_pace * 100;
  return practice;
}

// The program started on a desktop of its own, minimised as a switch user
// keeps it while working.
class Session {
 public:
  explicit Session(const Config& config) {
    desk_.PutFile(kSettingsFile, *Utf8ToCp932(SettingsFile(config)));
    desk_.Launch("C:\\Hopla\\Hopla.exe", [this](Platform& platform) {
      EntryHooks hooks;
      hooks.on_main_window = [this](THopla& w) { window_ = &w; };
      return RunHopla(platform, hooks);
    });
    desk_.RunUntil([this] { return window_ != nullptr; }, 20000);
    desk_.RunFor(500);
  }
  sim::SimDesktop& desk() { return desk_; }

 private:
  sim::SimDesktop desk_{kScreen};
  THopla* window_ = nullptr;
};

Rect Square(Point centre, int32_t width) {
  return {centre.x - width / 2, centre.y - width / 2,
          centre.x - width / 2 + width, centre.y - width / 2 + width};
}

// One condition of the circle task for one configuration. With the brake or
// the hop the target (only it) answers as a push button.
Figures RunCondition(const Config& config, const HumanTiming& timing,
                     int32_t width, int32_t distance, int32_t selections,
                     int32_t& unfinished) {
  Session session(config);
  sim::SimDesktop& desk = session.desk();
  const std::vector<Point> targets = CircleTargets(kCentre, distance, kTargets);
  desk.PlaceCursor(targets[TargetIndex(0, kTargets)]);
  SimWorld world(desk);
  SwitchUser user(world, PracticeOf(config),
                  kSeed + static_cast<uint64_t>(width * 1000 + distance),
                  timing);
  std::vector<Trial> trials;
  for (int32_t i = 1; i <= selections; ++i) {
    const Point target = targets[TargetIndex(i, kTargets)];
    const Rect box = Square(target, width);
    std::vector<Rect> buttons;
    desk.ClearRoleRegions();
    if (config.all_buttons) {
      for (const Point& p : targets) buttons.push_back(Square(p, width));
    } else if (config.brake || config.hop || config.step_pace > 0) {
      buttons.push_back(box);
    }
    for (const Rect& b : buttons) desk.AddRoleRegion(b, kPushButton);
    const Point from = desk.Cursor();
    desk.ClearTrace();
    const Outcome outcome = user.Select(box, kSelectionLimitMs, buttons);
    if (!outcome.clicked) ++unfinished;
    trials.push_back({from, target, outcome.end, width,
                      static_cast<double>(outcome.time_ms), outcome.codes});
  }
  return Evaluate(trials);
}

void PrintHead(const Config& config, bool table = true) {
  const Practice practice = PracticeOf(config);
  std::printf("\n%s: %.0f px/s, quiet time %d ms, long after %d ms\n",
              config.name.c_str(), practice.speed_px_per_ms * 1000,
              practice.quiet_ms, practice.long_point_ms);
  if (!table) return;
  std::printf("  %5s %8s %10s %8s %8s %8s %8s %8s %6s\n", "width", "distance",
              "mean_s", "errors", "We_px", "De_px", "TP_bps", "TPn_bps",
              "codes");
}

void PrintRow(const char* width, const char* distance, const Figures& f) {
  std::printf("  %5s %8s %10.2f %7.1f%% %8.1f %8.1f %8.3f %8.3f %6.2f\n", width,
              distance, f.mean_time_ms / 1000, f.error_rate * 100,
              f.effective_width_px, f.effective_distance_px, f.throughput_bps,
              f.nominal_throughput_bps, f.mean_codes);
  std::fflush(stdout);
}

void RunConfig(const Config& config, const HumanTiming& timing,
               int32_t selections) {
  PrintHead(config);
  double time_sum = 0, error_sum = 0, tp_sum = 0, nominal_sum = 0;
  double codes_sum = 0;
  int32_t conditions = 0, unfinished = 0;
  for (int32_t width : kWidths) {
    for (int32_t distance : kDistances) {
      const Figures f =
          RunCondition(config, timing, width, distance, selections, unfinished);
      PrintRow(std::to_string(width).c_str(), std::to_string(distance).c_str(),
               f);
      time_sum += f.mean_time_ms;
      error_sum += f.error_rate;
      tp_sum += f.throughput_bps;
      nominal_sum += f.nominal_throughput_bps;
      codes_sum += f.mean_codes;
      ++conditions;
    }
  }
  std::printf(
      "  all conditions: %.2f s per selection, %.1f%% errors, %.3f bits/s "
      "(nominal %.3f), %.2f codes%s\n",
      time_sum / conditions / 1000, error_sum / conditions * 100,
      tp_sum / conditions, nominal_sum / conditions, codes_sum / conditions,
      unfinished > 0 ? " (some selections gave up: see the limit)" : "");
}

// A window full of buttons, as a dialog or a toolbar page has: 8 columns
// and 10 rows of 96 x 28 px buttons, 16 px apart side by side and 12 px
// between rows, in the middle of the screen, every one answering as a push
// button. The person clicks buttons in a seeded random order.
constexpr int32_t kColumns = 8, kRows = 10, kButtonW = 96, kButtonH = 28;
constexpr int32_t kGapX = 16, kGapY = 12;

std::vector<Rect> ButtonGrid() {
  constexpr int32_t kGridW = kColumns * kButtonW + (kColumns - 1) * kGapX;
  constexpr int32_t kGridH = kRows * kButtonH + (kRows - 1) * kGapY;
  std::vector<Rect> buttons;
  for (int32_t row = 0; row < kRows; ++row) {
    for (int32_t column = 0; column < kColumns; ++column) {
      const int32_t left = kCentre.x - kGridW / 2 + column * (kButtonW + kGapX);
      const int32_t top = kCentre.y - kGridH / 2 + row * (kButtonH + kGapY);
      buttons.push_back({left, top, left + kButtonW, top + kButtonH});
    }
  }
  return buttons;
}

void RunButtonWindow(const Config& config, const HumanTiming& timing,
                     int32_t selections) {
  PrintHead(config);
  Session session(config);
  sim::SimDesktop& desk = session.desk();
  const std::vector<Rect> buttons = ButtonGrid();
  for (const Rect& b : buttons) desk.AddRoleRegion(b, kPushButton);
  std::mt19937_64 order(kSeed);
  std::uniform_int_distribution<size_t> pick(0, buttons.size() - 1);
  size_t at = 0;
  desk.PlaceCursor({(buttons[0].left + buttons[0].right) / 2,
                    (buttons[0].top + buttons[0].bottom) / 2});
  SimWorld world(desk);
  SwitchUser user(world, PracticeOf(config), kSeed, timing);
  std::vector<Trial> trials;
  int32_t unfinished = 0;
  for (int32_t i = 0; i < selections; ++i) {
    size_t next = pick(order);
    while (next == at) next = pick(order);
    at = next;
    const Rect& box = buttons[at];
    const Point target{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    // The user aims at a square of the button's height around its centre.
    const Rect aim = Square(target, kButtonH);
    const Point from = desk.Cursor();
    desk.ClearTrace();
    const Outcome outcome =
        user.Select(aim, kSelectionLimitMs,
                    config.brake || config.hop || config.step_pace > 0
                        ? buttons
                        : std::vector<Rect>{});
    if (!outcome.clicked) ++unfinished;
    // An error is a click outside the whole button.
    const bool inside = outcome.end.x >= box.left &&
                        outcome.end.x < box.right && outcome.end.y >= box.top &&
                        outcome.end.y < box.bottom;
    trials.push_back({from, target, inside ? target : outcome.end, kButtonH,
                      static_cast<double>(outcome.time_ms), outcome.codes});
  }
  const Figures f = Evaluate(trials);
  PrintRow("28x96", "random", f);
  std::printf("  %.2f s per selection, %.1f%% errors, %.2f codes%s\n",
              f.mean_time_ms / 1000, f.error_rate * 100, f.mean_codes,
              unfinished > 0 ? " (some selections gave up)" : "");
}

// The shortest quiet time makes every code quicker; from the speed
// positions on it is used with the speeds a person can still stop on a
// target.
Config Quick(const std::string& name, int32_t speed) {
  Config config{name + ", speed position " + std::to_string(speed) +
                ", quiet time slider 1"};
  config.speed = speed;
  config.execute = 1;
  return config;
}

// Typing with Hopla's keyboard: the phrase "konnichiha hopla" (romaji, as it
// goes through the input method: 16 keys with the space), typed again and
// again. The person opens the keyboard with "10", then for each letter walks
// (or hops, or steps) to its key and clicks it, from wherever the last one
// left the cursor. A key typed that is not the one meant is an error (it
// costs a BS and the key again in real life; here it counts, and the phrase
// goes on).
constexpr char kPhrase[] = "konnichiha hopla";

void RunTyping(const Config& config, const HumanTiming& timing,
               int32_t phrases) {
  PrintHead(config, false);
  Session session(config);
  sim::SimDesktop& desk = session.desk();
  SimWorld world(desk);
  // "10": a long press, then a short one; then the quiet time.
  world.Hold(600);
  world.Wait(150);
  world.Hold(120);
  world.Wait(ExecuteDelayFor(config.execute) + 500);
  const std::optional<Rect> board =
      desk.WindowRectOf(desk.FindWindowByTitle(kKeyboardCaption));
  if (!board) {
    std::printf("  the keyboard did not open\n");
    return;
  }
  KeyboardView view;
  view.columns = kKeyboardColumns;
  view.rows = kKeyboardRows;
  std::vector<Rect> keys;
  std::vector<uint8_t> virtual_keys;
  for (const KeyDef& key : kKeyboardKeys) {
    const Rect r = KeyRect(view, {std::string(key.label), key.cells},
                           {board->Width(), board->Height()});
    keys.push_back({board->left + r.left, board->top + r.top,
                    board->left + r.right, board->top + r.bottom});
    virtual_keys.push_back(key.virtual_key);
  }
  auto key_of = [](char c) {
    const std::string_view label = c == ' ' ? "Space" : std::string_view(&c, 1);
    for (size_t i = 0; i < std::size(kKeyboardKeys); ++i) {
      if (kKeyboardKeys[i].label == label) return i;
    }
    return size_t{0};
  };
  desk.PlaceCursor(
      {(keys[0].left + keys[0].right) / 2, (keys[0].top + keys[0].bottom) / 2});
  SwitchUser user(world, PracticeOf(config), kSeed, timing);
  const bool buttons_seen = config.brake || config.hop || config.step_pace > 0;
  int64_t time_ms = 0;
  int32_t typed = 0, wrong = 0, unfinished = 0, codes = 0;
  for (int32_t p = 0; p < phrases; ++p) {
    for (const char c : std::string(kPhrase)) {
      const size_t k = key_of(c);
      const Rect& box = keys[k];
      const Point centre{(box.left + box.right) / 2,
                         (box.top + box.bottom) / 2};
      desk.ClearTrace();
      const Outcome outcome = user.Select(
          Square(centre, std::min(box.Width(), box.Height()) - 4),
          kSelectionLimitMs, buttons_seen ? keys : std::vector<Rect>{});
      desk.RunFor(100);
      if (!outcome.clicked) ++unfinished;
      const std::string meant =
          std::to_string(static_cast<int>(virtual_keys[k])) + " down";
      const auto types = desk.TraceOf("type");
      const bool right = std::any_of(
          types.begin(), types.end(),
          [&](const sim::TraceEntry& e) { return e.text == meant; });
      if (!right) ++wrong;
      time_ms += outcome.time_ms;
      codes += outcome.codes;
      ++typed;
    }
  }
  const double per_key_s = static_cast<double>(time_ms) / typed / 1000;
  std::printf(
      "  %.2f s per key, %.1f characters per minute, %.1f%% wrong keys, "
      "%.2f codes%s\n",
      per_key_s, 60 / per_key_s, 100.0 * wrong / typed,
      static_cast<double>(codes) / typed,
      unfinished > 0 ? " (some keys gave up)" : "");
  std::fflush(stdout);
}

std::vector<Config> TypingConfigs() {
  std::vector<Config> configs;
  auto with_keyboard = [](Config c) {
    c.keyboard = true;
    return c;
  };
  configs.push_back(with_keyboard(Quick("walk", 3)));
  configs.push_back(with_keyboard(Quick("walk", 4)));
  Config click = with_keyboard(Quick("walk, stop with a click", 4));
  click.stop_click = true;
  configs.push_back(click);
  Config fine =
      with_keyboard(Quick("walk, stop with a click, finer speeds", 5));
  fine.stop_click = true;
  fine.fine = true;
  configs.push_back(fine);
  Config hop = with_keyboard(Quick("hop", 4));
  hop.hop = true;
  configs.push_back(hop);
  for (int32_t pace : {4, 6, 10}) {
    Config steps = with_keyboard(
        Quick("element stepping " + std::to_string(pace / 10) + "." +
                  std::to_string(pace % 10) + " s, stop with a click",
              4));
    steps.step_pace = pace;
    steps.stop_click = true;
    configs.push_back(steps);
  }
  return configs;
}

// What the program does as it stands when first run and with its settings.
std::vector<Config> SettingsConfigs() {
  std::vector<Config> configs;
  configs.push_back(Quick("four directions", 3));
  configs.push_back(Quick("four directions", 4));
  Config eight = Quick("8 directions", 4);
  eight.eight = true;
  configs.push_back(eight);
  for (int32_t speed : {3, 4}) {
    Config boost = Quick("fivefold boost on long legs", speed);
    boost.boost = true;
    configs.push_back(boost);
  }
  for (int32_t speed : {4, 5, 6}) {
    Config brake = Quick("strong brake, targets are push buttons", speed);
    brake.brake = true;
    configs.push_back(brake);
  }
  Config hop = Quick("hop (\"01\" while walking), targets are buttons", 4);
  hop.hop = true;
  configs.push_back(hop);
  Config hop_all = Quick("hop, every circle is a button", 4);
  hop_all.hop = true;
  hop_all.all_buttons = true;
  configs.push_back(hop_all);
  Config hop_first{"hop at the first-run settings"};
  hop_first.hop = true;
  configs.push_back(hop_first);
  return configs;
}

// The aids to pointing anywhere: the finer fast speeds, the stop with a
// click, and both together; and the element stepping where only the target
// is a button.
std::vector<Config> AidConfigs() {
  std::vector<Config> configs;
  for (int32_t speed : {5, 6, 7}) {
    Config fine = Quick("finer speeds", speed);
    fine.fine = true;
    configs.push_back(fine);
  }
  for (int32_t speed : {3, 4}) {
    Config click = Quick("stop with a click (\"11\")", speed);
    click.stop_click = true;
    configs.push_back(click);
  }
  for (int32_t speed : {5, 6}) {
    Config both = Quick("stop with a click, finer speeds", speed);
    both.stop_click = true;
    both.fine = true;
    configs.push_back(both);
  }
  // As the program is first run, the target a button: held against the
  // same selections under Wine.
  Config steps{
      "element stepping at the first-run settings (1.0 s), targets "
      "are buttons"};
  steps.step_pace = 10;
  configs.push_back(steps);
  return configs;
}

std::vector<Config> ButtonWindowConfigs(bool aids) {
  std::vector<Config> configs;
  if (!aids) {
    configs.push_back(Quick("walk", 4));
    Config brake = Quick("strong brake", 4);
    brake.brake = true;
    configs.push_back(brake);
    Config hop = Quick("hop", 4);
    hop.hop = true;
    configs.push_back(hop);
    return configs;
  }
  Config walk = Quick("walk, stop with a click", 4);
  walk.stop_click = true;
  configs.push_back(walk);
  for (int32_t pace : {3, 4, 6, 10}) {
    Config steps = Quick("element stepping " + std::to_string(pace / 10) + "." +
                             std::to_string(pace % 10) + " s",
                         4);
    steps.step_pace = pace;
    configs.push_back(steps);
    steps.name += ", stop with a click";
    steps.stop_click = true;
    configs.push_back(steps);
  }
  return configs;
}

enum class Part { kAll, kNew, kAids, kTyping };

// Every configuration of `part` for one user.
void RunAll(const HumanTiming& timing, int32_t selections, Part part) {
  if (part == Part::kTyping) {
    std::printf("\nTyping \"%s\" with Hopla's keyboard:\n", kPhrase);
    for (const Config& config : TypingConfigs()) {
      RunTyping(config, timing, std::max(1, selections / 16));
    }
    return;
  }
  if (part == Part::kAll) {
    RunConfig(Config{"first-run settings"}, timing, selections);
    for (int32_t speed = 1; speed <= 8; ++speed) {
      if (speed == 3) continue;  // the first run's
      Config config{"speed position " + std::to_string(speed)};
      config.speed = speed;
      RunConfig(config, timing, selections);
    }
  }
  if (part != Part::kAids) {
    for (const Config& config : SettingsConfigs()) {
      RunConfig(config, timing, selections);
    }
  }
  for (const Config& config : AidConfigs()) {
    RunConfig(config, timing, selections);
  }
  std::printf(
      "\nA window full of buttons (8 x 10 buttons of 96 x 28 px, "
      "16 and 12 px apart), buttons in a random order:\n");
  for (bool aids : {false, true}) {
    if (!aids && part == Part::kAids) continue;
    for (const Config& config : ButtonWindowConfigs(aids)) {
      RunButtonWindow(config, timing, selections);
    }
  }
}

}  // namespace
}  // namespace hopla::selection

int main(int argc, char** argv) {
  using hopla::selection::HumanTiming;
  int32_t selections = 104;
  auto part = hopla::selection::Part::kAll;
  std::string user;  // both
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--user" && i + 1 < argc) {
      user = argv[++i];
    } else if (arg == "new") {
      part = hopla::selection::Part::kNew;
    } else if (arg == "aids") {
      part = hopla::selection::Part::kAids;
    } else if (arg == "typing") {
      part = hopla::selection::Part::kTyping;
    } else {
      selections = std::atoi(argv[i]);
    }
  }
  struct User {
    const char* name;
    const char* title;
    HumanTiming timing;
  };
  const User users[] = {
      {"practised", "the practised user (reaction 250 +- 50 ms)", {}},
      {"slower",
       "the slower user (reaction 600 +- 200 ms, presses and gaps twice as "
       "variable)",
       hopla::selection::kSlowerUser},
  };
  std::printf(
      "ISO 9241-411 multidirectional task, 13 targets, %d selections per "
      "condition, a simulated switch user\n",
      selections);
  for (const User& u : users) {
    if (!user.empty() && user != u.name) continue;
    std::printf("\n=== %s\n", u.title);
    hopla::selection::RunAll(u.timing, selections, part);
  }
  return 0;
}
