#include "widgets/screen_fit_win.h"

namespace kv::ui {

ScreenBox WorkAreaNear(const ScreenBox& window) {
  const RECT r{window.left, window.top, window.right, window.bottom};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ScreenBox area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor))
    area = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
  RECT bar{};
  const HWND taskBar = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (taskBar && IsWindowVisible(taskBar) && GetWindowRect(taskBar, &bar))
    area = ExcludeEdgeBar(area, {bar.left, bar.top, bar.right, bar.bottom});
  return area;
}

namespace {

// Moves `window` to where `place` puts its rectangle within the work area
// nearest to it; a window already there is left alone.
template <typename Place>
void MoveWithin(HWND window, Place place) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return;
  const ScreenBox now{r.left, r.top, r.right, r.bottom};
  const ScreenBox to = place(now, WorkAreaNear(now));
  if (to == now) return;
  SetWindowPos(window, nullptr, to.left, to.top, to.Width(), to.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void FitIntoWorkArea(HWND window, bool resizable) {
  MoveWithin(window, [resizable](const ScreenBox& now, const ScreenBox& area) {
    return FitInside(now, area, resizable);
  });
}

void KeepReachable(HWND window) { MoveWithin(window, ReachablePlace); }

}  // namespace kv::ui
