#pragma once
// The monitors drawn to scale in a box of the options window: where each
// monitor of a layout lands, with the whole virtual screen as large as the box
// allows, centred, and every monitor in its place and proportions.

#include <vector>

#include "base/geometry.h"
#include "wallpaper/monitor_layout.h"

namespace kv {

// Each monitor's rectangle in the box, in the layout's order. Edges are
// rounded one by one, so monitors that touch on the screen touch in the box
// (a drawing leaves its own gap between them); a monitor too small to show
// keeps at least kMinMapSide pixels each way. Empty for an empty layout, a box
// without room or a layout without area.
inline constexpr int kMinMapSide = 3;
[[nodiscard]] std::vector<Rect> MapMonitors(const MonitorLayout& layout, const Rect& box);

}  // namespace kv
