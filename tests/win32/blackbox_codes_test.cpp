// The real program from outside, pressed only through the test switch: what
// each code does to a window of another program.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "hopla_program.h"

namespace hopla::wine_test {
namespace {

constexpr RECT kLoggerRect{40, 40, 440, 240};
constexpr RECT kButtonRect{200, 100, 300, 160};
// Wide enough for a walk of several seconds at 100 px/s, and still above
// Hopla's own window in the middle of the screen.
constexpr RECT kWideLoggerRect{40, 40, 900, 240};
constexpr int kLogTimeoutMs = 3000;
constexpr int kWindowTimeoutMs = 5000;
// Long enough for a walk at 100 px/s to cover tens of pixels.
constexpr int kWalkMs = 500;
// Wine can put the cursor back just after a window took the focus.
constexpr int kFocusSettleMs = 200;

POINT CursorNow() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

// The foreground window first, then the cursor: the other order can lose
// the cursor position. False when the window did not come to the front.
bool ArrangeScene(HWND foreground, POINT cursor) {
  if (!BringToFront(foreground)) return false;
  Sleep(kFocusSettleMs);
  SetCursorPos(cursor.x, cursor.y);
  return true;
}

// A mouse line of the logger: "<event> <x> <y> <modifiers>".
struct MouseLine {
  std::string event;
  POINT at{};
};

MouseLine ParseMouseLine(const std::string& line) {
  MouseLine parsed;
  std::istringstream(line) >> parsed.event >> parsed.at.x >> parsed.at.y;
  return parsed;
}

// The lines logged after the first `first`.
std::vector<std::string> LinesFrom(const InputLogger& logger, size_t first) {
  const std::vector<std::string> lines = logger.Lines();
  if (first >= lines.size()) return {};
  return {lines.begin() + static_cast<ptrdiff_t>(first), lines.end()};
}

// "ldown shift" as the logger writes it at `at`: "ldown <x> <y> shift"; key
// lines stay as they are.
std::vector<std::string> LinesAt(const std::vector<std::string>& events,
                                 POINT at) {
  std::vector<std::string> lines;
  for (const std::string& event : events) {
    const size_t space = event.find(' ');
    lines.push_back(event.rfind("key", 0) == 0
                        ? event
                        : event.substr(0, space) + " " + std::to_string(at.x) +
                              " " + std::to_string(at.y) + event.substr(space));
  }
  return lines;
}

// Every code that clicks while the cursor stands: which button, how often,
// with which modifier, in which order, and exactly where.
TEST(Win32BlackBox, StandingCodesClickAtTheCursor) {
  struct Case {
    const char* code;
    std::vector<std::string> events;
  };
  const Case kCases[] = {
      {"1", {"ldown -", "lup -"}},
      {"01", {"rdown -", "rup -"}},
      {"010", {"mdown -", "mup -"}},
      {"11", {"ldown -", "lup -", "ldown -", "lup -"}},
      {"100", {"keydown 16", "ldown shift", "lup shift", "keyup 16"}},
      {"101", {"keydown 17", "ldown ctrl", "lup ctrl", "keyup 17"}},
  };
  auto logger = InputLogger::Start(kLoggerRect, kButtonRect);
  ASSERT_NE(logger, nullptr);
  TempFolder folder;
  auto hopla = HoplaProgram::Start(folder.path(), QuickSettings(4));
  ASSERT_NE(hopla, nullptr);
  LONG x = 60;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.code);
    // A new place each time, so that no click pairs with the one before.
    const POINT at{x += 50, 200};
    const std::vector<std::string> expected = LinesAt(c.events, at);
    ASSERT_TRUE(ArrangeScene(logger->Window(), at));
    const size_t before = logger->Lines().size();
    hopla->Run(c.code);
    logger->WaitForLines(before + expected.size(), kLogTimeoutMs);
    std::vector<std::string> got = LinesFrom(*logger, before);
    // The logger's class takes double clicks: a second quick down there is
    // the same button-down event.
    for (std::string& line : got) {
      if (line.rfind("ldblclk ", 0) == 0) line.replace(0, 7, "ldown");
    }
    EXPECT_EQ(got, expected);
  }
}

// "0" walks right, "1" stops without clicking; "110" holds the left button,
// "0" drags it along, "1" stops and lets go where the walk ended.
TEST(Win32BlackBox, WalkStopsAndDragsWithTheHeldButton) {
  auto logger = InputLogger::Start(kWideLoggerRect, kButtonRect);
  ASSERT_NE(logger, nullptr);
  TempFolder folder;
  auto hopla = HoplaProgram::Start(folder.path(), QuickSettings(4));
  ASSERT_NE(hopla, nullptr);
  const LONG row = 200;
  ASSERT_TRUE(ArrangeScene(logger->Window(), {60, row}));

  hopla->Run("0");
  const POINT walking = CursorNow();
  Sleep(kWalkMs);
  const POINT walked = CursorNow();
  EXPECT_GE(walked.x, walking.x + 10);
  EXPECT_EQ(walked.y, row);
  hopla->Run("1");
  const POINT stopped = CursorNow();
  Sleep(kWalkMs);
  EXPECT_EQ(CursorNow().x, stopped.x);
  EXPECT_EQ(CursorNow().y, row);
  EXPECT_EQ(logger->Lines(), std::vector<std::string>{})
      << "stopping a walk is no click";

  hopla->Run("110");
  ASSERT_TRUE(logger->WaitForLines(1, kLogTimeoutMs));
  EXPECT_EQ(logger->Lines(),
            std::vector<std::string>{"ldown " + std::to_string(stopped.x) +
                                     " " + std::to_string(row) + " -"});
  hopla->Run("0");
  Sleep(kWalkMs);
  hopla->Run("1");
  const POINT dropped = CursorNow();
  EXPECT_GE(dropped.x, stopped.x + 10);
  ASSERT_TRUE(WaitUntil([&] { return !logger->LinesOf("lup").empty(); },
                        kLogTimeoutMs));
  const std::vector<std::string> lines = LinesFrom(*logger, 1);
  ASSERT_GE(lines.size(), 2u) << "moves, then the release";
  LONG last_x = stopped.x;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    const MouseLine move = ParseMouseLine(lines[i]);
    EXPECT_EQ(move.event, "move") << lines[i];
    EXPECT_EQ(move.at.y, row) << lines[i];
    EXPECT_GE(move.at.x, last_x) << lines[i];
    last_x = move.at.x;
  }
  EXPECT_EQ(lines.back(), "lup " + std::to_string(dropped.x) + " " +
                              std::to_string(row) + " -");
}

// With the hop switched on, "01" while walking puts the cursor on the
// centre of the other program's button ahead (found through its
// accessibility object) and stops the walk; "1" clicks it there.
TEST(Win32BlackBox, HopLandsOnTheButtonAheadWhereOneClickClicksIt) {
  auto logger = InputLogger::Start(kWideLoggerRect, kButtonRect);
  ASSERT_NE(logger, nullptr);
  TempFolder folder;
  auto hopla = HoplaProgram::Start(
      folder.path(), QuickSettings(4, "[拡張設定]\n要素へ跳ぶ=1\n"));
  ASSERT_NE(hopla, nullptr);
  ASSERT_TRUE(ArrangeScene(logger->Window(), {60, 200}));
  hopla->Run("0");
  hopla->Run("01");
  const POINT centre{250, 130};
  ASSERT_TRUE(WaitUntil(
      [&] {
        const POINT at = CursorNow();
        return at.x == centre.x && at.y == centre.y;
      },
      kLogTimeoutMs))
      << CursorNow().x << "," << CursorNow().y;
  Sleep(kWalkMs);
  EXPECT_EQ(CursorNow().x, centre.x) << "the walk stopped there";
  hopla->Run("1");
  ASSERT_TRUE(logger->WaitForLines(2, kLogTimeoutMs));
  EXPECT_EQ(logger->LinesOf("ldown"),
            std::vector<std::string>{"ldown 250 130 -"});
}

enum class Shown { kNormal, kMinimised, kMaximised, kGone };

Shown ShownAs(HWND window) {
  if (!IsWindow(window)) return Shown::kGone;
  if (IsIconic(window)) return Shown::kMinimised;
  return IsZoomed(window) ? Shown::kMaximised : Shown::kNormal;
}

// The window commands act on the window in front; restore acts on the
// window minimised or maximised last, wherever the focus is by then.
TEST(Win32BlackBox, WindowCodesCommandTheForegroundWindow) {
  struct Case {
    const char* code;
    bool notepad_in_front;
    Shown expected;
  };
  const Case kCases[] = {
      {"001", true, Shown::kMinimised}, {"011", false, Shown::kNormal},
      {"111", true, Shown::kMaximised}, {"011", true, Shown::kNormal},
      {"0000", true, Shown::kGone},
  };
  TempFolder folder;
  auto hopla = HoplaProgram::Start(folder.path(), QuickSettings(4));
  ASSERT_NE(hopla, nullptr);
  HWND window = nullptr;
  auto notepad = StartNotepad(window);
  ASSERT_NE(window, nullptr);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.code);
    ASSERT_TRUE(
        BringToFront(c.notepad_in_front ? window : hopla->MainWindow()));
    hopla->Run(c.code);
    EXPECT_TRUE(WaitUntil([&] { return ShownAs(window) == c.expected; },
                          kWindowTimeoutMs))
        << "shown as " << static_cast<int>(ShownAs(window));
  }
  EXPECT_TRUE(notepad->WaitForExit(kWindowTimeoutMs));
  EXPECT_TRUE(IsWindow(hopla->MainWindow()));
}

// In key input mode the codes type keys into the window in front and the
// cursor stands; leaving the mode brings the mouse codes back.
TEST(Win32BlackBox, KeyInputModeTypesIntoTheForegroundWindow) {
  struct Case {
    const char* marks;
    int virtual_key;
  };
  const Case kCases[] = {{"0", VK_TAB}, {"00", VK_RETURN}};
  auto logger = InputLogger::Start(kLoggerRect, kButtonRect);
  ASSERT_NE(logger, nullptr);
  TempFolder folder;
  auto hopla = HoplaProgram::Start(folder.path(), QuickSettings(4));
  ASSERT_NE(hopla, nullptr);
  const POINT at{100, 200};
  ASSERT_TRUE(ArrangeScene(logger->Window(), at));
  hopla->ToggleKeyMode();
  hopla->AwaitExecution();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.marks);
    ASSERT_TRUE(BringToFront(logger->Window()));
    const size_t before = logger->Lines().size();
    hopla->Run(c.marks);
    logger->WaitForLines(before + 4, kLogTimeoutMs);
    // A row without a second key still sends it, as virtual key 0.
    const std::string key = std::to_string(c.virtual_key);
    EXPECT_EQ(LinesFrom(*logger, before),
              (std::vector<std::string>{"keydown " + key, "keydown 0",
                                        "keyup 0", "keyup " + key}));
    EXPECT_EQ(CursorNow().x, at.x) << "the cursor stands in key input mode";
  }

  hopla->ToggleKeyMode();
  hopla->AwaitExecution();
  const size_t before = logger->Lines().size();
  hopla->Run("1");
  logger->WaitForLines(before + 2, kLogTimeoutMs);
  EXPECT_EQ(LinesFrom(*logger, before),
            (std::vector<std::string>{"ldown 100 200 -", "lup 100 200 -"}));
}

struct Sample {
  double ms;
  POINT at;
};

// Reads the cursor every few milliseconds until `done` holds for a sample
// or `limit_ms` has passed.
std::vector<Sample> SampleCursor(int limit_ms,
                                 const std::function<bool(POINT)>& done) {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER start{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  std::vector<Sample> samples;
  for (;;) {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    const double ms = 1000.0 *
                      static_cast<double>(now.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    samples.push_back({ms, CursorNow()});
    if (done(samples.back().at) || ms >= limit_ms) return samples;
    Sleep(10);
  }
}

// Pixels per second to the right between the first and the last sample.
double SpeedX(const std::vector<Sample>& samples) {
  if (samples.size() < 2) return 0;
  const double ms = samples.back().ms - samples.front().ms;
  return ms <= 0 ? 0
                 : 1000.0 * (samples.back().at.x - samples.front().at.x) / ms;
}

// Over a button (with the brake weak and on buttons) the walk slows to about
// a sixth; "00" there lets it pass at full speed, still going right.
TEST(Win32BlackBox, BrakeSlowsOverAButtonAndReleasesOnDoubleZero) {
  constexpr RECT kWideButton{300, 100, 860, 160};
  constexpr LONG kRow = 130;
  auto logger = InputLogger::Start(kWideLoggerRect, kWideButton);
  ASSERT_NE(logger, nullptr);
  TempFolder folder;
  auto hopla = HoplaProgram::Start(
      folder.path(), QuickSettings(4, "[ブレーキ]\n強さ=50\nボタン=1\n"));
  ASSERT_NE(hopla, nullptr);
  ASSERT_TRUE(ArrangeScene(logger->Window(), {60, kRow}));
  hopla->Run("0");

  // Short of the button: the brake may ask a few steps ahead of the cursor.
  constexpr LONG kApproachEnd = kWideButton.left - 30;
  std::vector<Sample> approach =
      SampleCursor(8000, [&](POINT p) { return p.x >= kApproachEnd; });
  ASSERT_GE(approach.back().at.x, kApproachEnd) << "never got there";
  approach.pop_back();
  ASSERT_TRUE(
      WaitUntil([] { return CursorNow().x >= kWideButton.left + 2; }, 5000));
  const std::vector<Sample> braked =
      SampleCursor(1500, [](POINT) { return false; });
  hopla->Run("00");
  const std::vector<Sample> released =
      SampleCursor(800, [](POINT) { return false; });

  const double free_speed = SpeedX(approach);
  const double braked_speed = SpeedX(braked);
  const double released_speed = SpeedX(released);
  EXPECT_GT(braked.back().at.x, braked.front().at.x) << "slowed, not stopped";
  EXPECT_LE(2 * braked_speed, free_speed);
  EXPECT_GE(2 * released_speed, free_speed);
  EXPECT_LT(released.back().at.x, kWideButton.right) << "left the button";
  EXPECT_EQ(released.back().at.y, kRow);
  EXPECT_FALSE(logger->LinesOf("getobject").empty());
  RecordProperty("free_px_per_s", std::to_string(free_speed));
  RecordProperty("braked_px_per_s", std::to_string(braked_speed));
  RecordProperty("released_px_per_s", std::to_string(released_speed));
}

}  // namespace
}  // namespace hopla::wine_test
