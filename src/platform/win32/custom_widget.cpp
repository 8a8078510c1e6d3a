#include "platform/win32/custom_widget.h"

#include "platform/win32/dpi.h"
#include "platform/win32/gdi_canvas.h"

namespace hopla::win32 {
namespace {

// No double-click style: each press of a double click is a press.
void RegisterCustomClass(WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kCustomClassName;
  RegisterClassExW(&wc);  // a class registered already is fine
}

MouseButtonKind ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return MouseButtonKind::kRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return MouseButtonKind::kMiddle;
    default:
      return MouseButtonKind::kLeft;
  }
}

}  // namespace

Win32Custom::Win32Custom(const WidgetArgs& desc, NativeWidget* parent,
                         WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap), tab_stop_(desc.tab_stop) {
  // Messages reach the peer only once it has taken the window.
  RegisterCustomClass(&Win32Widget::TopLevelWindowProc);
  CreateChild(kCustomClassName, tab_stop_ ? WS_TABSTOP : 0, 0, desc, parent);
}

Win32Custom::~Win32Custom() = default;

void Win32Custom::SetCaption(const std::string& text) {
  Win32Widget::SetCaption(text);
  Invalidate();
}

// A hidden control is painted whole when it shows again, and so is one on a
// minimised window when it is restored: no server work for what nobody sees.
void Win32Custom::Invalidate() {
  if (IsWindowVisible(window()) && !IsIconic(GetAncestor(window(), GA_ROOT))) {
    InvalidateRect(window(), nullptr, FALSE);
  }
}

void Win32Custom::ReleaseMouseCapture() {
  if (GetCapture() == window()) ReleaseCapture();
}

bool Win32Custom::TakeMnemonic(uint32_t character) {
  bool taken = false;
  Notify([&](WidgetEvents& e) { taken = e.OnDialogChar(character); });
  return taken;
}

Point Win32Custom::Logical(LPARAM lparam) const {
  const int x = static_cast<short>(LOWORD(lparam));
  const int y = static_cast<short>(HIWORD(lparam));
  return Point{FromDpi(x, dpi()), FromDpi(y, dpi())};
}

// Drawn on a memory bitmap, then copied in one go: the banner moves ten
// times a second and must not flicker.
void Win32Custom::Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC screen = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  HDC buffer = width > 0 && height > 0
                   ? buffer_.Prepare(screen, SIZE{width, height})
                   : nullptr;
  if (buffer != nullptr) {
    {
      GdiCanvas canvas(buffer, Point{width, height}, dpi(), fonts_);
      Notify([&canvas](WidgetEvents& e) { e.OnPaint(canvas); });
    }
    buffer_.CopyTo(screen);
  }
  EndPaint(window, &ps);
}

void Win32Custom::MouseButton(HWND window, UINT message, LPARAM lparam) {
  const MouseButtonKind button = ButtonOf(message);
  const Point at = Logical(lparam);
  const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
                    message == WM_MBUTTONDOWN;
  if (down) {
    if (button == MouseButtonKind::kLeft) {
      if (tab_stop_ && GetFocus() != window) SetFocus(window);
      SetCapture(window);
    }
    Notify([button, at](WidgetEvents& e) { e.OnMouseDown(button, at); });
    return;
  }
  Notify([button, at](WidgetEvents& e) { e.OnMouseUp(button, at); });
  if (button == MouseButtonKind::kLeft && IsWindow(window) &&
      GetCapture() == window) {
    ReleaseCapture();
  }
}

// Entering and leaving follow where the pointer is, also while a press has
// the mouse captured and the pointer is off the control.
void Win32Custom::MouseMove(HWND window, LPARAM lparam) {
  RECT client;
  GetClientRect(window, &client);
  const POINT p{static_cast<short>(LOWORD(lparam)),
                static_cast<short>(HIWORD(lparam))};
  const bool inside = PtInRect(&client, p) != FALSE;
  if (inside && !hovering_) {
    hovering_ = true;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
    TrackMouseEvent(&track);
    Notify([](WidgetEvents& e) { e.OnMouseEnter(); });
  } else if (!inside && hovering_) {
    hovering_ = false;
    Notify([](WidgetEvents& e) { e.OnMouseLeave(); });
  }
  if (!IsWindow(window)) return;
  const Point at = Logical(lparam);
  Notify([at](WidgetEvents& e) { e.OnMouseMove(at); });
}

bool Win32Custom::HandleMessage(HWND window, UINT message, WPARAM wparam,
                                LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return true;
    case WM_ERASEBKGND:
      result = 1;  // painting covers every pixel
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      MouseButton(window, message, lparam);
      return true;
    case WM_MOUSEMOVE:
      MouseMove(window, lparam);
      return true;
    case WM_MOUSELEAVE:
      if (hovering_) {
        hovering_ = false;
        Notify([](WidgetEvents& e) { e.OnMouseLeave(); });
      }
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const bool gained = message == WM_SETFOCUS;
      Notify([gained](WidgetEvents& e) { e.OnFocusChanged(gained); });
      return true;
    }
    case WM_KEYDOWN:
    case WM_KEYUP: {
      const auto key = static_cast<uint32_t>(wparam);
      if (message == WM_KEYDOWN) {
        Notify([key](WidgetEvents& e) { e.OnKeyDown(key); });
      } else {
        Notify([key](WidgetEvents& e) { e.OnKeyUp(key); });
      }
      return true;
    }
    case WM_GETDLGCODE: {
      // Enter is the control's own key, not the dialog's default button.
      const auto* msg = reinterpret_cast<const MSG*>(lparam);
      result = DLGC_WANTCHARS;
      if (msg != nullptr && msg->message == WM_KEYDOWN &&
          msg->wParam == VK_RETURN) {
        result |= DLGC_WANTMESSAGE;
      }
      return true;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return false;
    default:
      return false;
  }
}

}  // namespace hopla::win32
