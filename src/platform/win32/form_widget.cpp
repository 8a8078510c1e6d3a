#include "platform/win32/form_widget.h"

#include <iterator>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/text_conv.h"

namespace hopla::win32 {
namespace {

constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Lets Tab walk into group boxes too.
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
constexpr WPARAM kSysCommandMask = 0xFFF0;
// Long hints wrap instead of running across the screen.
constexpr LPARAM kTooltipMaxWidthPx = 400;

// The whole window around a client area of `client`'s size at `dpi`.
RECT WindowRectFor(const Rect& client, DWORD ex_style, UINT dpi) {
  RECT r{0, 0, ToDpi(client.Width(), dpi), ToDpi(client.Height(), dpi)};
  AdjustWindowRectEx(&r, kFormStyle, FALSE, ex_style);
  return r;
}

RECT CentredWindowRect(const Rect& client, DWORD ex_style, UINT dpi) {
  const RECT r = WindowRectFor(client, ex_style, dpi);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return RECT{left, top, left + width, top + height};
}

HWND CreateTooltip(HWND owner, HINSTANCE instance) {
  HWND tooltip = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
  if (tooltip != nullptr) {
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidthPx);
  }
  return tooltip;
}

}  // namespace

Win32Form::Win32Form(const WidgetArgs& desc, NativeWidget* parent,
                     WidgetEvents* events, ExceptionTrap& trap)
    : Win32Widget(events, trap), app_(dynamic_cast<Win32AppWindow*>(parent)) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterTopLevelClass(kFormClassName, GetSysColorBrush(COLOR_BTNFACE));
  const DWORD ex_style = kFormExStyle | (desc.topmost ? WS_EX_TOPMOST : 0);
  SetDpi(SystemDpi());
  set_logical_bounds(desc.bounds);
  font_ = desc.font;
  const RECT r = CentredWindowRect(desc.bounds, ex_style, dpi());
  HWND window = CreateWindowExW(
      ex_style, kFormClassName, Utf8ToWide(desc.caption).c_str(), kFormStyle,
      r.left, r.top, r.right - r.left, r.bottom - r.top,
      app_ != nullptr ? app_->window() : nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    throw std::system_error(static_cast<int>(GetLastError()),
                            std::system_category(), "form window");
  }
  Attach(window, CreateTooltip(window, instance));
  // Only now may the procedure find this peer: nothing reaches the toolkit
  // while the window is half made.
  SetWindowLongPtrW(
      window, GWLP_WNDPROC,
      reinterpret_cast<LONG_PTR>(&Win32Widget::TopLevelWindowProc));
  ApplyFont(desc.font);
  if (!desc.system_menu.empty()) {
    HMENU menu = GetSystemMenu(window, FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (const WidgetArgs::MenuItem& item : desc.system_menu) {
      AppendMenuW(menu, MF_STRING, item.command,
                  Utf8ToWide(item.caption).c_str());
    }
  }
  if (!desc.enabled) EnableWindow(window, FALSE);
  if (!desc.hint.empty()) SetHint(desc.hint);
  // Centred on a monitor of another DPI than the system's: laid out anew.
  if (WindowDpi(window) != dpi()) Rescale(WindowDpi(window));
}

void Win32Form::SetMenuItemChecked(uint32_t command, bool checked) {
  CheckMenuItem(GetSystemMenu(window(), FALSE), command,
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// A key held down repeats; one press is one toggle, so repeats are not
// reported.
bool Win32Form::RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t key) {
  UnregisterHotKey(window(), id);
  if (key == 0) return true;
  return ::RegisterHotKey(window(), id, modifiers | MOD_NOREPEAT, key) != FALSE;
}

bool Win32Form::IsForm(HWND window) {
  wchar_t name[std::size(kFormClassName) + 1] = {};
  return window != nullptr &&
         GetClassNameW(window, name, static_cast<int>(std::size(name))) > 0 &&
         std::wstring_view(name) == kFormClassName;
}

bool Win32Form::HandleDialogKey(MSG& msg) {
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!IsForm(root)) return false;
  if (msg.message == WM_SYSCHAR) {
    if (HandleMnemonic(root, msg.wParam)) return true;
  }
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB) {
    // Not the dialog manager's Tab: that one follows the stack, where frames
    // lie at the bottom; ours follows the order of creation.
    const bool backwards = GetKeyState(VK_SHIFT) < 0;
    HWND next = NextTabStop(root, GetFocus(), backwards);
    if (next != nullptr) SetFocus(next);
    return true;
  }
  return IsDialogMessageW(root, &msg) != FALSE;
}

void Win32Form::SetBounds(const Rect& bounds) {
  set_logical_bounds(bounds);
  const RECT r = WindowRectFor(
      bounds, static_cast<DWORD>(GetWindowLongPtrW(window(), GWL_EXSTYLE)),
      dpi());
  SetWindowPos(window(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RethrowPending();
}

// The form keeps its place; every control of it follows.
void Win32Form::Rescale(UINT new_dpi) {
  SetDpi(new_dpi);
  SetBounds(logical_bounds());
  RescaleControls();
}

void Win32Form::RescaleControls() {
  ApplyFont(font_);
  EnumChildWindows(
      window(),
      [](HWND child, LPARAM dpi) -> BOOL {
        Win32Widget* peer = FromWindow(child);
        if (peer != nullptr) peer->Rescale(static_cast<UINT>(dpi));
        return TRUE;
      },
      static_cast<LPARAM>(dpi()));
}

// Moved to a monitor of another DPI: the system suggests the new window
// rectangle; the layout follows at the new scale.
void Win32Form::HandleDpiChanged(HWND window, UINT new_dpi,
                                 const RECT& suggested) {
  SetDpi(new_dpi);
  const RECT r = WindowRectFor(
      logical_bounds(),
      static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), new_dpi);
  SetWindowPos(window, nullptr, suggested.left, suggested.top, r.right - r.left,
               r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RescaleControls();
}

// The pointer over the form: over bare background the form's model hears
// it, over a label the label's; the program's cursor override wins over
// every window's own cursor.
bool Win32Form::HandleSetCursor(HWND window, HWND over, UINT hit, UINT mouse,
                                LRESULT& result) {
  if (mouse == WM_MOUSEMOVE) {
    const DWORD pos = GetMessagePos();
    POINT p{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ScreenToClient(window, &p);
    const Point at{FromDpi(p.x, dpi()), FromDpi(p.y, dpi())};
    if (over == window && hit == HTCLIENT) {
      // Frames and labels let the pointer through to the form: they still
      // count as controls.
      HWND child = ChildWindowFromPointEx(window, p, CWP_SKIPINVISIBLE);
      if (child == nullptr || child == window) {
        Notify([at](WidgetEvents& e) { e.OnMouseMove(at); });
      }
    } else if (Win32Widget* peer = FromWindow(over); peer != nullptr) {
      peer->OnHoverMove(at);
    }
    if (!IsWindow(window)) return true;
  }
  const CursorShape shape =
      app_ != nullptr ? app_->cursor_override() : CursorShape::kNone;
  if (shape == CursorShape::kNone || hit != HTCLIENT) return false;
  SetCursor(LoadCursorW(
      nullptr, shape == CursorShape::kHandPoint ? IDC_HAND : IDC_ARROW));
  result = TRUE;
  return true;
}

// Alt and a letter: the control whose caption marks that letter takes it.
bool Win32Form::HandleMnemonic(HWND root, WPARAM character) {
  struct Search {
    uint32_t character;
    bool taken;
  } search{static_cast<uint32_t>(character), false};
  EnumChildWindows(
      root,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        Win32Widget* peer = FromWindow(child);
        if (peer != nullptr && IsWindowVisible(child)) {
          s->taken = peer->TakeMnemonic(s->character);
        }
        return s->taken ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.taken;
}

void Win32Form::SetVisible(bool visible) {
  if (visible) {
    if (!IsWindowVisible(window())) ShowWindow(window(), SW_SHOW);
  } else {
    ShowWindow(window(), SW_HIDE);
  }
  RethrowPending();
}

// Shown minimised, a form of the application waits hidden until the
// application is restored.
void Win32Form::Show(bool minimised) {
  if (minimised && app_ != nullptr) {
    app_->ShowOnRestore(window());
    return;
  }
  ShowWindow(window(), minimised ? SW_SHOWMINIMIZED : SW_SHOW);
  RethrowPending();
}

void Win32Form::Minimize() {
  if (app_ != nullptr) {
    app_->Minimize();
    return;
  }
  ShowWindow(window(), SW_MINIMIZE);
  RethrowPending();
}

// Whichever is minimised comes back: the form itself (another program
// minimised it), or the application it belongs to.
void Win32Form::Restore() {
  if (!IsIconic(window()) && app_ != nullptr && app_->IsMinimized()) {
    app_->Restore();
    return;
  }
  ShowWindow(window(), SW_RESTORE);
  RethrowPending();
}

bool Win32Form::IsMinimized() const { return IsIconic(window()) != FALSE; }

// `this` may be gone once a toolkit call returns (it can destroy the form),
// so nothing below touches a member after notifying.
bool Win32Form::HandleMessage(HWND window, UINT message, WPARAM wparam,
                              LPARAM lparam, LRESULT& result) {
  if (RouteChildNotification(message, wparam, lparam)) return true;
  switch (message) {
    case WM_CLOSE:
      // The toolkit decides, and destroys the window itself if it agrees.
      Notify([](WidgetEvents& e) { e.OnCloseRequest(); });
      return true;
    case WM_SYSCOMMAND: {
      const auto command = static_cast<uint32_t>(wparam & kSysCommandMask);
      // `this` may be gone after notifying.
      HWND app = app_ != nullptr ? app_->window() : nullptr;
      Notify([command](WidgetEvents& e) { e.OnSysCommand(command); });
      if (command == SC_MINIMIZE && app != nullptr && IsWindow(window) &&
          !IsIconic(window)) {
        ShowWindow(app, SW_MINIMIZE);  // the program goes to the taskbar
        return true;
      }
      result = DefWindowProcW(window, message, wparam, lparam);
      return true;
    }
    case WM_HOTKEY: {
      const auto id = static_cast<int32_t>(wparam);
      Notify([id](WidgetEvents& e) { e.OnHotKey(id); });
      return true;
    }
    case WM_QUERYENDSESSION: {
      bool may_end = true;
      Notify([&may_end](WidgetEvents& e) { may_end = e.OnQueryEndSession(); });
      result = may_end ? TRUE : FALSE;
      return true;
    }
    case WM_GETMINMAXINFO:
      HandleMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lparam));
      return true;
    case WM_DPICHANGED:
      HandleDpiChanged(window, HIWORD(wparam),
                       *reinterpret_cast<const RECT*>(lparam));
      return true;
    case WM_SETCURSOR:
      return HandleSetCursor(window, reinterpret_cast<HWND>(wparam),
                             LOWORD(lparam), HIWORD(lparam), result);
    case WM_WINDOWPOSCHANGED:
      result = DefWindowProcW(window, message, wparam, lparam);
      NoteShowState(window);
      return true;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return false;
    default:
      return false;
  }
}

void Win32Form::HandleMinMaxInfo(MINMAXINFO& info) {
  MinMaxInfo ours;
  ours.max_size = Point{info.ptMaxSize.x, info.ptMaxSize.y};
  ours.max_position = Point{info.ptMaxPosition.x, info.ptMaxPosition.y};
  Notify([&ours](WidgetEvents& e) { e.OnGetMinMaxInfo(ours); });
  info.ptMaxSize = POINT{ours.max_size.x, ours.max_size.y};
  info.ptMaxPosition = POINT{ours.max_position.x, ours.max_position.y};
}

void Win32Form::NoteShowState(HWND window) {
  const bool visible = (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
  const ShowState now = !visible           ? ShowState::kHidden
                        : IsIconic(window) ? ShowState::kMinimised
                                           : ShowState::kNormal;
  const ShowState before = std::exchange(show_state_, now);
  if (now != ShowState::kNormal || before == ShowState::kNormal) return;
  // Shown in its normal state: first show, or back from the taskbar.
  WidgetEvents* listener = receiver();
  ExceptionTrap& guard = exception_trap();
  if (listener == nullptr) return;
  guard.Run([listener] { listener->OnShown(); });
  if (before == ShowState::kMinimised) {
    guard.Run([listener] { listener->OnRestored(); });
  }
}

}  // namespace hopla::win32
