#include "widgets/window_win.h"

#include <commctrl.h>

#include <stdexcept>
#include <utility>

#include "base/text_win.h"
#include "widgets/prompts.h"
#include "widgets/prompts_win.h"

namespace kv::ui {
namespace {

// The property that binds an HWND to its owning object.
constexpr wchar_t kOwnerProperty[] = L"kv.owner";

Prompts* g_errorPrompts = nullptr;
bool g_terminated = false;

}  // namespace

void SetErrorPrompts(Prompts* prompts) { g_errorPrompts = prompts; }

Prompts& ErrorPrompts() {
  static Win32Prompts defaultPrompts;
  return g_errorPrompts ? *g_errorPrompts : defaultPrompts;
}

void ReportCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      ErrorPrompts().Error(e.what());
    } catch (...) {
      ErrorPrompts().Error("Unknown error.");
    }
  } catch (...) {
    // The error box itself failed: nothing more can be shown.
  }
}

bool ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      g_terminated = true;
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return !g_terminated;
}

bool Terminated() noexcept { return g_terminated; }

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (root && (GetWindowLongW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
        IsDialogMessageW(root, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  g_terminated = true;
  return static_cast<int>(msg.wParam);
}

// Derived destructors unbind and destroy their windows, while the object is
// still whole; by now no handle is left.
HwndOwner::~HwndOwner() = default;

HwndOwner* HwndOwner::FromHwnd(HWND hwnd) noexcept {
  return hwnd ? static_cast<HwndOwner*>(GetPropW(hwnd, kOwnerProperty)) : nullptr;
}

void HwndOwner::Attach(HWND hwnd) noexcept {
  hwnd_ = hwnd;
  SetPropW(hwnd, kOwnerProperty, this);
}

void HwndOwner::Detach() noexcept {
  if (!hwnd_) return;
  OnHandleDestroyed();
  RemovePropW(hwnd_, kOwnerProperty);
  hwnd_ = nullptr;
}

void HwndOwner::Destroy() noexcept {
  if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY detaches
  hwnd_ = nullptr;
}

void HwndOwner::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}
bool HwndOwner::IsVisible() const noexcept { return hwnd_ && IsWindowVisible(hwnd_); }
void HwndOwner::SetEnabled(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled);
}
bool HwndOwner::IsEnabled() const noexcept { return hwnd_ && IsWindowEnabled(hwnd_); }

void HwndOwner::SetText(const std::string& text) {
  if (hwnd_) SetWindowTextW(hwnd_, Widen(text).c_str());
}

std::string HwndOwner::Text() const {
  if (!hwnd_) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void HwndOwner::SetBounds(int left, int top, int width, int height) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT HwndOwner::Bounds() const noexcept {
  RECT r{};
  if (!hwnd_) return r;
  GetWindowRect(hwnd_, &r);
  if (HWND parent = GetParent(hwnd_); parent && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void HwndOwner::SetFont(HFONT font) {
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void HwndOwner::Invalidate() noexcept {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    if (self) self->Attach(hwnd);
  }
  auto* self = static_cast<Window*>(HwndOwner::FromHwnd(hwnd));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = 0;
  try {
    if (msg == WM_DESTROY && self->onDestroy) self->onDestroy();
    if (self->onMessage && self->onMessage(msg, wp, lp, result)) return result;
    result = self->WndProc(msg, wp, lp);
  } catch (...) {
    ReportCurrentException();
    result = DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) self->Detach();
  return result;
}

Window::~Window() {
  if (!hwnd_) return;
  HWND hwnd = std::exchange(hwnd_, nullptr);
  RemovePropW(hwnd, kOwnerProperty);
  DestroyWindow(hwnd);
}

void Window::Create(const WindowArgs& args) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(instance, args.className, &wc)) {
    wc.cbSize = sizeof wc;
    wc.style = args.classStyle;
    wc.lpfnWndProc = WindowProcedure;
    wc.hInstance = instance;
    wc.hCursor = args.cursor ? args.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = args.background;
    wc.lpszClassName = args.className;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!RegisterClassExW(&wc)) throw std::runtime_error("RegisterClassEx failed.");
  }
  HWND hwnd = CreateWindowExW(args.exStyle, args.className, Widen(args.title).c_str(), args.style,
                              args.left, args.top, args.width, args.height, args.parent,
                              args.idOrMenu, instance, this);
  if (!hwnd) throw std::runtime_error("CreateWindowEx failed.");
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

namespace {

int MouseButtonOf(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return 1;
    default:
      return 2;
  }
}

}  // namespace

void Window::MouseDown(int button, int x, int y) {
  if (onMouseDown) onMouseDown(button, x, y);
}
void Window::MouseUp(int button, int x, int y) {
  if (onMouseUp) onMouseUp(button, x, y);
}
void Window::DoubleClick(int button, int x, int y) {
  if (onDoubleClick) onDoubleClick(button, x, y);
}
void Window::MouseEnter() {
  if (onMouseEnter) onMouseEnter();
}
void Window::MouseLeave() {
  if (onMouseLeave) onMouseLeave();
}

LRESULT Window::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
  switch (msg) {
    case WM_TIMER:
      if (onTimer) {
        onTimer(wp);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      MouseDown(MouseButtonOf(msg), x, y);
      break;
    // The default handling of a released right button asks for the context menu.
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      MouseUp(MouseButtonOf(msg), x, y);
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      DoubleClick(MouseButtonOf(msg), x, y);
      break;
    case WM_MOUSEMOVE:
      if (followsMouse_ && !mouseInside_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        mouseInside_ = TrackMouseEvent(&track) != FALSE;
        MouseEnter();
      }
      if (onMouseMove) onMouseMove(x, y);
      break;
    case WM_MOUSELEAVE:
      if (followsMouse_) {
        mouseInside_ = false;
        MouseLeave();
      }
      break;
    case WM_MOUSEWHEEL:
      if (onMouseWheel) {
        onMouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (onKeyDown && onKeyDown(static_cast<WORD>(wp))) return 0;
      break;
    case WM_CONTEXTMENU:
      if (onContextMenu) {
        POINT at{x, y};
        if (lp == -1) GetCursorPos(&at);  // from the keyboard
        onContextMenu(reinterpret_cast<HWND>(wp), at.x, at.y);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      if (paintsWholeFace_) return 0;  // the face covers the whole window
      if (EraseBackground(reinterpret_cast<HDC>(wp))) return 1;
      break;
    case WM_PAINT:
      if (paintsWholeFace_) {
        PaintWindow(hwnd_, [this](HDC dc) { PaintFace(dc); });
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = ChildBackground(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_COMMAND:
      if (lp) {
        if (HwndOwner* child = FromHwnd(reinterpret_cast<HWND>(lp)); child && child != this)
          if (child->OnCommand(HIWORD(wp))) return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (HwndOwner* child = FromHwnd(header->hwndFrom); child && child != this) {
        LRESULT result = 0;
        if (child->OnNotify(header, result)) return result;
      }
      break;
    }
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

void Form::Create(const CreateArgs& args) {
  WindowArgs w;
  w.className = args.className;
  w.title = args.title;
  w.style = args.style;
  w.exStyle = args.exStyle;
  w.parent = args.owner;
  w.left = args.left;
  w.top = args.top;
  w.width = args.width;
  w.height = args.height;
  w.background = GetSysColorBrush(COLOR_BTNFACE);
  Window::Create(w);
}

std::vector<std::string> DroppedNames(HDROP drop) {
  std::vector<std::string> names;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    DragQueryFileW(drop, i, name.data(), length + 1);
    name.resize(length);
    names.push_back(Narrow(name));
  }
  DragFinish(drop);
  return names;
}

void Form::Activated(bool active) {
  if (onActivate) onActivate(active);
}
void Form::AppActivated(bool active) {
  if (onActivateApp) onActivateApp(active);
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      if (onClose ? onClose() : (SetVisible(false), false)) break;
      return 0;
    case WM_SIZE:
      if (onResize) onResize(LOWORD(lp), HIWORD(lp));
      return 0;
    case WM_ACTIVATE:
      Activated(LOWORD(wp) != WA_INACTIVE);
      break;
    case WM_ACTIVATEAPP:
      AppActivated(wp != 0);
      break;
    case WM_SHOWWINDOW:
      if (onShow) onShow(wp != 0);
      break;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_RESTORE && IsIconic(hwnd_) && onRestore) {
        const LRESULT result = Window::WndProc(msg, wp, lp);
        onRestore();
        return result;
      }
      break;
    case WM_COMMAND:
      if (lp == 0 && onMenuCommand) {
        onMenuCommand(LOWORD(wp));
        return 0;
      }
      break;
    case WM_DROPFILES:
      if (onDropFiles) {
        onDropFiles(DroppedNames(reinterpret_cast<HDROP>(wp)));
        return 0;
      }
      break;
    case WM_COPYDATA:
      if (const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp); data && onCopyData) {
        const std::string_view bytes(static_cast<const char*>(data->lpData), data->cbData);
        if (const auto answer = onCopyData(data->dwData, bytes, reinterpret_cast<HWND>(wp)))
          return *answer;
      }
      break;
    case WM_WINDOWPOSCHANGING: {
      auto& pos = *reinterpret_cast<WINDOWPOS*>(lp);
      if (pos.flags & SWP_NOMOVE) break;
      if (pos.flags & SWP_NOSIZE) {
        // The size is not part of the request: the hook sees the current one.
        RECT r;
        GetWindowRect(hwnd_, &r);
        pos.cx = r.right - r.left;
        pos.cy = r.bottom - r.top;
      }
      PositionChanging(pos);
      break;
    }
    case WM_WINDOWPOSCHANGED:
      PositionChanged(*reinterpret_cast<const WINDOWPOS*>(lp));
      break;
    default:
      break;
  }
  return Window::WndProc(msg, wp, lp);
}

LRESULT CALLBACK ControlSubclassProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                          UINT_PTR /*id*/, DWORD_PTR data) {
  auto* self = reinterpret_cast<Control*>(data);
  LRESULT result = 0;
  try {
    if (self->OnControlMessage(msg, wp, lp, result)) return result;
  } catch (...) {
    ReportCurrentException();
  }
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, ControlSubclassProcedure, 0);
    self->Detach();
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

Control::~Control() {
  if (!hwnd_) return;
  HWND hwnd = std::exchange(hwnd_, nullptr);
  RemoveWindowSubclass(hwnd, ControlSubclassProcedure, 0);
  RemovePropW(hwnd, kOwnerProperty);
  DestroyWindow(hwnd);
}

void Control::CreateControl(const wchar_t* className, const CreateArgs& args) {
  HWND hwnd = CreateWindowExW(
      args.exStyle, className, Widen(args.text).c_str(), WS_CHILD | WS_VISIBLE | args.style,
      args.left, args.top, args.width, args.height, args.parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) throw std::runtime_error("CreateWindowEx failed.");
  Attach(hwnd);
  SetWindowSubclass(hwnd, ControlSubclassProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
  SetFont(DefaultGuiFont());
}

HFONT DefaultGuiFont() noexcept { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace kv::ui
