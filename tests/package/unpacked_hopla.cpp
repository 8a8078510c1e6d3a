// Runs the programs of an unpacked zip as a person would, for the package
// tests (tests/package/*.sh): each mode prints what went wrong and exits
// non-zero.
//   hopla-unpacked quit FOLDER   FOLDER\Hopla.exe started in FOLDER: its
//                                window comes, and it ends at the quit
//                                question answered with OK.
//   hopla-unpacked walk FOLDER   FOLDER\Hopla-testswitch.exe with the brake
//                                on walks the cursor for a while (the brake
//                                asks the accessibility library), then quits.
//   hopla-unpacked help CHM      hh.exe opens CHM: its window comes, titled
//                                as the help file says.
#include <windows.h>

#include <cstdio>
#include <string>

#include "hopla_program.h"
#include "wine_helpers.h"

namespace hopla::wine_test {
namespace {

constexpr int kWindowTimeoutMs = 20000;
constexpr int kBoxTimeoutMs = 10000;
constexpr int kExitTimeoutMs = 10000;
constexpr int kWalkMs = 1500;
constexpr wchar_t kMainWindowTitle[] = L"「ホプラー。」";
constexpr wchar_t kHelpTitle[] = L"「ホプラー。」ヘルプ";

int Fail(const std::string& why) {
  std::printf("%s\n", why.c_str());
  return 1;
}

// As Wine's debug log (WINEDEBUG=+pid) names the process, so a test can
// pick that program's lines out of the log.
void TellProcessId(DWORD id) {
  std::printf("program process %04lx\n", static_cast<unsigned long>(id));
  std::fflush(stdout);
}

int StartAndQuit(const std::wstring& folder) {
  const std::unique_ptr<ChildProcess> hopla =
      ChildProcess::Start(folder + L"\\Hopla.exe", L"", folder);
  if (hopla == nullptr) return Fail("Hopla.exe did not start");
  TellProcessId(hopla->id());
  const HWND window =
      FindVisibleWindow(L"", kMainWindowTitle, kWindowTimeoutMs, hopla->id());
  if (window == nullptr) return Fail("Hopla.exe showed no window");
  PostMessageW(window, WM_CLOSE, 0, 0);
  const HWND question = FindMessageBox(L"警告", kBoxTimeoutMs, hopla->id());
  if (question == nullptr) return Fail("no quit question came");
  const std::wstring text = MessageBoxText(question);
  if (text.find(L"終了しますか") == std::wstring::npos) {
    return Fail("the box asked something else: " + ToUtf8(text));
  }
  PressMessageBoxButton(question, IDOK);
  if (!hopla->WaitForExit(kExitTimeoutMs)) {
    return Fail("Hopla.exe did not end after OK");
  }
  if (hopla->ExitCode() != 0u) return Fail("Hopla.exe ended with an error");
  return 0;
}

int WalkWithBrake(const std::wstring& folder) {
  std::unique_ptr<HoplaProgram> hopla = HoplaProgram::Start(
      folder, QuickSettings(4, "[ブレーキ]\n強さ=50\nボタン=1\n"),
      folder + L"\\Hopla-testswitch.exe");
  if (hopla == nullptr) return Fail("Hopla-testswitch.exe showed no window");
  TellProcessId(hopla->process().id());
  hopla->Run("0");
  Sleep(kWalkMs);
  hopla->Run("1");
  if (!hopla->Quit()) return Fail("Hopla-testswitch.exe did not quit");
  return 0;
}

int OpenHelp(const std::wstring& chm) {
  wchar_t windows[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return Fail("no Windows folder");
  const std::unique_ptr<ChildProcess> viewer = ChildProcess::Start(
      std::wstring(windows) + L"\\hh.exe", L"\"" + chm + L"\"", L"");
  if (viewer == nullptr) return Fail("hh.exe did not start");
  const HWND window =
      FindVisibleWindow(L"", kHelpTitle, kWindowTimeoutMs, viewer->id());
  if (window == nullptr) {
    return Fail("hh.exe showed no window titled " + ToUtf8(kHelpTitle));
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (!viewer->WaitForExit(kExitTimeoutMs)) return Fail("hh.exe did not end");
  return 0;
}

}  // namespace
}  // namespace hopla::wine_test

int wmain(int argc, wchar_t** argv) {
  using namespace hopla::wine_test;
  if (argc != 3) return Fail("usage: hopla-unpacked quit|walk|help PATH");
  const std::wstring mode = argv[1];
  if (mode == L"quit") return StartAndQuit(argv[2]);
  if (mode == L"walk") return WalkWithBrake(argv[2]);
  if (mode == L"help") return OpenHelp(argv[2]);
  return Fail("unknown mode " + ToUtf8(mode));
}
