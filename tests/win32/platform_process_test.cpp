// The platform's process-level services on real kernel objects: the
// single-instance mutex, the clock and timer resolution, events and threads,
// the two switch sources, and whole-file replacement.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "platform/win32/switch_source.h"
#include "platform/win32/win32_platform.h"
#include "wine_helpers.h"

namespace hopla::win32 {
namespace {

using wine_test::TempFolder;
using wine_test::ToUtf8;

constexpr int kSleepMs = 50;
// Wine sleeps within a fraction of a millisecond; leave room for a busy
// machine but catch a sleep rounded to a coarse tick or not made at all.
constexpr int64_t kSleepSlackMs = 40;
constexpr int kEventTimeoutMs = 2000;

std::string UniqueName(const char* stem) {
  return std::string(stem) + "-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(GetTickCount64());
}

TEST(Win32PlatformProcess, SecondSingleInstanceMutexOfTheSameNameIsRefused) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  const std::string name = UniqueName("Hopla.exe");
  EXPECT_TRUE(platform.CreateSingleInstanceMutex(name));
  EXPECT_FALSE(platform.CreateSingleInstanceMutex(name));
  // Another file name is another program.
  EXPECT_TRUE(platform.CreateSingleInstanceMutex(name + "-renamed"));
  // The first one stays open: still refused later on.
  EXPECT_FALSE(platform.CreateSingleInstanceMutex(name));
}

TEST(Win32PlatformProcess, ExecutablePathNamesThisProgram) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  const std::string path = platform.ExecutablePath();
  EXPECT_NE(path.find("hopla_win32_tests.exe"), std::string::npos) << path;
  EXPECT_EQ(path.find('\0'), std::string::npos);
}

// Wine sleeps precisely without it; Windows rounds short sleeps to 15.6 ms
// unless the resolution is raised, so the request itself is what we check.
TEST(Win32PlatformProcess, AsksForOneMillisecondTimerResolution) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  EXPECT_TRUE(platform.TimerResolutionRaised());
}

TEST(Win32PlatformProcess, ClockIsMonotonicAndSleepLastsWhatItSays) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  const int64_t before = platform.NowMs();
  platform.Sleep(kSleepMs);
  const int64_t slept = platform.NowMs() - before;
  EXPECT_GE(slept, kSleepMs - 1);
  EXPECT_LT(slept, kSleepMs + kSleepSlackMs);
  platform.Sleep(-5);  // a negative delay is no delay, not 49 days
  EXPECT_GE(platform.NowMs(), before + slept);
}

TEST(Win32PlatformProcess, AutoResetEventReleasesOneWaitAndWakesAThread) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  auto initially_set = platform.CreateAutoResetEvent(true);
  EXPECT_TRUE(initially_set->Wait(0));
  EXPECT_FALSE(initially_set->Wait(0)) << "not reset by the first wait";

  auto go = platform.CreateAutoResetEvent(false);
  auto done = platform.CreateAutoResetEvent(false);
  std::atomic<int> runs{0};
  platform.StartThread([&] {
    if (go->Wait(kEventTimeoutMs)) ++runs;
    done->Set();
  });
  go->Set();
  ASSERT_TRUE(done->Wait(kEventTimeoutMs));
  EXPECT_EQ(runs.load(), 1);

  const int64_t before = platform.NowMs();
  EXPECT_FALSE(go->Wait(kSleepMs));
  EXPECT_GE(platform.NowMs() - before, kSleepMs - 1);
}

TEST(Win32PlatformProcess, AThreadThatThrowsDoesNotEndTheProgram) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  auto done = platform.CreateAutoResetEvent(false);
  platform.StartThread([&] {
    done->Set();
    throw std::runtime_error("mover failed");
  });
  ASSERT_TRUE(done->Wait(kEventTimeoutMs));
  platform.Sleep(kSleepMs);  // the throw has happened by now
  SUCCEED();
}

// The test switch is what outside drivers press the real program with.
TEST(Win32PlatformProcess, TestSwitchReadsBitZeroOfTheSharedByte) {
  Win32Platform platform(SwitchSourceKind::kSharedMemory);
  SwitchPoll poll = platform.PollSwitch();
  EXPECT_TRUE(poll.ok) << "no driver yet: the switch is up, not broken";
  EXPECT_EQ(poll.buttons, 0u);

  {
    wine_test::TestSwitchDriver driver;
    ASSERT_TRUE(driver.ok());
    driver.SetDown(true);
    poll = platform.PollSwitch();
    EXPECT_TRUE(poll.ok);
    EXPECT_EQ(poll.buttons, 1u);
    driver.SetByte(0xFE);  // other bits are not the switch
    EXPECT_EQ(platform.PollSwitch().buttons, 0u);
    driver.SetDown(true);
  }
  // The driver ended with the switch down: the mapping is gone, and the
  // switch reads as up, not held forever.
  poll = platform.PollSwitch();
  EXPECT_TRUE(poll.ok);
  EXPECT_EQ(poll.buttons, 0u);
}

// Wine has no joystick here; a missing device must read as "no press".
TEST(Win32PlatformProcess, MissingJoystickIsAFailedPollWithoutButtons) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  const SwitchPoll poll = platform.PollSwitch();
  EXPECT_FALSE(poll.ok);
  EXPECT_EQ(poll.buttons, 0u);
}

TEST(Win32PlatformProcess, ReplaceFileBytesReplacesWholeAndLeavesNoTemp) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  TempFolder folder;
  const std::string path = ToUtf8(folder.path()) + "\\Hoplar.ini";
  EXPECT_FALSE(platform.ReadFileBytes(path).has_value());

  // Shift-JIS bytes, a NUL and CR LF pass through untouched.
  const std::string first("[\x83\x7a\x83\x76\x83\x89\x81\x5b]\r\nA=1\0B", 21);
  ASSERT_TRUE(platform.ReplaceFileBytes(path, first));
  EXPECT_EQ(platform.ReadFileBytes(path), first);
  ASSERT_TRUE(platform.ReplaceFileBytes(path, "short"));
  EXPECT_EQ(platform.ReadFileBytes(path), "short");
  ASSERT_TRUE(platform.ReplaceFileBytes(path, ""));
  EXPECT_EQ(platform.ReadFileBytes(path), "");
  EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"Hoplar.ini"});
}

TEST(Win32PlatformProcess, RefusedReplaceKeepsTheOldFileAndReportsIt) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  TempFolder folder;
  const std::string path = ToUtf8(folder.path()) + "\\Hoplar.ini";
  ASSERT_TRUE(platform.ReplaceFileBytes(path, "old"));
  SetFileAttributesW((folder.path() + L"\\Hoplar.ini").c_str(),
                     FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(platform.ReplaceFileBytes(path, "new"));
  EXPECT_EQ(platform.ReadFileBytes(path), "old");
  EXPECT_EQ(folder.FileNames(), std::vector<std::wstring>{L"Hoplar.ini"});

  EXPECT_FALSE(platform.ReplaceFileBytes(
      ToUtf8(folder.path()) + "\\missing\\Hoplar.ini", "x"));
  EXPECT_FALSE(platform.ReplaceFileBytes(ToUtf8(folder.path()), "x"))
      << "a folder is not replaced by a file";
  EXPECT_EQ(folder.FileNames().size(), 1u);
}

}  // namespace
}  // namespace hopla::win32
