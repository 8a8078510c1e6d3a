#include "platform/win32/widget_base.h"

#include <cstddef>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "platform/win32/control_order.h"
#include "platform/win32/dpi.h"
#include "platform/win32/gdi_canvas.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/text_conv.h"

namespace hopla::win32 {
namespace {

// Size of the tooltip record that every common-controls version accepts
// (the record up to lParam, without the newer trailing field).
constexpr UINT kToolInfoSize =
    static_cast<UINT>(offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM));

TTTOOLINFOW ToolInfo(HWND tool) {
  TTTOOLINFOW info{};
  info.cbSize = kToolInfoSize;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(tool) != nullptr ? GetParent(tool) : tool;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  return info;
}

std::string ReadWindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied =
      GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
  return WideToUtf8(std::wstring_view(
      buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)));
}

}  // namespace

Win32Widget::Win32Widget(WidgetEvents* events, ExceptionTrap& trap)
    : events_(events), trap_(trap) {}

Win32Widget::~Win32Widget() {
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    if (tooltip_ != nullptr && IsWindow(tooltip_)) {
      TTTOOLINFOW info = ToolInfo(window_);
      SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    DestroyWindow(window_);
  }
  if (font_ != nullptr) DeleteObject(font_);
}

void Win32Widget::Attach(HWND window, HWND tooltip) {
  window_ = window;
  tooltip_ = tooltip;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Win32Widget::CreateChild(const wchar_t* window_class, DWORD style,
                              DWORD ex_style, const WidgetArgs& desc,
                              NativeWidget* parent) {
  auto* container = dynamic_cast<Win32Widget*>(parent);
  if (container != nullptr) dpi_ = container->dpi();
  bounds_ = desc.bounds;
  Attach(CreateChildWindow(window_class, style, ex_style, desc, parent),
         TooltipOf(parent));
  ApplyFont(desc.font);
  SetHint(desc.hint);
}

void Win32Widget::ApplyFont(const FontArgs& font) {
  font_args_ = font;
  HFONT created = MakeFont(font, dpi_);
  if (created == nullptr) return;  // the system font stays
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
  if (font_ != nullptr) DeleteObject(font_);
  font_ = created;
}

WindowHandle Win32Widget::Handle() const {
  return reinterpret_cast<WindowHandle>(window_);
}

void Win32Widget::SetCaption(const std::string& text) {
  SetWindowTextW(window_, Utf8ToWide(text).c_str());
}

std::string Win32Widget::Text() const { return ReadWindowText(window_); }

void Win32Widget::SetBounds(const Rect& bounds) {
  bounds_ = bounds;
  const RECT r = ToDpi(bounds, dpi_);
  MoveWindow(window_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void Win32Widget::Rescale(UINT dpi) {
  dpi_ = dpi;
  SetBounds(bounds_);
  ApplyFont(font_args_);
}

void Win32Widget::SetVisible(bool visible) {
  ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Widget::SetEnabled(bool enabled) {
  EnableWindow(window_, enabled ? TRUE : FALSE);
}

void Win32Widget::SetHint(const std::string& hint) {
  if (tooltip_ == nullptr) return;
  TTTOOLINFOW info = ToolInfo(window_);
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (hint.empty()) return;
  // The tooltip copies the text.
  std::wstring text = Utf8ToWide(hint);
  info.lpszText = text.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Win32Widget::Destroy() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  RethrowPending();
}

LRESULT CALLBACK Win32Widget::TopLevelWindowProc(HWND window, UINT message,
                                                 WPARAM wparam, LPARAM lparam) {
  Win32Widget* self = FromWindow(window);
  LRESULT result = 0;
  if (self != nullptr &&
      self->HandleMessage(window, message, wparam, lparam, result)) {
    return result;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

Win32Widget* Win32Widget::FromWindow(HWND window) {
  auto* widget =
      reinterpret_cast<Win32Widget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // Only our own peers mark a child's user data with themselves.
  return widget != nullptr && widget->window_ == window ? widget : nullptr;
}

bool Win32Widget::RouteChildNotification(UINT message, WPARAM wparam,
                                         LPARAM lparam) {
  if (message != WM_COMMAND && message != WM_HSCROLL) return false;
  HWND child = reinterpret_cast<HWND>(lparam);
  if (child == nullptr) return false;  // a menu or accelerator, not a child
  Win32Widget* widget = FromWindow(child);
  if (widget == nullptr) return false;
  if (message == WM_COMMAND) {
    widget->OnCommand(HIWORD(wparam));
  } else {
    widget->OnScroll();
  }
  return true;
}

HWND CreateChildWindow(const wchar_t* window_class, DWORD style, DWORD ex_style,
                       const WidgetArgs& desc, NativeWidget* parent) {
  auto* container = dynamic_cast<Win32Widget*>(parent);
  if (container == nullptr || container->window() == nullptr) {
    throw std::invalid_argument("a control needs a form or frame to live in");
  }
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (desc.visible) style |= WS_VISIBLE;
  if (!desc.enabled) style |= WS_DISABLED;
  const RECT r = ToDpi(desc.bounds, container->dpi());
  HWND window = CreateWindowExW(
      ex_style, window_class, Utf8ToWide(desc.caption).c_str(), style, r.left,
      r.top, r.right - r.left, r.bottom - r.top, container->window(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(container->TakeControlId())),
      GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    throw std::system_error(static_cast<int>(GetLastError()),
                            std::system_category(), "CreateWindowExW");
  }
  PlaceInStack(window);
  return window;
}

void RegisterTopLevelClass(const wchar_t* name, HBRUSH background) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(HOPLA_IDI_APP));
  // A program without our resources (the tests) still gets an icon.
  if (wc.hIcon == nullptr) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hIconSm = wc.hIcon;
  RegisterClassExW(&wc);
}

HWND TooltipOf(NativeWidget* parent) {
  auto* container = dynamic_cast<Win32Widget*>(parent);
  return container != nullptr ? container->tooltip() : nullptr;
}

}  // namespace hopla::win32
