#include "widgets/screen_fit.h"

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

}  // namespace kv::ui
