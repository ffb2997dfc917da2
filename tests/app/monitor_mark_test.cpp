#include "app/monitor_mark.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace kv::app {
namespace {

Bitmap Grey(int w, int h) {
  Bitmap b(w, h);
  b.Fill(MakeColour(128, 128, 128));
  return b;
}

// The corner mark: each number its own, all inside a small corner box, the
// rest of the picture untouched; numbers it cannot show and pictures too small
// for it are handled without harm.
TEST(MonitorMark, EachNumberItsOwnMarkInTheCornerOnly) {
  std::set<std::vector<std::uint8_t>> marks;
  for (int number = 1; number <= 16; ++number) {
    Bitmap b = Grey(100, 75);
    DrawMonitorMark(b, number);
    marks.insert(std::vector<std::uint8_t>(b.Bits(), b.Bits() + b.SizeBytes()));
    int changedOutside = 0, changedInside = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const bool changed = b.Pixel(x, y) != MakeColour(128, 128, 128);
        (x < 32 && y < 20 ? changedInside : changedOutside) += changed;
      }
    EXPECT_EQ(changedOutside, 0) << number;
    EXPECT_GT(changedInside, 50) << number;
  }
  EXPECT_EQ(marks.size(), 16u);

  for (const int number : {0, -1, 100}) {
    Bitmap b = Grey(100, 75);
    DrawMonitorMark(b, number);
    EXPECT_EQ(b, Grey(100, 75)) << number;
  }
  Bitmap tiny = Grey(5, 4), empty;
  DrawMonitorMark(tiny, 88);
  DrawMonitorMark(empty, 1);
  EXPECT_NE(tiny, Grey(5, 4));
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace kv::app
