#include "list/preview_layout.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

struct LayoutCase {
  const char* style;
  int w, h;
  PreviewKind kind;
  bool desktopBackground, fill;
  int left, top, width, height;     // the image control
  int pictureWidth, pictureHeight;  // the picture it holds
};

class PreviewLayoutOn1024x768 : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PreviewLayoutOn1024x768, PlacesTheImageAsTheStyleLaysItOut) {
  const LayoutCase& c = GetParam();
  const PreviewLayout l = LayoutPreview(c.style, c.w, c.h, 1024, 768);
  EXPECT_EQ(l.kind, c.kind);
  EXPECT_EQ(l.desktopBackground, c.desktopBackground);
  EXPECT_EQ(l.fill, c.fill);
  EXPECT_EQ((std::array<int, 4>{l.imageLeft, l.imageTop, l.imageWidth, l.imageHeight}),
            (std::array<int, 4>{c.left, c.top, c.width, c.height}));
  EXPECT_EQ(l.pictureWidth, c.pictureWidth);
  EXPECT_EQ(l.pictureHeight, c.pictureHeight);
}

using K = PreviewKind;
INSTANTIATE_TEST_SUITE_P(
    Styles, PreviewLayoutOn1024x768,
    ::testing::Values(
        // Scaled by sx = 1.28 (sy would make it 2048 wide), centred vertically.
        LayoutCase{"Scaled", 800, 300, K::Scaled, true, false, 0, 192, 1024, 384, 1024, 384},
        // Scaled by sy: as tall as the screen, centred across.
        LayoutCase{"Scaled", 300, 400, K::Scaled, true, false, 224, 0, 576, 768, 576, 768},
        // The middle of a large wallpaper, cut to the screen.
        LayoutCase{"Center", 1600, 1200, K::CenterCut, true, false, 0, 0, 1600, 1200, 1024, 768},
        LayoutCase{"Center", 300, 200, K::CenterPlain, true, false, 362, 284, 300, 200, 300, 200},
        // Narrower than the screen but taller: from the top edge.
        LayoutCase{"Center", 600, 900, K::CenterPlain, true, false, 212, 0, 600, 900, 600, 900},
        LayoutCase{"Tile", 300, 200, K::Tile, false, true, 0, 0, 1024, 768, 1024, 768},
        LayoutCase{"Stretch", 10, 10, K::Stretch, false, true, 0, 0, 1024, 768, 1024, 768},
        LayoutCase{"Lanczos3", 10, 10, K::Filter, false, true, 0, 0, 1024, 768, 1024, 768},
        // An unreadable wallpaper: nothing to show, on the window's background.
        LayoutCase{"Center", 0, 0, K::Filter, true, false, 0, 0, 0, 0, 0, 0},
        LayoutCase{"Tile", 0, 0, K::Tile, false, true, 0, 0, 1024, 768, 0, 0}));

TEST(PreviewLayout, CenterCutStartsAtTheWallpapersMiddle) {
  const PreviewLayout l = LayoutPreview("Center", 1600, 1200, 1024, 768);
  EXPECT_EQ(l.sourceX, 288);
  EXPECT_EQ(l.sourceY, 216);
}

TEST(PreviewLayout, TileCountsOneMoreCopyThanFitsWhole) {
  const PreviewLayout a = LayoutPreview("Tile", 300, 200, 1024, 768);
  EXPECT_EQ(a.columns, 4);
  EXPECT_EQ(a.rows, 4);
  const PreviewLayout b = LayoutPreview("Tile", 256, 768, 1024, 768);  // exact fits
  EXPECT_EQ(b.columns, 5);
  EXPECT_EQ(b.rows, 2);
}

TEST(PreviewLayout, StyleTextsAreExactAndOthersAreMitchell) {
  const char* filters[] = {"Box", "Triangle", "Hermite", "Bell", "Spline", "Lanczos3", "Mitchell"};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(LayoutPreview(filters[k], 5, 5, 1024, 768).filter, k);
  for (const char* other : {"center", "", "Bell ", "STRETCH", "Stretch (Default)"}) {
    const PreviewLayout l = LayoutPreview(other, 5, 5, 1024, 768);
    EXPECT_EQ(l.kind, PreviewKind::Filter) << other;
    EXPECT_EQ(l.filter, 6) << other;
  }
}

TEST(PreviewLayout, ScaledPicturesAlwaysFitTheScreenWithOneSideFull) {
  for (int w : {1, 7, 640, 1024, 1025, 4000})
    for (int h : {1, 3, 480, 768, 2000}) {
      const PreviewLayout l = LayoutPreview("Scaled", w, h, 1024, 768);
      EXPECT_LE(l.imageWidth, 1024) << w << "x" << h;
      EXPECT_LE(l.imageHeight, 768) << w << "x" << h;
      EXPECT_TRUE(l.imageWidth == 1024 || l.imageHeight == 768) << w << "x" << h;
      EXPECT_EQ(l.imageLeft + l.imageLeft + l.imageWidth >= 1023, true);
    }
}

}  // namespace
}  // namespace kv
