#pragma once
// The arithmetic of cycling and of the browser's strip: the cyclic wrap of an
// index into the list, the middle preview, which entry each preview shows, and
// the counting of the interval timer. Pure functions; the browser window turns
// them into refills and applies.

#include <cstdint>
#include <functional>
#include <vector>

namespace kv::app {

// v wrapped cyclically into [lo, hi]: hi = -1 (an empty list's range) counts as
// lo, lo == hi gives lo, otherwise the one value in [lo, hi] congruent to v
// modulo (hi - lo + 1).
[[nodiscard]] int WrapIndex(int hi, int lo, int v) noexcept;

// The middle position of n previews: n div 2.
[[nodiscard]] int MiddlePreview(int n) noexcept;

// Step 2 of a refill: an index below 0 or above count becomes (count + 1) div 2;
// count itself stays (the fill wraps it).
[[nodiscard]] int NormaliseCurrent(int current, int count) noexcept;

// The entry each of n previews shows around `current` (already normalised) in a
// list of `count` entries; empty when the list is empty.
[[nodiscard]] std::vector<int> StripEntries(int n, int current, int count);

// The index that preview b of n makes current (a click on a side preview).
[[nodiscard]] int IndexOfPreview(int b, int n, int current, int count) noexcept;

// One tick of the interval timer. Nothing is counted while paused; otherwise
// `ticks` grows by one, and when the options window exists and the count has
// reached every x (1 for minutes, 60 for hours), `ticks` is reset and true says
// that the switch runs now.
[[nodiscard]] bool IntervalTick(int& ticks, bool paused, bool optionsExist, int every,
                                int timeType) noexcept;

// An index drawn uniformly from [0, count) out of 32-bit draws of `next`: draws
// at or above the largest multiple of count that 2^32 holds are drawn again, so
// every index has exactly the same number of draws that give it, whatever the
// count. 0 for a count below 2.
[[nodiscard]] int UniformIndex(int count, const std::function<std::uint32_t()>& next);

// The program's random generator behind "Random Wallpaper": seeded once, when
// the browser window is created.
void SeedRandomWallpaper(std::uint32_t seed);
// An entry of a list of `count` drawn uniformly by that generator.
[[nodiscard]] int RandomWallpaperIndex(int count);

}  // namespace kv::app
