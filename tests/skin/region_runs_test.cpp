#include "skin/region_runs.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kv::skin {
namespace {

constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kMagenta = MakeColour(255, 0, 255);

// The kept pixels by the definition: the picture's rectangle less every run of
// the invisible colour.
std::vector<int> KeptByDefinition(const Bitmap& b, Colour invisible) {
  std::vector<int> grid(static_cast<size_t>(b.Width() * b.Height()), 1);
  for (const Rect& r : InvisibleRuns(b, invisible))
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) grid[static_cast<size_t>(y * b.Width() + x)] = 0;
  return grid;
}

// How often the bands cover each pixel (1 means kept, 0 cut out).
std::vector<int> Coverage(const Bitmap& b, const std::vector<Rect>& bands) {
  std::vector<int> grid(static_cast<size_t>(b.Width() * b.Height()), 0);
  for (const Rect& r : bands)
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) ++grid[static_cast<size_t>(y * b.Width() + x)];
  return grid;
}

void ExpectBanded(const std::vector<Rect>& bands) {
  for (size_t i = 0; i < bands.size(); ++i) {
    EXPECT_FALSE(bands[i].Empty());
    if (i == 0) continue;
    const Rect &a = bands[i - 1], &b = bands[i];
    if (a.top == b.top) {
      EXPECT_EQ(a.bottom, b.bottom);
      EXPECT_LT(a.right, b.left) << "spans of one band neither touch nor overlap";
    } else {
      EXPECT_LE(a.bottom, b.top) << "bands follow each other downwards";
    }
  }
}

TEST(RegionRuns, ThreeByOneKeepsOnlyTheMiddlePixel) {
  Bitmap b(3, 1);
  b.Fill(kWhite);
  b.SetPixel(1, 0, MakeColour(255, 0, 0));
  EXPECT_EQ(VisibleBands(b, kWhite), (std::vector<Rect>{{1, 0, 2, 1}}));
  EXPECT_EQ(InvisibleRuns(b, kWhite), (std::vector<Rect>{{0, 0, 1, 1}, {2, 0, 3, 1}}));
}

TEST(RegionRuns, PictureOfTheInvisibleColourOnlyKeepsNothing) {
  Bitmap b(40, 7);
  b.Fill(kMagenta);
  EXPECT_TRUE(VisibleBands(b, kMagenta).empty());
  EXPECT_EQ(InvisibleRuns(b, kMagenta).size(), 7u);
}

TEST(RegionRuns, PictureWithoutTheInvisibleColourIsOneRectangle) {
  Bitmap b(33, 20);
  b.Fill(MakeColour(254, 0, 255));  // one step from magenta is not magenta
  EXPECT_EQ(VisibleBands(b, kMagenta), (std::vector<Rect>{{0, 0, 33, 20}}));
  EXPECT_TRUE(InvisibleRuns(b, kMagenta).empty());
}

TEST(RegionRuns, EmptyPictureKeepsNothing) {
  EXPECT_TRUE(VisibleBands(Bitmap(), kMagenta).empty());
  EXPECT_TRUE(InvisibleRuns(Bitmap(), kMagenta).empty());
}

TEST(RegionRuns, EqualRowsMergeIntoOneBandAndAGapSplitsIt) {
  Bitmap b(6, 5);
  b.Fill(kMagenta);
  for (int y : {0, 1, 3, 4})
    for (int x : {1, 2, 4}) b.SetPixel(x, y, 0);
  b.SetPixel(5, 4, 0);
  EXPECT_EQ(
      VisibleBands(b, kMagenta),
      (std::vector<Rect>{
          {1, 0, 3, 2}, {4, 0, 5, 2}, {1, 3, 3, 4}, {4, 3, 5, 4}, {1, 4, 3, 5}, {4, 4, 6, 5}}));
}

struct RandomCase {
  int width, height;
  int colours;  // pixels take one of this many colours, the invisible one among them
  unsigned seed;
};

class RegionRunsRandom : public ::testing::TestWithParam<RandomCase> {};

TEST_P(RegionRunsRandom, BandsCoverExactlyTheKeptPixelsOnce) {
  const RandomCase c = GetParam();
  std::mt19937 rng(c.seed);
  Bitmap b(c.width, c.height);
  const Colour palette[] = {kMagenta, 0, MakeColour(255, 0, 254), kWhite};
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      b.SetPixel(x, y, palette[rng() % static_cast<unsigned>(c.colours)]);
  // Some repeated rows, so bands get merged.
  for (int y = 1; y < c.height; y += 3)
    for (int x = 0; x < c.width; ++x) b.SetPixel(x, y, b.Pixel(x, y - 1));
  const auto bands = VisibleBands(b, kMagenta);
  ExpectBanded(bands);
  EXPECT_EQ(Coverage(b, bands), KeptByDefinition(b, kMagenta));
}

INSTANTIATE_TEST_SUITE_P(Pictures, RegionRunsRandom,
                         ::testing::Values(RandomCase{1, 1, 2, 1}, RandomCase{17, 9, 2, 2},
                                           RandomCase{64, 48, 3, 3}, RandomCase{5, 80, 4, 4},
                                           RandomCase{301, 3, 2, 5}));

}  // namespace
}  // namespace kv::skin
