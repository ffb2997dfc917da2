#include "skin/snapping.h"

#include <gtest/gtest.h>

#include "widgets/screen_fit.h"

namespace kv::skin {
namespace {

constexpr int W = 1024, H = 768;
const Rect kScreen{0, 0, W, H};

TEST(Snapping, WindowNearTheLeftEdgeLandsOnIt) {
  EXPECT_EQ(SnapToEdges({10, 300}, 100, 50, kScreen, 30), (Point{0, 300}));
  EXPECT_EQ(SnapToEdges({30, 300}, 100, 50, kScreen, 30), (Point{30, 300}));
}

TEST(Snapping, WindowBeyondAnEdgeIsPulledBack) {
  EXPECT_EQ(SnapToEdges({-200, -5}, 100, 50, kScreen, 30), (Point{0, 0}));
  EXPECT_EQ(SnapToEdges({1000, 740}, 100, 50, kScreen, 30), (Point{W - 100, H - 50}));
}

TEST(Snapping, WindowLargerThanTheWorkAreaKeepsItsRightAndBottom) {
  EXPECT_EQ(SnapToEdges({5, 5}, 2000, 1000, kScreen, 30), (Point{W - 2000, H - 1000}));
}

struct TaskbarCase {
  const char* name;
  Rect taskbar;
  Rect expected;
};

class Taskbar : public ::testing::TestWithParam<TaskbarCase> {};

TEST_P(Taskbar, IsTakenOutOfTheWorkRectangle) {
  EXPECT_EQ(WithoutTaskbar(kScreen, GetParam().taskbar, W, H), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, Taskbar,
    ::testing::Values(TaskbarCase{"bottom", {-2, H - 28, W + 2, H + 2}, {0, 0, W, H - 28}},
                      TaskbarCase{"top", {-2, -2, W + 2, 28}, {0, 28, W, H}},
                      TaskbarCase{"left", {-2, -2, 60, H + 2}, {60, 0, W, H}},
                      TaskbarCase{"right", {W - 60, -2, W + 2, H + 2}, {0, 0, W - 60, H}},
                      // Flush with the screen (no 2-pixel overhang) is not recognised.
                      TaskbarCase{"flush", {0, H - 28, W, H}, {0, 0, W, H}},
                      TaskbarCase{"floating", {100, 100, 300, 130}, {0, 0, W, H}}),
    [](const auto& info) { return info.param.name; });

TEST(Snapping, ShapedFormWithBottomTaskbarSnapsAtTwentyButNotAtThirtyOne) {
  const Rect work = WithoutTaskbar(kScreen, {-2, H - 28, W + 2, H + 2}, W, H);
  EXPECT_EQ(SnapToEdges({20, 300}, 112, 277, work, 30).x, 0);
  EXPECT_EQ(SnapToEdges({31, 300}, 112, 277, work, 30).x, 31);
}

TEST(Snapping, ShiftWithClassicBottomTaskbarSnapsToTheTaskbarTop) {
  const Rect taskbar{-2, H - 30, W + 2, H + 2};
  const Rect work =
      WithoutTaskbar(*MonitorWorkRect({400, 700, 512, 740}, {kScreen}), taskbar, W, H);
  EXPECT_EQ(SnapToEdges({400, 700}, 112, 40, work, 30), (Point{400, H - 30 - 40}));
  // Without Shift the screen's bottom catches it.
  EXPECT_EQ(SnapToEdges({400, 700}, 112, 40, kScreen, 30), (Point{400, H - 40}));
}

TEST(MonitorWorkRect, LastTouchedMonitorWinsAndEdgesCount) {
  const std::vector<Rect> monitors{kScreen, {W, 0, 2 * W, H}, {-800, 0, 0, 600}};
  // Across the seam of monitors 0 and 1.
  EXPECT_EQ(MonitorWorkRect({1000, 10, 1100, 60}, monitors), monitors[1]);
  // Touching monitor 2 at its right edge only (x = 0 is its right edge).
  EXPECT_EQ(MonitorWorkRect({0, 10, 50, 60}, monitors), monitors[2]);
  EXPECT_EQ(MonitorWorkRect({100, 10, 200, 60}, monitors), monitors[0]);
  EXPECT_FALSE(MonitorWorkRect({5000, 5000, 5100, 5100}, monitors).has_value());
}

TEST(MonitorWorkRect, LooksAtTenMonitorsAtMost) {
  std::vector<Rect> monitors(12, kScreen);
  monitors[11] = {5000, 0, 6000, 100};
  EXPECT_EQ(MonitorWorkRect({5100, 10, 5200, 60}, monitors), std::nullopt);
}

}  // namespace
}  // namespace kv::skin

namespace kv::skin {
namespace {

// The manager at 400..677 x 100..377; the browser (112 x 277) is moved beside it.
const Rect kManager{400, 100, 677, 377};
constexpr int kSnap = 15;

Rect BrowserAt(int left, int top, int width = 112, int height = 277) {
  return {left, top, left + width, top + height};
}

struct BesideCase {
  const char* name;
  Rect current;
  Point proposed;
  Point expected;
};

class SnapBesideTable : public ::testing::TestWithParam<BesideCase> {};

TEST_P(SnapBesideTable, PutsTheWindowAgainstTheOtherOnlyWhenCloseAndOverlapping) {
  const BesideCase& c = GetParam();
  EXPECT_EQ(SnapBeside(c.current, c.proposed, kManager, kSnap), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SnapBesideTable,
    ::testing::Values(
        // Right edge 14 px short of the manager's left edge snaps; 15 does not.
        BesideCase{"left14", BrowserAt(200, 150), {274, 150}, {288, 150}},
        BesideCase{"left15", BrowserAt(200, 150), {273, 150}, {273, 150}},
        BesideCase{"leftOverlapping", BrowserAt(200, 150), {300, 150}, {288, 150}},
        BesideCase{"right", BrowserAt(700, 150), {690, 150}, {677, 150}},
        BesideCase{"below", BrowserAt(450, 400), {450, 366}, {450, 377}},
        BesideCase{"above", BrowserAt(450, -200), {450, -190}, {450, -177}},
        // Beside the manager but far below it: no vertical overlap, no snap.
        BesideCase{"noOverlap", BrowserAt(200, 500), {280, 500}, {280, 500}},
        // Overlap is judged where the window is now, not where it goes.
        BesideCase{"judgedNow", BrowserAt(200, 500), {280, 150}, {280, 150}},
        // Bottom edge exactly on the manager's top counts as overlapping.
        BesideCase{"touching", BrowserAt(200, 100 - 277), {280, -177}, {288, -177}},
        // Taller than the manager and spanning it: still snaps.
        BesideCase{"taller", BrowserAt(200, 50, 112, 400), {280, 50}, {288, 50}},
        // Near a corner both axes snap: left against right, then top against bottom.
        BesideCase{"corner", BrowserAt(670, 370), {684, 368}, {677, 377}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kv::skin

namespace kv::skin {
namespace {

// A 1024 x 768 screen with a 28-pixel taskbar at the bottom.
const Rect kWork{0, 0, 1024, 740};

struct InsideCase {
  const char* name;
  Rect window;
  Rect expected;
};

class KeepInsideTable : public ::testing::TestWithParam<InsideCase> {};

TEST_P(KeepInsideTable, MovesTheWindowIntoTheWorkAreaWithoutResizingIt) {
  const InsideCase& c = GetParam();
  const Rect moved = ui::FitInside(c.window, kWork, false);
  EXPECT_EQ(moved, c.expected);
  EXPECT_EQ(moved.Width(), c.window.Width());
  EXPECT_EQ(moved.Height(), c.window.Height());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeepInsideTable,
    ::testing::Values(InsideCase{"inside", {100, 100, 212, 377}, {100, 100, 212, 377}},
                      InsideCase{"flushWithEveryEdge", {0, 0, 1024, 740}, {0, 0, 1024, 740}},
                      // The built-in browser at the right edge, then a skin three times as wide.
                      InsideCase{
                          "widerAtTheRightEdge", {912, 200, 1262, 600}, {674, 200, 1024, 600}},
                      InsideCase{"tallerAtTheBottom", {300, 600, 412, 877}, {300, 463, 412, 740}},
                      InsideCase{"pastTheCorner", {1000, 700, 1100, 800}, {924, 640, 1024, 740}},
                      InsideCase{"beyondTheLeftAndTop", {-50, -20, 50, 80}, {0, 0, 100, 100}},
                      // Larger than the work area: the top-left corner stays on the screen.
                      InsideCase{"widerThanTheScreen", {500, 10, 1700, 110}, {0, 10, 1200, 110}},
                      InsideCase{"tallerThanTheWorkArea", {10, 300, 110, 1100}, {10, 0, 110, 800}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kv::skin
