#include "wallpaper/wallpaper_render.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_error.h"
#include "codecs/image_file.h"
#include "wallpaper/icon_colour.h"
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
  for (const char* name : {"broken.bmp", "picture.xyz", "missing.jpg"}) {
    EXPECT_ANY_THROW(
        BuildWallpaperFile(dir.File(name), dir.File("Wallpaper.bmp"), wpbox, 0, {1024, 768}))
        << name;
    EXPECT_EQ(ReadFileBytes(dir.File("Wallpaper.bmp")), before) << name;
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
