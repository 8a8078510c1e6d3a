// The program's life: one copy per file name, the quit question, Windows
// shutting down, and the window messages the main window answers itself.
#include <gtest/gtest.h>

#include "hopla_fixture.h"

namespace hopla {
namespace {

using sim::MessageBoxAnswer;

constexpr char kSecondCopyText[] =
    "二重起動は出来ません。[ホプラー。」 はすでに実行されています！";
constexpr char kQuitText[] = "警告|｢ホプラー。」を終了しますか？";

class LifecycleTest : public HoplaTest {};

TEST_F(LifecycleTest, MainWindowHasItsCaptionAndClientSize) {
  Start();
  const auto windows = desk_.Windows();
  const auto it = std::find_if(windows.begin(), windows.end(), [](auto& w) {
    return w.title == "「ホプラー。」";
  });
  ASSERT_NE(it, windows.end());
  const auto rect = desk_.WindowRectOf(it->handle);
  ASSERT_TRUE(rect.has_value());
  EXPECT_EQ(rect->Width(), 607);
  EXPECT_EQ(rect->Height(), 428);
  EXPECT_EQ(hopla_->OnTimer.Interval(), 50);
  EXPECT_TRUE(hopla_->OnTimer.Enabled());
}

TEST_F(LifecycleTest, SecondCopyUnderTheSameNameIsRefused) {
  sim::SimProcess& first = Start();
  desk_.ClearTrace();
  THopla* first_window = hopla_;
  hopla_ = nullptr;
  sim::SimProcess& second =
      desk_.Launch("D:\\elsewhere\\Hopla.exe",
                   [](Platform& platform) { return RunHopla(platform); });
  desk_.RunFor(500);
  ASSERT_TRUE(second.ExitCode().has_value());
  EXPECT_EQ(*second.ExitCode(), 0);
  const auto boxes = desk_.TraceOf("msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, std::string("Hopla|") + kSecondCopyText);
  EXPECT_TRUE(first.Running());
  // The first copy runs on: its heartbeat still measures presses.
  desk_.HoldSwitch(desk_.Now() + 100, desk_.Now() + 160);
  desk_.RunFor(500);
  EXPECT_EQ(first_window->State().PressCode.Get(), "0");
}

TEST_F(LifecycleTest, CopyUnderAnotherNameRunsBeside) {
  sim::SimProcess& first = Start();
  sim::SimProcess& renamed =
      desk_.Launch("C:\\Hopla\\Hopla2.exe",
                   [](Platform& platform) { return RunHopla(platform); });
  desk_.RunFor(500);
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(renamed.Running());
  EXPECT_TRUE(desk_.TraceOf("msgbox").empty());
}

TEST_F(LifecycleTest, CancelAtTheQuitQuestionKeepsEverythingRunning) {
  sim::SimProcess& process = Start();
  desk_.AnswerMessageBoxes([](const MessageBoxArgs& desc) {
    EXPECT_EQ(desc.buttons, MessageBoxButtons::kOkCancel);
    EXPECT_TRUE(desc.default_is_second);
    EXPECT_EQ(desc.icon, MessageBoxIcon::kNone);
    return MessageBoxAnswer{DialogResult::kCancel, 2000};
  });
  Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
  // While the question is open the switch is still measured.
  desk_.HoldSwitch(desk_.Now() + 500, desk_.Now() + 560);
  desk_.RunFor(1000);
  EXPECT_EQ(hopla_->State().PressCode.Get(), "0");
  desk_.RunFor(2000);
  EXPECT_TRUE(process.Running());
  EXPECT_EQ(desk_.TraceOf("msgbox").at(0).text, kQuitText);
  EXPECT_TRUE(hopla_->OnTimer.Enabled());
}

TEST_F(LifecycleTest, OkAtTheQuitQuestionEndsTheProgram) {
  sim::SimProcess& process = Start();
  Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
  desk_.RunFor(100);
  ASSERT_TRUE(process.ExitCode().has_value());
  EXPECT_EQ(*process.ExitCode(), 0);
}

TEST_F(LifecycleTest, ClosingTheWindowFromOutsideAsksFirst) {
  sim::SimProcess& process = Start();
  const WindowHandle window = hopla_->Handle();
  desk_.AnswerMessageBoxes([](const MessageBoxArgs&) {
    return MessageBoxAnswer{DialogResult::kCancel, 0};
  });
  process.PostAt(desk_.Now(), window, kWmSysCommand, kScClose, 0);
  desk_.RunFor(100);
  EXPECT_TRUE(process.Running());
  desk_.AnswerMessageBoxes([](const MessageBoxArgs&) {
    return MessageBoxAnswer{DialogResult::kOk, 0};
  });
  process.PostAt(desk_.Now(), window, kWmClose, 0, 0);
  desk_.RunFor(100);
  EXPECT_FALSE(process.Running());
  EXPECT_EQ(desk_.TraceOf("msgbox").size(), 2u);
}

TEST_F(LifecycleTest, ClosingEndsJoyToKeyFoundEarlier) {
  Start();
  const WindowHandle joytokey = desk_.AddWindow({"JoyToKey v6", {}, {}, false});
  Do([&] { hopla_->State().JoyToKeyWindow = joytokey; });
  Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
  desk_.RunFor(100);
  const auto posts = desk_.TraceOf("post");
  ASSERT_FALSE(posts.empty());
  EXPECT_EQ(posts.back().text, std::to_string(joytokey) + " 18 0 0");
}

// A button left down by "110" must not outlive the program: it is let go
// when the window closes, when Windows shuts down, and when the program is
// ended without closing its window.
class WayOutTest : public LifecycleTest,
                   public ::testing::WithParamInterface<uint32_t> {};

TEST_P(WayOutTest, HeldButtonIsLetGo) {
  sim::SimProcess& process = Start();
  Do([this] { State().PressCode.Set("110"); });
  desk_.RunFor(1100);
  ASSERT_TRUE(State().ButtonHeld);
  process.PostAt(desk_.Now(), hopla_->Handle(), GetParam(), 0, 0);
  desk_.RunFor(100);
  const auto mouse = desk_.TraceOf("mouse");
  ASSERT_EQ(mouse.size(), 2u);
  EXPECT_EQ(mouse[1].text.substr(0, 5), "32772");
  EXPECT_EQ(process.Running(), GetParam() == kWmQueryEndSession);
}

INSTANTIATE_TEST_SUITE_P(Ways, WayOutTest,
                         ::testing::Values(kWmClose, kWmQueryEndSession,
                                           kWmQuit));

// A save writes the file once, not once per key: twice in all at a normal
// exit (at the close and at the destruction).
TEST_F(LifecycleTest, EachSaveReplacesTheFileOnce) {
  sim::SimProcess& process = Start();
  Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
  desk_.RunFor(100);
  ASSERT_FALSE(process.Running());
  EXPECT_EQ(desk_.TraceOf("file-replace").size(), 2u);
}

// JoyToKey's use stored and no folder (the drives are searched), or a folder
// whose JoyToKey never opens its window (the start waits for it): closed with
// OK, or Windows shutting down, meanwhile. Every stored value stays as it
// was, nothing starts after the close, no box opens after it, and a close
// ends the program.
TEST_F(LifecycleTest, CloseOrShutDownDuringStartUpKeepsEveryStoredValue) {
  const std::string kFile =
      "[タイマー]\r\n長押し判定時間=6\r\n実行までの時間=7\r\n"
      "キー入力移行の時間=8\r\n"
      "[ブレーキ]\r\n強さ=100\r\nボタン=1\r\n";
  const std::array<std::array<const char*, 3>, 6> kStored = {{
      {"タイマー", "長押し判定時間", "6"},
      {"タイマー", "実行までの時間", "7"},
      {"タイマー", "キー入力移行の時間", "8"},
      {"ブレーキ", "強さ", "100"},
      {"ブレーキ", "ボタン", "1"},
      {"UseJoyToKey", "JoyToKeyの利用", "1"},
  }};
  for (const bool searching : {true, false}) {
    for (const uint32_t way : {kWmClose, kWmQueryEndSession}) {
      SCOPED_TRACE(std::string(searching ? "search, " : "start, ") +
                   (way == kWmClose ? "close" : "shut-down"));
      sim::SimDesktop desk;
      std::string file = "[UseJoyToKey]\r\nJoyToKeyの利用=1\r\n";
      if (searching) {
        desk.AddTreeFolder("C:\\Windows");
        desk.SetListingCost(2000);
      } else {
        desk.AddTreeFile("C:\\JoyToKey\\JoyToKey.exe");
        file += "所在フォルダー=C:\\JoyToKey\\\r\n";
      }
      file += kFile;
      desk.PutFile(kSettingsFile, Sjis(file));
      sim::SimProcess& process = desk.Launch(
          kHoplaPath, [](Platform& platform) { return RunHopla(platform); });
      desk.RunFor(1000);
      process.SendAt(desk.Now(), SettingsWindowOf(desk), way, 0, 0);
      desk.RunFor(100);
      const int64_t closed = desk.Now();
      if (way == kWmQueryEndSession) {
        ASSERT_EQ(process.LastEndSessionAnswer(), std::optional<bool>(true));
        process.Terminate();  // as Windows goes on to do
      }
      desk.RunFor(10000);
      EXPECT_FALSE(process.Running());
      for (const auto& [section, key, value] : kStored) {
        EXPECT_EQ(StoredValue(desk, section, key), value) << key;
      }
      for (const auto& entry : desk.Trace()) {
        if (entry.kind != "start" && entry.kind != "msgbox") continue;
        EXPECT_TRUE(entry.time_ms < closed || entry.text == kQuitText)
            << entry.time_ms << " " << entry.kind << " " << entry.text;
      }
    }
  }
}

TEST_F(LifecycleTest, ShutdownQueryAnswersTrueWithoutAsking) {
  sim::SimProcess& process = Start();
  process.PostAt(desk_.Now(), hopla_->Handle(), kWmQueryEndSession, 0, 0);
  desk_.RunFor(100);
  EXPECT_EQ(process.LastEndSessionAnswer(), std::optional<bool>(true));
  EXPECT_TRUE(desk_.TraceOf("msgbox").empty());
  EXPECT_TRUE(process.Running());
}

TEST_F(LifecycleTest, MaximiseAimedAtTheWindowLeavesItsPlace) {
  sim::SimProcess& process = Start();
  const WindowHandle window = hopla_->Handle();
  const auto before = desk_.WindowRectOf(window);
  process.PostAt(desk_.Now(), window, kWmSysCommand, kScMaximize, 0);
  desk_.RunFor(100);
  EXPECT_EQ(desk_.WindowRectOf(window), before);
}

TEST_F(LifecycleTest,
       MinimisingRemembersTheApplicationWindowAndRestoreComesBack) {
  sim::SimProcess& process = Start();
  const WindowHandle window = hopla_->Handle();
  process.PostAt(desk_.Now(), window, kWmSysCommand, kScMinimize, 0);
  desk_.RunFor(100);
  // The program goes to its taskbar button, which the restore command finds.
  EXPECT_TRUE(desk_.IsMinimised(AppWindow()));
  EXPECT_FALSE(desk_.IsVisible(window));
  EXPECT_EQ(hopla_->State().MinimisedWindow, AppWindow());
  desk_.SetForeground(kNoWindow);
  process.PostAt(desk_.Now(), AppWindow(), kWmSysCommand, kScRestore, 0);
  desk_.RunFor(100);
  EXPECT_FALSE(desk_.IsMinimised(AppWindow()));
  EXPECT_TRUE(desk_.IsVisible(window));
  EXPECT_EQ(process.ForegroundWindow(), window);
}

}  // namespace
}  // namespace hopla
