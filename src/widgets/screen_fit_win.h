#pragma once
// The system's side of keeping a window on the screen.

#include <windows.h>

#include "widgets/screen_fit.h"

namespace kv::ui {

// The work area of the monitor nearest to `window`, less a visible task bar
// along one of its edges (for desktops whose work area still holds it).
[[nodiscard]] ScreenBox WorkAreaNear(const ScreenBox& window);

// Moves `window` (and resizes it when `resizable`) by FitInside into the work
// area nearest to it; nothing happens when it is inside already.
void FitIntoWorkArea(HWND window, bool resizable);

// Moves a window just opened at a remembered place by ReachablePlace into the
// work area nearest to it.
void KeepReachable(HWND window);

}  // namespace kv::ui
