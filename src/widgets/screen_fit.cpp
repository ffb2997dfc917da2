#include "widgets/screen_fit.h"

#include <algorithm>

namespace kv::ui {
namespace {

// One axis: [low, high) into [areaLow, areaHigh).
void FitAxis(int& low, int& high, int areaLow, int areaHigh, bool resizable) {
  int size = high - low;
  if (resizable && size > areaHigh - areaLow) size = areaHigh - areaLow;
  if (low + size > areaHigh) low = areaHigh - size;
  if (low < areaLow) low = areaLow;
  high = low + size;
}

}  // namespace

ScreenBox FitInside(const ScreenBox& window, const ScreenBox& area, bool resizable) {
  ScreenBox out = window;
  FitAxis(out.left, out.right, area.left, area.right, resizable);
  FitAxis(out.top, out.bottom, area.top, area.bottom, resizable);
  return out;
}

ScreenBox ReachablePlace(const ScreenBox& window, const ScreenBox& area) {
  const int seenWide = std::min(window.right, area.right) - std::max(window.left, area.left);
  const int seenHigh = std::min(window.bottom, area.bottom) - std::max(window.top, area.top);
  const int gripWide = std::min(kGrip, window.Width());
  const int gripHigh = std::min(kGrip, window.Height());
  if (seenWide >= gripWide && seenHigh >= gripHigh) return window;
  return FitInside(window, area, false);
}

ScreenBox ExcludeEdgeBar(const ScreenBox& area, const ScreenBox& bar) {
  ScreenBox out = area;
  const bool across = bar.left <= area.left && bar.right >= area.right;
  const bool upright = bar.top <= area.top && bar.bottom >= area.bottom;
  if (across && bar.top > area.top && bar.top < area.bottom && bar.bottom >= area.bottom)
    out.bottom = bar.top;
  else if (across && bar.bottom > area.top && bar.bottom < area.bottom && bar.top <= area.top)
    out.top = bar.bottom;
  else if (upright && bar.left > area.left && bar.left < area.right && bar.right >= area.right)
    out.right = bar.left;
  else if (upright && bar.right > area.left && bar.right < area.right && bar.left <= area.left)
    out.left = bar.right;
  return out;
}

}  // namespace kv::ui
