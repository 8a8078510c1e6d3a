#include "platform/win32/bubble_window.h"

#include <algorithm>
#include <string>

#include "platform/win32/dpi.h"
#include "platform/win32/text_conv.h"

namespace hopla::win32 {
namespace {

constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST |
                           WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
constexpr int kPaddingPx = 6;
constexpr int kLineGapPx = 3;
constexpr int kBarWidthPx = 140;
constexpr int kBarHeightPx = 10;
constexpr int kFullBar = 2000;
constexpr int kLongPoint = 1000;
constexpr BYTE kOpacity = 235;
constexpr COLORREF kBackground = RGB(255, 255, 225);
constexpr COLORREF kBorder = RGB(120, 120, 120);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kShortFill = RGB(60, 160, 60);
constexpr COLORREF kLongFill = RGB(230, 140, 30);
constexpr COLORREF kBarEmpty = RGB(225, 225, 225);

void Fill(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

SIZE Extent(HDC dc, const std::wstring& text) {
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// The monitor under the cursor, so the bubble stays on the cursor's screen.
Rect ScreenOf(Point cursor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR monitor =
      MonitorFromPoint(POINT{cursor.x, cursor.y}, MONITOR_DEFAULTTONEAREST);
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
          info.rcMonitor.bottom};
}

}  // namespace

BubbleWindow::~BubbleWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK BubbleWindow::WindowProc(HWND window, UINT message,
                                          WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window, &paint);
      const auto* self = reinterpret_cast<const BubbleWindow*>(
          GetWindowLongPtrW(window, GWLP_USERDATA));
      if (self != nullptr) self->buffer_.CopyTo(dc);
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

bool BubbleWindow::Create() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &BubbleWindow::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kBubbleClassName;
  if (RegisterClassExW(&wc) == 0 &&
      GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return false;
  }
  window_ = CreateWindowExW(kExStyle, kBubbleClassName, L"", WS_POPUP, 0, 0, 1,
                            1, nullptr, nullptr, instance, nullptr);
  if (window_ == nullptr) return false;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetLayeredWindowAttributes(window_, 0, kOpacity, LWA_ALPHA);
  return true;
}

// Lines: the marks; the bar during a hold; the command; the time left.
bool BubbleWindow::Render(const BubbleView& view) {
  const UINT dpi = SystemDpi();
  FontArgs bold;
  bold.bold = true;
  HFONT font = fonts_.Get(bold, dpi);
  const std::wstring marks = Utf8ToWide(view.marks);
  const std::wstring command = Utf8ToWide(view.command);
  const std::wstring time_left = Utf8ToWide(view.time_left);
  const bool holding = view.hold_permille >= 0;
  const int pad = ToDpi(kPaddingPx, dpi);
  const int gap = ToDpi(kLineGapPx, dpi);
  HDC screen = GetDC(nullptr);
  HGDIOBJ screen_font = SelectObject(screen, font);
  const int line = Extent(screen, L"0").cy;
  int width = std::max({Extent(screen, marks).cx, Extent(screen, command).cx,
                        Extent(screen, time_left).cx});
  SelectObject(screen, screen_font);
  int height = line * 2 + gap;
  if (holding) {
    width = std::max(width, ToDpi(kBarWidthPx, dpi));
    height += ToDpi(kBarHeightPx, dpi) + gap;
  }
  if (!time_left.empty()) height += line + gap;
  const SIZE size{width + 2 * pad, height + 2 * pad};
  HDC dc = buffer_.Prepare(screen, size);
  ReleaseDC(nullptr, screen);
  if (dc == nullptr) return false;

  SelectObject(dc, font);
  Fill(dc, RECT{0, 0, size.cx, size.cy}, kBorder);
  Fill(dc, RECT{1, 1, size.cx - 1, size.cy - 1}, kBackground);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kText);
  int y = pad;
  auto text_line = [&](const std::wstring& text) {
    TextOutW(dc, pad, y, text.c_str(), static_cast<int>(text.size()));
    y += line + gap;
  };
  text_line(marks);
  if (holding) {
    const int bar_width = ToDpi(kBarWidthPx, dpi);
    const int bar_height = ToDpi(kBarHeightPx, dpi);
    const int filled =
        bar_width * std::min(view.hold_permille, kFullBar) / kFullBar;
    Fill(dc, RECT{pad, y, pad + bar_width, y + bar_height}, kBarEmpty);
    Fill(dc, RECT{pad, y, pad + filled, y + bar_height},
         view.hold_permille < kLongPoint ? kShortFill : kLongFill);
    const int long_x = pad + bar_width * kLongPoint / kFullBar;
    Fill(dc, RECT{long_x, y, long_x + 1, y + bar_height}, kBorder);
    y += bar_height + gap;
  }
  text_line(command);
  if (!time_left.empty()) text_line(time_left);
  return true;
}

void BubbleWindow::Show(const BubbleView& view) {
  if ((window_ == nullptr && !Create()) || !Render(view)) return;
  const SIZE size = buffer_.size();
  const Rect place =
      PlaceBubble(view.cursor, Point{size.cx, size.cy}, ScreenOf(view.cursor));
  SetWindowPos(window_, HWND_TOPMOST, place.left, place.top, size.cx, size.cy,
               SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOREDRAW);
  // Drawn now: inside a hold no WM_PAINT is dispatched.
  HDC dc = GetDC(window_);
  buffer_.CopyTo(dc);
  ReleaseDC(window_, dc);
  ValidateRect(window_, nullptr);
}

void BubbleWindow::Hide() {
  if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
}

}  // namespace hopla::win32
