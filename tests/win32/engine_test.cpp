// The engine on real threads and real timers: the whole program runs inside
// the test process on its own UI thread, with the switch read from the test
// switch's shared byte, so the test can press it and read the press code.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "app/hopla.h"
#include "hopla_program.h"
#include "in_process_hopla.h"
#include "wine_helpers.h"

namespace hopla::wine_test {
namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr wchar_t kPeerCounterName[] = L"Local\\HoplaFakeJoyToKeyCounter";
constexpr UINT kPeerHangMessage = WM_APP + 1;

void Press(TestSwitchDriver& driver, int ms) {
  driver.SetDown(true);
  Sleep(ms);
  driver.SetDown(false);
}

TEST(Win32Engine, ShortAndLongPressesThroughTheTestSwitch) {
  TestSwitchDriver driver;
  ASSERT_TRUE(driver.ok());
  InProcessHopla hopla;
  ASSERT_TRUE(hopla.WaitShown());
  // Defaults: long after 40 polls of 8 ms, that is about a third of a second.
  Press(driver, 120);
  EXPECT_TRUE(WaitUntil([&] { return hopla.Code() == "0"; }, 3000))
      << hopla.Code();
  Press(driver, 900);
  EXPECT_TRUE(WaitUntil([&] { return hopla.Code() == "01"; }, 3000))
      << hopla.Code();
  EXPECT_TRUE(hopla.Quit());
}

// A JoyToKey stand-in in another process gets the heartbeat about every
// 50 ms; once it hangs, the switch is still measured.
TEST(Win32Engine, HeartbeatReachesJoyToKeyAndAHungOneCannotStopTheSwitch) {
  TestSwitchDriver driver;
  ASSERT_TRUE(driver.ok());
  auto peer = ChildProcess::Start(
      ToWide(HOPLA_EXE_DIR) + L"/hopla-fake-joytokey.exe", L"", L"");
  ASSERT_NE(peer, nullptr);
  HWND peer_window = FindVisibleWindow(L"", L"JoyToKey test peer",
                                       kStartTimeoutMs, peer->id());
  ASSERT_NE(peer_window, nullptr);
  HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, kPeerCounterName);
  ASSERT_NE(mapping, nullptr);
  auto* count = static_cast<volatile LONG*>(
      MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(LONG)));
  ASSERT_NE(count, nullptr);

  InProcessHopla hopla;
  ASSERT_TRUE(hopla.WaitShown());
  // Its folder is known (the file is in the working folder): ticking the box
  // finds its window and starts nothing.
  std::ofstream("Hoplar.ini", std::ios::binary)
      << SettingsFileBytes("[UseJoyToKey]\n所在フォルダー=C:\\JoyToKey\\\n");
  // Ticked as the user ticks it, on the program's own thread.
  PostMessageW(reinterpret_cast<HWND>(hopla.window().JtkUseCheckBox.Handle()),
               BM_CLICK, 0, 0);
  ASSERT_TRUE(
      WaitUntil([&] { return hopla.window().JtkUseCheckBox.Checked(); }, 3000));
  Sleep(1200);  // the box's handler pauses a second
  const LONG start = *count;
  Sleep(2000);
  const LONG per_two_seconds = *count - start;
  EXPECT_GE(per_two_seconds, 30);  // every 50 ms, with room for a busy host
  EXPECT_LE(per_two_seconds, 42);

  PostMessageW(peer_window, kPeerHangMessage, 0, 0);
  Sleep(200);
  Press(driver, 120);
  EXPECT_TRUE(WaitUntil([&] { return hopla.Code() == "0"; }, 4000))
      << "the switch is still measured while JoyToKey hangs";
  EXPECT_TRUE(hopla.Quit());
  UnmapViewOfFile(const_cast<LONG*>(count));
  CloseHandle(mapping);
}

}  // namespace
}  // namespace hopla::wine_test
