#include "wallpaper/wallpaper_render.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "codecs/decoders.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_error.h"
#include "codecs/image_file.h"
#include "codecs/jpeg_reader.h"
#include "wallpaper/icon_colour.h"
#include "wallpaper/jpeg_resample.h"
#include "wallpaper/resample.h"

namespace kv {
namespace {

Bitmap Gradient(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y,
                 MakeColour(static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
                            static_cast<std::uint8_t>((x + y) * 3)));
  return b;
}

// A folder of its own under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("kv-wallpaper-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  [[nodiscard]] std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

TEST(WpStyle, NamesMatchInAnyCaseAndNothingElse) {
  EXPECT_EQ(WpStyleFromName("MiTcHeLl"), wpMitchell);
  EXPECT_EQ(WpStyleFromName("Center"), Wpcenter);
  EXPECT_EQ(WpStyleFromName("TILE"), WPtiled);
  EXPECT_EQ(WpStyleFromName("stretch"), Wpstretch);
  EXPECT_EQ(WpStyleFromName("Lanczos3"), wpLanczos3);
  EXPECT_EQ(WpStyleFromName("stretched"), std::nullopt);
  EXPECT_EQ(WpStyleFromName(""), std::nullopt);
  EXPECT_EQ(WpStyleFromName("tiled"), std::nullopt);
  for (int s = 0; s < kWpStyleCount; ++s)
    EXPECT_EQ(WpStyleFromName(WpStyleName(static_cast<WpStyle>(s))), static_cast<WpStyle>(s));
}

struct ScaledCase {
  int w, h, sw, sh;
  PixelSize expected;
};

class Scaled : public ::testing::TestWithParam<ScaledCase> {};

TEST_P(Scaled, FitsInsideTheScreenKeepingTheAspectRatio) {
  const ScaledCase& c = GetParam();
  EXPECT_EQ(ScaledSize(c.w, c.h, c.sw, c.sh), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, Scaled,
    ::testing::Values(ScaledCase{800, 600, 1024, 768, {1024, 768}},   // fills the height exactly
                      ScaledCase{2000, 500, 1024, 768, {1024, 256}},  // too wide: fills the width
                      ScaledCase{100, 400, 1024, 768, {192, 768}},
                      ScaledCase{5, 4, 10, 2, {2, 2}},               // 2.5 rounds to the even 2
                      ScaledCase{7, 4, 10, 2, {4, 2}},               // 3.5 rounds to the even 4
                      ScaledCase{10000, 1, 1024, 768, {1024, 1}}));  // never an empty side

TEST(StretchPlain, TakesThePixelUnderEachTargetCentre) {
  Bitmap row(4, 1);
  for (int x = 0; x < 4; ++x) row.SetPixel(x, 0, static_cast<Colour>(x + 1));
  const Bitmap half = StretchPlain(row, 2, 1);
  EXPECT_EQ(half.Pixel(0, 0), 2u);
  EXPECT_EQ(half.Pixel(1, 0), 4u);
  const Bitmap twice = StretchPlain(row, 8, 2);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(twice.Pixel(x, 1), static_cast<Colour>(x / 2 + 1));
  // No darkening or blending: every colour is one of the source's.
  const Bitmap g = Gradient(37, 23);
  EXPECT_EQ(StretchPlain(g, 37, 23), g);
}

class Render : public ::testing::TestWithParam<int> {};

TEST_P(Render, EachStyleMakesWhatTheTableSays) {
  const auto style = static_cast<WpStyle>(GetParam());
  const Bitmap image = Gradient(64, 48);
  const PixelSize screen{100, 90};
  const Bitmap out = RenderWallpaper(image, style, 0, screen);
  if (style <= WPtiled) {
    EXPECT_EQ(out, image);
  } else if (style == wpScaled) {
    EXPECT_EQ(out, StretchPlain(image, 100, 75));
  } else {
    Bitmap expected = image;
    ResampleBitmap(100, 90, static_cast<ResampleFilter>(style - wpbox), 0.0f, expected);
    EXPECT_EQ(out, expected);
  }
}

INSTANTIATE_TEST_SUITE_P(AllStyles, Render, ::testing::Range(0, kWpStyleCount),
                         [](const auto& info) {
                           return std::string(WpStyleName(static_cast<WpStyle>(info.param)));
                         });

TEST(Render, ScaledFilterResamplesToTheFittedSize) {
  const Bitmap image = Gradient(2000, 500);
  for (int k = 1; k < kScaledFilterCount; ++k) {
    Bitmap expected = image;
    ResampleBitmap(1024, 256, static_cast<ResampleFilter>(k - 1), 0.0f, expected);
    EXPECT_EQ(RenderWallpaper(image, wpScaled, k, {1024, 768}), expected) << k;
  }
  EXPECT_EQ(RenderWallpaper(image, wpScaled, 99, {1024, 768}), StretchPlain(image, 1024, 256));
}

TEST(BuildWallpaperFile, Lanczos3OfA640x480PictureIsA24BitScreenSizedBitmap) {
  TempDir dir;
  SaveBmp(Gradient(640, 480), dir.File("source.bmp"));
  BuildWallpaperFile(dir.File("source.bmp"), dir.File("Wallpaper.bmp"), wpLanczos3, 0,
                     {1280, 1024});
  const auto bytes = ReadFileBytes(dir.File("Wallpaper.bmp"));
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes[28], 24);  // bits per pixel
  Bitmap written;
  LoadImageFile(written, dir.File("Wallpaper.bmp"));
  Bitmap expected = Gradient(640, 480);
  ResampleBitmap(1280, 1024, ResampleFilter::Lanczos3, 0.0f, expected);
  EXPECT_EQ(written, expected);
}

TEST(BuildWallpaperFile, AFailureLeavesThePreviousWallpaper) {
  TempDir dir;
  SaveBmp(Gradient(8, 8), dir.File("Wallpaper.bmp"));
  const auto before = ReadFileBytes(dir.File("Wallpaper.bmp"));
  const std::uint8_t junk[] = {'B', 'M', 1, 2, 3};
  WriteFileAtomic(dir.File("broken.bmp"), junk, sizeof junk);
  WriteFileAtomic(dir.File("picture.xyz"), junk, sizeof junk);
  for (const char* name : {"broken.webp", "broken.heic", "broken.avif"})
    WriteFileAtomic(dir.File(name), junk, sizeof junk);
  for (const char* name :
       {"broken.bmp", "picture.xyz", "missing.jpg", "broken.webp", "broken.heic", "broken.avif"}) {
    EXPECT_ANY_THROW(
        BuildWallpaperFile(dir.File(name), dir.File("Wallpaper.bmp"), wpbox, 0, {1024, 768}))
        << name;
    EXPECT_EQ(ReadFileBytes(dir.File("Wallpaper.bmp")), before) << name;
  }
}

// Photograph-like: smooth areas, fine grain and hard edges.
Bitmap Photo(int w, int h) {
  Bitmap b(w, h);
  std::uint32_t n = 7;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      n = n * 1664525u + 1013904223u;
      const int grain = static_cast<int>(n >> 28);
      const bool edge = (x / 23 + y / 17) % 2 == 0;
      b.SetPixel(x, y,
                 MakeColour(static_cast<std::uint8_t>(edge ? 230 - grain : 30 + grain),
                            static_cast<std::uint8_t>(y * 200 / h + grain),
                            static_cast<std::uint8_t>(x * 250 / w)));
    }
  return b;
}

// A JPEG of the picture with an Exif block giving `orientation` (none for 0).
std::vector<std::uint8_t> PhotoJpeg(int w, int h, int orientation) {
  std::vector<std::uint8_t> jpeg = EncodeJpeg(Photo(w, h), 90);
  if (orientation == 0) return jpeg;
  const std::uint8_t o = static_cast<std::uint8_t>(orientation);
  const std::vector<std::uint8_t> app1 = {
      0xFF, 0xE1, 0,    30, 'E', 'x', 'i', 'f', 0, 0,  // marker, length, signature
      'I',  'I',  42,   0,  8,   0,   0,   0,          // little-endian TIFF, directory at 8
      1,    0,    0x12, 1,  3,   0,   1,   0,   0, 0, o, 0, 0, 0,  // one entry: orientation
      0,    0,    0,    0};                                        // no next directory
  jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
  return jpeg;
}

// "Wallpaper.bmp" as it was made before JPEGs were resampled while decoding:
// the whole picture loaded, rendered and written.
std::vector<std::uint8_t> WholePictureWallpaper(const std::string& source, WpStyle style,
                                                int scaledFilter, PixelSize screen) {
  Bitmap image;
  LoadImageFile(image, source);
  return EncodeBmp(RenderWallpaper(std::move(image), style, scaledFilter, screen, 1));
}

struct JpegCase {
  const char* what;
  int w, h, orientation;  // orientation 0: no Exif block
  WpStyle style;
  int scaledFilter;
  PixelSize screen;
};

std::ostream& operator<<(std::ostream& os, const JpegCase& c) { return os << c.what; }

class JpegWallpaper : public ::testing::TestWithParam<JpegCase> {};

// Made while decoding, on one thread or two, the wallpaper file has the bytes
// of the whole-picture way; pictures turned by their orientation, which take
// that way, come out turned.
TEST_P(JpegWallpaper, HasTheBytesOfTheWholePictureWay) {
  const JpegCase& c = GetParam();
  TempDir dir;
  const std::string source = dir.File("photo.jpg");
  const std::vector<std::uint8_t> jpeg = PhotoJpeg(c.w, c.h, c.orientation);
  WriteFileAtomic(source, jpeg.data(), jpeg.size());
  Bitmap loaded;
  LoadImageFile(loaded, source);
  ASSERT_EQ(loaded.Width(), c.orientation >= 5 ? c.h : c.w) << "the Exif block is read";
  const std::vector<std::uint8_t> expected =
      WholePictureWallpaper(source, c.style, c.scaledFilter, c.screen);
  for (const int threads : {1, 2, kAutoThreads}) {
    BuildWallpaperFile(source, dir.File("Wallpaper.bmp"), c.style, c.scaledFilter, c.screen,
                       threads);
    ASSERT_TRUE(ReadFileBytes(dir.File("Wallpaper.bmp")) == expected) << "threads " << threads;
  }
  if (c.orientation > 1 || !StyleResamples(c.style, c.scaledFilter)) return;
  // The streaming itself, for the size and filter the style asks for.
  const Bitmap decoded = DecodeJpeg(jpeg.data(), jpeg.size());
  const auto job = ResamplingFor(c.style, c.scaledFilter, c.screen, c.w, c.h);
  ASSERT_TRUE(job);
  Bitmap whole;
  ResampleInto(job->size.width, job->size.height, job->kind, 0.0f, decoded, whole, 1);
  for (const int threads : {1, 2}) {
    JpegRowReader reader(source);
    EXPECT_EQ(ResampleJpeg(reader, job->size.width, job->size.height, job->kind, 0.0f, threads),
              whole)
        << "threads " << threads;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, JpegWallpaper,
    ::testing::Values(
        JpegCase{"box, odd sizes, reduced", 397, 301, 0, wpbox, 0, {317, 211}},
        JpegCase{"triangle, odd sizes, enlarged", 97, 61, 0, wpTriangle, 0, {211, 127}},
        JpegCase{"hermite", 200, 150, 1, wpHermite, 0, {123, 77}},
        JpegCase{"bell", 131, 257, 0, wpBell, 0, {64, 300}},
        JpegCase{"spline", 160, 120, 0, wpSpline, 0, {47, 35}},
        JpegCase{"lanczos3, upright by Exif", 400, 300, 1, wpLanczos3, 0, {192, 108}},
        JpegCase{"lanczos3, turned by Exif", 400, 300, 6, wpLanczos3, 0, {192, 108}},
        JpegCase{"mitchell, turned by Exif", 73, 41, 6, wpMitchell, 0, {50, 91}},
        JpegCase{"mitchell, mirrored by Exif", 73, 41, 2, wpMitchell, 0, {50, 91}},
        JpegCase{"one pixel wide source", 1, 77, 0, wpLanczos3, 0, {9, 5}},
        JpegCase{"one pixel high source", 77, 1, 0, wpMitchell, 0, {5, 9}},
        JpegCase{"one pixel source", 1, 1, 0, wpBell, 0, {3, 2}},
        JpegCase{"one pixel wide screen", 64, 48, 0, wpSpline, 0, {1, 33}},
        JpegCase{"one pixel high screen", 64, 48, 0, wpLanczos3, 0, {33, 1}},
        JpegCase{"scaled box", 203, 51, 0, wpScaled, 1, {100, 90}},
        JpegCase{"scaled lanczos3", 120, 170, 0, wpScaled, 6, {100, 90}},
        JpegCase{"scaled mitchell, turned by Exif", 120, 170, 6, wpScaled, 7, {100, 90}},
        JpegCase{"scaled, plain stretch", 120, 170, 0, wpScaled, 0, {100, 90}},
        JpegCase{"center keeps the picture", 33, 21, 0, Wpcenter, 0, {100, 90}}));

// Library fixtures of other kinds: grey, CMYK, progressive, with restart markers.
TEST(JpegWallpaper, OtherKindsOfJpegHaveTheBytesOfTheWholePictureWay) {
  for (const char* name : {"grey.jpg", "cmyk.jpg", "progressive.jpg", "restart.jpg",
                           "baseline_422.jpg", "no_end_marker.jpg"}) {
    const std::string source = std::string(KV_TEST_DATA_DIR) + "/codecs/jpeg/" + name;
    TempDir dir;
    for (const int threads : {1, 2}) {
      BuildWallpaperFile(source, dir.File("Wallpaper.bmp"), wpLanczos3, 0, {61, 45}, threads);
      EXPECT_TRUE(ReadFileBytes(dir.File("Wallpaper.bmp")) ==
                  WholePictureWallpaper(source, wpLanczos3, 0, {61, 45}))
          << name << ", threads " << threads;
    }
  }
}

// A file that breaks off anywhere, even in rows no target pixel reads, fails
// the whole wallpaper with the message loading it gives, and leaves the
// earlier wallpaper as it was.
TEST(JpegWallpaper, ATruncatedFileFailsWithTheLoadingMessageAndKeepsTheOldWallpaper) {
  TempDir dir;
  const std::string wallpaper = dir.File("Wallpaper.bmp");
  SaveBmp(Photo(8, 8), wallpaper);
  const std::vector<std::uint8_t> before = ReadFileBytes(wallpaper);
  const std::vector<std::uint8_t> jpeg = PhotoJpeg(640, 480, 0);
  ASSERT_GT(jpeg.size(), 64u * 1024);  // more than one of the reader's pieces
  for (const std::size_t keep : {std::size_t{0}, std::size_t{2}, std::size_t{200}, jpeg.size() / 3,
                                 jpeg.size() / 2, jpeg.size() - 60}) {
    const std::string source = dir.File("cut.jpg");
    WriteFileAtomic(source, jpeg.data(), keep);
    std::string loading;
    try {
      Bitmap b;
      LoadImageFile(b, source);
    } catch (const ImageError& e) {
      loading = e.what();
    }
    ASSERT_FALSE(loading.empty()) << keep;
    for (const int threads : {1, 2})
      for (const auto& [style, filter] : {std::pair{wpLanczos3, 0}, std::pair{wpScaled, 4}}) {
        // A one-row screen reads only the picture's first rows.
        for (const PixelSize screen : {PixelSize{1920, 1080}, PixelSize{64, 1}}) {
          try {
            BuildWallpaperFile(source, wallpaper, style, filter, screen, threads);
            ADD_FAILURE() << keep << " bytes made a wallpaper";
          } catch (const ImageError& e) {
            EXPECT_EQ(std::string(e.what()), loading) << keep << ", threads " << threads;
          }
          EXPECT_TRUE(ReadFileBytes(wallpaper) == before) << keep;
          EXPECT_FALSE(FileExists(wallpaper + ".kvtmp")) << keep;
        }
      }
  }
}

TEST(DesktopValues, TileAndStretchHaveTheirOwnValuesEveryOtherStyleZeros) {
  for (int s = 0; s < kWpStyleCount; ++s) {
    const DesktopValues v = DesktopValuesFor(static_cast<WpStyle>(s));
    const std::string pair = std::string(v.tileWallpaper) + v.wallpaperStyle;
    EXPECT_EQ(pair, s == Wpstretch ? "02" : s == WPtiled ? "10" : "00") << s;
  }
}

TEST(ExpandPathMacros, ReplacesTheMacrosAndALeadingBackslash) {
  const std::string program = "C:\\Kestrova\\", skin = "D:\\Skins\\Blue\\";
  EXPECT_EQ(ExpandPathMacros("\\top.bmp", program, skin), "D:\\Skins\\Blue\\top.bmp");
  EXPECT_EQ(ExpandPathMacros("\\a\\b.bmp", program, skin), "D:\\Skins\\Blue\\a\\b.bmp");
  EXPECT_EQ(ExpandPathMacros("$kvdir$\\x.bmp", program, skin), "C:\\Kestrova\\x.bmp");
  EXPECT_EQ(ExpandPathMacros("$KVDir$\\a;$KvDiR$\\b", program, skin),
            "C:\\Kestrova\\a;C:\\Kestrova\\b");
  EXPECT_EQ(ExpandPathMacros("$CURRENTDIR$\\y.bmp", program, skin), "D:\\Skins\\Blue\\y.bmp");
  EXPECT_EQ(ExpandPathMacros("$KVDir$no-backslash", program, skin), "$KVDir$no-backslash");
  EXPECT_EQ(ExpandPathMacros("plain.bmp", program, skin), "plain.bmp");
  EXPECT_EQ(ExpandPathMacros("", program, skin), "");
}

TEST(ChooseIconColour, ComplementsTheByteSumsWithBlueAndRedCrossed) {
  Bitmap one(1, 1);
  one.SetPixel(0, 0, MakeColour(0x30, 0x20, 0x10));  // b = 0x10, g = 0x20, r = 0x30
  TIconColourChooser chooser;
  EXPECT_EQ(chooser.ChooseIconColour(one), MakeColour(0xEF, 0xDF, 0xCF));
  chooser.grayscaled = true;
  EXPECT_EQ(chooser.ChooseIconColour(one), MakeColour(226, 226, 226));
}

TEST(ChooseIconColour, SumsWrapAtTwoHundredAndFiftySix) {
  Bitmap two(2, 1);
  two.SetPixel(0, 0, MakeColour(0xF0, 0x80, 0x90));
  two.SetPixel(1, 0, MakeColour(0x20, 0x80, 0x90));
  // b = 0x120 -> 0x20, g = 0x100 -> 0, r = 0x110 -> 0x10
  EXPECT_EQ(TIconColourChooser{}.ChooseIconColour(two), MakeColour(0xDF, 0xFF, 0xEF));
}

TEST(ChooseIconColour, EmptyThumbnailGivesWhite) {
  EXPECT_EQ(TIconColourChooser{}.ChooseIconColour(Bitmap()), MakeColour(255, 255, 255));
  TIconColourChooser grey;
  grey.grayscaled = true;
  EXPECT_EQ(grey.ChooseIconColour(Bitmap()), MakeColour(255, 255, 255));
}

}  // namespace
}  // namespace kv
