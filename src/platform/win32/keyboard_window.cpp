#include "platform/win32/keyboard_window.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/win32/text_conv.h"

namespace hopla::win32 {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
constexpr COLORREF kBackground = RGB(210, 214, 220);
constexpr COLORREF kKeyFace = RGB(250, 250, 250);
constexpr COLORREF kKeyLit = RGB(255, 220, 120);
constexpr COLORREF kKeyPressed = RGB(170, 200, 240);
constexpr COLORREF kKeyEdge = RGB(110, 110, 120);
constexpr COLORREF kText = RGB(0, 0, 0);
// The labels' height against the key's: readable from a distance.
constexpr int kLabelPercent = 45;
constexpr int kLeastLabelPx = 9;

void Fill(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// A mouse message's client point: signed, as a captured pointer may lie
// left of or above the window.
POINT PointOf(LPARAM lparam) {
  return {static_cast<int16_t>(LOWORD(lparam)),
          static_cast<int16_t>(HIWORD(lparam))};
}

}  // namespace

KeyboardWindow::~KeyboardWindow() {
  keys_.reset();
  if (window_ != nullptr) DestroyWindow(window_);
}

bool KeyboardWindow::Create(const Rect& place) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &KeyboardWindow::WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kKeyboardClassName;
  if (RegisterClassExW(&wc) == 0 &&
      GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return false;
  }
  window_ = CreateWindowExW(
      kExStyle, kKeyboardClassName, Utf8ToWide(view_.caption).c_str(), kStyle,
      place.left, place.top, place.Width(), place.Height(), nullptr, nullptr,
      instance, nullptr);
  if (window_ == nullptr) return false;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  KeyboardKeys keys;
  keys.count = [this] {
    return static_cast<long>(view_.keys.size());
  };                             // NOLINT
  keys.key = [this](long index)  // NOLINT
      -> std::optional<std::pair<std::wstring, Rect>> {
    if (index < 0 || static_cast<size_t>(index) >= view_.keys.size()) {
      return std::nullopt;
    }
    const KeyCap& cap = view_.keys[static_cast<size_t>(index)];
    const Rect r = KeyRect(view_, cap, ClientSize());
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(window_, nullptr, corners, 2);
    return std::pair(Utf8ToWide(cap.label), Rect{corners[0].x, corners[0].y,
                                                 corners[1].x, corners[1].y});
  };
  keys.press = [this](long index) {  // NOLINT
    if (events_ != nullptr) {
      trap_.Run([&] { events_->OnKeyClicked(static_cast<size_t>(index)); });
    }
  };
  keys.name = [this] { return Utf8ToWide(view_.caption); };
  keys.action = [this] { return Utf8ToWide(view_.press_name); };
  keys.client = [this] {
    RECT r{};
    GetClientRect(window_, &r);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return Rect{r.left, r.top, r.right, r.bottom};
  };
  keys_ = std::make_shared<const KeyboardKeys>(std::move(keys));
  return true;
}

void KeyboardWindow::Show(const KeyboardView& view, const Rect& place,
                          KeyboardEvents* events) {
  const bool caption_changed = view.caption != view_.caption;
  view_ = view;
  events_ = events;
  if (window_ == nullptr && !Create(place)) return;
  if (caption_changed) {
    SetWindowTextW(window_, Utf8ToWide(view_.caption).c_str());
  }
  if (!IsWindowVisible(window_)) {
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  // Drawn now: the labels change inside an execution, with no message loop.
  HDC dc = GetDC(window_);
  Paint(dc);
  ReleaseDC(window_, dc);
  ValidateRect(window_, nullptr);
}

// The window goes: the next show makes it anew, where it is asked to be.
// Objects of the accessibility interface still held answer nothing.
void KeyboardWindow::Hide() {
  pressed_.reset();
  events_ = nullptr;
  keys_.reset();
  if (window_ != nullptr) DestroyWindow(std::exchange(window_, nullptr));
}

Point KeyboardWindow::ClientSize() const {
  RECT r{};
  GetClientRect(window_, &r);
  return {r.right - r.left, r.bottom - r.top};
}

std::optional<size_t> KeyboardWindow::KeyAt(POINT at) const {
  const Point client = ClientSize();
  for (size_t i = 0; i < view_.keys.size(); ++i) {
    if (KeyRect(view_, view_.keys[i], client).Contains({at.x, at.y})) return i;
  }
  return std::nullopt;
}

void KeyboardWindow::Paint(HDC target) {
  const Point client = ClientSize();
  if (client.x <= 0 || client.y <= 0) return;
  HDC dc = buffer_.Prepare(target, SIZE{client.x, client.y});
  if (dc == nullptr) return;
  Fill(dc, RECT{0, 0, client.x, client.y}, kBackground);
  const int label_px = std::max(
      kLeastLabelPx, client.y / std::max(view_.rows, 1) * kLabelPercent / 100);
  FontArgs font;
  font.height_px = label_px;
  font.bold = true;
  // The size is already in pixels of this window: made at 96 dpi as is.
  SelectObject(dc, fonts_.Get(font, USER_DEFAULT_SCREEN_DPI));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kText);
  for (size_t i = 0; i < view_.keys.size(); ++i) {
    const KeyCap& key = view_.keys[i];
    RECT r = ToRect(KeyRect(view_, key, client));
    Fill(dc, r, kKeyEdge);
    RECT face{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    Fill(dc, face, pressed_ == i ? kKeyPressed : key.lit ? kKeyLit : kKeyFace);
    const std::wstring label = Utf8ToWide(key.label);
    // A long label ("半角/全角") is drawn smaller until it fits its key.
    SIZE extent{};
    GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()),
                          &extent);
    const int room = face.right - face.left - 4;
    const bool shrink = extent.cx > room && extent.cx > 0;
    if (shrink) {
      FontArgs smaller = font;
      smaller.height_px = std::max(
          kLeastLabelPx, static_cast<int>(label_px * room / extent.cx));
      SelectObject(dc, fonts_.Get(smaller, USER_DEFAULT_SCREEN_DPI));
    }
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &face,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (shrink) SelectObject(dc, fonts_.Get(font, USER_DEFAULT_SCREEN_DPI));
  }
  buffer_.CopyTo(target);
}

void KeyboardWindow::Placed() {
  RECT r{};
  if (events_ == nullptr || !GetWindowRect(window_, &r)) return;
  trap_.Run([&] {
    events_->OnKeyboardPlaced({r.left, r.top, r.right, r.bottom});
  });
}

LRESULT CALLBACK KeyboardWindow::WindowProc(HWND window, UINT message,
                                            WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<KeyboardWindow*>(
      GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->window_ != window) {
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

LRESULT KeyboardWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_LBUTTONDOWN: {
      const POINT at = PointOf(lparam);
      pressed_ = KeyAt(at);
      if (pressed_) SetCapture(window_);
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    }
    case WM_LBUTTONUP: {
      const POINT at = PointOf(lparam);
      const std::optional<size_t> was = std::exchange(pressed_, std::nullopt);
      if (GetCapture() == window_) ReleaseCapture();
      InvalidateRect(window_, nullptr, FALSE);
      if (was && KeyAt(at) == was && events_ != nullptr) {
        trap_.Run([&] { events_->OnKeyClicked(*was); });
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_.reset();
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window_, &paint);
      Paint(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_EXITSIZEMOVE:
      Placed();
      return 0;
    case WM_CLOSE: {
      KeyboardEvents* events = events_;
      Hide();  // `this` stays; only the window goes
      if (events != nullptr) trap_.Run([&] { events->OnKeyboardClosed(); });
      return 0;
    }
    case WM_GETOBJECT:
      if (static_cast<LONG>(lparam) == static_cast<LONG>(OBJID_CLIENT) &&
          oleacc_.lresult_from_object != nullptr && keys_ != nullptr) {
        IAccessible* object = NewKeyboardAccessible(keys_);
        const LRESULT result =
            oleacc_.lresult_from_object(IID_IAccessible, wparam, object);
        object->Release();
        return result;
      }
      return DefWindowProcW(window_, message, wparam, lparam);
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

}  // namespace hopla::win32
