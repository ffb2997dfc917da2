#include "config/options/monitor_map.h"

#include <algorithm>
#include <cmath>

namespace kv {

std::vector<Rect> MapMonitors(const MonitorLayout& layout, const Rect& box) {
  std::vector<Rect> out;
  if (layout.empty() || box.Empty()) return out;
  const MonitorRect v = VirtualBounds(layout);
  if (v.width <= 0 || v.height <= 0) return out;
  // One scale for both directions keeps every monitor's proportions, so a
  // portrait monitor shows standing up.
  const double scale = std::min(static_cast<double>(box.Width()) / v.width,
                                static_cast<double>(box.Height()) / v.height);
  const double left = box.left + (box.Width() - v.width * scale) / 2;
  const double top = box.top + (box.Height() - v.height * scale) / 2;
  const auto at = [scale](double origin, int offset) {
    return static_cast<int>(std::lround(origin + offset * scale));
  };
  out.reserve(layout.size());
  for (const MonitorRect& m : layout) {
    Rect r{at(left, m.x - v.x), at(top, m.y - v.y), at(left, m.Right() - v.x),
           at(top, m.Bottom() - v.y)};
    r.right = std::max(r.right, r.left + kMinMapSide);
    r.bottom = std::max(r.bottom, r.top + kMinMapSide);
    out.push_back(r);
  }
  return out;
}

}  // namespace kv
