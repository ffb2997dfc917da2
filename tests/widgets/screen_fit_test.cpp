#include "widgets/screen_fit.h"

#include <gtest/gtest.h>

namespace kv::ui {
namespace {

struct FitCase {
  const char* what;
  ScreenBox window;
  bool resizable;
  ScreenBox expected;
};

// The work area of a 1024 x 768 screen with a 30-pixel task bar at the bottom.
constexpr ScreenBox kArea{0, 0, 1024, 738};

class ScreenFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(ScreenFit, PutsTheWindowInsideTheWorkArea) {
  const FitCase& c = GetParam();
  const ScreenBox got = FitInside(c.window, kArea, c.resizable);
  EXPECT_EQ(got, c.expected) << c.what << ": " << got.left << "," << got.top << " " << got.right
                             << "," << got.bottom;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreenFit,
    ::testing::Values(
        FitCase{"inside stays", {100, 100, 400, 300}, false, {100, 100, 400, 300}},
        FitCase{"exactly the area stays", {0, 0, 1024, 738}, false, {0, 0, 1024, 738}},
        FitCase{"a tall dialog below the bottom edge goes up",
                {200, 300, 760, 870},
                false,
                {200, 168, 760, 738}},
        FitCase{"past the right edge goes left", {900, 10, 1200, 110}, false, {724, 10, 1024, 110}},
        FitCase{"above and left of the area comes in", {-50, -20, 150, 80}, true, {0, 0, 200, 100}},
        FitCase{"past two edges moves on both axes",
                {950, 700, 1250, 900},
                false,
                {724, 538, 1024, 738}},
        FitCase{"too tall and fixed keeps its caption on screen",
                {10, 100, 310, 900},
                false,
                {10, 0, 310, 800}},
        FitCase{"too tall and sizable is shrunk", {10, 100, 310, 900}, true, {10, 0, 310, 738}},
        FitCase{"too wide and sizable is shrunk", {-100, 5, 1300, 105}, true, {0, 5, 1024, 105}}));

TEST(ScreenFit, AnAreaThatDoesNotStartAtZero) {
  // A second monitor to the left, its task bar at the top.
  const ScreenBox area{-1280, 40, 0, 1024};
  EXPECT_EQ(FitInside({-300, 900, 100, 1200}, area, false), (ScreenBox{-400, 724, 0, 1024}));
  EXPECT_EQ(FitInside({-1300, 0, -1000, 50}, area, false), (ScreenBox{-1280, 40, -980, 90}));
}

TEST(ScreenFit, ATaskBarOnAnEdgeIsLeftOutOfTheArea) {
  const ScreenBox screen{0, 0, 1024, 768};
  struct Case {
    ScreenBox bar;
    ScreenBox expected;
  };
  const Case cases[] = {
      {{0, 748, 1024, 768}, {0, 0, 1024, 748}},  // bottom
      {{-2, 0, 1026, 30}, {0, 30, 1024, 768}},   // top, a little past the sides
      {{0, 0, 60, 768}, {60, 0, 1024, 768}},     // left
      {{990, 0, 1024, 768}, {0, 0, 990, 768}},   // right
      {{0, 768, 1024, 798}, screen},             // below the area: already out
      {{200, 748, 800, 768}, screen},            // not a bar along the edge
      {{0, 300, 1024, 330}, screen},             // across the middle
      {{0, 0, 1024, 768}, screen},               // the whole screen
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExcludeEdgeBar(screen, c.bar), c.expected)
        << c.bar.left << "," << c.bar.top << " " << c.bar.right << "," << c.bar.bottom;
}

}  // namespace
}  // namespace kv::ui
