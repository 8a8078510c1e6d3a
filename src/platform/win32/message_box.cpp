#include "platform/win32/message_box.h"

#include <iterator>
#include <string_view>
#include <vector>

#include "platform/win32/text_conv.h"
#include "platform/win32/win32_include.h"

namespace hopla::win32 {
namespace {

UINT IconFlags(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::kWarning:
      return MB_ICONWARNING;
    case MessageBoxIcon::kError:
      return MB_ICONERROR;
    case MessageBoxIcon::kInformation:
      return MB_ICONINFORMATION;
    case MessageBoxIcon::kNone:
      break;
  }
  return 0;
}

constexpr wchar_t kBoxClass[] = L"#32770";

LRESULT CALLBACK RaiseBox(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wparam);
    wchar_t name[std::size(kBoxClass) + 1] = {};
    if (GetClassNameW(window, name, static_cast<int>(std::size(name))) > 0 &&
        std::wstring_view(name) == kBoxClass) {
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// The program's window stays on top of everything: a box must open in front
// of it, or a person could never reach its buttons. MB_TOPMOST says so, but
// not every system honours it (Wine does not); the box is also raised to the
// top as it is activated.
class BoxesOnTop {
 public:
  BoxesOnTop()
      : hook_(SetWindowsHookExW(WH_CBT, &RaiseBox, nullptr,
                                GetCurrentThreadId())) {}
  ~BoxesOnTop() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  }
  BoxesOnTop(const BoxesOnTop&) = delete;
  BoxesOnTop& operator=(const BoxesOnTop&) = delete;

 private:
  HHOOK hook_;
};

BOOL CALLBACK CollectEnabled(HWND window, LPARAM lparam) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(window);
  }
  return TRUE;
}

// While a box is open, none of the program's windows takes a click: the
// system disables only the box's owner, and the owner (the application's
// window) does not take its forms with it.
class ThreadWindowsDisabled {
 public:
  ThreadWindowsDisabled() : active_(GetActiveWindow()) {
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled,
                      reinterpret_cast<LPARAM>(&disabled_));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
  }
  ~ThreadWindowsDisabled() {
    for (HWND window : disabled_) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    if (active_ != nullptr && IsWindow(active_)) SetActiveWindow(active_);
  }
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

 private:
  HWND active_;
  std::vector<HWND> disabled_;
};

}  // namespace

DialogResult ShowModalMessageBox(const MessageBoxArgs& desc) {
  UINT flags =
      desc.buttons == MessageBoxButtons::kOkCancel ? MB_OKCANCEL : MB_OK;
  flags |= IconFlags(desc.icon);
  if (desc.default_is_second) flags |= MB_DEFBUTTON2;
  flags |= MB_TOPMOST;
  const BoxesOnTop on_top;
  HWND owner = reinterpret_cast<HWND>(desc.owner);
  int answer = 0;
  if (owner == nullptr) {
    // Task-modal: the system disables the program's windows itself.
    answer =
        MessageBoxW(nullptr, Utf8ToWide(desc.text).c_str(),
                    Utf8ToWide(desc.caption).c_str(), flags | MB_TASKMODAL);
  } else {
    ThreadWindowsDisabled modal;
    answer = MessageBoxW(owner, Utf8ToWide(desc.text).c_str(),
                         Utf8ToWide(desc.caption).c_str(), flags);
  }
  return answer == IDOK ? DialogResult::kOk : DialogResult::kCancel;
}

}  // namespace hopla::win32
