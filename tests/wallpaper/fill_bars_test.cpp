#include "wallpaper/fill_bars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "wallpaper/wallpaper_render.h"

namespace kv {
namespace {

// Hard edges and saturated colours, the worst case for smooth bars: a red left
// half and a blue right half, crossed by a black and white checkerboard.
Bitmap Harsh(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool white = ((x / 37) + (y / 29)) % 2 == 0;
      const Colour base = x < w / 2 ? MakeColour(230, 20, 10) : MakeColour(10, 30, 220);
      b.SetPixel(x, y, (y / 29) % 3 == 0 ? (white ? MakeColour(255, 255, 255) : 0) : base);
    }
  return b;
}

struct BarsCase {
  int width, height;  // the picture
  PixelSize screen;
  int scaledFilter;
};
std::ostream& operator<<(std::ostream& os, const BarsCase& c) {
  return os << c.width << "x" << c.height << " on " << c.screen.width << "x" << c.screen.height
            << ", filter " << c.scaledFilter;
}

class FilledBars : public ::testing::TestWithParam<BarsCase> {};

TEST_P(FilledBars, KeepTheScaledPictureAndSurroundItSmoothly) {
  const BarsCase& c = GetParam();
  const Bitmap picture = Harsh(c.width, c.height);
  const Bitmap sharp = RenderWallpaper(picture, wpScaled, c.scaledFilter, c.screen, 1);
  const Bitmap filled =
      RenderWallpaper(picture, wpScaled, c.scaledFilter, c.screen, 1, ScaledBars::Filled);
  ASSERT_EQ(filled.Width(), c.screen.width);
  ASSERT_EQ(filled.Height(), c.screen.height);
  ASSERT_TRUE(sharp.Width() < c.screen.width || sharp.Height() < c.screen.height);

  // The picture, byte for byte as Scaled renders it, in the middle.
  const BarsPlacement at = CentredOn(c.screen.width, c.screen.height, sharp.Width(), sharp.Height());
  for (int y = 0; y < sharp.Height(); ++y)
    ASSERT_EQ(0, std::memcmp(filled.ScanLine(at.top + y) + 3 * at.left, sharp.ScanLine(y),
                             3 * static_cast<std::size_t>(sharp.Width())))
        << "row " << y;

  const auto inBars = [&](int x, int y) {
    return x < at.left || x >= at.left + sharp.Width() || y < at.top || y >= at.top + sharp.Height();
  };
  // Smooth: neighbours within the bars differ by a few levels at most, across
  // and down, although the picture has edges from black to white.
  int steepest = 0;
  long long barPixels = 0, dark = 0;
  for (int y = 0; y < filled.Height(); ++y) {
    const std::uint8_t* row = filled.ScanLine(y);
    const std::uint8_t* below = y + 1 < filled.Height() ? filled.ScanLine(y + 1) : nullptr;
    for (int x = 0; x < filled.Width(); ++x) {
      if (!inBars(x, y)) continue;
      ++barPixels;
      if (row[3 * x] + row[3 * x + 1] + row[3 * x + 2] < 6) ++dark;
      for (int ch = 0; ch < 3; ++ch) {
        if (x + 1 < filled.Width() && inBars(x + 1, y))
          steepest = std::max(steepest, std::abs(row[3 * x + ch] - row[3 * (x + 1) + ch]));
        if (below && inBars(x, y + 1))
          steepest = std::max(steepest, std::abs(row[3 * x + ch] - below[3 * x + ch]));
      }
    }
  }
  ASSERT_GT(barPixels, 0);
  EXPECT_LE(steepest, 3);
  // Not the desktop's colour: the bars are almost nowhere black.
  EXPECT_LT(dark * 100, barPixels);
}

INSTANTIATE_TEST_SUITE_P(Pictures, FilledBars,
                         ::testing::Values(BarsCase{300, 600, {1024, 768}, 0},  // portrait
                                           BarsCase{2000, 500, {1024, 768}, 0},  // panorama
                                           BarsCase{333, 777, {1280, 1024}, 3},
                                           BarsCase{640, 400, {1024, 768}, 6},
                                           BarsCase{90, 1000, {1920, 1080}, 0}));

TEST(FilledBars, FollowThePictureDarkened) {
  // A portrait picture: its red left half colours the left bar, its blue right
  // half the right one, both darker than the picture.
  Bitmap picture(400, 800);
  for (int y = 0; y < 800; ++y)
    for (int x = 0; x < 400; ++x)
      picture.SetPixel(x, y, x < 200 ? MakeColour(240, 0, 0) : MakeColour(0, 0, 240));
  const Bitmap filled =
      RenderWallpaper(picture, wpScaled, 0, {1024, 768}, 1, ScaledBars::Filled);
  const Colour left = filled.Pixel(5, 384), right = filled.Pixel(1018, 384);
  EXPECT_GT(RedOf(left), 100);
  EXPECT_LT(RedOf(left), 200);
  EXPECT_LT(BlueOf(left), 20);
  EXPECT_GT(BlueOf(right), 100);
  EXPECT_LT(BlueOf(right), 200);
  EXPECT_LT(RedOf(right), 20);
}

TEST(FilledBars, LeaveAPictureWithoutBarsAsScaledMakesIt) {
  const Bitmap picture = Harsh(800, 600);
  for (int filter : {0, 2})
    EXPECT_EQ(RenderWallpaper(picture, wpScaled, filter, {1024, 768}, 1, ScaledBars::Filled),
              RenderWallpaper(picture, wpScaled, filter, {1024, 768}, 1))
        << filter;
  // Other styles than Scaled have no bars to fill.
  EXPECT_EQ(RenderWallpaper(picture, Wpcenter, 0, {1024, 768}, 1, ScaledBars::Filled), picture);
  EXPECT_EQ(RenderWallpaper(picture, wpbox, 0, {500, 300}, 1, ScaledBars::Filled),
            RenderWallpaper(picture, wpbox, 0, {500, 300}, 1));
}

}  // namespace
}  // namespace kv
