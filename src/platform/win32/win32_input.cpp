// Win32Platform: synthetic mouse and key events, the beep, the shell, the
// accessibility probe, and the UI thread's sleep that still answers sends.
#include <algorithm>

#include "platform/win32/role_probe.h"
#include "platform/win32/text_conv.h"
#include "platform/win32/win32_include.h"
#include "platform/win32/win32_platform.h"
// After windows.h.
#include <shellapi.h>

namespace hopla::win32 {
namespace {

// The scan code every key event of the program carries.
constexpr WORD kScanCode = 0x45;

}  // namespace

// SendInput with the fields mouse_event would fill in.
void Win32Platform::MouseButton(uint32_t flags, Point at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = at.x;
  input.mi.dy = at.y;
  input.mi.mouseData = 0;
  input.mi.dwFlags = flags;
  input.mi.time = 0;
  input.mi.dwExtraInfo = switch_source_->InputMarker();
  SendInput(1, &input, sizeof(input));
}

// SendInput with the fields keybd_event would fill in.
void Win32Platform::KeyEvent(uint8_t virtual_key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.wScan = kScanCode;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : KEYEVENTF_EXTENDEDKEY;
  input.ki.time = 0;
  input.ki.dwExtraInfo = switch_source_->InputMarker();
  SendInput(1, &input, sizeof(input));
}

// As a keyboard sends it: the key's own scan code, and the extended flag
// for the keys of the arrow block.
void Win32Platform::TypeKey(uint8_t virtual_key, bool up) {
  const bool extended = (virtual_key >= VK_PRIOR && virtual_key <= VK_DOWN) ||
                        virtual_key == VK_INSERT || virtual_key == VK_DELETE;
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.wScan =
      static_cast<WORD>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags =
      (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  input.ki.dwExtraInfo = switch_source_->InputMarker();
  SendInput(1, &input, sizeof(input));
}

void Win32Platform::Beep() { MessageBeep(0); }

void Win32Platform::ShellOpen(const std::string& target) {
  ShellExecuteW(nullptr, L"open", Utf8ToWide(target).c_str(), nullptr, nullptr,
                SW_SHOWNORMAL);
}

void Win32Platform::ShellStartHidden(const std::string& file,
                                     const std::string& folder) {
  const std::wstring wide_file = Utf8ToWide(file);
  const std::wstring wide_folder = Utf8ToWide(folder);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = nullptr;
  info.lpVerb = L"open";
  info.lpFile = wide_file.c_str();
  info.lpParameters = nullptr;
  info.lpDirectory = wide_folder.c_str();
  info.nShow = SW_HIDE;
  // The process is not waited for; its handle is not kept either.
  if (ShellExecuteExW(&info) && info.hProcess != nullptr) {
    CloseHandle(info.hProcess);
  }
}

std::unique_ptr<RoleProbe> Win32Platform::CreateRoleProbe() {
  return MakeRoleProbe();
}

// Lets through only what other threads send (an accessibility query to one
// of our windows, say): no posted message, timer or input is handled.
void Win32Platform::SleepAnswering(int32_t ms) {
  const int64_t deadline = NowMs() + std::max(ms, 0);
  for (int64_t left = deadline - NowMs(); left > 0; left = deadline - NowMs()) {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left),
                                QS_SENDMESSAGE, 0);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace hopla::win32
