#pragma once
// The program's icon in the notification area: added, changed and removed with
// the shell, a tip, an icon or an animation over an image list, mouse-down and
// double-click events. It adds itself again when the taskbar is re-created (the
// "TaskbarCreated" message after Explorer restarts), which is why its window is a
// hidden top-level window: message-only windows do not get that broadcast. The
// window is the icon's own, not a window of the program's to show, so it is
// not part of the icon's interface.
// When the shell refuses the icon (at log-on the notification area may not be
// ready yet, or a busy taskbar lets the call time out), the failure is noted
// and the icon is offered again every few seconds for a minute.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "base/handle_win.h"
#include "widgets/menu_win.h"
#include "widgets/window_win.h"

namespace kv::ui {

class TrayIcon : private Window {
 public:
  using Window::hwnd;

  // The shell call, replaceable by tests: Shell_NotifyIconW unless set.
  std::function<BOOL(DWORD message, NOTIFYICONDATAW* data)> notify;

  TrayIcon();
  ~TrayIcon() override;

  // Adds the icon to the notification area (true) or removes it (false).
  void SetActive(bool active);
  // Holding keeps the shell out until the release: the icon counts as active
  // at once, and the shell hears of it, with the icon, tip and animation it has
  // by then, only when released. A program starting up holds it so that its
  // first window does not wait on a busy shell before it is shown.
  void Hold() noexcept { holding_ = true; }
  void Release();
  // Releases the icon once the messages queued before this call are handled.
  void ReleaseQueued();
  [[nodiscard]] bool Active() const noexcept { return active_; }
  // A copy of the icon is kept; the caller keeps its own.
  void SetIcon(HICON icon);
  void SetTip(const std::string& tip);
  [[nodiscard]] const std::string& Tip() const noexcept { return tip_; }

  // Animation: the images of `images` in turn, one per interval.
  void SetImages(HIMAGELIST images) noexcept { images_ = images; }
  void SetAnimateInterval(int ms);
  void SetAnimate(bool animate);
  [[nodiscard]] bool Animate() const noexcept { return animate_; }

  // Shows `menu` at a screen position, owned by the icon's own window. That
  // window is never minimised, and for the menu's time it is shown as one pixel
  // under the mouse so that it can take the foreground: the keyboard then
  // reaches the menu and a click elsewhere closes it, whether the program's
  // other windows are shown, hidden or minimised.
  void PopupMenu(ui::PopupMenu& menu, int x, int y);

  // button: 0 left, 1 right, 2 middle; x, y: the mouse's screen position.
  std::function<void(int button, int x, int y)> onMouseDown;
  std::function<void(int button)> onDblClick;

  // The private message the shell sends about the icon.
  static constexpr UINT kCallbackMessage = WM_APP + 0x4B;
  // How often and how many times a refused icon is offered again.
  int addRetryMs = 2000;
  static constexpr int kAddTries = 30;

 private:
  // The shell's note about the icon and the taskbar's re-creation, both
  // messages of this window's own.
  bool IconMessage(UINT msg, LPARAM lp);
  NOTIFYICONDATAW Data(UINT flags) const;
  // Adds the icon; on a refusal starts offering it again.
  void Add();
  void RetryAdd();
  void Update();
  void NextFrame();

  bool active_ = false;
  bool animate_ = false;
  int interval_ = 50;
  int frame_ = 0;
  int addTriesLeft_ = 0;
  bool holding_ = false;
  IconHandle icon_;  // a copy of the icon given
  IconHandle frameIcon_;
  HIMAGELIST images_ = nullptr;
  std::string tip_;
  UINT taskbarCreated_ = 0;
};

}  // namespace kv::ui
