#include "list/preview_picture.h"

#include <gtest/gtest.h>

#include "codecs/encoders.h"
#include "codecs/image_file.h"
#include "list/list_support.h"
#include "list/thumbnail_name.h"
#include "wallpaper/resample.h"
#include "wallpaper/wallpaper_render.h"

namespace kv {
namespace {

using test::TempDir;

// A picture whose pixels differ, so that each filter gives its own result;
// `blue` tells a thumbnail from a wallpaper.
Bitmap Gradient(int width, int height, bool blue) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const auto v = static_cast<std::uint8_t>(40 + (x * 7 + y * 13) % 200);
      b.SetPixel(x, y, blue ? MakeColour(10, 20, v) : MakeColour(v, 20, 10));
    }
  return b;
}

Bitmap Resampled(Bitmap b, ResampleFilter filter, float support) {
  ResampleBitmap(10, 8, filter, support, b);
  return b;
}

TEST(PreviewPicture, ThumbnailWithTheDisplayFilterElseTheWallpaperWithTheBoxFilter) {
  TempDir dir;
  const std::string cache = dir / "Cache/";
  ASSERT_TRUE(MakeDirectory(cache));
  const Bitmap wallpaper = Gradient(64, 48, false);
  SaveBmp(wallpaper, dir / "sea.bmp");
  SaveBmp(wallpaper, dir / "lake.bmp");
  SaveJpeg(Gradient(32, 24, true), 90, ThumbnailName(cache, dir / "sea.bmp"));
  Bitmap thumbnail;
  LoadImageFile(thumbnail, ThumbnailName(cache, dir / "sea.bmp"));
  ASSERT_EQ(thumbnail.Width(), 32);

  struct Case {
    const char* name;
    int filter;
    Bitmap expected;
  };
  const Case cases[] = {
      // The thumbnail as it is: the control stretches it.
      {"sea.bmp", 0, thumbnail},
      {"sea.bmp", 1, Resampled(thumbnail, ResampleFilter::Box, 0.0f)},
      {"sea.bmp", 6, Resampled(thumbnail, ResampleFilter::Lanczos3, 0.0f)},
      {"sea.bmp", 7, Resampled(thumbnail, ResampleFilter::Mitchell, 0.0f)},
      {"sea.bmp", 8, thumbnail},  // no such filter: as it is
      // No thumbnail: the wallpaper, the same whatever the display filter.
      {"lake.bmp", 0, Resampled(wallpaper, ResampleFilter::Box, 1.0f)},
      {"lake.bmp", 4, Resampled(wallpaper, ResampleFilter::Box, 1.0f)},
  };
  for (const Case& c : cases) {
    const std::optional<Bitmap> picture = LoadPreviewPicture(cache, dir / c.name, 10, 8, c.filter);
    ASSERT_TRUE(picture) << c.name << " " << c.filter;
    EXPECT_TRUE(*picture == c.expected) << c.name << " " << c.filter;
  }
  // The thumbnail as stored, for the icon colour.
  const std::optional<Bitmap> stored = LoadThumbnailPicture(cache, dir / "sea.bmp");
  ASSERT_TRUE(stored);
  EXPECT_TRUE(*stored == thumbnail);
  EXPECT_FALSE(LoadThumbnailPicture(cache, dir / "lake.bmp"));
}

TEST(PreviewPicture, MissingAndUnreadableFilesGiveNothingAndUnknownTypesAnEmptyPicture) {
  TempDir dir;
  const std::string cache = dir / "Cache/";
  ASSERT_TRUE(MakeDirectory(cache));
  dir.Touch("junk.bmp", "not a bitmap");
  dir.Touch("odd.xyz", "no reader for this type");
  SaveBmp(Gradient(8, 8, false), dir / "spoilt.bmp");
  dir.Touch("Cache/spoilt.jpg", "not a jpeg");  // a broken thumbnail wins over the wallpaper
  EXPECT_FALSE(LoadPreviewPicture(cache, dir / "gone.bmp", 10, 8, 0));
  EXPECT_FALSE(LoadPreviewPicture(cache, dir / "junk.bmp", 10, 8, 0));
  EXPECT_FALSE(LoadPreviewPicture(cache, dir / "spoilt.bmp", 10, 8, 3));
  EXPECT_FALSE(LoadThumbnailPicture(cache, dir / "spoilt.bmp"));
  const std::optional<Bitmap> odd = LoadPreviewPicture(cache, dir / "odd.xyz", 10, 8, 0);
  ASSERT_TRUE(odd);
  EXPECT_TRUE(odd->Empty());
  // A preview without a size takes the picture unfitted rather than failing.
  SaveBmp(Gradient(8, 6, false), dir / "small.bmp");
  const std::optional<Bitmap> small = LoadPreviewPicture(cache, dir / "small.bmp", 0, 0, 0);
  ASSERT_TRUE(small);
  EXPECT_EQ(small->Width(), 8);
}

TEST(PreviewPicture, TheOpenDialogFitsAPictureKeepingItsShape) {
  TempDir dir;
  const Bitmap wide = Gradient(64, 48, false);
  SaveBmp(wide, dir / "wide.bmp");
  SaveBmp(wide, dir / "wide.txt");  // a type the program does not take
  dir.Touch("junk.png", "not a picture");
  const Bitmap fitted = LoadFittedPicture(dir / "wide.bmp", 30, 40);
  EXPECT_EQ(fitted.Width(), 30);
  EXPECT_EQ(fitted.Height(), ScaledSize(64, 48, 30, 40).height);
  EXPECT_TRUE(fitted == StretchPlain(wide, 30, fitted.Height()));
  EXPECT_EQ(LoadFittedPicture(dir / "wide.bmp", 200, 30).Height(), 30);  // fitted to the height
  EXPECT_TRUE(LoadFittedPicture(dir / "wide.txt", 30, 40).Empty());
  EXPECT_TRUE(LoadFittedPicture(dir / "junk.png", 30, 40).Empty());
  EXPECT_TRUE(LoadFittedPicture(dir / "wide.bmp", 0, 40).Empty());
}

}  // namespace
}  // namespace kv
