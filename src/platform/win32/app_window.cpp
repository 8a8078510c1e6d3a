#include "platform/win32/app_window.h"

#include <algorithm>
#include <system_error>

#include "platform/win32/text_conv.h"

namespace hopla::win32 {
namespace {

// A caption and a system menu with minimise: what the taskbar button offers.
constexpr DWORD kAppStyle =
    WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr WPARAM kSysCommandMask = 0xFFF0;

struct OwnedWindows {
  HWND owner;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOwned(HWND window, LPARAM lparam) {
  auto* owned = reinterpret_cast<OwnedWindows*>(lparam);
  if (GetWindow(window, GW_OWNER) == owned->owner) {
    owned->found.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> OwnedBy(HWND owner) {
  OwnedWindows owned{owner, {}};
  EnumThreadWindows(GetCurrentThreadId(), &CollectOwned,
                    reinterpret_cast<LPARAM>(&owned));
  return owned.found;
}

}  // namespace

Win32AppWindow::Win32AppWindow(const WidgetArgs& desc, WidgetEvents* events,
                               ExceptionTrap& trap)
    : Win32Widget(events, trap) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterTopLevelClass(kAppWindowClassName, nullptr);
  HWND window = CreateWindowExW(
      0, kAppWindowClassName, Utf8ToWide(desc.caption).c_str(), kAppStyle,
      GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0,
      0, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    throw std::system_error(static_cast<int>(GetLastError()),
                            std::system_category(), "application window");
  }
  Attach(window, nullptr);
  SetWindowLongPtrW(
      window, GWLP_WNDPROC,
      reinterpret_cast<LONG_PTR>(&Win32Widget::TopLevelWindowProc));
}

void Win32AppWindow::Show(bool minimised) {
  ShowWindow(window(), minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNA);
  minimised_ = IsIconic(window()) != FALSE;
  RethrowPending();
}

void Win32AppWindow::Minimize() {
  ShowWindow(window(), SW_MINIMIZE);
  RethrowPending();
}

void Win32AppWindow::Restore() {
  if (IsIconic(window())) ShowWindow(window(), SW_RESTORE);
  RethrowPending();
}

bool Win32AppWindow::IsMinimized() const { return IsIconic(window()) != FALSE; }

void Win32AppWindow::ShowOnRestore(HWND form) {
  if (std::find(hidden_forms_.begin(), hidden_forms_.end(), form) ==
      hidden_forms_.end()) {
    hidden_forms_.push_back(form);
  }
}

void Win32AppWindow::HideForms() {
  for (HWND form : OwnedBy(window())) {
    if (!IsWindowVisible(form)) continue;
    ShowOnRestore(form);
    ShowWindow(form, SW_HIDE);
  }
}

void Win32AppWindow::ShowForms() {
  std::vector<HWND> forms;
  forms.swap(hidden_forms_);
  for (HWND form : forms) {
    if (IsWindow(form)) ShowWindow(form, SW_SHOW);
  }
}

HWND Win32AppWindow::ActiveForm() const {
  for (HWND form : OwnedBy(window())) {
    if (IsWindowVisible(form) && IsWindowEnabled(form)) return form;
  }
  return nullptr;
}

bool Win32AppWindow::HandleMessage(HWND window, UINT message, WPARAM wparam,
                                   LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      return HandleSysCommand(window, wparam, result);
    case WM_CLOSE:
      // Closing the taskbar button closes the program, through its question.
      Notify([](WidgetEvents& e) { e.OnCloseRequest(); });
      return true;
    case WM_GETMINMAXINFO:
      // No size, and no minimum either.
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = POINT{0, 0};
      return true;
    case WM_SETFOCUS:
      // The focus belongs on the form, not on this window of no size.
      if (HWND form = ActiveForm()) SetFocus(form);
      return true;
    case WM_WINDOWPOSCHANGED: {
      result = DefWindowProcW(window, message, wparam, lparam);
      const bool minimised = IsIconic(window) != FALSE;
      if (minimised == minimised_) return true;
      minimised_ = minimised;
      if (minimised) {
        HideForms();
        return true;
      }
      ShowForms();
      Notify([](WidgetEvents& e) { e.OnRestored(); });
      return true;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return false;
    default:
      return false;
  }
}

// Minimise and restore stand for the whole program. It cannot be moved,
// sized or maximised: a maximise brings a minimised program back as it was,
// since its window has one size only.
bool Win32AppWindow::HandleSysCommand(HWND window, WPARAM command,
                                      LRESULT& result) {
  result = 0;
  switch (command & kSysCommandMask) {
    case SC_MINIMIZE:
    case SC_RESTORE:
      return false;
    case SC_MAXIMIZE:
      if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
      return true;
    case SC_CLOSE:
      Notify([](WidgetEvents& e) { e.OnCloseRequest(); });
      return true;
    case SC_MOVE:
    case SC_SIZE:
      return true;
    default:
      return false;
  }
}

}  // namespace hopla::win32
