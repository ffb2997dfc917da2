#pragma once
// "Fill the bars" of the Scaled style: instead of the desktop colour, the bars
// beside or above and below a scaled picture show the picture itself, stretched
// to the screen, blurred strongly and darkened, under the sharp picture.

#include "codecs/bitmap.h"
#include "wallpaper/resample.h"

namespace kv {

// Where a picture of width x height sits when centred on the screen: its top
// left corner, halves rounded down.
struct BarsPlacement {
  int left = 0;
  int top = 0;
};
[[nodiscard]] BarsPlacement CentredOn(int screenWidth, int screenHeight, int width,
                                      int height) noexcept;

// The screen-sized wallpaper of `scaled` (the picture as the Scaled style
// renders it, at most the screen's size): `scaled` itself, byte for byte, at
// CentredOn, and around it the blurred, darkened picture. A picture that
// already covers the screen, or is larger or empty, comes back unchanged.
//
// The blur works on a coarse grid: the stretched picture averaged over square
// cells (about a hundredth of the screen's shorter side), three box passes
// across and three down with integer running sums, darkened, then spread back
// to the screen's pixels by bilinear interpolation. A blur this wide keeps no
// detail finer than a cell, so the result is the strong blur of the stretched
// picture at a fraction of the work. `threads` as for ResampleBitmap (only the
// averaging uses them).
[[nodiscard]] Bitmap FillTheBars(const Bitmap& scaled, int screenWidth, int screenHeight,
                                 int threads = kAutoThreads);

}  // namespace kv
