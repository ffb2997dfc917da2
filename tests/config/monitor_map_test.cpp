// The monitors drawn to scale: where each monitor of a layout lands in the
// options window's box.
#include "config/options/monitor_map.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

struct MapCase {
  const char* name;
  const char* layout;
  Rect box;
  std::vector<Rect> expected;
};

class MonitorMap : public ::testing::TestWithParam<MapCase> {};

TEST_P(MonitorMap, KeepsEveryMonitorInItsPlaceAndProportionsCentredInTheBox) {
  const MapCase& c = GetParam();
  const MonitorLayout layout = *ParseMonitorLayout(c.layout);
  const std::vector<Rect> places = MapMonitors(layout, c.box);
  EXPECT_EQ(places, c.expected);
  for (std::size_t i = 0; i < places.size(); ++i) {
    const Rect& r = places[i];
    EXPECT_TRUE(r.left >= c.box.left && r.top >= c.box.top && r.right <= c.box.right &&
                r.bottom <= c.box.bottom);
    // A portrait monitor stands up in the drawing too.
    EXPECT_EQ(r.Height() > r.Width(), layout[i].Portrait()) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, MonitorMap,
                         ::testing::Values(
                             // Side by side in a box taller than the pair: centred vertically, the
                             // shared edge drawn once.
                             MapCase{"SideBySide",
                                     "1920x1080+0+0,1920x1080+1920+0",
                                     {0, 0, 200, 100},
                                     {{0, 22, 100, 78}, {100, 22, 200, 78}}},
                             // Left of and above the primary: negative coordinates start at the
                             // box's corner; the two touch at one point.
                             MapCase{"LeftAbove",
                                     "1280x1024+0+0,1024x768-1024-768",
                                     {10, 10, 110, 110},
                                     {{54, 54, 110, 99}, {10, 21, 54, 54}}},
                             // A portrait monitor beside a landscape one, reaching above it.
                             MapCase{"PortraitBesideLandscape",
                                     "1920x1080+0+0,1080x1920+1920-420",
                                     {0, 0, 300, 192},
                                     {{0, 42, 192, 150}, {192, 0, 300, 192}}},
                             // Three of different sizes with a gap between two of them.
                             MapCase{"ThreeWithAGap",
                                     "1600x1200+0+0,800x600+1700+0,1024x768-1024+432",
                                     {0, 0, 332, 120},
                                     {{96, 3, 247, 117}, {257, 3, 332, 60}, {0, 44, 96, 117}}}),
                         [](const ::testing::TestParamInfo<MapCase>& info) {
                           return info.param.name;
                         });

TEST(MonitorMap, ATinyMonitorStaysVisibleAndNothingIsDrawnWithoutRoom) {
  const MonitorLayout strip = *ParseMonitorLayout("32000x1000+0+0,64x1000+32000+0");
  const std::vector<Rect> places = MapMonitors(strip, {0, 0, 320, 100});
  ASSERT_EQ(places.size(), 2u);
  EXPECT_GE(places[1].Width(), kMinMapSide);
  EXPECT_GE(places[1].Height(), kMinMapSide);
  EXPECT_TRUE(MapMonitors({}, {0, 0, 320, 100}).empty());
  EXPECT_TRUE(MapMonitors(strip, {0, 0, 0, 100}).empty());
  EXPECT_TRUE(MapMonitors({{0, 0, 0, 0}}, {0, 0, 320, 100}).empty());
}

}  // namespace
}  // namespace kv
