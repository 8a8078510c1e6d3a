// The settings file as the real program leaves it: a copy of Hopla.exe runs
// in a folder of its own (".\Hoplar.ini" is relative to the working folder),
// is closed as a user closes it, and the file is read back byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

// After windows.h: the trackbar class and messages.
#include <commctrl.h>

#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "../first_run_file.h"
#include "wine_helpers.h"

namespace hopla::wine_test {
namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kBoxTimeoutMs = 10000;
constexpr int kExitTimeoutMs = 10000;
constexpr UINT kJapaneseCodePage = 932;
constexpr wchar_t kMainWindowTitle[] = L"「ホプラー。」";
constexpr wchar_t kSettingsFileName[] = L"Hoplar.ini";

// The four sliders, where the window lays them out (client coordinates).
struct SliderPlace {
  const char* name;
  POINT at;
};
constexpr SliderPlace kSpeedBar{"SpeedBar", {176, 120}};
constexpr SliderPlace kNagaHanteiTrackBar{"NagaHanteiTrackBar", {176, 176}};
constexpr SliderPlace kJikkouTrackBar{"JikkouTrackBar", {176, 232}};
constexpr SliderPlace kKeyModeBar{"KeyModeBar", {176, 288}};

std::string ToCodePage932(const std::string& utf8) {
  const std::wstring wide = ToWide(utf8);
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(kJapaneseCodePage, 0, wide.data(),
                                       length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  BOOL lossy = FALSE;
  WideCharToMultiByte(kJapaneseCodePage, 0, wide.data(), length, bytes.data(),
                      size, nullptr, &lossy);
  // A character without a Shift-JIS form would make the expectation wrong.
  EXPECT_FALSE(lossy) << "not all of this text has a Shift-JIS form: " << utf8;
  return bytes;
}

std::string FromCodePage932(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(kJapaneseCodePage, 0, bytes.data(),
                                       length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(kJapaneseCodePage, 0, bytes.data(), length, wide.data(),
                      size);
  return ToUtf8(wide);
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) {
    bytes.append(chunk, got);
  }
  CloseHandle(file);
  return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(
      file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

// Sections in file order, each with its non-blank lines (blank lines between
// sections mean nothing to the file's readers).
using Sections = std::vector<std::pair<std::string, std::vector<std::string>>>;

Sections SectionsOf(const std::string& utf8) {
  Sections sections;
  size_t begin = 0;
  while (begin < utf8.size()) {
    size_t end = utf8.find("\r\n", begin);
    if (end == std::string::npos) end = utf8.size();
    const std::string line = utf8.substr(begin, end - begin);
    begin = end + 2;
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      sections.emplace_back(line.substr(1, line.size() - 2),
                            std::vector<std::string>{});
    } else if (!sections.empty()) {
      sections.back().second.push_back(line);
    }
  }
  return sections;
}

std::vector<std::string> NamesOf(const Sections& sections) {
  std::vector<std::string> names;
  for (const auto& section : sections) names.push_back(section.first);
  return names;
}

std::optional<std::string> ValueIn(const Sections& sections,
                                   const std::string& section,
                                   const std::string& key) {
  for (const auto& [name, lines] : sections) {
    if (name != section) continue;
    for (const std::string& line : lines) {
      if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
  }
  return std::nullopt;
}

struct ChildSearch {
  HWND parent;
  POINT at;
  HWND found;
};

BOOL CALLBACK VisitForTrackbar(HWND child, LPARAM lparam) {
  auto* search = reinterpret_cast<ChildSearch*>(lparam);
  wchar_t window_class[64] = {};
  GetClassNameW(child, window_class, 64);
  if (std::wstring(window_class) != TRACKBAR_CLASSW) return TRUE;
  RECT bounds{};
  GetWindowRect(child, &bounds);
  MapWindowPoints(nullptr, search->parent, reinterpret_cast<POINT*>(&bounds),
                  2);
  if (bounds.left == search->at.x && bounds.top == search->at.y) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

// The slider's position as the real control shows it; nothing when no
// trackbar stands at that place.
std::optional<int> TrackbarPosition(HWND main_window,
                                    const SliderPlace& place) {
  ChildSearch search{main_window, place.at, nullptr};
  EnumChildWindows(main_window, &VisitForTrackbar,
                   reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return std::nullopt;
  return static_cast<int>(SendMessageW(search.found, TBM_GETPOS, 0, 0));
}

// A copy of Hopla.exe under a file name of its own, in its own folder that is
// also its working folder: the single-instance mutex is named after the file
// name, so other tests' copies cannot refuse it.
class Win32SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = folder_.path() + L"\\HoplaSettings-" +
               std::to_wstring(GetCurrentProcessId()) + L".exe";
    const std::wstring original = ToWide(HOPLA_EXE_DIR) + L"/Hopla.exe";
    ASSERT_TRUE(CopyFileW(original.c_str(), program_.c_str(), TRUE))
        << "cannot copy " << ToUtf8(original);
  }

  std::wstring SettingsPath() const {
    return folder_.path() + L"\\" + kSettingsFileName;
  }

  // Starts the copy and waits for its window.
  HWND Start() {
    copy_ = ChildProcess::Start(program_, L"", folder_.path());
    if (copy_ == nullptr) return nullptr;
    return FindVisibleWindow(L"", kMainWindowTitle, kStartTimeoutMs,
                             copy_->id());
  }

  // Close, then OK at the question: the program saves and ends with 0.
  void CloseWithOk(HWND main_window) {
    PostMessageW(main_window, WM_CLOSE, 0, 0);
    HWND question = FindMessageBox(L"警告", kBoxTimeoutMs, copy_->id());
    ASSERT_NE(question, nullptr) << "closing asks first";
    PressMessageBoxButton(question, IDOK);
    ASSERT_TRUE(copy_->WaitForExit(kExitTimeoutMs));
    EXPECT_EQ(copy_->ExitCode(), 0u);
  }

  // Declared first: the copy ends (killed if need be) before its folder goes.
  TempFolder folder_;
  std::wstring program_;
  std::unique_ptr<ChildProcess> copy_;
};

TEST_F(Win32SettingsFile, FirstRunLeavesTheFirstRunFileByteForByte) {
  HWND main_window = Start();
  ASSERT_NE(main_window, nullptr);
  EXPECT_FALSE(ReadBytes(SettingsPath()).has_value())
      << "nothing is written before the close";
  CloseWithOk(main_window);

  const std::optional<std::string> saved = ReadBytes(SettingsPath());
  ASSERT_TRUE(saved.has_value()) << "no Hoplar.ini in the working folder";
  EXPECT_EQ(*saved, ToCodePage932(kFirstRunFile)) << "as text:\n"
                                                  << FromCodePage932(*saved);
  // Replaced as a whole, with no temporary file left beside it.
  EXPECT_EQ(folder_.FileNames().size(), 2u);
}

TEST_F(Win32SettingsFile, StoredSliderPositionsShowAndSurviveAClose) {
  // Hand-edited: one section the program does not know, between two it does.
  const std::string mine_lines[] = {"自分のキー=そのまま", "note=keep me"};
  const std::string prepared =
      "[マウス]\r\n"
      "マウス移動速度=6\r\n"
      "\r\n"
      "[mine]\r\n" +
      mine_lines[0] + "\r\n" + mine_lines[1] +
      "\r\n"
      "\r\n"
      "[タイマー]\r\n"
      "長押し判定時間=2\r\n"
      "実行までの時間=7\r\n"
      "キー入力移行の時間=1\r\n";
  ASSERT_TRUE(WriteBytes(SettingsPath(), ToCodePage932(prepared)));

  HWND main_window = Start();
  ASSERT_NE(main_window, nullptr);
  const std::pair<SliderPlace, int> shown[] = {{kSpeedBar, 6},
                                               {kNagaHanteiTrackBar, 2},
                                               {kJikkouTrackBar, 7},
                                               {kKeyModeBar, 1}};
  for (const auto& [place, position] : shown) {
    EXPECT_EQ(TrackbarPosition(main_window, place), position) << place.name;
  }
  CloseWithOk(main_window);

  const std::optional<std::string> saved = ReadBytes(SettingsPath());
  ASSERT_TRUE(saved.has_value());
  const Sections sections = SectionsOf(FromCodePage932(*saved));
  EXPECT_EQ(ValueIn(sections, "マウス", "マウス移動速度"), "6");
  EXPECT_EQ(ValueIn(sections, "タイマー", "長押し判定時間"), "2");
  EXPECT_EQ(ValueIn(sections, "タイマー", "実行までの時間"), "7");
  EXPECT_EQ(ValueIn(sections, "タイマー", "キー入力移行の時間"), "1");
  // The unknown section keeps its place and its lines; the sections the file
  // lacked come after the ones it had.
  const std::vector<std::string> order = {
      "マウス", "mine",        "タイマー", "サウンド",
      "起動",   "UseJoyToKey", "ブレーキ", "バージョン"};
  EXPECT_EQ(NamesOf(sections), order) << FromCodePage932(*saved);
  for (const auto& [name, lines] : sections) {
    if (name == "mine") {
      EXPECT_EQ(lines, std::vector<std::string>(std::begin(mine_lines),
                                                std::end(mine_lines)));
    }
  }
}

// The current user's sign-in entry of the program, or nothing.
std::optional<std::wstring> SignInEntry() {
  wchar_t command[2048] = {};
  DWORD bytes = sizeof(command);
  if (RegGetValueW(HKEY_CURRENT_USER,
                   L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                   L"Hopla", RRF_RT_REG_SZ, nullptr, command,
                   &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(command);
}

void SetSignInEntry(const std::optional<std::wstring>& command) {
  const wchar_t* run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  if (!command) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, run, L"Hopla");
    return;
  }
  RegSetKeyValueW(HKEY_CURRENT_USER, run, L"Hopla", REG_SZ, command->c_str(),
                  static_cast<DWORD>((command->size() + 1) * sizeof(wchar_t)));
}

// Ticked in the dialog, the sign-in entry starts this copy in its folder:
// started as the entry says from another working folder, it shows and keeps
// that folder's settings. An entry whose program is gone is pointed at the
// copy that starts next.
TEST_F(Win32SettingsFile, StartWithWindowsStartsThisCopyWithItsSettings) {
  struct Cleared {
    ~Cleared() { SetSignInEntry(std::nullopt); }
  } cleared;
  SetSignInEntry(std::nullopt);
  HWND main_window = Start();
  ASSERT_NE(main_window, nullptr);
  PostMessageW(main_window, WM_SYSCOMMAND, 0x0110, 0);
  HWND dialog =
      FindVisibleWindow(L"", L"拡張設定", kStartTimeoutMs, copy_->id());
  ASSERT_NE(dialog, nullptr);
  HWND box = FindWindowExW(dialog, nullptr, L"Button",
                           L"Windowsの起動と同時に開始する");
  ASSERT_NE(box, nullptr);
  SendMessageW(box, BM_CLICK, 0, 0);
  const std::optional<std::wstring> entry = SignInEntry();
  ASSERT_TRUE(entry.has_value());
  const std::wstring expected =
      L"\"" + program_ + L"\" /folder \"" + folder_.path() + L"\"";
  EXPECT_EQ(_wcsicmp(entry->c_str(), expected.c_str()), 0)
      << ToUtf8(*entry) << "\n"
      << ToUtf8(expected);
  CloseWithOk(main_window);

  ASSERT_TRUE(WriteBytes(SettingsPath(),
                         ToCodePage932("[マウス]\r\nマウス移動速度=7\r\n")));
  TempFolder elsewhere;
  const size_t end_of_program = entry->find(L'"', 1);
  ASSERT_NE(end_of_program, std::wstring::npos);
  copy_ =
      ChildProcess::Start(entry->substr(1, end_of_program - 1),
                          entry->substr(end_of_program + 2), elsewhere.path());
  ASSERT_NE(copy_, nullptr);
  main_window =
      FindVisibleWindow(L"", kMainWindowTitle, kStartTimeoutMs, copy_->id());
  ASSERT_NE(main_window, nullptr);
  EXPECT_EQ(TrackbarPosition(main_window, kSpeedBar), 7);
  CloseWithOk(main_window);
  EXPECT_TRUE(elsewhere.FileNames().empty());
  const std::optional<std::string> saved = ReadBytes(SettingsPath());
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(
      ValueIn(SectionsOf(FromCodePage932(*saved)), "マウス", "マウス移動速度"),
      "7");

  SetSignInEntry(L"\"C:\\gone\\Hopla.exe\" /folder \"C:\\gone\"");
  main_window = Start();
  ASSERT_NE(main_window, nullptr);
  EXPECT_EQ(_wcsicmp(SignInEntry().value_or(L"").c_str(), expected.c_str()), 0);
  CloseWithOk(main_window);
}

}  // namespace
}  // namespace hopla::wine_test
