#include "list/thumbnail_cache.h"

#include <gtest/gtest.h>

#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "list_support.h"
#include "wallpaper/resample.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using test::FakeThumbnailMaker;
using test::RecordingDelete;
using test::TempDir;

// A picture with detail in every direction, so filters and qualities differ.
Bitmap Pattern(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.SetPixel(x, y,
                 MakeColour(static_cast<std::uint8_t>(x * 7 + y), static_cast<std::uint8_t>(y * 5),
                            static_cast<std::uint8_t>((x ^ y) * 3)));
  return b;
}

Bitmap Load(const std::string& file) {
  Bitmap b;
  LoadImageFile(b, file);
  return b;
}

std::vector<std::uint8_t> Bytes(const std::string& file) { return ReadFileBytes(file); }

struct SizeCase {
  int width, height, thumbnailWidth, expectedWidth, expectedHeight;
};

class ThumbnailSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ThumbnailSizes, KeepTheProportionRoundedToNearestAndNeverEnlarge) {
  const SizeCase& c = GetParam();
  EXPECT_EQ(ThumbnailSizeFor(c.width, c.height, c.thumbnailWidth),
            (ThumbnailSize{c.expectedWidth, c.expectedHeight}));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ThumbnailSizes,
    ::testing::Values(SizeCase{1600, 1200, 100, 100, 75}, SizeCase{1000, 333, 100, 100, 33},
                      SizeCase{90, 500, 100, 90, 500}, SizeCase{100, 7, 100, 100, 7},
                      SizeCase{1000, 335, 100, 100, 34}, SizeCase{200, 5, 100, 100, 2},
                      SizeCase{200, 7, 100, 100, 4}, SizeCase{10000, 1, 100, 100, 1},
                      SizeCase{4000, 3000, 200, 200, 150}, SizeCase{457, 107, 100, 100, 23}));

TEST(TImageResizer, CompressionOutsideItsRangeIsClamped) {
  TImageResizer maker;
  EXPECT_EQ(maker.Compression(), 100);
  maker.SetCompression(0);
  EXPECT_EQ(maker.Compression(), 1);
  maker.SetCompression(300);
  EXPECT_EQ(maker.Compression(), 100);
  maker.SetCompression(50);
  EXPECT_EQ(maker.Compression(), 50);
}

class ThumbnailMaking : public ::testing::Test {
 protected:
  TempDir dir;
  TImageResizer maker;
  std::string Thumb() const { return dir / "thumb.jpg"; }
};

TEST_F(ThumbnailMaking, AWidePictureShrinksToTheWidthWithItsHeightInProportion) {
  SaveBmp(Pattern(1600, 1200), dir / "sea.bmp");
  ASSERT_TRUE(maker.MakeThumbnail(Thumb(), dir / "sea.bmp"));
  const Bitmap t = Load(Thumb());
  EXPECT_EQ(t.Width(), 100);
  EXPECT_EQ(t.Height(), 75);
}

TEST_F(ThumbnailMaking, ANarrowPictureKeepsItsSizeAndCompressionPicksTheQuality) {
  const Bitmap picture = Pattern(90, 500);
  SaveBmp(picture, dir / "tall.bmp");
  ASSERT_TRUE(maker.MakeThumbnail(Thumb(), dir / "tall.bmp"));
  // 100 leaves the writer's own quality.
  EXPECT_EQ(Bytes(Thumb()),
            MarkThumbnail(EncodeJpeg(picture, kJpegKeepDefaultQuality), dir / "tall.bmp"));
  maker.SetCompression(50);
  ASSERT_TRUE(maker.MakeThumbnail(Thumb(), dir / "tall.bmp"));
  EXPECT_EQ(Bytes(Thumb()), MarkThumbnail(EncodeJpeg(picture, 50), dir / "tall.bmp"));
  EXPECT_NE(EncodeJpeg(picture, 50), EncodeJpeg(picture, kJpegKeepDefaultQuality));
}

class ThumbnailFilter : public ThumbnailMaking, public ::testing::WithParamInterface<int> {};

TEST_P(ThumbnailFilter, SelectsTheKindBeforeItWithSupportOne) {
  const int setting = GetParam();
  const Bitmap picture = Pattern(333, 250);
  SaveBmp(picture, dir / "p.bmp");
  maker.filter = setting;
  ASSERT_TRUE(maker.MakeThumbnail(Thumb(), dir / "p.bmp"));
  Bitmap expected = picture;
  const auto kind = setting == 0 ? ResampleFilter::Box : static_cast<ResampleFilter>(setting - 1);
  ResampleBitmap(100, 75, kind, 1.0f, expected);
  EXPECT_EQ(Bytes(Thumb()),
            MarkThumbnail(EncodeJpeg(expected, kJpegKeepDefaultQuality), dir / "p.bmp"));
}

INSTANTIATE_TEST_SUITE_P(Settings, ThumbnailFilter, ::testing::Range(0, 8));

TEST_F(ThumbnailMaking, ALargeJpegDecodedReducedKeepsTheExactThumbnailSize) {
  // 457 x 107 decodes at 7/8 as 400 x 94, whose proportion would round to 24.
  for (const auto& [w, h] : {std::pair{457, 107}, std::pair{4000, 3000}, std::pair{1001, 667}}) {
    SaveJpeg(Pattern(w, h), 90, dir / "big.jpg");
    ASSERT_TRUE(maker.MakeThumbnail(Thumb(), dir / "big.jpg"));
    const Bitmap t = Load(Thumb());
    const ThumbnailSize expected = ThumbnailSizeFor(w, h, 100);
    EXPECT_EQ(t.Width(), expected.width) << w << "x" << h;
    EXPECT_EQ(t.Height(), expected.height) << w << "x" << h;
  }
}

// A JPEG whose Exif orientation 6 turns the stored 800 x 600 picture upright as
// 600 x 800.
std::vector<std::uint8_t> TurnedJpeg() {
  std::vector<std::uint8_t> jpeg = EncodeJpeg(Pattern(800, 600), 90);
  const std::uint8_t app1[] = {0xFF, 0xE1, 0x00, 34, 'E', 'x', 'i', 'f', 0,    0,    'M', 'M',
                               0x00, 0x2A, 0,    0,  0,   8,   0,   1,   0x01, 0x12, 0,   3,
                               0,    0,    0,    1,  0,   6,   0,   0,   0,    0,    0,   0};
  jpeg.insert(jpeg.begin() + 2, std::begin(app1), std::end(app1));
  return jpeg;
}

TEST(JpegDisplayedSize, ReadsTheFrameAndTheExifOrientation) {
  const auto plain = EncodeJpeg(Pattern(320, 200), 80);
  EXPECT_EQ(JpegDisplayedSize(plain.data(), plain.size()), (ThumbnailSize{320, 200}));
  const auto turned = TurnedJpeg();
  EXPECT_EQ(JpegDisplayedSize(turned.data(), turned.size()), (ThumbnailSize{600, 800}));
  const std::uint8_t junk[] = {0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xFF};
  EXPECT_EQ(JpegDisplayedSize(junk, sizeof junk), std::nullopt);
  EXPECT_EQ(JpegDisplayedSize(plain.data(), 100), std::nullopt);
  EXPECT_EQ(JpegDisplayedSize(nullptr, 0), std::nullopt);
}

TEST_F(ThumbnailMaking, ATurnedJpegGetsTheThumbnailOfItsUprightPicture) {
  const auto jpeg = TurnedJpeg();
  WriteFileAtomic(dir / "turned.jpg", jpeg.data(), jpeg.size());
  ASSERT_TRUE(maker.MakeThumbnail(Thumb(), dir / "turned.jpg"));
  const Bitmap t = Load(Thumb());
  EXPECT_EQ(t.Width(), 100);
  EXPECT_EQ(t.Height(), 133);
}

TEST_F(ThumbnailMaking, FailuresReturnFalseAndWriteNothing) {
  dir.Touch("broken.png", "not a png");
  dir.Touch("notes.txt", "text");
  EXPECT_FALSE(maker.MakeThumbnail(Thumb(), dir / "broken.png"));
  EXPECT_FALSE(maker.MakeThumbnail(Thumb(), dir / "notes.txt"));
  EXPECT_FALSE(maker.MakeThumbnail(Thumb(), dir / "missing.jpg"));
  EXPECT_FALSE(FileExists(Thumb()));
  SaveBmp(Pattern(10, 10), dir / "ok.bmp");
  EXPECT_FALSE(maker.MakeThumbnail(dir / "no cache dir" + "/ok.jpg", dir / "ok.bmp"));
}

TEST_F(ThumbnailMaking, BitmapsNamedDibOrRleGetThumbnailsToo) {
  SaveBmp(Pattern(300, 30), dir / "scan.dib");
  ASSERT_TRUE(maker.MakeThumbnail(Thumb(), dir / "scan.dib"));
  EXPECT_EQ(Load(Thumb()).Height(), 10);
}

class Cache : public ::testing::Test {
 protected:
  TempDir dir;
  ScriptedPrompts prompts;
  RecordingDelete shell;
  TKvlistview list{prompts, shell};
  FakeThumbnailMaker maker;
  std::string CacheDir() const { return dir / "Cache" + "/"; }
};

TEST_F(Cache, RegenerationMakesMissingThumbnailsOrAllOfThemWhateverTheCacheSetting) {
  maker.enabled = false;
  list.Append({"Tile", "a.bmp", "C:\\w\\"});
  list.Append({"Tile", "b.png", "C:\\w\\"});
  list.Append({"Tile", "a.png", "D:\\"});  // shares a.jpg with the first
  RegenerateCache(list, maker, CacheDir(), 0);
  EXPECT_TRUE(DirectoryExists(CacheDir()));
  ASSERT_EQ(maker.made.size(), 2u);
  EXPECT_EQ(maker.made[0], std::make_pair(CacheDir() + "a.jpg", std::string("C:\\w\\a.bmp")));
  EXPECT_EQ(maker.made[1].first, CacheDir() + "b.jpg");

  maker.made.clear();
  RegenerateCache(list, maker, CacheDir(), 0);
  EXPECT_TRUE(maker.made.empty());
  int messageRuns = 0;
  RegenerateCache(list, maker, CacheDir(), 1, [&] { ++messageRuns; });
  EXPECT_EQ(maker.made.size(), 3u);
  EXPECT_EQ(messageRuns, 3);
}

TEST_F(Cache, FromScratchClearsFirst) {
  MakeDirectory(CacheDir());
  dir.Touch("Cache/old.jpg");
  RegenerateCacheCommand(list, maker, CacheDir(), 1, SystemShellDelete());
  EXPECT_FALSE(FileExists(CacheDir() + "old.jpg"));
  EXPECT_TRUE(DirectoryExists(CacheDir()));
  dir.Touch("Cache/old.jpg");
  RegenerateCacheCommand(list, maker, CacheDir(), 0, SystemShellDelete());
  EXPECT_TRUE(FileExists(CacheDir() + "old.jpg"));
}

TEST_F(Cache, RegeneratingShowsTheFiguresAtOnce) {
  list.Append({"Tile", "a.bmp", "C:\\w\\"});
  list.Append({"Tile", "b.png", "C:\\w\\"});
  MakeDirectory(CacheDir());
  for (const char* old : {"Cache/x.jpg", "Cache/y.jpg", "Cache/z.jpg"}) dir.Touch(old);
  std::vector<std::string> shown;
  const auto show = [&](const CacheStatistics& s) { shown.push_back(s.countText); };
  // From scratch: the cleared figures before the first thumbnail, then the new.
  RegenerateCacheCommand(list, maker, CacheDir(), 1, SystemShellDelete(), {}, show);
  EXPECT_EQ(shown,
            (std::vector<std::string>{"Cache Contains (0) Files", "Cache Contains (2) Files"}));
  shown.clear();
  dir.Touch("Cache/x.jpg");
  RegenerateCacheCommand(list, maker, CacheDir(), 0, SystemShellDelete(), {}, show);
  EXPECT_EQ(shown, std::vector<std::string>{"Cache Contains (3) Files"});
  // No folder at all makes nothing (it would be wherever the program runs).
  maker.made.clear();
  RegenerateCache(list, maker, "", 1);
  EXPECT_TRUE(maker.made.empty());
}

TEST_F(Cache, ClearingDeletesTheDirectoryThroughTheShellWhenItExists) {
  auto stats = ClearCache(CacheDir(), shell);
  EXPECT_TRUE(shell.deleted.empty());
  EXPECT_EQ(stats.countText, "Cache Contains (0) Files");
  EXPECT_EQ(stats.sizeText, "Occupying (0) Megs");
  MakeDirectory(CacheDir());
  stats = ClearCache(CacheDir(), shell);
  EXPECT_EQ(shell.deleted, std::vector<std::string>{CacheDir()});
  EXPECT_EQ(stats.sizeText, "Occupying (0) Megs");
}

TEST_F(Cache, StatisticsCountEntriesAndAddTheirSizes) {
  EXPECT_EQ(UpdateCacheStatistics(CacheDir()).sizeText, "Occupying (0) Megs");
  MakeDirectory(CacheDir());
  auto stats = UpdateCacheStatistics(CacheDir());
  EXPECT_EQ(stats.countText, "Cache Contains (0) Files");
  EXPECT_EQ(stats.sizeText, "Occupying (0.000) Megs");
  dir.Touch("Cache/a.jpg", std::string(3 * 1024, 'a'));
  dir.Touch("Cache/b.jpg", std::string(2 * 1024 + 100, 'b'));
  MakeDirectory(CacheDir() + "sub");
  int messageRuns = 0;
  stats = UpdateCacheStatistics(CacheDir(), [&] { ++messageRuns; });
  EXPECT_EQ(stats.count, 3u);
  EXPECT_EQ(messageRuns, 3);
  EXPECT_EQ(stats.totalBytes, 5u * 1024 + 100);
  EXPECT_EQ(stats.countText, "Cache Contains (3) Files");
  EXPECT_EQ(stats.sizeText, "Occupying (0.005) Megs");
}

struct SizeTextCase {
  std::uint64_t bytes;
  const char* text;
};

class CacheSize : public ::testing::TestWithParam<SizeTextCase> {};

TEST_P(CacheSize, IsMegabytesAndThreeDigitsOfKilobytes) {
  EXPECT_EQ(CacheSizeText(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Totals, CacheSize,
                         ::testing::Values(SizeTextCase{0, "0.000"}, SizeTextCase{1023, "0.000"},
                                           SizeTextCase{5 * 1024, "0.005"},
                                           SizeTextCase{99 * 1024 + 1023, "0.099"},
                                           SizeTextCase{512 * 1024, "0.512"},
                                           SizeTextCase{1048576, "1.000"},
                                           SizeTextCase{3 * 1048576 + 50 * 1024, "3.050"},
                                           SizeTextCase{3 * 1048576 + 500 * 1024, "3.500"},
                                           SizeTextCase{1023 * 1024, "0.1023"},
                                           SizeTextCase{5000ull * 1048576, "5000.000"}));

}  // namespace
}  // namespace kv
