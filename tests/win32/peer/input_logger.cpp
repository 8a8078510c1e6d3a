// A window of another program for the black-box tests and the brake bench:
// it logs every mouse-button and key event it receives (and moves with a
// button held) to a file, one line each, and answers the accessibility query
// as a custom control would: a push button inside one region of it, its
// plain client area elsewhere.
//
//   hopla-input-logger.exe LOG_FILE LEFT TOP RIGHT BOTTOM
//                          BUTTON_LEFT BUTTON_TOP BUTTON_RIGHT BUTTON_BOTTOM
//
// Rectangles are in screen coordinates; the button's lies inside the window.
// Log lines: "<event> <x> <y> <modifier keys>" for mouse events, in screen
// coordinates, modifiers as "shift", "ctrl" or "-" (for example
// "ldown 300 200 shift", "lup ...", "ldblclk", "rdown", "mdown", "move"),
// "keydown <vk>" and "keyup <vk>" (system keys as well), and "getobject"
// for every accessibility query. The window ends by itself after ten
// minutes, so a failed test cannot leave it behind.
#include <windows.h>
// After windows.h.
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t kClass[] = L"HoplaInputLogger";
constexpr wchar_t kTitle[] = L"Hopla input logger";
constexpr UINT_PTR kLifeTimer = 1;
constexpr UINT kLifeMs = 600000;
constexpr LONG kChildButton = 1;

struct Logger {
  FILE* log = nullptr;
  RECT button{};  // client coordinates
  HWND window = nullptr;
};

void Line(const Logger& logger, const std::string& text) {
  std::fprintf(logger.log, "%s\n", text.c_str());
  std::fflush(logger.log);
}

// The one custom element: the client area, with a push button inside.
class ButtonAccessible final : public IAccessible {
 public:
  explicit ButtonAccessible(const Logger& logger) : logger_(logger) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch ||
        riid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID,
                                          DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*,
                                   VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    *parent = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
    *child = nullptr;
    return S_FALSE;  // a simple element, named by its id
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR* name) override {
    *name = SysAllocString(L"logger");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    VariantInit(role);
    role->vt = VT_I4;
    role->lVal = (child.vt == VT_I4 && child.lVal == kChildButton)
                     ? ROLE_SYSTEM_PUSHBUTTON
                     : ROLE_SYSTEM_CLIENT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT* state) override {
    VariantInit(state);
    state->vt = VT_I4;
    state->lVal = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR*, VARIANT, LONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width,
                                        LONG* height, VARIANT child) override {
    RECT r{};
    if (child.vt == VT_I4 && child.lVal == kChildButton) {
      r = logger_.button;
    } else {
      GetClientRect(logger_.window, &r);
    }
    MapWindowPoints(logger_.window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y,
                                       VARIANT* child) override {
    POINT p{x, y};
    ScreenToClient(logger_.window, &p);
    VariantInit(child);
    child->vt = VT_I4;
    child->lVal = PtInRect(&logger_.button, p) ? kChildButton : CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
    return E_NOTIMPL;
  }

 private:
  const Logger& logger_;
  LONG refs_ = 1;
};

std::string Modifiers(WPARAM wparam) {
  std::string text;
  if ((wparam & MK_SHIFT) != 0) text += "shift";
  if ((wparam & MK_CONTROL) != 0) text += text.empty() ? "ctrl" : "+ctrl";
  return text.empty() ? "-" : text;
}

const char* MouseEventName(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return "ldown";
    case WM_LBUTTONUP:
      return "lup";
    case WM_LBUTTONDBLCLK:
      return "ldblclk";
    case WM_RBUTTONDOWN:
      return "rdown";
    case WM_RBUTTONUP:
      return "rup";
    case WM_RBUTTONDBLCLK:
      return "rdblclk";
    case WM_MBUTTONDOWN:
      return "mdown";
    case WM_MBUTTONUP:
      return "mup";
    case WM_MBUTTONDBLCLK:
      return "mdblclk";
    default:
      return nullptr;
  }
}

void LogMouse(const Logger& logger, HWND window, const char* name,
              WPARAM wparam, LPARAM lparam) {
  POINT p{static_cast<SHORT>(LOWORD(lparam)),
          static_cast<SHORT>(HIWORD(lparam))};
  ClientToScreen(window, &p);
  Line(logger, std::string(name) + " " + std::to_string(p.x) + " " +
                   std::to_string(p.y) + " " + Modifiers(wparam));
}

void Paint(const Logger& logger, HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HBRUSH button = CreateSolidBrush(RGB(0, 120, 215));
  FillRect(dc, &logger.button, button);
  DeleteObject(button);
  EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                            LPARAM lparam) {
  auto* logger =
      reinterpret_cast<Logger*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (logger == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (const char* name = MouseEventName(message)) {
    LogMouse(*logger, window, name, wparam, lparam);
    return 0;
  }
  switch (message) {
    case WM_MOUSEMOVE:
      if ((wparam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0) {
        LogMouse(*logger, window, "move", wparam, lparam);
      }
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      Line(*logger, "keydown " + std::to_string(wparam));
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      Line(*logger, "keyup " + std::to_string(wparam));
      return 0;
    case WM_GETOBJECT:
      Line(*logger, "getobject");
      if (static_cast<LONG>(lparam) == OBJID_CLIENT) {
        auto* object = new ButtonAccessible(*logger);
        const LRESULT result = LresultFromObject(
            IID_IAccessible, wparam, static_cast<IAccessible*>(object));
        object->Release();
        return result;
      }
      break;
    case WM_PAINT:
      Paint(*logger, window);
      return 0;
    case WM_TIMER:
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool ReadRect(char** argv, RECT& r) {
  r.left = std::atoi(argv[0]);
  r.top = std::atoi(argv[1]);
  r.right = std::atoi(argv[2]);
  r.bottom = std::atoi(argv[3]);
  return r.right > r.left && r.bottom > r.top;
}

}  // namespace

int main(int argc, char** argv) {
  RECT window_rect{};
  RECT button{};
  if (argc != 10 || !ReadRect(argv + 2, window_rect) ||
      !ReadRect(argv + 6, button)) {
    std::fprintf(stderr,
                 "usage: hopla-input-logger LOG L T R B BUTTON_L T R B\n");
    return 2;
  }
  Logger logger;
  logger.log = std::fopen(argv[1], "w");
  if (logger.log == nullptr) return 1;
  OffsetRect(&button, -window_rect.left, -window_rect.top);
  logger.button = button;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
  logger.window = CreateWindowExW(0, kClass, kTitle, WS_POPUP | WS_VISIBLE,
                                  window_rect.left, window_rect.top,
                                  window_rect.right - window_rect.left,
                                  window_rect.bottom - window_rect.top, nullptr,
                                  nullptr, wc.hInstance, nullptr);
  if (logger.window == nullptr) return 1;
  SetWindowLongPtrW(logger.window, GWLP_USERDATA,
                    reinterpret_cast<LONG_PTR>(&logger));
  InvalidateRect(logger.window, nullptr, TRUE);
  SetTimer(logger.window, kLifeTimer, kLifeMs, nullptr);
  SetForegroundWindow(logger.window);
  Line(logger, "ready");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  CoUninitialize();
  std::fclose(logger.log);
  return 0;
}
