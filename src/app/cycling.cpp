#include "app/cycling.h"

namespace kv::app {

int WrapIndex(int hi, int lo, int v) noexcept {
  if (hi == -1) hi = lo;
  // A reversed range has no values to wrap into; lo is the one safe answer.
  if (hi <= lo) return lo;
  // In 64 bits, so that v - lo and the range size cannot overflow.
  const long long size = static_cast<long long>(hi) - lo + 1;
  long long r = (static_cast<long long>(v) - lo) % size;
  if (r < 0) r += size;
  return static_cast<int>(lo + r);
}

int MiddlePreview(int n) noexcept { return n / 2; }

int NormaliseCurrent(int current, int count) noexcept {
  return current < 0 || current > count ? (count + 1) / 2 : current;
}

std::vector<int> StripEntries(int n, int current, int count) {
  std::vector<int> entries;
  if (count <= 0 || n <= 0) return entries;
  entries.reserve(static_cast<std::size_t>(n));
  // Every preview, the middle one included, shows its index wrapped into the
  // list, so a current index equal to the count shows entry 0.
  for (int i = 0; i < n; ++i) entries.push_back(IndexOfPreview(i, n, current, count));
  return entries;
}

int IndexOfPreview(int b, int n, int current, int count) noexcept {
  // The middle preview wraps too: after a refill with current == count it shows
  // entry 0, and the index it makes current must name that entry.
  return WrapIndex(count - 1, 0, current + (b - MiddlePreview(n)));
}

bool IntervalTick(int& ticks, bool paused, bool optionsExist, int every, int timeType) noexcept {
  if (paused) return false;
  ++ticks;
  if (!optionsExist) return false;
  const long long factor = timeType == 1 ? 60 : 1;
  if (ticks < static_cast<long long>(every) * factor) return false;
  ticks = 0;
  return true;
}

}  // namespace kv::app
