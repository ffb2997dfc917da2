#pragma once
// Snapping a window that is being moved onto the edges of its screen.

#include <optional>
#include <vector>

#include "skin/geometry.h"

namespace kv::skin {

// The rectangle to snap into, from the monitors' bounds (index 0 first, at most
// ten are looked at): monitor 0 when the window touches it (edges count), then
// each later monitor the window touches replaces it. None when it touches none.
[[nodiscard]] std::optional<Rect> MonitorWorkRect(const Rect& window,
                                                  const std::vector<Rect>& monitors);

// `work` without the taskbar. The taskbar's place is known by its rectangle
// sticking out 2 pixels beyond three edges of the primary screen (width, height);
// any other shape changes nothing.
[[nodiscard]] Rect WithoutTaskbar(Rect work, const Rect& taskbar, int screenWidth,
                                  int screenHeight);

// The window's new top-left corner: an edge closer than `threshold` to the work
// rectangle's edge (or beyond it) is put on it. Left before right, top before
// bottom, so a window larger than the work area keeps its right and bottom edges.
[[nodiscard]] Point SnapToEdges(Point pos, int width, int height, const Rect& work, int threshold);

}  // namespace kv::skin

namespace kv::skin {

// Snapping a window being moved beside another one (the browser and the
// manager): `current` is the moving window where it is now, `proposed` its
// proposed top-left corner, `other` the window it snaps to. Four tests in this
// order, each on the value the earlier ones left, |d| < distance strictly:
// right edge to other's left, left edge to other's right (both when the windows
// overlap vertically), top to other's bottom, bottom to other's top (both when
// they overlap horizontally). Overlap is judged on the current position: either
// edge of `current` within other's range (ends included), or other's range
// wholly within current's.
[[nodiscard]] Point SnapBeside(const Rect& current, Point proposed, const Rect& other,
                               int distance);

}  // namespace kv::skin
