#include "wallpaper/kv_wallpaper_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/handle_win.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/encoders.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "fake_desktop_win.h"
#include "support/desktop_values_win.h"
#include "wallpaper/resample.h"

namespace kv {
namespace {

using test::kDesktopValueNames;
using test::ReadDesktopValue;
using test::WriteDesktopValue;

std::wstring SystemWallpaper() {
  wchar_t path[MAX_PATH + 1] = {};
  SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
  return path;
}

// The applier on a screen of the test's choosing, with the Active Desktop
// object optionally replaced by a recorder.
class Applier : public TKVWallpaper {
 public:
  PixelSize screen{1024, 768};
  bool fakeActiveDesktop = false;
  std::vector<std::string> activeDesktopPaths;

 protected:
  [[nodiscard]] PixelSize PrimaryScreenSize() const override { return screen; }
  [[nodiscard]] Colour DesktopColour() const override { return MakeColour(1, 2, 3); }
  bool ApplyThroughActiveDesktop(const std::string& path) override {
    if (!fakeActiveDesktop) return TKVWallpaper::ApplyThroughActiveDesktop(path);
    activeDesktopPaths.push_back(path);
    return true;
  }
};

Bitmap Picture(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, MakeColour(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 90));
  return b;
}

// Saves and restores the desktop's values, the system's wallpaper and the
// program directory's "Wallpaper.bmp"; source pictures go to a folder of
// their own.
class ApplierTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name : kDesktopValueNames) saved_.push_back(ReadDesktopValue(name));
    systemWallpaper_ = SystemWallpaper();
    // Each test starts from a desktop without wallpaper, whatever earlier runs
    // in this prefix (the program's windows apply wallpapers too) left set.
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(L""), 0);
    std::filesystem::remove(wallpaper_);
    std::filesystem::create_directories(sources_);
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kDesktopValueNames); ++i)
      WriteDesktopValue(kDesktopValueNames[i], saved_[i]);
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, systemWallpaper_.data(), 0);
    SetFileAttributesW(Widen(wallpaper_).c_str(), FILE_ATTRIBUTE_NORMAL);
    std::error_code ignored;
    std::filesystem::remove(wallpaper_, ignored);
    std::filesystem::remove_all(sources_, ignored);
  }

  std::string Source(int w, int h, const std::string& name = "source.bmp") {
    const std::string path = sources_ + name;
    SaveBmp(Picture(w, h), path);
    return path;
  }
  std::string Corrupt() {
    const std::string path = sources_ + "corrupt.jpg";
    const std::uint8_t junk[] = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3};
    WriteFileAtomic(path, junk, sizeof junk);
    return path;
  }
  Bitmap Written() {
    Bitmap b;
    LoadImageFile(b, wallpaper_);
    return b;
  }

  const std::string wallpaper_ = ProgramDir() + "Wallpaper.bmp";
  const std::string sources_ = ProgramDir() + "wallpaper-test-sources\\";

 private:
  std::vector<std::optional<std::wstring>> saved_;
  std::wstring systemWallpaper_;
};

class EveryStyle : public ApplierTest, public ::testing::WithParamInterface<int> {};

TEST_P(EveryStyle, WritesTheDesktopValuesOfTheStyle) {
  Applier a;
  a.WpName = Source(40, 30);
  a.SetStyleByName(WpStyleName(static_cast<WpStyle>(GetParam())));
  ASSERT_EQ(a.Wpstyle, GetParam());
  a.ApplyWallpaper(true, false);
  EXPECT_EQ(a.WpName, wallpaper_);
  EXPECT_EQ(ReadDesktopValue(L"Wallpaper"), Widen(wallpaper_));
  const DesktopValues v = DesktopValuesFor(a.Wpstyle);
  EXPECT_EQ(ReadDesktopValue(L"Tilewallpaper"), Widen(v.tileWallpaper));
  EXPECT_EQ(ReadDesktopValue(L"WallpaperStyle"), Widen(v.wallpaperStyle));
  const Bitmap written = Written();
  if (GetParam() <= WPtiled) {
    EXPECT_EQ(written, Picture(40, 30));
  } else if (GetParam() >= wpbox) {
    EXPECT_EQ(written.Width(), 1024);
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, EveryStyle, ::testing::Range(0, kWpStyleCount),
                         [](const auto& info) {
                           return std::string(WpStyleName(static_cast<WpStyle>(info.param)));
                         });

struct SizeCase {
  int w, h;
  const char* style;
  int scaledFilter;
  PixelSize screen, expected;
};

class WallpaperSize : public ApplierTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(WallpaperSize, MatchesTheExamples) {
  const SizeCase& c = GetParam();
  Applier a;
  a.screen = c.screen;
  a.ScaledFilter = c.scaledFilter;
  a.WpName = Source(c.w, c.h);
  a.SetStyleByName(c.style);
  a.ApplyWallpaper(true, false);
  const auto bytes = ReadFileBytes(wallpaper_);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes[28], 24);  // bits per pixel
  const Bitmap written = Written();
  EXPECT_EQ(written.Width(), c.expected.width);
  EXPECT_EQ(written.Height(), c.expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, WallpaperSize,
    ::testing::Values(SizeCase{800, 600, "Scaled", 0, {1024, 768}, {1024, 768}},
                      SizeCase{2000, 500, "Scaled", 0, {1024, 768}, {1024, 256}},
                      SizeCase{2000, 500, "Scaled", 6, {1024, 768}, {1024, 256}},
                      SizeCase{640, 480, "lanczos3", 0, {1280, 1024}, {1280, 1024}}));

TEST_F(ApplierTest, RebuildFalseReusesTheExistingFile) {
  Applier a;
  a.WpName = Source(50, 40, "first.bmp");
  a.SetStyleByName("center");
  a.ApplyWallpaper(true, false);
  const auto before = ReadFileBytes(wallpaper_);
  a.WpName = Source(60, 20, "second.bmp");
  a.SetStyleByName("tile");
  a.ApplyWallpaper(false, false);
  EXPECT_EQ(ReadFileBytes(wallpaper_), before);
  EXPECT_EQ(ReadDesktopValue(L"Tilewallpaper"), L"1");
  // Without a file to reuse, rebuild false builds one.
  std::filesystem::remove(wallpaper_);
  a.WpName = sources_ + "second.bmp";
  a.ApplyWallpaper(false, false);
  EXPECT_EQ(Written(), Picture(60, 20));
}

TEST_F(ApplierTest, ACorruptSourceKeepsThePreviousFileAndStillWritesTheValues) {
  Applier a;
  a.WpName = Source(50, 40);
  a.SetStyleByName("tile");
  a.ApplyWallpaper(true, false);
  const auto before = ReadFileBytes(wallpaper_);
  a.WpName = Corrupt();
  a.SetStyleByName("Stretch");
  a.ApplyWallpaper(true, false);
  EXPECT_EQ(ReadFileBytes(wallpaper_), before);
  EXPECT_EQ(ReadDesktopValue(L"Tilewallpaper"), L"0");
  EXPECT_EQ(ReadDesktopValue(L"WallpaperStyle"), L"2");
  EXPECT_EQ(a.WpName, wallpaper_);
}

TEST_F(ApplierTest, NoFileMeansNoValuesButTheIconColoursAreStillApplied) {
  WriteDesktopValue(L"Wallpaper", L"untouched");
  test::FakeDesktop desktop;
  Applier a;
  a.DtopActive = a.DtopForeground = true;
  a.WpName = Corrupt();
  desktop.messages.clear();
  a.ApplyWallpaper(true, true);
  EXPECT_FALSE(FileExists(wallpaper_));
  EXPECT_EQ(ReadDesktopValue(L"Wallpaper"), L"untouched");
  ASSERT_FALSE(desktop.messages.empty());
  EXPECT_EQ(desktop.messages.front().msg, static_cast<UINT>(LVM_SETTEXTCOLOR));
}

TEST_F(ApplierTest, ReadOnlyAndHiddenFlagsAreCleared) {
  Applier a;
  a.WpName = Source(8, 8);
  a.ApplyWallpaper(true, false);
  SetFileAttributesW(Widen(wallpaper_).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  a.ApplyWallpaper(false, false);
  EXPECT_EQ(GetFileAttributesW(Widen(wallpaper_).c_str()) &
                (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            0u);
  // A read-only wallpaper is also replaced by a rebuild.
  SetFileAttributesW(Widen(wallpaper_).c_str(), FILE_ATTRIBUTE_READONLY);
  a.WpName = Source(9, 9, "nine.bmp");
  a.ApplyWallpaper(true, false);
  EXPECT_EQ(Written(), Picture(9, 9));
}

TEST_F(ApplierTest, NotifyTellsTheSystem) {
  Applier a;
  a.WpName = Source(16, 16);
  a.ApplyWallpaper(true, true);
  EXPECT_EQ(SystemWallpaper(), Widen(wallpaper_));
}

TEST_F(ApplierTest, WebContentGoesThroughTheActiveDesktopObject) {
  test::FakeDesktop desktop(true);
  Applier a;
  a.fakeActiveDesktop = true;
  a.WpName = Source(16, 16);
  a.ApplyWallpaper(true, true);
  EXPECT_EQ(a.activeDesktopPaths, std::vector<std::string>{wallpaper_});
  EXPECT_NE(SystemWallpaper(), Widen(wallpaper_));
}

TEST_F(ApplierTest, WithoutTheActiveDesktopObjectTheSystemCallIsUsed) {
  // Wine has no Active Desktop object: creating it fails, and the wallpaper
  // must change all the same.
  test::FakeDesktop desktop(true);
  Applier a;
  a.WpName = Source(16, 16);
  a.ApplyWallpaper(true, true);
  EXPECT_EQ(SystemWallpaper(), Widen(wallpaper_));
}

// Every monitor its own picture, on a layout injected in place of Wine's one
// monitor: the file is the composition of the pictures, shown tiled; a layout
// that cannot be composed, a count of pictures that does not match and the
// option off all give the single picture exactly as before.
TEST_F(ApplierTest, EachMonitorOwnComposesOrFallsBackToTheSinglePicture) {
  const MonitorLayout twoMonitors = *ParseMonitorLayout("320x240+0+0,200x300-200-100");
  const std::vector<MonitorPicture> pictures = {{Source(80, 60, "one.bmp"), wpLanczos3},
                                                {Source(50, 90, "two.bmp"), Wpcenter}};
  const std::string expected = sources_ + "expected.bmp";
  ComposeOptions options;
  options.background = MakeColour(1, 2, 3);
  BuildComposedWallpaperFile(pictures, twoMonitors, expected, options);

  Applier single;
  single.WpName = pictures[0].source;
  single.Wpstyle = pictures[0].style;
  single.ApplyWallpaper(true, false);
  const auto singleBytes = ReadFileBytes(wallpaper_);

  struct Case {
    const char* name;
    bool on;
    MonitorLayout layout;
    std::size_t pictureCount;
    bool composed;
  } cases[] = {
      {"composed", true, twoMonitors, 2, true},
      {"option off", false, twoMonitors, 2, false},
      {"one-pixel strip", true, *ParseMonitorLayout("320x240+0+0,1x240+320+0"), 2, false},
      {"one monitor", true, *ParseMonitorLayout("320x240+0+0"), 1, false},
      {"pictures for another layout", true, twoMonitors, 1, false},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(wallpaper_);
    Applier a;
    a.InjectedMonitors = c.layout;
    a.EachMonitorOwn = c.on;
    a.MonitorPictures.assign(pictures.begin(), pictures.begin() + c.pictureCount);
    a.WpName = pictures[0].source;
    a.Wpstyle = pictures[0].style;
    EXPECT_TRUE(a.ApplyWallpaper(true, false)) << c.name;
    EXPECT_EQ(ReadFileBytes(wallpaper_), c.composed ? ReadFileBytes(expected) : singleBytes)
        << c.name;
    EXPECT_EQ(ReadDesktopValue(L"Wallpaper"), Widen(wallpaper_)) << c.name;
    EXPECT_EQ(ReadDesktopValue(L"Tilewallpaper"), c.composed ? L"1" : L"0") << c.name;
    EXPECT_EQ(ReadDesktopValue(L"WallpaperStyle"), L"0") << c.name;
    EXPECT_EQ(a.MonitorNote.empty(), c.composed || !c.on) << c.name << ": " << a.MonitorNote;
  }
}

TEST(KVWallpaper, SeesTheSystemsMonitorsWithThePrimaryFirst) {
  const MonitorLayout layout = TKVWallpaper().Monitors();
  ASSERT_FALSE(layout.empty());
  EXPECT_EQ(layout[0],
            (MonitorRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
}

TEST(KVWallpaper, StartsAsTheComponentIsCreated) {
  TKVWallpaper a;
  EXPECT_EQ(a.Wpstyle, Wpstretch);
  EXPECT_EQ(a.ScaledFilter, 0);
  EXPECT_FALSE(a.KeepiconsHidden());
  EXPECT_FALSE(a.DtopActive);
  const COLORREF desktop = GetSysColor(COLOR_BACKGROUND);
  EXPECT_EQ(a.deskicons_fg(),
            MakeColour(GetRValue(desktop), GetGValue(desktop), GetBValue(desktop)));
  EXPECT_FALSE(a.ActiveDesktopState());  // Wine reports no desktop HTML
}

TEST(KVWallpaper, SetStyleByNameIgnoresUnknownNames) {
  TKVWallpaper a;
  a.SetStyleByName("MITCHELL");
  EXPECT_EQ(a.Wpstyle, wpMitchell);
  a.SetStyleByName("stretched");
  a.SetStyleByName("");
  EXPECT_EQ(a.Wpstyle, wpMitchell);
}

TEST(KVWallpaper, ExpandPathMacrosUsesTheProgramAndSkinDirectories) {
  SkinDir = "C:\\skins\\";
  EXPECT_EQ(TKVWallpaper::ExpandPathMacros("$kvdir$\\a.bmp"), ProgramDir() + "a.bmp");
  EXPECT_EQ(TKVWallpaper::ExpandPathMacros("\\b.bmp"), "C:\\skins\\b.bmp");
  SkinDir.clear();
}

TEST(KVWallpaper, LoadImageFileDecodesByTheLowerCasedExtension) {
  const std::string path = ProgramDir() + "kv-load-test.TIFF";
  SaveBmp(Picture(3, 2), ProgramDir() + "kv-load-test.bmp");
  Bitmap b;
  TKVWallpaper::LoadImageFile(b, ProgramDir() + "kv-load-test.bmp");
  EXPECT_EQ(b, Picture(3, 2));
  // A ".TIFF" name goes to the TIFF decoder, which refuses a bitmap file.
  std::filesystem::copy_file(ProgramDir() + "kv-load-test.bmp", path,
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_ANY_THROW(TKVWallpaper::LoadImageFile(b, path));
  std::filesystem::remove(path);
  std::filesystem::remove(ProgramDir() + "kv-load-test.bmp");
}

}  // namespace
}  // namespace kv
