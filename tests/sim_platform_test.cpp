// What a program sees of the simulated desktop: its UI loop and the person's
// actions, message boxes, sounds, the switch, the mutex, cursor and files.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "sim_test_support.h"

namespace hopla::sim {
namespace {

using testing::TextsOf;
using testing::TimerHost;
using testing::TimesOf;
using Times = std::vector<int64_t>;
using Texts = std::vector<std::string>;

// The UI loop sleeps until its next timer; time jumps from tick to tick.
TEST(SimPlatform, MessageLoopWaitsForTheNextTimer) {
  std::unique_ptr<TimerHost> host;
  SimDesktop desktop;
  SimProcess& process = desktop.Launch("timer.exe", [&](Platform& p) {
    host = std::make_unique<TimerHost>(p, 250, [&p] {
      if (p.NowMs() >= 1000) p.QuitMessageLoop();
    });
    p.RunMessageLoop(*host);
    return 7;
  });
  desktop.RunFor(5000);
  EXPECT_EQ(host->ticks, (Times{250, 500, 750, 1000}));
  EXPECT_EQ(host->calls, (Times{0, 250, 500, 750, 1000}));
  EXPECT_EQ(process.ExitCode(), 7);
  EXPECT_EQ(TimesOf(desktop, "exit"), (Times{1000}));
}

// A quit asked before the loop runs ends it at once; a WM_QUIT posted to a
// form ends it too.
TEST(SimPlatform, QuitBeforeTheLoopEndsItAtOnce) {
  SimDesktop desktop;
  SimProcess& process = desktop.Launch("quit.exe", [&](Platform& p) {
    TimerHost host(p, 100);
    p.QuitMessageLoop();
    p.RunMessageLoop(host);
    desktop.Record("note", std::to_string(host.calls.size()));
    return 0;
  });
  desktop.RunFor(1000);
  EXPECT_EQ(TextsOf(desktop, "note"), (Texts{"0"}));
  EXPECT_EQ(TimesOf(desktop, "exit"), (Times{0}));
  EXPECT_FALSE(process.Running());
}

// The person's actions run on the UI thread between two dispatches, at
// their time; an action scheduled for a time already past runs at once.
TEST(SimPlatform, ActionsRunOnTheUiThreadAtTheirTime) {
  std::unique_ptr<TimerHost> host;
  SimDesktop desktop;
  SimProcess& process = desktop.Launch("ui.exe", [&](Platform& p) {
    host = std::make_unique<TimerHost>(p, 1000);
    p.RunMessageLoop(*host);
    return 0;
  });
  process.At(1500, [&] { desktop.Record("action", "second"); });
  process.At(300, [&] { desktop.Record("action", "first"); });
  process.At(1500, [&] { desktop.Record("action", "third"); });
  desktop.RunFor(2000);
  EXPECT_EQ(TextsOf(desktop, "action"), (Texts{"first", "second", "third"}));
  EXPECT_EQ(TimesOf(desktop, "action"), (Times{300, 1500, 1500}));
  process.At(10, [&] { desktop.Record("action", "late"); });
  desktop.RunFor(1);
  EXPECT_EQ(TimesOf(desktop, "action").back(), 2000);
}

// A message box opened by a timer: the timer keeps firing and the person's
// actions keep arriving while it is open; it returns the scripted answer at
// the scripted time.
TEST(SimPlatform, ModalMessageBoxKeepsTheLoopServed) {
  std::unique_ptr<TimerHost> host;
  SimDesktop desktop;
  desktop.AnswerMessageBoxes([](const MessageBoxArgs& desc) {
    EXPECT_EQ(desc.caption, "Hopla");
    return MessageBoxAnswer{DialogResult::kCancel, 1000};
  });
  std::vector<DialogResult> answers;
  SimProcess& process = desktop.Launch("modal.exe", [&](Platform& p) {
    host = std::make_unique<TimerHost>(p, 100, [&] {
      if (host->ticks.size() != 3) return;  // the box opens at 300
      MessageBoxArgs desc{kNoWindow, "Really?", "Hopla",
                          MessageBoxButtons::kOkCancel};
      answers.push_back(p.ShowMessageBox(desc));
      p.QuitMessageLoop();
    });
    p.RunMessageLoop(*host);
    return 0;
  });
  process.At(650, [&] { desktop.Record("action", "during the box"); });
  desktop.RunFor(3000);
  EXPECT_EQ(answers, std::vector<DialogResult>{DialogResult::kCancel});
  EXPECT_EQ(TextsOf(desktop, "msgbox"), (Texts{"Hopla|Really?"}));
  EXPECT_EQ(TimesOf(desktop, "msgbox"), (Times{300}));
  EXPECT_EQ(TextsOf(desktop, "msgbox-answer"), (Texts{"cancel"}));
  EXPECT_EQ(TimesOf(desktop, "msgbox-answer"), (Times{1300}));
  EXPECT_EQ(TimesOf(desktop, "action"), (Times{650}));
  // The answer comes before the timer due at the same time.
  EXPECT_EQ(host->ticks, (Times{100, 200, 300, 400, 500, 600, 700, 800, 900,
                                1000, 1100, 1200}));
}

// By default the person answers OK at once; a box with one OK button
// answers OK whatever the script says.
TEST(SimPlatform, MessageBoxDefaults) {
  SimDesktop desktop;
  std::vector<DialogResult> answers;
  desktop.Launch("box.exe", [&](Platform& p) {
    answers.push_back(
        p.ShowMessageBox({kNoWindow, "a", "b", MessageBoxButtons::kOkCancel}));
    return 0;
  });
  desktop.RunFor(10);
  desktop.AnswerMessageBoxes([](const MessageBoxArgs&) {
    return MessageBoxAnswer{DialogResult::kCancel, 0};
  });
  desktop.Launch("box.exe", [&](Platform& p) {
    answers.push_back(p.ShowMessageBox({kNoWindow, "c", "d"}));
    return 0;
  });
  desktop.RunFor(10);
  EXPECT_EQ(answers,
            (std::vector<DialogResult>{DialogResult::kOk, DialogResult::kOk}));
  EXPECT_EQ(TimesOf(desktop, "msgbox-answer"), (Times{0, 10}));
}

// A synchronous sound lasts its length; an unknown one returns at once.
TEST(SimPlatform, SoundTakesItsLength) {
  SimDesktop desktop;
  desktop.SetSoundLength("ding.wav", 400);
  Times after;
  desktop.Launch("sound.exe", [&](Platform& p) {
    p.PlaySoundFile("ding.wav");
    after.push_back(p.NowMs());
    p.PlaySoundFile("other.wav");
    after.push_back(p.NowMs());
    return 0;
  });
  desktop.RunFor(1000);
  EXPECT_EQ(after, (Times{400, 400}));
  EXPECT_EQ(TextsOf(desktop, "sound"), (Texts{"ding.wav", "other.wav"}));
}

// The switch follows the script: down in [down, up), polls fail in a gap.
TEST(SimPlatform, SwitchFollowsTheScript) {
  SimDesktop desktop;
  desktop.HoldSwitch(100, 300);
  desktop.FailSwitch(500, 600);
  std::vector<SwitchPoll> polls;
  desktop.Launch("poll.exe", [&](Platform& p) {
    for (int32_t wait : {50, 50, 199, 1, 250, 100}) {
      p.Sleep(wait);
      polls.push_back(p.PollSwitch());
    }
    return 0;
  });
  desktop.RunFor(1000);
  ASSERT_EQ(polls.size(), 6u);
  std::vector<std::string> seen;
  for (const SwitchPoll& poll : polls) {
    seen.push_back(poll.ok ? std::to_string(poll.buttons) : "fail");
  }
  // At 50, 100, 299, 300, 550, 650.
  EXPECT_EQ(seen, (Texts{"0", "1", "1", "0", "fail", "0"}));
}

// The second instance's mutex fails; once the first has ended, the name is
// free again.
TEST(SimPlatform, SingleInstanceMutexIsFreedAtExit) {
  SimDesktop desktop;
  std::vector<bool> created;
  auto program = [&](int64_t lives_ms) {
    return [&, lives_ms](Platform& p) {
      created.push_back(p.CreateSingleInstanceMutex("HoplaMutex"));
      p.Sleep(static_cast<int32_t>(lives_ms));
      return 0;
    };
  };
  SimProcess& first = desktop.Launch("first.exe", program(1000));
  desktop.RunFor(10);
  desktop.Launch("second.exe", program(0));
  desktop.RunFor(10);
  EXPECT_EQ(created, (std::vector<bool>{true, false}));
  desktop.RunFor(1000);
  EXPECT_FALSE(first.Running());
  desktop.Launch("third.exe", program(0));
  desktop.RunFor(10);
  EXPECT_EQ(created, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(first.ExecutablePath(), "first.exe");
}

// The cursor stays on the screen, as on Windows.
TEST(SimPlatform, CursorIsClampedToTheScreen) {
  SimDesktop desktop({0, 0, 800, 600});
  std::optional<Point> read;
  desktop.Launch("cursor.exe", [&](Platform& p) {
    p.SetCursorPos({-5, 2000});
    read = p.CursorPos();
    p.SetCursorPos({10, 20});
    return 0;
  });
  desktop.RunFor(1);
  EXPECT_EQ(read, (Point{0, 599}));
  EXPECT_EQ(TextsOf(desktop, "cursor"), (Texts{"0,599", "10,20"}));
  EXPECT_EQ(desktop.Cursor(), (Point{10, 20}));
  desktop.PlaceCursor({900, 5});
  EXPECT_EQ(desktop.Cursor(), (Point{799, 5}));
}

// Files: read as given, replaced whole, or refused leaving the old bytes.
TEST(SimPlatform, FilesCanBeReadReplacedAndRefused) {
  SimDesktop desktop;
  desktop.PutFile(".\\Hoplar.ini", "old");
  desktop.RefuseWrites(".\\locked.ini", true);
  desktop.PutFile(".\\locked.ini", "kept");
  std::vector<bool> wrote;
  std::optional<std::string> before;
  std::optional<std::string> missing;
  desktop.Launch("files.exe", [&](Platform& p) {
    before = p.ReadFileBytes(".\\Hoplar.ini");
    missing = p.ReadFileBytes("Hoplar.ini");  // compared as given
    wrote.push_back(p.ReplaceFileBytes(".\\Hoplar.ini", "new"));
    wrote.push_back(p.ReplaceFileBytes(".\\locked.ini", "lost"));
    return 0;
  });
  desktop.RunFor(1);
  EXPECT_EQ(before, "old");
  EXPECT_EQ(missing, std::nullopt);
  EXPECT_EQ(wrote, (std::vector<bool>{true, false}));
  EXPECT_EQ(desktop.File(".\\Hoplar.ini"), "new");
  EXPECT_EQ(desktop.File(".\\locked.ini"), "kept");
  desktop.RemoveFile(".\\Hoplar.ini");
  EXPECT_EQ(desktop.File(".\\Hoplar.ini"), std::nullopt);
}

// A wait on the test's own thread cannot be simulated: it is refused.
TEST(SimPlatform, BlockingCallOnTheTestThreadIsRefused) {
  SimDesktop desktop;
  SimProcess& process = desktop.Launch("idle.exe", [](Platform&) { return 0; });
  EXPECT_THROW(process.Sleep(10), std::logic_error);
  EXPECT_EQ(desktop.Now(), 0);
}

}  // namespace
}  // namespace hopla::sim
