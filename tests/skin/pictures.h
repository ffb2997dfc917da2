#pragma once
// Pictures the skin tests and benchmarks shape windows from.

#include <random>

#include "codecs/bitmap.h"

namespace kv::test {

inline constexpr Colour kMagenta = MakeColour(255, 0, 255);

// A disc of `colour` (centre cx, cy, radius r) on `background`.
inline Bitmap Disc(int width, int height, int cx, int cy, int r, Colour colour,
                   Colour background = kMagenta) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int dx = x - cx, dy = y - cy;
      b.SetPixel(x, y, dx * dx + dy * dy < r * r ? colour : background);
    }
  return b;
}

// A 1024-wide picture with many runs: a round window whose inside has holes on
// every row and whose outside is noise. The first `height` rows of 768.
inline Bitmap ManyRuns(int height = 768) {
  Bitmap b(1024, height);
  std::mt19937 rng(7);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < 1024; ++x) {
      const int dx = x - 512, dy = y - 384;
      const bool inside = dx * dx + dy * dy < 380 * 380;
      const bool hole = (x / 5 + y / 3) % 7 == 0;
      const bool noise = !inside && rng() % 3 == 0;
      b.SetPixel(x, y, (inside && !hole) || noise ? MakeColour(40, 80, 120) : kMagenta);
    }
  return b;
}

}  // namespace kv::test
