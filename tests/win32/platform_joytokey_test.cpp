// What the search for JoyToKey and its start ask of the system: folder
// listings that tell links apart (a Unix symbolic link under Wine), drive
// error boxes turned off for the searching thread, a hidden start in a
// folder, and a send whose handling is reported without waiting.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "wine_helpers.h"

namespace hopla::win32 {
namespace {

using wine_test::CountingWindow;
using wine_test::FindVisibleWindow;
using wine_test::TempFolder;
using wine_test::ToUtf8;
using wine_test::ToWide;
using wine_test::WaitUntil;

constexpr int kStartTimeoutMs = 20000;

// Under Wine a Unix symbolic link stands for a junction or a link: made
// with the system's own ln, through the folder's Unix name.
bool MakeUnixLink(const std::wstring& target, const std::wstring& link) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unix_name =
      reinterpret_cast<UnixName>(reinterpret_cast<void*>(GetProcAddress(
          GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unix_name == nullptr) return false;
  char* from = unix_name(target.c_str());
  char* to = unix_name(link.c_str());
  if (from == nullptr || to == nullptr) return false;
  std::wstring command = L"/bin/ln -s " + ToWide(from) + L" " + ToWide(to);
  HeapFree(GetProcessHeap(), 0, from);
  HeapFree(GetProcessHeap(), 0, to);
  // Wine runs a Unix program named on the command line.
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &info)) {
    return false;
  }
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return WaitUntil(
      [&] {
        return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
      },
      5000);
}

const FolderEntry* Named(const std::vector<FolderEntry>& entries,
                         const std::string& name) {
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const FolderEntry& e) { return e.name == name; });
  return it == entries.end() ? nullptr : &*it;
}

TEST(Win32PlatformJoyToKey, ListingTellsFilesFoldersAndLinks) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  TempFolder folder;
  const std::wstring root = folder.path() + L"\\";
  CreateDirectoryW((root + L"Sub").c_str(), nullptr);
  CloseHandle(CreateFileW((root + L"joytokey.exe").c_str(), GENERIC_WRITE, 0,
                          nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(MakeUnixLink(folder.path(), root + L"Up"));

  const auto all = platform.ListFolder(ToUtf8(root) + "*.*");
  ASSERT_TRUE(all.has_value());
  ASSERT_NE(Named(*all, "Sub"), nullptr);
  EXPECT_TRUE(Named(*all, "Sub")->is_folder);
  EXPECT_FALSE(Named(*all, "Sub")->is_link);
  ASSERT_NE(Named(*all, "Up"), nullptr);
  EXPECT_TRUE(Named(*all, "Up")->is_link) << "a loop back to the folder";
  EXPECT_FALSE(Named(*all, "joytokey.exe")->is_folder);
  // The name is matched without regard to case, and spelt as on disk.
  const auto program = platform.ListFolder(ToUtf8(root) + "JoyToKey.exe");
  ASSERT_TRUE(program.has_value());
  ASSERT_EQ(program->size(), 1u);
  EXPECT_EQ(program->at(0).name, "joytokey.exe");
  EXPECT_TRUE(platform.ListFolder(ToUtf8(root) + "none.exe")->empty());
  EXPECT_FALSE(platform.ListFolder(ToUtf8(root) + "Missing\\*.*"));
  DeleteFileW((root + L"Up").c_str());
  RemoveDirectoryW((root + L"Up").c_str());
  RemoveDirectoryW((root + L"Sub").c_str());
}

TEST(Win32PlatformJoyToKey, DriveErrorBoxesAreOffWhileTheGuardLives) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  const DWORD before = GetThreadErrorMode();
  {
    const auto quiet = platform.TurnOffDriveErrorBoxes();
    EXPECT_NE(GetThreadErrorMode() & SEM_FAILCRITICALERRORS, 0u);
  }
  EXPECT_EQ(GetThreadErrorMode(), before);
}

// Started by its name in its folder, hidden: its window comes.
TEST(Win32PlatformJoyToKey, HiddenStartRunsTheProgramInItsFolder) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  TempFolder folder;
  ASSERT_TRUE(
      CopyFileW((ToWide(HOPLA_EXE_DIR) + L"/hopla-fake-joytokey.exe").c_str(),
                (folder.path() + L"\\JoyToKey.exe").c_str(), FALSE));
  platform.ShellStartHidden("JoyToKey", ToUtf8(folder.path()) + "\\");
  HWND window = nullptr;
  WaitUntil(
      [&] {
        window = FindWindowW(L"HoplaFakeJoyToKey", nullptr);
        return window != nullptr;
      },
      kStartTimeoutMs);
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitUntil([&] { return !IsWindow(window); }, kStartTimeoutMs);
  Sleep(200);  // the log file is closed before the folder goes
}

// The handling is reported on this thread once the receiver has handled
// it, and not before; to no window, nothing is sent.
TEST(Win32PlatformJoyToKey, SendNotifyingReportsTheHandlingLater) {
  Win32Platform platform(SwitchSourceKind::kJoystick);
  CountingWindow peer(L"JoyToKey busy one");
  peer.Freeze(300);
  bool handled = false;
  ASSERT_TRUE(
      platform.SendNotifying(reinterpret_cast<WindowHandle>(peer.hwnd()), 33768,
                             0, 0, [&] { handled = true; }));
  EXPECT_FALSE(handled) << "it did not wait";
  EXPECT_TRUE(WaitUntil([&] { return handled; }, 3000));
  EXPECT_EQ(peer.Count(33768), 1);
  EXPECT_FALSE(platform.SendNotifying(kNoWindow, 33768, 0, 0, [] {}));
}

}  // namespace
}  // namespace hopla::win32
