#include "skin/organic_skin_win.h"

#include <gtest/gtest.h>

#include <random>

#include "skin/organic_shape_error.h"
#include "skin/pictures.h"
#include "skin/speed_bitmap_win.h"

namespace kv::skin {
namespace {

constexpr Colour kMagenta = MakeColour(255, 0, 255);
constexpr Colour kWhite = MakeColour(255, 255, 255);

struct Picture {
  const char* name;
  Bitmap (*make)();
  Colour invisible;
};

Bitmap ThreeByOne() {
  Bitmap b(3, 1);
  b.Fill(kWhite);
  b.SetPixel(1, 0, MakeColour(255, 0, 0));
  return b;
}
Bitmap AllInvisible() {
  Bitmap b(31, 17);
  b.Fill(kMagenta);
  return b;
}
Bitmap NoInvisible() {
  Bitmap b(31, 17);
  b.Fill(MakeColour(255, 1, 255));
  return b;
}
Bitmap Random(unsigned seed, int w, int h, unsigned colours) {
  std::mt19937 rng(seed);
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, rng() % colours == 0 ? 0 : kMagenta);
  for (int y = 2; y < h; y += 4)  // repeated rows merge into taller bands
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, b.Pixel(x, y - 1));
  return b;
}
Bitmap SparseRandom() { return Random(1, 97, 61, 2); }
Bitmap DenseRandom() { return Random(2, 200, 120, 5); }
Bitmap Disc() { return test::Disc(120, 90, 60, 45, 40, MakeColour(10, 20, 30)); }
Bitmap ManyRunsTop() { return test::ManyRuns(64); }
Bitmap Empty() { return Bitmap(); }

class RegionEquality : public ::testing::TestWithParam<Picture> {};

TEST_P(RegionEquality, FastRegionIsTheRunDefinitionsRegion) {
  const Bitmap picture = GetParam().make();
  TOrganicSkin skin;
  skin.SetInvisibleColor(GetParam().invisible);
  skin.Assign(picture);
  const GdiRegion fast = skin.getRegion();
  const GdiRegion reference = RegionByRuns(picture, GetParam().invisible);
  EXPECT_TRUE(EqualRgn(fast.get(), reference.get()));
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      ASSERT_EQ(PtInRegion(fast.get(), x, y) != 0, picture.Pixel(x, y) != GetParam().invisible)
          << x << "," << y;
  // Nothing outside the picture.
  RECT box;
  if (GetRgnBox(fast.get(), &box) != NULLREGION) {
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, picture.Width());
    EXPECT_LE(box.bottom, picture.Height());
  }
}

INSTANTIATE_TEST_SUITE_P(Pictures, RegionEquality,
                         ::testing::Values(Picture{"ThreeByOne", ThreeByOne, kWhite},
                                           Picture{"AllInvisible", AllInvisible, kMagenta},
                                           Picture{"NoInvisible", NoInvisible, kMagenta},
                                           Picture{"SparseRandom", SparseRandom, kMagenta},
                                           Picture{"DenseRandom", DenseRandom, kMagenta},
                                           Picture{"Disc", Disc, kMagenta},
                                           Picture{"ManyRuns", ManyRunsTop, kMagenta},
                                           Picture{"Empty", Empty, kMagenta}),
                         [](const auto& info) { return info.param.name; });

TEST(OrganicSkin, LargePictureIsShapedExactly) {
  const Bitmap big = test::Disc(4000, 3000, 2000, 1500, 1400, MakeColour(1, 1, 1));
  TOrganicSkin skin;
  skin.SetInvisibleColor(kMagenta);
  skin.Assign(big);
  const GdiRegion region = skin.getRegion();
  for (int y = 0; y < 3000; y += 37)
    for (int x = 0; x < 4000; x += 41)
      ASSERT_EQ(PtInRegion(region.get(), x, y) != 0, big.Pixel(x, y) != kMagenta) << x << "," << y;
}

TEST(OrganicSkin, ThreeByOneRegionIsTheMiddlePixel) {
  TOrganicSkin skin;  // white is the default invisible colour
  skin.Assign(ThreeByOne());
  const GdiRegion region = skin.getRegion();
  RECT box;
  EXPECT_EQ(GetRgnBox(region.get(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.right, 2);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.bottom, 1);
}

TEST(OrganicSkin, AllInvisiblePictureGivesAnEmptyRegion) {
  TOrganicSkin skin;
  skin.SetInvisibleColor(kMagenta);
  skin.Assign(AllInvisible());
  RECT box;
  EXPECT_EQ(GetRgnBox(skin.getRegion().get(), &box), NULLREGION);
  EXPECT_EQ(skin.Width(), 31) << "the picture keeps its size";
}

TEST(OrganicSkin, AssigningASkinCopiesItsRegionWithoutRecalculating) {
  TOrganicSkin source;
  source.Assign(ThreeByOne());  // cut with white
  // A new colour alone does not recalculate: the region is still white's.
  source.SetInvisibleColor(MakeColour(255, 0, 0));
  TOrganicSkin target;
  target.Assign(source);
  EXPECT_EQ(target.Calculations(), 0);
  EXPECT_EQ(target.InvisibleColor(), MakeColour(255, 0, 0));
  EXPECT_TRUE(EqualRgn(target.getRegion().get(), source.getRegion().get()));
  EXPECT_TRUE(PtInRegion(target.getRegion().get(), 1, 0));
  // The next change recalculates, now with red as the invisible colour.
  target.Assign(ThreeByOne());
  EXPECT_EQ(target.Calculations(), 1);
  EXPECT_FALSE(PtInRegion(target.getRegion().get(), 1, 0));
  EXPECT_TRUE(PtInRegion(target.getRegion().get(), 0, 0));
}

TEST(OrganicSkin, GetRegionHandsOutIndependentCopies) {
  TOrganicSkin skin;
  skin.Assign(ThreeByOne());
  GdiRegion a = skin.getRegion();
  GdiRegion b = skin.getRegion();
  EXPECT_NE(a.get(), b.get());
  OffsetRgn(a.get(), 5, 5);  // the caller's copy is its own
  EXPECT_TRUE(EqualRgn(b.get(), skin.getRegion().get()));
  EXPECT_FALSE(EqualRgn(a.get(), b.get()));
}

TEST(OrganicSkin, ChangeHandlerRunsOnEveryChange) {
  TOrganicSkin skin, other;
  int changes = 0;
  skin.OnChange = [&] { ++changes; };
  skin.Assign(ThreeByOne());
  skin.Assign(other);
  EXPECT_EQ(changes, 2);
}

TEST(OrganicShapeException, MessageNamesClassMethodAndFunction) {
  EXPECT_STREQ(OrganicShapeException::Failed("TOrganicSkin", "getRegion", "CombineRgn").what(),
               "TOrganicSkin.getRegion: CombineRgn failed.");
}

TEST(SpeedBitmap, HasTheBitmapLayoutAndRoundTrips) {
  Bitmap b(5, 3);
  b.SetPixel(4, 2, MakeColour(1, 2, 3));
  b.SetPixel(0, 0, MakeColour(200, 100, 50));
  TSpeedBitmap s(b);
  EXPECT_EQ(s.Stride(), 16);
  EXPECT_EQ(s.Pixel(4, 2), MakeColour(1, 2, 3));
  EXPECT_EQ(GetPixel(s.DC(), 0, 0), RGB(200, 100, 50)) << "GDI sees the same pixels";
  s.SetPixel(1, 1, MakeColour(9, 8, 7));
  b.SetPixel(1, 1, MakeColour(9, 8, 7));
  EXPECT_EQ(s.ToBitmap(), b);
  s.SetSize(0, 4);
  EXPECT_TRUE(s.Empty());
  EXPECT_EQ(s.DC(), nullptr);
}

}  // namespace
}  // namespace kv::skin
