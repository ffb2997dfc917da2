#pragma once
// Where a window that must be seen whole goes: inside the work area of its
// monitor (the screen less the task bar).

#include "base/geometry.h"

namespace kv::ui {

// A rectangle on the screen; right and bottom are exclusive, as in a RECT.
using ScreenBox = Rect;

// `area` less a task bar along one of its edges (a bar as wide or as tall as
// the area, touching that edge). The system leaves the task bar out of the
// work area itself; a desktop that does not (Wine's virtual desktop) would
// otherwise let a dialog open under the bar.
[[nodiscard]] ScreenBox ExcludeEdgeBar(const ScreenBox& area, const ScreenBox& bar);

// `window` moved the least distance that puts it inside `area`: an edge beyond
// the right or bottom brings it back first, then the left and top edges win. One
// larger than the area is shrunk to it when `resizable`; otherwise it keeps its
// top-left corner in the area, so that its caption (or a skinned window's
// buttons near it) can still be reached. Prompts opened by the system and
// skinned windows whose size a skin changes both go through here.
[[nodiscard]] ScreenBox FitInside(const ScreenBox& window, const ScreenBox& area, bool resizable);

// Where a window reopened at a remembered place goes: that place while a piece
// of it the size of a grip (kGrip square, or the whole window when smaller)
// lies in `area`, else FitInside. A place remembered on a monitor that has
// since been unplugged, or on a larger screen, would otherwise open the window
// where nobody can see or reach it; a window the user parked half off the
// screen's edge stays where it was put.
inline constexpr int kGrip = 32;
[[nodiscard]] ScreenBox ReachablePlace(const ScreenBox& window, const ScreenBox& area);

}  // namespace kv::ui
