// A person with only the switch, on their own: the real program, moved and
// clicked through nothing but the test switch, closes its own boxes. The
// test reads where the windows are and watches the cursor; once the program
// runs it never moves the cursor or clicks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "hopla_program.h"
#include "switch_walker.h"

namespace hopla::wine_test {
namespace {

constexpr int kBoxTimeoutMs = 10000;
constexpr int kExitTimeoutMs = 10000;
constexpr int kStartTimeoutMs = 20000;
// Forty heartbeats, with room for a busy host.
constexpr int kHeartbeatTimeoutMs = 2000;
// Some executions: time for a warning that should not come again.
constexpr int kNoSecondWarningMs = 1500;
// 500 px/s: quick, and a stop lands within the reach of one 50 ms poll.
constexpr int kWalkSpeed = 5;
constexpr UINT kJapaneseCodePage = 932;
// Where the person's cursor happens to be when they begin, set before the
// program starts: the boxes lie to the right and below ...
constexpr POINT kTopLeftStart{150, 140};
// ... or to the left and above.
constexpr POINT kBottomRightStart{1130, 900};

struct ButtonSearch {
  const wchar_t* text;
  HWND found;
};

BOOL CALLBACK VisitForButton(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<ButtonSearch*>(lparam);
  wchar_t window_class[64] = {};
  wchar_t text[64] = {};
  GetClassNameW(window, window_class, 64);
  GetWindowTextW(window, text, 64);
  if (std::wstring(window_class) == L"Button" &&
      std::wstring(text) == search->text) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A push button anywhere inside `window`, by its caption.
HWND FindButton(HWND window, const wchar_t* text) {
  ButtonSearch search{text, nullptr};
  EnumChildWindows(window, &VisitForButton, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// The settings file as Hopla left it, decoded from code page 932.
std::wstring SettingsText(const std::wstring& folder) {
  std::ifstream file(std::filesystem::path(folder + L"\\Hoplar.ini"),
                     std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), {}};
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(kJapaneseCodePage, 0, bytes.data(),
                                       length, nullptr, 0);
  std::wstring text(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(kJapaneseCodePage, 0, bytes.data(), length, text.data(),
                      size);
  return text;
}

// The JoyToKey stand-in's count of heartbeat messages.
class HeartbeatCounter {
 public:
  HeartbeatCounter()
      : mapping_(OpenFileMappingW(FILE_MAP_READ, FALSE,
                                  L"Local\\HoplaFakeJoyToKeyCounter")) {
    if (mapping_ != nullptr) {
      count_ = static_cast<volatile LONG*>(
          MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(LONG)));
    }
  }
  ~HeartbeatCounter() {
    if (count_ != nullptr) UnmapViewOfFile(const_cast<LONG*>(count_));
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  HeartbeatCounter(const HeartbeatCounter&) = delete;
  HeartbeatCounter& operator=(const HeartbeatCounter&) = delete;
  bool ok() const { return count_ != nullptr; }
  LONG count() const { return *count_; }

 private:
  HANDLE mapping_;
  volatile LONG* count_ = nullptr;
};

// Quitting with the switch alone: "終了", then OK at the question. The
// program ends as a quit through the question ends it, settings written.
TEST(Win32OneSwitch, QuitsThroughItsButtonAndTheQuestion) {
  TempFolder folder;
  SetCursorPos(kTopLeftStart.x, kTopLeftStart.y);
  auto hopla = HoplaProgram::Start(folder.path(), QuickSettings(kWalkSpeed));
  ASSERT_NE(hopla, nullptr);
  const DWORD id = hopla->process().id();
  HWND quit_button = FindButton(hopla->MainWindow(), L"終了");
  ASSERT_NE(quit_button, nullptr);
  SwitchWalker person(*hopla);

  HWND question = nullptr;
  ASSERT_TRUE(person.ClickOn(ScreenRect(quit_button), [&] {
    question = FindMessageBox(L"警告", 0, id);
    return question != nullptr;
  })) << person.log();
  EXPECT_EQ(MessageBoxText(question), L"｢ホプラー。」を終了しますか？");
  ASSERT_TRUE(person.ClickOn(ScreenRect(GetDlgItem(question, IDOK)), [&] {
    return !IsWindow(question);
  })) << person.log();

  ASSERT_TRUE(hopla->process().WaitForExit(kExitTimeoutMs)) << person.log();
  EXPECT_EQ(hopla->process().ExitCode(), 0u);
  EXPECT_NE(SettingsText(folder.path()).find(L"[バージョン]"),
            std::wstring::npos)
      << "the settings were written at the close";
  RecordProperty("walk", person.log());
}

// JoyToKey's window is found at the start and then goes away: the warning
// opens inside the program's own execution, and the switch still walks the
// cursor to its OK and clicks it. The program runs on, JoyToKey use off.
TEST(Win32OneSwitch, ClosesTheJoyToKeyWarningItRaised) {
  auto peer =
      ChildProcess::Start(ProgramPath(L"hopla-fake-joytokey.exe"), L"", L"");
  ASSERT_NE(peer, nullptr);
  ASSERT_NE(FindVisibleWindow(L"", L"JoyToKey test peer", kStartTimeoutMs,
                              peer->id()),
            nullptr);
  HeartbeatCounter heartbeats;
  ASSERT_TRUE(heartbeats.ok());
  TempFolder folder;
  TempFolder joytokey_folder;
  SetCursorPos(kBottomRightStart.x, kBottomRightStart.y);
  auto hopla = HoplaProgram::Start(
      folder.path(),
      QuickSettings(kWalkSpeed,
                    "[UseJoyToKey]\nJoyToKeyの利用=1\n所在フォルダー=" +
                        ToUtf8(joytokey_folder.path()) + "\\\n"));
  ASSERT_NE(hopla, nullptr);
  const DWORD id = hopla->process().id();
  const LONG before = heartbeats.count();
  ASSERT_TRUE(WaitUntil([&] { return heartbeats.count() > before; },
                        kHeartbeatTimeoutMs))
      << "the stand-in was found: it gets the heartbeat";
  EXPECT_EQ(FindMessageBox(L"エラー", 0, id), nullptr);

  peer.reset();
  HWND warning = FindMessageBox(L"エラー", kBoxTimeoutMs, id);
  ASSERT_NE(warning, nullptr);
  EXPECT_EQ(MessageBoxText(warning),
            L"JoyToKey Vre3.75以降を起動してください\n"
            L"JoyToKeyを使うのチェックはクリアされました");
  SwitchWalker person(*hopla);
  ASSERT_TRUE(person.ClickOn(ScreenRect(GetDlgItem(warning, IDOK)), [&] {
    return !IsWindow(warning);
  })) << person.log();

  EXPECT_EQ(FindMessageBox(L"エラー", kNoSecondWarningMs, id), nullptr)
      << "JoyToKey use was cleared";
  EXPECT_FALSE(hopla->process().ExitCode().has_value());
  EXPECT_TRUE(hopla->Quit());
  EXPECT_NE(SettingsText(folder.path()).find(L"JoyToKeyの利用=0"),
            std::wstring::npos);
  RecordProperty("walk", person.log());
}

// The extended settings dialog, opened as its item in the window's system
// menu opens it, is closed with the switch alone. (Under Wine an open menu
// holds the pointer, so a walking cursor cannot reach the item itself: the
// test sends what the item sends.)
TEST(Win32OneSwitch, ClosesTheExtendedSettingsDialog) {
  TempFolder folder;
  SetCursorPos(kTopLeftStart.x, kTopLeftStart.y);
  auto hopla = HoplaProgram::Start(folder.path(), QuickSettings(kWalkSpeed));
  ASSERT_NE(hopla, nullptr);
  constexpr WPARAM kExtendedSettingsItem = 0x0110;
  PostMessageW(hopla->MainWindow(), WM_SYSCOMMAND, kExtendedSettingsItem, 0);
  HWND dialog =
      FindVisibleWindow(L"", L"拡張設定", kBoxTimeoutMs, hopla->process().id());
  ASSERT_NE(dialog, nullptr);
  SwitchWalker person(*hopla);
  HWND close = FindButton(dialog, L"閉じる");
  ASSERT_NE(close, nullptr);
  ASSERT_TRUE(person.ClickOn(ScreenRect(close), [&] {
    return !IsWindowVisible(dialog);
  })) << person.log();
  EXPECT_TRUE(hopla->Quit());
  RecordProperty("walk", person.log());
}

// Two keys of Hopla's keyboard where the person sees them: on the grid of
// 12 x 6 cells that fills its client area.
std::map<std::wstring, RECT> KeysOf(HWND keyboard) {
  RECT client{};
  GetClientRect(keyboard, &client);
  MapWindowPoints(keyboard, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const LONG width = client.right - client.left;
  const LONG height = client.bottom - client.top;
  auto cell = [&](int column, int row, int span) {
    return RECT{client.left + column * width / 12 + 2,
                client.top + row * height / 6 + 2,
                client.left + (column + span) * width / 12 - 2,
                client.top + (row + 1) * height / 6 - 2};
  };
  return {{L"i", cell(1, 0, 1)}, {L"h", cell(3, 1, 1)}};
}

// What Notepad holds: asked of its edit control (GetWindowText would give
// another program's control's caption, not its text).
std::wstring TextOf(HWND notepad) {
  HWND edit = FindWindowExW(notepad, nullptr, L"Edit", nullptr);
  wchar_t text[64] = {};
  if (edit != nullptr) {
    SendMessageW(edit, WM_GETTEXT, std::size(text),
                 reinterpret_cast<LPARAM>(text));
  }
  return text;
}

// With the keyboard switched on, "10" opens Hopla's keyboard; the person
// walks to its keys and clicks them, and what they type reaches Notepad in
// front, which keeps the focus throughout. "10" closes the keyboard again.
TEST(Win32OneSwitch, TypesIntoNotepadWithHoplasKeyboard) {
  TempFolder folder;
  SetCursorPos(kTopLeftStart.x, kTopLeftStart.y);
  auto hopla = HoplaProgram::Start(
      folder.path(), QuickSettings(kWalkSpeed, "[拡張設定]\nキーボード=1\n"));
  ASSERT_NE(hopla, nullptr);
  HWND editor = nullptr;
  auto notepad = StartNotepad(editor);
  ASSERT_NE(editor, nullptr);
  ASSERT_TRUE(BringToFront(editor));
  hopla->Run("10");
  HWND keyboard = FindVisibleWindow(L"HoplaKeyboard", L"Hoplaのキーボード",
                                    kBoxTimeoutMs, hopla->process().id());
  ASSERT_NE(keyboard, nullptr);
  const std::map<std::wstring, RECT> keys = KeysOf(keyboard);
  SwitchWalker person(*hopla);
  const std::pair<const wchar_t*, const wchar_t*> typing[] = {{L"h", L"h"},
                                                              {L"i", L"hi"}};
  for (const auto& [key, text] : typing) {
    SCOPED_TRACE(ToUtf8(key));
    const std::wstring before = TextOf(editor);
    ASSERT_TRUE(
        person.ClickOn(keys.at(key), [&] { return TextOf(editor) != before; }))
        << person.log() << [&] {
             wchar_t name[64] = {};
             GetClassNameW(GetForegroundWindow(), name, 64);
             return "DEBUG foreground " + ToUtf8(name);
           }();
    EXPECT_EQ(TextOf(editor), text);
    EXPECT_EQ(GetForegroundWindow(), editor) << "the keyboard took the focus";
  }
  hopla->Run("10");
  EXPECT_TRUE(
      WaitUntil([&] { return !IsWindowVisible(keyboard); }, kBoxTimeoutMs));
  EXPECT_TRUE(hopla->Quit());
  PostMessageW(editor, WM_CLOSE, 0, 0);
  RecordProperty("walk", person.log());
}

}  // namespace
}  // namespace hopla::wine_test
