#include "skin/snapping.h"

#include <cstddef>

namespace kv::skin {

std::optional<Rect> MonitorWorkRect(const Rect& window, const std::vector<Rect>& monitors) {
  const auto touches = [&](const Rect& m) {
    return window.left <= m.right && window.right >= m.left && window.top <= m.bottom &&
           window.bottom >= m.top;
  };
  std::optional<Rect> work;
  for (std::size_t i = 0; i < monitors.size() && i < 10; ++i)
    if (touches(monitors[i])) work = monitors[i];
  return work;
}

Rect WithoutTaskbar(Rect work, const Rect& taskbar, int screenWidth, int screenHeight) {
  const int w = screenWidth + 2, h = screenHeight + 2;
  if (taskbar.left == -2 && taskbar.right == w && taskbar.bottom == h)
    work.bottom = taskbar.top;
  else if (taskbar.top == -2 && taskbar.left == -2 && taskbar.right == w)
    work.top = taskbar.bottom;
  else if (taskbar.left == -2 && taskbar.top == -2 && taskbar.bottom == h)
    work.left = taskbar.right;
  else if (taskbar.right == w && taskbar.top == -2 && taskbar.bottom == h)
    work.right = taskbar.left;
  return work;
}

Point SnapToEdges(Point pos, int width, int height, const Rect& work, int threshold) {
  if (pos.x < work.left + threshold) pos.x = work.left;
  if (pos.y < work.top + threshold) pos.y = work.top;
  if (pos.x + width > work.right - threshold) pos.x = work.right - width;
  if (pos.y + height > work.bottom - threshold) pos.y = work.bottom - height;
  return pos;
}

}  // namespace kv::skin

namespace kv::skin {
namespace {

// Whether [lo, hi] and [otherLo, otherHi] overlap as the snapping sees it: an
// end of the first inside the second, or the second wholly inside the first.
bool SpansOverlap(int lo, int hi, int otherLo, int otherHi) {
  const auto inOther = [&](int v) { return v >= otherLo && v <= otherHi; };
  return inOther(lo) || inOther(hi) || (otherLo >= lo && otherHi <= hi);
}

bool Near(int a, int b, int distance) { return a - b < distance && b - a < distance; }

}  // namespace

Point SnapBeside(const Rect& current, Point proposed, const Rect& other, int distance) {
  const int width = current.Width(), height = current.Height();
  const bool vertical = SpansOverlap(current.top, current.bottom, other.top, other.bottom);
  const bool horizontal = SpansOverlap(current.left, current.right, other.left, other.right);
  if (vertical && Near(proposed.x + width, other.left, distance)) proposed.x = other.left - width;
  if (vertical && Near(proposed.x, other.right, distance)) proposed.x = other.right;
  if (horizontal && Near(proposed.y, other.bottom, distance)) proposed.y = other.bottom;
  if (horizontal && Near(proposed.y + height, other.top, distance)) proposed.y = other.top - height;
  return proposed;
}

}  // namespace kv::skin
