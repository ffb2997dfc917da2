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
