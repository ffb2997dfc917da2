#include "app/cycling.h"

#include <random>

namespace kv::app {
namespace {

// Program-wide, like the rest of the cycling state; only the user-interface
// thread draws from it.
std::mt19937& RandomEngine() {
  static std::mt19937 engine;
  return engine;
}

}  // namespace

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

int UniformIndex(int count, const std::function<std::uint32_t()>& next) {
  if (count < 2) return 0;
  const std::uint64_t n = static_cast<std::uint64_t>(count);
  // The draws below `limit` fall on the indices equally often.
  const std::uint64_t limit = (std::uint64_t{1} << 32) / n * n;
  for (;;) {
    const std::uint64_t draw = next();
    if (draw < limit) return static_cast<int>(draw % n);
  }
}

void SeedRandomWallpaper(std::uint32_t seed) { RandomEngine().seed(seed); }

int RandomWallpaperIndex(int count) {
  return UniformIndex(count, [] { return static_cast<std::uint32_t>(RandomEngine()()); });
}

}  // namespace kv::app
