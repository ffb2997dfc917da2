#include "widgets/screen_fit.h"

#include <gtest/gtest.h>

#include <string>

namespace kv::ui {
namespace {

std::string Text(const ScreenBox& b) {
  return std::to_string(b.left) + "," + std::to_string(b.top) + " " + std::to_string(b.right) +
         "," + std::to_string(b.bottom);
}

TEST(ScreenFit, WindowsAreMovedTheLeastIntoTheArea) {
  const ScreenBox screen{0, 0, 1024, 738};   // a 1024 x 768 screen less a bottom task bar
  const ScreenBox left{-1280, 40, 0, 1024};  // a monitor to the left, its bar at the top
  struct Case {
    ScreenBox area, window;
    bool resizable;
    ScreenBox expected;
  };
  const Case cases[] = {
      {screen, {100, 100, 400, 300}, false, {100, 100, 400, 300}},    // inside
      {screen, {200, 300, 760, 870}, false, {200, 168, 760, 738}},    // a tall dialog, low
      {screen, {950, 700, 1250, 900}, false, {724, 538, 1024, 738}},  // past two edges
      {screen, {-50, -20, 150, 80}, true, {0, 0, 200, 100}},          // above and left
      {screen, {10, 100, 310, 900}, false, {10, 0, 310, 800}},        // too tall: caption kept
      {screen, {10, 100, 310, 900}, true, {10, 0, 310, 738}},         // too tall: shrunk
      {screen, {-100, 5, 1300, 105}, true, {0, 5, 1024, 105}},        // too wide: shrunk
      {left, {-300, 900, 100, 1200}, false, {-400, 724, 0, 1024}},
      {left, {-1300, 0, -1000, 50}, false, {-1280, 40, -980, 90}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Text(FitInside(c.window, c.area, c.resizable)), Text(c.expected)) << Text(c.window);
}

TEST(ScreenFit, ARememberedPlaceStaysWhileAGripOfItIsOnTheScreen) {
  const ScreenBox screen{0, 0, 1024, 738};
  struct Case {
    ScreenBox window, expected;
  };
  const Case cases[] = {
      {{100, 100, 400, 300}, {100, 100, 400, 300}},      // inside
      {{992, 706, 1292, 906}, {992, 706, 1292, 906}},    // a 32 x 32 corner left
      {{993, 100, 1293, 300}, {724, 100, 1024, 300}},    // 31 px left: pulled back
      {{-268, -168, 32, 32}, {-268, -168, 32, 32}},      // parked up and left
      {{2000, 100, 2300, 300}, {724, 100, 1024, 300}},   // on a monitor now gone
      {{-1500, -900, -1200, -700}, {0, 0, 300, 200}},    // far up and left
      {{1004, 10, 1024, 20}, {1004, 10, 1024, 20}},      // a small window is its own grip
      {{1005, 10, 1025, 20}, {1004, 10, 1024, 20}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Text(ReachablePlace(c.window, screen)), Text(c.expected)) << Text(c.window);
}

TEST(ScreenFit, ATaskBarAlongAnEdgeIsLeftOutOfTheArea) {
  const ScreenBox screen{0, 0, 1024, 768};
  struct Case {
    ScreenBox bar, expected;
  };
  const Case cases[] = {
      {{0, 748, 1024, 768}, {0, 0, 1024, 748}},  // bottom
      {{-2, 0, 1026, 30}, {0, 30, 1024, 768}},   // top, a little past the sides
      {{0, 0, 60, 768}, {60, 0, 1024, 768}},     // left
      {{990, 0, 1024, 768}, {0, 0, 990, 768}},   // right
      {{0, 768, 1024, 798}, screen},             // already outside
      {{200, 748, 800, 768}, screen},            // not along the whole edge
      {{0, 300, 1024, 330}, screen},             // across the middle
      {screen, screen},                          // the whole screen
  };
  for (const Case& c : cases)
    EXPECT_EQ(Text(ExcludeEdgeBar(screen, c.bar)), Text(c.expected)) << Text(c.bar);
}

}  // namespace
}  // namespace kv::ui
