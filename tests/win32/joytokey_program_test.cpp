// The real program and a JoyToKey stand-in (which logs every message it
// gets, with times) in a folder of drive C:: found by the search, written to
// the settings file, started, told 33789 and 33790 and then the heartbeat,
// handed key indexes in key input mode, and ended with Hopla. A stand-in
// that takes its time over every message does not slow the switch.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hopla_program.h"

namespace hopla::wine_test {
namespace {

constexpr int kFoundTimeoutMs = 30000;
constexpr int kExitTimeoutMs = 10000;

struct Message {
  long long at_ms;
  unsigned number;
  long long lparam;
};

// JoyToKey.exe in a folder of its own under C:.
class StandIn {
 public:
  StandIn() {
    installed_ =
        CopyFileW(ProgramPath(L"hopla-fake-joytokey.exe").c_str(),
                  (folder_.path() + L"\\JoyToKey.exe").c_str(), FALSE) != FALSE;
  }
  ~StandIn() {
    if (HWND window = Window()) {
      PostMessageW(window, WM_CLOSE, 0, 0);
      WaitUntil([&] { return Window() == nullptr; }, kExitTimeoutMs);
      Sleep(200);
    }
  }
  bool installed() const { return installed_; }
  std::wstring Folder() const { return folder_.path() + L"\\"; }
  static HWND Window() { return FindWindowW(L"HoplaFakeJoyToKey", nullptr); }
  std::vector<Message> Messages() const {
    std::vector<Message> messages;
    std::ifstream log{
        std::filesystem::path(folder_.path() + L"\\joytokey-messages.log")};
    std::string line;
    while (std::getline(log, line)) {
      Message m{};
      unsigned long long wparam = 0;
      std::istringstream(line) >> m.at_ms >> m.number >> wparam >> m.lparam;
      messages.push_back(m);
    }
    return messages;
  }

 private:
  TempFolder folder_;
  bool installed_ = false;
};

std::string StoredFolder(const std::wstring& settings_folder) {
  const std::string text = ReadSettingsFile(settings_folder);
  const std::string key = "所在フォルダー=";
  const size_t at = text.find(key);
  if (at == std::string::npos) return "";
  const size_t from = at + key.size();
  return text.substr(from, text.find('\r', from) - from);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(c));
  return text;
}

TEST(Win32JoyToKey, FoundStartedToldAndEndedWithHopla) {
  StandIn joytokey;
  ASSERT_TRUE(joytokey.installed());
  TempFolder work;
  auto hopla = HoplaProgram::Start(
      work.path(), QuickSettings(4, "[UseJoyToKey]\nJoyToKeyの利用=1\n"));
  ASSERT_NE(hopla, nullptr);
  ASSERT_TRUE(
      WaitUntil([] { return StandIn::Window() != nullptr; }, kFoundTimeoutMs));
  EXPECT_EQ(Lower(StoredFolder(work.path())), Lower(ToUtf8(joytokey.Folder())));
  Sleep(1500);
  std::vector<Message> told = joytokey.Messages();
  ASSERT_GE(told.size(), 10u);
  EXPECT_EQ(told[0].number, 33789u);
  EXPECT_EQ(told[1].number, 33790u);
  std::vector<long long> gaps;
  for (size_t i = 2; i < told.size(); ++i) {
    EXPECT_EQ(told[i].number, 33768u) << i;
    if (i > 2) gaps.push_back(told[i].at_ms - told[i - 1].at_ms);
  }
  std::sort(gaps.begin(), gaps.end());
  EXPECT_NEAR(gaps[gaps.size() / 2], 50, 15) << "median heartbeat gap";

  // Key input mode hands the key index over: Tab is index 0.
  POINT before_toggle{};
  GetCursorPos(&before_toggle);
  hopla->ToggleKeyMode();
  Sleep(kPressGapMs);
  hopla->Run("0");
  // On a busy machine the execution may come a little after the quiet time.
  auto is_key = [](const Message& m) { return m.number == 33788; };
  WaitUntil(
      [&] {
        told = joytokey.Messages();
        const auto found = std::find_if(told.begin(), told.end(), is_key);
        return found != told.end() && std::distance(found, told.end()) >= 3;
      },
      kFoundTimeoutMs);
  auto key = std::find_if(told.begin(), told.end(), is_key);
  ASSERT_NE(key, told.end()) << [&] {
    std::string seen;  // what the stand-in heard besides heartbeats
    for (const Message& m : told) {
      if (m.number != 33768u) seen.append(" ").append(std::to_string(m.number));
    }
    struct Titles {
      DWORD process;
      std::string text;
    } titles{hopla->process().id(), ""};
    EnumWindows(
        [](HWND w, LPARAM data) -> BOOL {
          auto* t = reinterpret_cast<Titles*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == t->process && IsWindowVisible(w)) {
            wchar_t title[128] = {};
            GetWindowTextW(w, title, 128);
            t->text.append(" [").append(ToUtf8(title)).append("]");
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&titles));
    POINT now{};
    GetCursorPos(&now);
    seen.append("; cursor ")
        .append(std::to_string(before_toggle.x))
        .append(",")
        .append(std::to_string(before_toggle.y))
        .append(" -> ")
        .append(std::to_string(now.x))
        .append(",")
        .append(std::to_string(now.y));
    return std::string("told:")
        .append(seen)
        .append("; Hopla's windows:")
        .append(titles.text);
  }();
  ASSERT_GE(std::distance(key, told.end()), 3);
  EXPECT_EQ(key->lparam, 48);
  EXPECT_EQ((key + 1)->number, 33779u);
  EXPECT_EQ((key + 1)->lparam, 0);
  EXPECT_EQ((key + 2)->number, 33778u) << "nothing between the two";
  EXPECT_GE((key + 2)->at_ms - (key + 1)->at_ms, 90);

  HWND window = StandIn::Window();
  EXPECT_TRUE(hopla->Quit());
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, kExitTimeoutMs))
      << "closing Hopla ends JoyToKey";
}

// Each message takes the stand-in 150 ms: the heartbeat goes at its pace,
// one at a time, while the switch is polled every 50 ms as ever. A middle
// click needs both 70 ms presses of "010" to be seen.
TEST(Win32JoyToKey, BusyJoyToKeyDoesNotSlowTheSwitch) {
  _wputenv_s(L"HOPLA_FAKE_JOYTOKEY_BUSY_MS", L"150");
  StandIn joytokey;
  ASSERT_TRUE(joytokey.installed());
  auto logger =
      InputLogger::Start(RECT{40, 40, 440, 240}, RECT{200, 100, 300, 160});
  ASSERT_NE(logger, nullptr);
  TempFolder work;
  auto hopla = HoplaProgram::Start(
      work.path(),
      QuickSettings(4, "[UseJoyToKey]\nJoyToKeyの利用=1\n所在フォルダー=" +
                           ToUtf8(joytokey.Folder()) + "\n"));
  _wputenv_s(L"HOPLA_FAKE_JOYTOKEY_BUSY_MS", L"");
  ASSERT_NE(hopla, nullptr);
  ASSERT_TRUE(
      WaitUntil([] { return StandIn::Window() != nullptr; }, kFoundTimeoutMs));
  Sleep(1500);
  SetForegroundWindow(logger->Window());
  Sleep(200);
  for (int i = 0; i < 3; ++i) {
    SetCursorPos(100 + 40 * i, 200);
    hopla->Press(70);
    Sleep(kPressGapMs);
    hopla->Press(kLongPressMs);
    Sleep(kPressGapMs);
    hopla->Press(70);
    hopla->AwaitExecution();
  }
  EXPECT_EQ(logger->LinesOf("mdown").size(), 3u);
  EXPECT_TRUE(logger->LinesOf("ldown rdown").empty());
  EXPECT_TRUE(hopla->Quit());
}

}  // namespace
}  // namespace hopla::wine_test
