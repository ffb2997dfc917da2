#include "widgets/tray_icon_win.h"

#include <algorithm>

#include "base/text_win.h"
#include "base/win32_failure_win.h"

namespace kv::ui {
namespace {

constexpr UINT kIconId = 1;
constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT_PTR kAddRetryTimer = 2;
// Posted to the icon's own window by ReleaseQueued.
constexpr UINT kReleaseMessage = WM_APP + 0x4C;
// How long a menu waits for its owner window to hear the pointer.
constexpr DWORD kPointerWaitMs = 250;

}  // namespace

TrayIcon::TrayIcon() {
  notify = [](DWORD message, NOTIFYICONDATAW* data) { return Shell_NotifyIconW(message, data); };
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  WindowArgs args;
  args.className = L"KvTrayIconWindow";
  args.style = WS_POPUP;
  args.exStyle = WS_EX_TOOLWINDOW;  // no taskbar button while it is shown for a menu
  args.left = args.top = args.width = args.height = 0;
  Window::Create(args);
  onMessage = [this](UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    result = 0;
    return IconMessage(msg, lp);
  };
  onTimer = [this](UINT_PTR id) {
    if (id == kAnimationTimer) NextFrame();
    if (id == kAddRetryTimer) RetryAdd();
  };
}

TrayIcon::~TrayIcon() { SetActive(false); }

NOTIFYICONDATAW TrayIcon::Data(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = hwnd_;
  data.uID = kIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = animate_ && frameIcon_ ? frameIcon_.get() : icon_.get();
  const std::wstring tip = Widen(tip_);
  std::copy_n(tip.c_str(), std::min<size_t>(tip.size(), 127), data.szTip);
  return data;
}

void TrayIcon::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active) {
    if (!holding_) Add();
    return;
  }
  KillTimer(hwnd_, kAddRetryTimer);
  addTriesLeft_ = 0;
  // A held icon was never added, so there is nothing to remove.
  NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (!holding_ && !notify(NIM_DELETE, &data)) NoteWin32Failure("Shell_NotifyIcon(NIM_DELETE)");
  SetAnimate(false);
}

void TrayIcon::Add() {
  NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (notify(NIM_ADD, &data)) return;
  NoteWin32Failure("Shell_NotifyIcon(NIM_ADD)");
  addTriesLeft_ = kAddTries;
  SetTimer(hwnd_, kAddRetryTimer, static_cast<UINT>(std::max(addRetryMs, 1)), nullptr);
}

void TrayIcon::Release() {
  if (!holding_) return;
  holding_ = false;
  if (active_) Add();
}

void TrayIcon::ReleaseQueued() { PostMessageW(hwnd_, kReleaseMessage, 0, 0); }

// A refused add is offered again; an add that timed out may have gone through
// all the same, in which case the icon answers a change.
void TrayIcon::RetryAdd() {
  if (active_ && addTriesLeft_ > 0) {
    NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    if (!notify(NIM_ADD, &data) && !notify(NIM_MODIFY, &data) && --addTriesLeft_ > 0) return;
  }
  KillTimer(hwnd_, kAddRetryTimer);
  addTriesLeft_ = 0;
}

void TrayIcon::Update() {
  // A held or retried add brings the new state along.
  if (!active_ || holding_ || addTriesLeft_ > 0) return;
  NOTIFYICONDATAW data = Data(NIF_ICON | NIF_TIP);
  if (!notify(NIM_MODIFY, &data)) NoteWin32Failure("Shell_NotifyIcon(NIM_MODIFY)");
}

void TrayIcon::SetIcon(HICON icon) {
  icon_.reset(icon ? CopyIcon(icon) : nullptr);
  Update();
}

void TrayIcon::SetTip(const std::string& tip) {
  tip_ = tip;
  Update();
}

void TrayIcon::SetAnimateInterval(int ms) {
  interval_ = std::max(ms, 1);
  if (animate_) SetTimer(hwnd_, kAnimationTimer, static_cast<UINT>(interval_), nullptr);
}

void TrayIcon::SetAnimate(bool animate) {
  animate_ = animate && images_;
  if (animate_) {
    frame_ = 0;
    SetTimer(hwnd_, kAnimationTimer, static_cast<UINT>(interval_), nullptr);
    NextFrame();
  } else {
    KillTimer(hwnd_, kAnimationTimer);
    Update();
  }
}

void TrayIcon::NextFrame() {
  const int count = images_ ? ImageList_GetImageCount(images_) : 0;
  if (count <= 0) return;
  HICON next = ImageList_GetIcon(images_, frame_ % count, ILD_NORMAL);
  frame_ = (frame_ + 1) % count;
  if (!next) return;
  frameIcon_.reset(next);
  Update();
}

void TrayIcon::PopupMenu(ui::PopupMenu& menu, int x, int y) {
  // Under the mouse, so the window hears the pointer enter it. Under Wine the
  // display server takes a focus request only when it is newer than the last
  // focus change, and a hidden browser's focus went later than any input this
  // program has seen (the click on the icon went to the taskbar): the pointer
  // entering the new window is such input, so it is waited for, briefly.
  POINT at{x, y};
  GetCursorPos(&at);
  SetWindowPos(hwnd_, HWND_TOPMOST, at.x, at.y, 1, 1, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  const DWORD start = GetTickCount();
  MSG msg;
  while (!PeekMessageW(&msg, hwnd_, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE) &&
         GetTickCount() - start < kPointerWaitMs)
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_MOUSEMOVE);
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
  menu.Popup(hwnd_, x, y);
  ShowWindow(hwnd_, SW_HIDE);
}

bool TrayIcon::IconMessage(UINT msg, LPARAM lp) {
  if (msg == kCallbackMessage) {
    POINT p{};
    GetCursorPos(&p);
    const UINT event = static_cast<UINT>(lp);
    const int button = event == WM_LBUTTONDOWN || event == WM_LBUTTONDBLCLK   ? 0
                       : event == WM_RBUTTONDOWN || event == WM_RBUTTONDBLCLK ? 1
                                                                              : 2;
    switch (event) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        if (onMouseDown) onMouseDown(button, p.x, p.y);
        break;
      // The second press of a double click comes as the double-click message
      // instead of a button-down one; it is a press all the same, so both
      // presses of a double click reach onMouseDown, then onDblClick follows.
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
        if (onMouseDown) onMouseDown(button, p.x, p.y);
        if (onDblClick) onDblClick(button);
        break;
      default:
        break;
    }
    return true;
  }
  if (msg == kReleaseMessage) {
    Release();
    return true;
  }
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    // A new taskbar knows nothing of us: add the icon again.
    if (active_ && !holding_) Add();
    return true;
  }
  return false;
}

}  // namespace kv::ui
