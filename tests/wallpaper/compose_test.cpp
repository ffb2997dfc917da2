#include "wallpaper/compose.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "codecs/encoders.h"
#include "codecs/image_file.h"
#include "wallpaper/monitor_entries.h"
#include "wallpaper/monitor_layout.h"
#include "wallpaper/picture_size.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

Bitmap Pattern(int w, int h, int seed) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y,
                 MakeColour(static_cast<std::uint8_t>(x * 5 + seed * 40),
                            static_cast<std::uint8_t>(y * 3 + seed * 17),
                            static_cast<std::uint8_t>((x ^ y) + seed)));
  return b;
}

class ComposeFiles {
 public:
  ComposeFiles() {
    dir_ = fs::temp_directory_path() /
           ("kv-compose-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::create_directories(dir_);
  }
  ~ComposeFiles() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  [[nodiscard]] std::string File(const std::string& name) const { return (dir_ / name).string(); }

 private:
  fs::path dir_;
};

struct ComposeCase {
  const char* name;
  const char* layout;
  std::vector<WpStyle> styles;
};

void PrintTo(const ComposeCase& c, std::ostream* os) { *os << c.name; }

class ComposeLayouts : public ::testing::TestWithParam<ComposeCase> {};

constexpr Colour kBackground = MakeColour(0x20, 0x30, 0x40);

// The composed bitmap holds, for every monitor, exactly the wallpaper the
// single-monitor renderer writes for that monitor's size, shown as the desktop
// shows it, at the place the desktop puts that monitor; everything else is the
// background.
TEST_P(ComposeLayouts, EachMonitorShowsItsOwnRenderedPicture) {
  const ComposeCase& c = GetParam();
  const auto layout = ParseMonitorLayout(c.layout);
  ASSERT_TRUE(layout);
  ASSERT_EQ(LayoutProblem(*layout), std::nullopt);
  ComposeFiles files;
  std::vector<MonitorPicture> pictures;
  for (std::size_t i = 0; i < layout->size(); ++i) {
    // Sources of other sides than their monitors, JPEG and BMP alternating.
    const Bitmap source =
        Pattern(90 + 37 * static_cast<int>(i), 70 + 23 * static_cast<int>(i), static_cast<int>(i));
    const std::string name = files.File("m" + std::to_string(i) + (i % 2 ? ".jpg" : ".bmp"));
    if (i % 2)
      SaveJpeg(source, 90, name);
    else
      SaveBmp(source, name);
    pictures.push_back({name, c.styles[i]});
  }
  const MonitorRect v = VirtualBounds(*layout);
  for (const Placement placement : {Placement::Tiled, Placement::Spanned}) {
    ComposeOptions options;
    options.placement = placement;
    options.background = kBackground;
    options.scaledFilter = 3;
    options.threads = 1;
    const std::string target = files.File("composed.bmp");
    BuildComposedWallpaperFile(pictures, *layout, target, options);
    Bitmap composed;
    LoadImageFile(composed, target);
    ASSERT_EQ(composed.Width(), v.width);
    ASSERT_EQ(composed.Height(), v.height);
    std::vector<bool> covered(static_cast<std::size_t>(v.width) * v.height, false);
    for (std::size_t i = 0; i < layout->size(); ++i) {
      const MonitorRect& m = (*layout)[i];
      const std::string single = files.File("single.bmp");
      BuildWallpaperFile(pictures[i].source, single, pictures[i].style, options.scaledFilter,
                         {m.width, m.height}, 1);
      Bitmap rendered;
      LoadImageFile(rendered, single);
      const Bitmap shown =
          ShowOnScreen(rendered, pictures[i].style, {m.width, m.height}, kBackground);
      int wrong = 0;
      for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
          int bx = m.x + x - v.x, by = m.y + y - v.y;
          if (placement == Placement::Tiled) {
            bx = ((m.x + x) % v.width + v.width) % v.width;
            by = ((m.y + y) % v.height + v.height) % v.height;
          }
          covered[static_cast<std::size_t>(by) * v.width + bx] = true;
          wrong += composed.Pixel(bx, by) != shown.Pixel(x, y);
        }
      EXPECT_EQ(wrong, 0) << "monitor " << i
                          << (placement == Placement::Tiled ? " tiled" : " spanned");
    }
    int gapsWrong = 0;
    for (int y = 0; y < v.height; ++y)
      for (int x = 0; x < v.width; ++x)
        if (!covered[static_cast<std::size_t>(y) * v.width + x])
          gapsWrong += composed.Pixel(x, y) != kBackground;
    EXPECT_EQ(gapsWrong, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ComposeLayouts,
    ::testing::Values(
        ComposeCase{"side_by_side", "320x240+0+0,400x300+320+0", {wpLanczos3, wpMitchell}},
        ComposeCase{"left_of_and_above", "320x240+0+0,256x192-256-192", {Wpcenter, wpbox}},
        ComposeCase{
            "portrait_beside_landscape", "320x240+0+0,240x320+320-40", {wpScaled, wpTriangle}},
        ComposeCase{"three_sizes_with_gap",
                    "320x240+0+0,256x200-256+20,200x360+330-60",
                    {WPtiled, Wpstretch, wpBell}},
        ComposeCase{"primary_not_first", "300x200-300+0,320x240+0+0", {wpHermite, wpSpline}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MonitorLayout, ParsesAndRefusesAsItShould) {
  struct Case {
    const char* text;
    bool parses;
    const char* problem;  // a part of the note; "" for a usable layout
  } cases[] = {
      {"1920x1080+0+0,1280x1024+1920+0", true, ""},
      {"1920x1080+0+0,1280x1024-1280-200", true, ""},
      {"1920x1080+0+0,1280x1024+-1280+0", true, ""},
      {"1920x1080+0+0,1080x1920+1930+0", true, ""},
      {"1920x1080+0+0", true, "one monitor"},
      {"1920x1080+0+0,1x1080+1920+0", true, "only 1x1080"},
      {"1920x1080+0+0,1920x1080+0+0", true, "overlap"},
      {"1920x1080+10+0,1280x1024+1930+0", true, "no monitor at (0, 0)"},
      {"32000x1080+0+0,32000x1080+32000+0", true, "too large"},
      {"1920x1080", false, ""},
      {"1920x1080+0+0,", false, ""},
      {"0x1080+0+0,10x10+5+5", false, ""},
      {"1920x1080+0+0;1280x1024+1920+0", false, ""},
  };
  for (const Case& c : cases) {
    const auto layout = ParseMonitorLayout(c.text);
    ASSERT_EQ(layout.has_value(), c.parses) << c.text;
    if (!layout) continue;
    EXPECT_EQ(ParseMonitorLayout(MonitorLayoutText(*layout)), layout) << c.text;
    const auto problem = LayoutProblem(*layout);
    if (*c.problem == '\0')
      EXPECT_EQ(problem, std::nullopt) << c.text;
    else
      EXPECT_NE(problem.value_or("").find(c.problem), std::string::npos) << c.text;
  }
}

TEST(MonitorLayout, NumbersThePrimaryFirstThenLeftToRight) {
  EXPECT_EQ(MonitorLayoutText(NumberMonitors(
                *ParseMonitorLayout("800x600+1024+0,1024x768+0+0,640x480-640+0,640x480-640-480"))),
            "1024x768+0+0,640x480-640-480,640x480-640+0,800x600+1024+0");
}

TEST(ComposeWallpaper, RefusesBadInputAndLeavesTheTarget) {
  ComposeFiles files;
  SaveBmp(Pattern(50, 40, 1), files.File("a.bmp"));
  const std::string target = files.File("Wallpaper.bmp");
  SaveBmp(Pattern(3, 3, 2), target);
  const auto before = fs::file_size(target);
  const auto layout = *ParseMonitorLayout("320x240+0+0,200x200+320+0");
  EXPECT_THROW(BuildComposedWallpaperFile({{files.File("a.bmp"), wpbox}}, layout, target),
               std::invalid_argument);
  EXPECT_THROW(
      BuildComposedWallpaperFile({{files.File("a.bmp"), wpbox}, {files.File("missing.bmp"), wpbox}},
                                 layout, target),
      std::exception);
  EXPECT_THROW(BuildComposedWallpaperFile({{files.File("a.bmp"), wpbox}},
                                          *ParseMonitorLayout("320x240+0+0"), target),
               std::invalid_argument);
  EXPECT_EQ(fs::file_size(target), before);
  EXPECT_THROW((void)ComposeWallpaper(layout, Placement::Tiled, 0,
                                      [](std::size_t, PixelSize) { return Bitmap(10, 10); }),
               std::exception);
}

// Pictures of entries 0..7: even entries landscape, odd portrait, 5 unknown.
std::optional<PixelSize> SizeOfEntry(std::size_t, int entry) {
  if (entry == 5) return std::nullopt;
  return entry % 2 ? PixelSize{600, 800} : PixelSize{800, 600};
}

TEST(MonitorEntries, OrderPerMonitor) {
  const MonitorSource main8{false, 8, false, false};
  const MonitorSource mainPortrait{false, 8, true, true};
  const MonitorSource own3{true, 3, false, false};
  const MonitorSource emptyOwn{true, 0, false, false};
  struct Case {
    const char* name;
    std::vector<MonitorSource> sources;
    std::size_t primary;
    int current;
    std::vector<int> assigned, next, previous;
  } cases[] = {
      {"main list, in order", {main8, main8, main8}, 0, 6, {6, 7, 0}, {7, 0, 1}, {5, 6, 7}},
      {"primary in the middle", {main8, main8, main8}, 1, 2, {3, 2, 4}, {4, 3, 5}, {2, 1, 3}},
      {"portrait matching skips", {main8, mainPortrait}, 0, 2, {2, 3}, {3, 7}, {1, 1}},
      {"own list keeps its place", {main8, own3, main8}, 0, 4, {4, 0, 5}, {5, 1, 6}, {3, 2, 4}},
      {"empty own list", {main8, emptyOwn}, 0, 1, {1, -1}, {2, -1}, {0, -1}},
  };
  for (const Case& c : cases) {
    const MonitorEntries entries(c.sources, c.primary, SizeOfEntry);
    const auto assigned = entries.Assign(c.current);
    EXPECT_EQ(assigned, c.assigned) << c.name;
    EXPECT_EQ(entries.Step(assigned, c.current + 1, MonitorStep::Next), c.next) << c.name;
    EXPECT_EQ(entries.Step(assigned, c.current - 1, MonitorStep::Previous), c.previous) << c.name;
  }
}

TEST(MonitorEntries, RandomDrawsForEachAndNextOnMovesOne) {
  const MonitorSource portrait{false, 8, true, true};
  const MonitorSource landscape{false, 8, true, false};
  const MonitorEntries entries({landscape, portrait, landscape}, 0, SizeOfEntry);
  int draws = 0;
  // Every draw gives 4 (landscape): the portrait monitor moves on to 7 (5 is
  // unknown), the landscape one keeps 4.
  const auto random = entries.Step({0, 1, 2}, 3, MonitorStep::Random, [&](int count) {
    ++draws;
    EXPECT_EQ(count, 8);
    return 4;
  });
  EXPECT_EQ(draws, 2);
  EXPECT_EQ(random, (std::vector<int>{3, 7, 4}));
  EXPECT_EQ(entries.NextOn({0, 1, 2}, 1), (std::vector<int>{0, 3, 2}));
  EXPECT_EQ(entries.NextOn({0, 1, 2}, 2), (std::vector<int>{0, 1, 4}));
  // No entry suits: the monitor takes where it started.
  const MonitorEntries none({landscape, portrait}, 0, [](std::size_t, int) {
    return PixelSize{800, 600};
  });
  EXPECT_EQ(none.Assign(0), (std::vector<int>{0, 1}));
}

// The header's size agrees with the decoded picture's for every readable
// sample of every family read from its header.
TEST(PictureSize, HeaderSizeMatchesTheDecodedSize) {
  int checked = 0;
  for (const char* family : {"bmp", "gif", "jpeg", "png", "psd", "tga", "pcx"}) {
    for (const auto& f : fs::directory_iterator(fs::path(KV_TEST_DATA_DIR) / "codecs" / family)) {
      if (!f.is_regular_file() || f.path().extension() == ".ppm") continue;
      Bitmap decoded;
      try {
        LoadImageFile(decoded, f.path().string());
      } catch (const std::exception&) {
        continue;
      }
      // A GIF whose frame reaches past its logical screen decodes larger than
      // the screen its header declares; the header's size is what is read.
      if (decoded.Empty() || f.path().filename() == "frame_past_screen.gif") continue;
      const auto size = PictureFileSize(f.path().string());
      ASSERT_TRUE(size) << f.path();
      EXPECT_EQ(*size, (PixelSize{decoded.Width(), decoded.Height()})) << f.path();
      ++checked;
    }
  }
  EXPECT_GE(checked, 20);
  const std::uint8_t shortPng[] = {0x89, 'P', 'N', 'G'};
  EXPECT_EQ(PictureHeaderSize("a.png", shortPng, sizeof shortPng), std::nullopt);
  EXPECT_EQ(PictureFileSize("/nonexistent/x.jpg"), std::nullopt);
}

}  // namespace
}  // namespace kv
