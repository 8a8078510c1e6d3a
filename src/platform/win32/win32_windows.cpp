// Win32Platform: other programs' windows, messages to them, the cursor.
#include <exception>
#include <memory>
#include <vector>

#include "platform/win32/text_conv.h"
#include "platform/win32/win32_include.h"
#include "platform/win32/win32_platform.h"

namespace hopla::win32 {
namespace {

// A hung receiver makes SendMessageTimeoutW give up at once; a busy one is
// waited for at most the caller's timeout, never forever. Meanwhile the
// sender answers what is sent to its own windows (no SMTO_BLOCK): the
// prober's question, Windows' shut-down query, a close.
constexpr UINT kSendFlags = SMTO_ABORTIFHUNG | SMTO_NORMAL;

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle FromHwnd(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}

Rect FromRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

std::string TitleOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied =
      GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  if (copied <= 0) return {};
  return WideToUtf8(
      std::wstring_view(buffer.data(), static_cast<size_t>(copied)));
}

struct EnumContext {
  const std::function<bool(const WindowInfo&)>* visit;
  std::exception_ptr error;
};

BOOL CALLBACK EnumVisit(HWND window, LPARAM lparam) {
  auto* context = reinterpret_cast<EnumContext*>(lparam);
  // An exception must not unwind through EnumWindows' own frames.
  try {
    return (*context->visit)(WindowInfo{FromHwnd(window), TitleOf(window)})
               ? TRUE
               : FALSE;
  } catch (...) {
    context->error = std::current_exception();
    return FALSE;
  }
}

}  // namespace

std::optional<intptr_t> Win32Platform::SendToWindow(WindowHandle window,
                                                    uint32_t message,
                                                    uintptr_t wparam,
                                                    intptr_t lparam,
                                                    int32_t timeout_ms) {
  if (window == kNoWindow) return std::nullopt;
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(ToHwnd(window), message, wparam, lparam, kSendFlags,
                          timeout_ms > 0 ? static_cast<UINT>(timeout_ms) : 0,
                          &result) == 0) {
    return std::nullopt;
  }
  return static_cast<intptr_t>(result);
}

bool Win32Platform::PostToWindow(WindowHandle window, uint32_t message,
                                 uintptr_t wparam, intptr_t lparam) {
  // PostMessageW to no window posts to our own thread: a WM_QUIT meant for
  // a vanished JoyToKey would end our own loop.
  if (window == kNoWindow) return false;
  return PostMessageW(ToHwnd(window), message, wparam, lparam) != FALSE;
}

namespace {

// The sender's thread hears of the handling through this, when it next
// takes its messages.
void CALLBACK Handled(HWND /*window*/, UINT /*message*/, ULONG_PTR context,
                      LRESULT /*result*/) {
  std::unique_ptr<std::function<void()>> handled(
      reinterpret_cast<std::function<void()>*>(context));
  if (*handled) (*handled)();
}

}  // namespace

bool Win32Platform::SendNotifying(WindowHandle window, uint32_t message,
                                  uintptr_t wparam, intptr_t lparam,
                                  std::function<void()> handled) {
  if (window == kNoWindow) return false;
  auto context = std::make_unique<std::function<void()>>(std::move(handled));
  if (!SendMessageCallbackW(ToHwnd(window), message, wparam, lparam, &Handled,
                            reinterpret_cast<ULONG_PTR>(context.get()))) {
    return false;
  }
  // Freed by Handled; when the receiver never handles it (it went away),
  // the few bytes stay: nothing else can be known of them.
  context.release();
  return true;
}

void Win32Platform::EnumTopLevelWindows(
    const std::function<bool(const WindowInfo&)>& visit) {
  EnumContext context{&visit, nullptr};
  EnumWindows(&EnumVisit, reinterpret_cast<LPARAM>(&context));
  if (context.error) std::rethrow_exception(context.error);
}

std::string Win32Platform::WindowTitle(WindowHandle window) {
  if (window == kNoWindow) return {};
  return TitleOf(ToHwnd(window));
}

WindowHandle Win32Platform::ForegroundWindow() {
  return FromHwnd(GetForegroundWindow());
}

bool Win32Platform::SetForegroundWindow(WindowHandle window) {
  if (window == kNoWindow) return false;
  return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

std::optional<Rect> Win32Platform::WindowRect(WindowHandle window) {
  RECT r{};
  if (window == kNoWindow || !GetWindowRect(ToHwnd(window), &r)) {
    return std::nullopt;
  }
  return FromRect(r);
}

// The placement's normal rectangle is in work-area coordinates (they differ
// from the screen's when the taskbar stands at the left or top).
std::optional<Rect> Win32Platform::NormalWindowRect(WindowHandle window) {
  HWND hwnd = ToHwnd(window);
  if (window == kNoWindow || !IsWindow(hwnd)) return std::nullopt;
  if (!IsIconic(hwnd) && !IsZoomed(hwnd)) return WindowRect(window);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(hwnd, &placement)) return std::nullopt;
  RECT r = placement.rcNormalPosition;
  const bool tool_window =
      (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!tool_window &&
      GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY),
                      &monitor)) {
    OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left,
               monitor.rcWork.top - monitor.rcMonitor.top);
  }
  return FromRect(r);
}

void Win32Platform::ShowWindowNormal(WindowHandle window) {
  if (window != kNoWindow) ShowWindow(ToHwnd(window), SW_SHOW);
}

void Win32Platform::FlashWindow(WindowHandle window, bool invert) {
  if (window != kNoWindow) ::FlashWindow(ToHwnd(window), invert ? TRUE : FALSE);
}

Rect Win32Platform::DesktopRect() {
  RECT r{};
  GetWindowRect(GetDesktopWindow(), &r);
  return FromRect(r);
}

namespace {
BOOL CALLBACK AddMonitor(HMONITOR /*monitor*/, HDC /*dc*/, LPRECT rect,
                         LPARAM rects) {
  reinterpret_cast<std::vector<Rect>*>(rects)->push_back(FromRect(*rect));
  return TRUE;
}
}  // namespace

std::vector<Rect> Win32Platform::MonitorRects() {
  std::vector<Rect> rects;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor,
                      reinterpret_cast<LPARAM>(&rects));
  return rects;
}

std::optional<Point> Win32Platform::CursorPos() {
  POINT p{};
  if (!GetCursorPos(&p)) return std::nullopt;
  return Point{p.x, p.y};
}

void Win32Platform::SetCursorPos(Point p) { ::SetCursorPos(p.x, p.y); }

// The key state as the UI thread's messages last left it, as a control asks
// while it handles one of them.
bool Win32Platform::LeftButtonDown() { return GetKeyState(VK_LBUTTON) < 0; }

}  // namespace hopla::win32
