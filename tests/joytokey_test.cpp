// JoyToKey as a person meets it: ticking "use JoyToKey" finds it (in the
// settings, else on the drives), starts it when its window is not there, and
// tells it what it must know; a search never hangs or freezes the program;
// a JoyToKey that is busy cannot slow the switch down.
#include "joytokey/joytokey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hopla_fixture.h"
#include "platform/codepage.h"
#include "settings/ini_file.h"
#include "sim_test_support.h"

namespace hopla {
namespace {

using sim::testing::TextsOf;
using Texts = std::vector<std::string>;

constexpr char kFolderKey[] = "所在フォルダー=";

class JoyToKeyTest : public HoplaTest {
 protected:
  // Whenever the program starts JoyToKey, its window opens (unless never).
  void StartsOpenAWindow(bool never = false) {
    desk_.OnShellStart([this, never](const std::string&, const std::string&) {
      if (!never) started_ = desk_.AddWindow({"JoyToKey 6.9", {}, nullptr});
    });
  }
  void StartWithFile(const std::string& utf8) {
    desk_.PutFile(kSettingsFile, *Utf8ToCp932(utf8));
    Start();
  }
  std::string StoredFolder() const {
    const auto file = desk_.File(kSettingsFile);
    if (!file) return "";
    const std::string text = Cp932ToUtf8(*file);
    const size_t at = text.find(kFolderKey);
    if (at == std::string::npos) return "";
    const size_t from = at + std::string(kFolderKey).size();
    return text.substr(from, text.find('\r', from) - from);
  }
  // What went to `window`, "<message> <wparam> <lparam>", in order.
  Texts SentTo(WindowHandle window) const {
    Texts sent;
    const std::string to = std::to_string(window) + " ";
    for (const std::string& text : TextsOf(desk_, "send")) {
      if (text.rfind(to, 0) == 0) sent.push_back(text.substr(to.size()));
    }
    return sent;
  }

  WindowHandle started_ = kNoWindow;
};

// The last window whose title begins with "JoyToKey " (the blank counts, and
// the letter case) is the one taken; none while the box is clear.
TEST_F(JoyToKeyTest, WindowSearchTakesTheLastExactTitle) {
  Start();
  const WindowHandle last = desk_.AddWindow({"JoyToKey 5.1", {}, nullptr});
  desk_.AddWindow({"JoyToKey 6.2", {}, nullptr});
  desk_.AddWindow({"JoyToKey", {}, nullptr});
  desk_.AddWindow({"joytokey 6", {}, nullptr});
  Do([this] { hopla_->FindJoyToKeyWindow(); });
  EXPECT_EQ(State().JoyToKeyWindow, kNoWindow) << "the box is clear";
  InstallJoyToKey(false);
  TickJoyToKey();
  EXPECT_EQ(State().JoyToKeyWindow, last);  // enumerated last
  EXPECT_TRUE(TextsOf(desk_, "start").empty());
}

// Depth first through A: and all of C: before D:; a name that differs only
// in letter case is listed but not taken. The folder lands in the settings
// file at once and in the window; a window that comes after the start is
// told 33789, then 33790, then the heartbeats.
TEST_F(JoyToKeyTest, SearchFindsTheProgramDeepOnDAndStartsIt) {
  desk_.AddTreeFile("A:\\readme.txt");
  desk_.AddTreeFile("C:\\Apps\\Old\\joytokey.exe");
  desk_.AddTreeFolder("C:\\Users\\me\\Desktop");
  desk_.AddTreeFile("D:\\Games\\Pads\\JoyToKey\\JoyToKey.exe");
  desk_.AddTreeFile("E:\\JoyToKey.exe");
  StartsOpenAWindow();
  Start();
  TickJoyToKey();
  desk_.RunFor(200);
  EXPECT_EQ(hopla_->Path_JoyToKey.Text(), "D:\\Games\\Pads\\JoyToKey\\");
  EXPECT_EQ(StoredFolder(), "D:\\Games\\Pads\\JoyToKey\\");
  const Texts listed = TextsOf(desk_, "list");
  const auto first_d = std::find_if(listed.begin(), listed.end(), [](auto& p) {
    return p.rfind("D:", 0) == 0;
  });
  EXPECT_TRUE(std::none_of(first_d, listed.end(), [](auto& p) {
    return p.rfind("C:", 0) == 0 || p.rfind("E:", 0) == 0;
  }));
  EXPECT_NE(
      std::find(listed.begin(), listed.end(), "C:\\Users\\me\\Desktop\\*.*"),
      listed.end());
  EXPECT_EQ(TextsOf(desk_, "start"),
            Texts{"D:\\Games\\Pads\\JoyToKey\\|JoyToKey"});
  const Texts sent = SentTo(started_);
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(sent[0], "33789 0 0");
  EXPECT_EQ(sent[1], "33790 0 0");
  EXPECT_EQ(sent[2], "33768 0 0");
  EXPECT_TRUE(hopla_->JtkUseCheckBox.Checked());
}

// After a find, the folders the search still visits are looked at
// themselves, not below: a later sibling holding the program wins. A second
// search in the same run ends at its first drive with the folder it had.
TEST_F(JoyToKeyTest, LaterSiblingWinsAndASecondSearchEndsAtOnce) {
  desk_.AddTreeFile("C:\\A\\JoyToKey.exe");
  desk_.AddTreeFile("C:\\B\\Deep\\JoyToKey.exe");
  desk_.AddTreeFile("C:\\C\\JoyToKey.exe");
  InstallJoyToKey(true, "C:\\C\\");
  Start();
  TickJoyToKey();
  EXPECT_EQ(hopla_->Path_JoyToKey.Text(), "C:\\C\\");
  const Texts listed = TextsOf(desk_, "list");
  EXPECT_EQ(std::count(listed.begin(), listed.end(), "C:\\B\\*.*"), 0)
      << "descended after the find";

  Do([this] { hopla_->JtkUseCheckBox.SetChecked(false); });
  desk_.RunFor(1100);
  desk_.PutFile(kSettingsFile, "");  // the folder forgotten by the file
  desk_.ClearTrace();
  TickJoyToKey();
  EXPECT_EQ(TextsOf(desk_, "list"), Texts{"A:\\JoyToKey.exe"});
  EXPECT_EQ(StoredFolder(), "C:\\C\\");
}

// A loop on disk (a junction pointing back to the drive) is not followed,
// and the search ends; the drives are listed with the system's disk boxes
// off.
TEST_F(JoyToKeyTest, SearchDoesNotFollowLinksAndRaisesNoDiskBox) {
  desk_.AddTreeLink("C:\\Documents and Settings", "C:\\");
  desk_.AddTreeFile("C:\\Zeta\\JoyToKey.exe");
  desk_.MakeUnlistable("D:\\");
  Start();
  TickJoyToKey();
  EXPECT_EQ(hopla_->Path_JoyToKey.Text(), "C:\\Zeta\\");
  EXPECT_LT(desk_.ListingCount(), 20);
  const Texts quiet = TextsOf(desk_, "drive-errors");
  EXPECT_EQ(quiet, (Texts{"off", "on"}));
  EXPECT_LT(desk_.TraceOf("drive-errors").back().time_ms,
            desk_.TraceOf("file-replace").back().time_ms + 1);
}

// Nowhere on the drives: the person is told, in a box of the window, and
// the box is cleared.
TEST_F(JoyToKeyTest, NotInstalledIsSaidAndClearsTheBox) {
  desk_.AddTreeFolder("C:\\Windows");
  Start();
  TickJoyToKey();
  desk_.RunFor(1100);  // the cleared box's own second
  const auto boxes = desk_.TraceOf("msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "エラー|JoyToKeyがインストールされていません");
  EXPECT_FALSE(hopla_->JtkUseCheckBox.Checked());
  EXPECT_TRUE(TextsOf(desk_, "start").empty());
}

// The box a search ends with must be closed with the switch: the code of a
// press made while it is open runs while it is open, whether the search
// followed a tick in the running program or came at start-up, before the
// window showed (which it then does at once, saying what goes on).
TEST_F(JoyToKeyTest, NotInstalledBoxCanBeClosedWithTheSwitch) {
  for (const bool at_start : {false, true}) {
    sim::SimDesktop desk;
    desk.AnswerMessageBoxes([](const MessageBoxArgs& box) {
      return sim::MessageBoxAnswer{DialogResult::kOk,
                                   box.text == kNotInstalledText ? 5000 : 0};
    });
    desk.AddTreeFolder("C:\\Windows");
    desk.SetListingCost(300);
    THopla* hopla = nullptr;
    if (at_start) {
      desk.PutFile(kSettingsFile, *Utf8ToCp932("[UseJoyToKey]\r\n"
                                               "JoyToKeyの利用=1\r\n"));
    }
    sim::SimProcess& process = desk.Launch(kHoplaPath, [&](Platform& platform) {
      EntryHooks hooks;
      hooks.on_main_window = [&](THopla& window) { hopla = &window; };
      return RunHopla(platform, hooks);
    });
    desk.RunFor(200);
    if (!at_start) {
      ASSERT_NE(hopla, nullptr);
      process.At(desk.Now(), [&] { hopla->JtkUseCheckBox.SetChecked(true); });
    }
    desk.RunFor(400);
    EXPECT_NE(desk.FindWindowByTitle("「ホプラー。」　JoyToKeyを探しています…"),
              kNoWindow)
        << at_start;
    ASSERT_TRUE(
        desk.RunUntil([&] { return !desk.TraceOf("msgbox").empty(); }, 5000));
    const int64_t opened = desk.Now();
    desk.HoldSwitch(opened + 500, opened + 1000);  // "1": a left click
    desk.RunFor(6000);
    const auto mouse = desk.TraceOf("mouse");
    const auto answered = desk.TraceOf("msgbox-answer");
    ASSERT_FALSE(mouse.empty()) << at_start;
    ASSERT_FALSE(answered.empty()) << at_start;
    EXPECT_LT(mouse.front().time_ms, answered.front().time_ms) << at_start;
    EXPECT_EQ(desk.TraceOf("msgbox").size(), 1u) << "one box, once";
    EXPECT_TRUE(process.Running());
  }
}

// Quitting while the search that a tick began runs: nothing is started, no
// box opens, and both saves keep the tick, the person's own change.
TEST_F(JoyToKeyTest, QuitDuringASearchStartsNothingAndKeepsTheTick) {
  desk_.AddTreeFolder("C:\\Windows");
  desk_.SetListingCost(1000);
  Start();
  Do([this] { hopla_->JtkUseCheckBox.SetChecked(true); });
  desk_.RunFor(500);
  Do([this] { hopla_->ShuuryouBtnClick(*hopla_); });
  desk_.RunFor(10000);
  EXPECT_FALSE(process_->Running());
  EXPECT_TRUE(TextsOf(desk_, "start").empty());
  EXPECT_EQ(desk_.TraceOf("msgbox").size(), 1u) << "the quit question alone";
  EXPECT_EQ(desk_.TraceOf("file-replace").size(), 2u);
  EXPECT_EQ(StoredValue(desk_, "UseJoyToKey", "JoyToKeyの利用"), "1");
}

// A start whose window never comes is given up after a few seconds, as if
// JoyToKey had gone: the box is cleared, the person is told.
TEST_F(JoyToKeyTest, StartThatNeverShowsAWindowIsBounded) {
  InstallJoyToKey(false);
  StartsOpenAWindow(/*never=*/true);
  Start();
  Do([this] { hopla_->JtkUseCheckBox.SetChecked(true); });
  ASSERT_TRUE(desk_.RunUntil(
      [this] { return !desk_.TraceOf("msgbox").empty(); }, 10000));
  const int64_t started = desk_.TraceOf("start").at(0).time_ms;
  EXPECT_NEAR(desk_.TraceOf("msgbox").at(0).time_ms - started,
              kStartWaitMs + 1000, 100);  // and the cleared box's second
  EXPECT_FALSE(hopla_->JtkUseCheckBox.Checked());
  EXPECT_NE(desk_.TraceOf("msgbox").at(0).text.find("Vre3.75"),
            std::string::npos);
}

// The folder known and JoyToKey running: no search, no start, the pause.
TEST_F(JoyToKeyTest, KnownFolderAndRunningJoyToKeyOnlyPause) {
  const WindowHandle running = InstallJoyToKey();
  StartWithFile("[UseJoyToKey]\n所在フォルダー=C:\\JoyToKey\\\n");
  desk_.ClearTrace();
  Do([this] { hopla_->JtkUseCheckBox.SetChecked(true); });
  EXPECT_FALSE(hopla_->TimeOverTimer.Enabled());
  desk_.RunFor(1100);
  EXPECT_TRUE(hopla_->TimeOverTimer.Enabled());
  EXPECT_TRUE(TextsOf(desk_, "list").empty());
  EXPECT_TRUE(TextsOf(desk_, "start").empty());
  EXPECT_EQ(State().JoyToKeyWindow, running);
}

// Started from the settings: ticked with its folder, JoyToKey not running.
TEST_F(JoyToKeyTest, SettingsLoadStartsJoyToKeyFromItsFolder) {
  InstallJoyToKey(false);
  StartsOpenAWindow();
  StartWithFile(
      "[UseJoyToKey]\nJoyToKeyの利用=1\n所在フォルダー=C:\\JoyToKey\\\n");
  desk_.RunFor(2500);
  EXPECT_TRUE(TextsOf(desk_, "list").empty());
  // Ticked by the load, whose handler starts it; the load's own look for
  // the window then finds it there.
  EXPECT_EQ(TextsOf(desk_, "start").size(), 1u);
  EXPECT_EQ(State().JoyToKeyWindow, started_);
  EXPECT_EQ(SentTo(started_).at(0), "33789 0 0");
}

// A search of whole drives can take minutes: meanwhile the window answers,
// shows that a search is going on, and the switch is measured; the code
// entered meanwhile runs after the search.
TEST_F(JoyToKeyTest, WindowAnswersAndCodesWaitDuringASearch) {
  for (int i = 0; i < 300; ++i) {
    desk_.AddTreeFolder("C:\\Data\\F" + std::to_string(i));
  }
  desk_.AddTreeFile("E:\\JoyToKey\\JoyToKey.exe");
  desk_.SetListingCost(10);
  InstallJoyToKey(true, "E:\\JoyToKey\\");
  Start();
  Do([this] { hopla_->JtkUseCheckBox.SetChecked(true); });
  desk_.RunFor(500);
  EXPECT_NE(desk_.FindWindowByTitle("「ホプラー。」　JoyToKeyを探しています…"),
            kNoWindow);
  Enter("1", 100);  // a long press: a left click, once the search is over
  std::optional<intptr_t> answer;
  const WindowHandle window = hopla_->Handle();
  desk_.Launch("other.exe", [&](Platform& p) {
    answer = p.SendToWindow(window, kWmGetObject, 0, -4, 200);
    return 0;
  });
  desk_.RunFor(2000);
  EXPECT_TRUE(answer.has_value()) << "the window did not answer";
  EXPECT_TRUE(desk_.TraceOf("mouse").empty()) << "ran during the search";
  ASSERT_TRUE(desk_.RunUntil([this] { return !desk_.TraceOf("mouse").empty(); },
                             10000));
  const int64_t searched_until = desk_.TraceOf("drive-errors").back().time_ms;
  EXPECT_GT(desk_.TraceOf("mouse").at(0).time_ms, searched_until);
  EXPECT_EQ(desk_.FindWindowByTitle("「ホプラー。」"), hopla_->Handle());
}

// A busy JoyToKey (150 ms for each message) takes the heartbeat at its own
// pace, one at a time, while the switch is still polled every 50 ms: short
// presses of 70 ms are all measured.
TEST_F(JoyToKeyTest, BusyJoyToKeyCannotSlowTheSwitch) {
  const WindowHandle joytokey = InstallJoyToKey();
  Start();
  TickJoyToKey();
  desk_.SetBusy(joytokey, 150);
  desk_.ClearTrace();
  int64_t at = desk_.Now() + 100;
  for (int i = 0; i < 3; ++i, at += 200) desk_.HoldSwitch(at, at + 70);
  desk_.RunFor(700);
  EXPECT_EQ(State().PressCode.Get(), "000");
  const auto beats = desk_.TraceOf("send");
  ASSERT_GE(beats.size(), 3u);
  for (size_t i = 1; i < beats.size(); ++i) {
    EXPECT_GE(beats[i].time_ms - beats[i - 1].time_ms, 150) << i;
  }
}

}  // namespace
}  // namespace hopla
