#include "app/cycling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "app/tray_actions.h"

namespace kv::app {
namespace {

struct WrapCase {
  int hi, lo, v, expected;
};

TEST(WrapIndex, WrapsCyclicallyIntoTheRange) {
  const WrapCase cases[] = {
      {4, 0, 5, 0},
      {4, 0, -1, 4},
      {4, 0, 2, 2},
      {4, 0, -7, 3},
      {4, 0, 12, 2},
      {6, 2, 1, 6},
      {6, 2, 7, 2},
      {0, 0, 9, 0},  // one entry
      {-1, 0, -1, 0},
      {-1, 0, 3, 0},  // the empty list's range
      {4, 0, 2147483647, 2147483647 % 5},
      {4, 0, -2147483647 - 1, 2},  // no overflow
  };
  for (const WrapCase& c : cases)
    EXPECT_EQ(WrapIndex(c.hi, c.lo, c.v), c.expected) << c.hi << "," << c.lo << "," << c.v;
}

struct StripCase {
  int previews, current, count;
  std::vector<int> expected;
};

TEST(StripEntries, CentreTheCurrentEntryAndWrapAtBothEnds) {
  const StripCase
      cases[] =
          {
              {3, 0, 5, {4, 0, 1}},    {3, 1, 5, {0, 1, 2}},  // scrolled forwards by one
              {4, 0, 5, {3, 4, 0, 1}}, {5, 1, 2, {1, 0, 1, 0, 1}},
              {3, 5, 5, {4, 0, 1}},  // current == count after a removal at the end
              {1, 3, 5, {3}},          {3, 0, 1, {0, 0, 0}},
              {3, 0, 0, {}},           {0, 2, 5, {}},
          };
  for (const StripCase& c : cases)
    EXPECT_EQ(StripEntries(c.previews, c.current, c.count), c.expected)
        << c.previews << " previews, current " << c.current << " of " << c.count;
}

TEST(StripEntries, RefillBringsAnIndexOutsideTheListBackToItsMiddle) {
  EXPECT_EQ(NormaliseCurrent(-1, 7), 4);
  EXPECT_EQ(NormaliseCurrent(8, 7), 4);
  EXPECT_EQ(NormaliseCurrent(7, 7), 7);
  EXPECT_EQ(NormaliseCurrent(0, 0), 0);
  EXPECT_EQ(NormaliseCurrent(3, 0), 0);
  EXPECT_EQ(MiddlePreview(5), 2);
  EXPECT_EQ(MiddlePreview(2), 1);
}

TEST(IndexOfPreview, SidePreviewsMoveTheCurrentEntryByTheirDistanceFromTheMiddle) {
  // Five previews (middle 2) over a list of seven, current 1.
  const int expected[] = {6, 0, 1, 2, 3};
  for (int b = 0; b < 5; ++b) EXPECT_EQ(IndexOfPreview(b, 5, 1, 7), expected[b]) << b;
  // Every preview makes current exactly the entry it shows.
  const std::vector<int> strip = StripEntries(5, 7, 7);
  for (int b = 0; b < 5; ++b) EXPECT_EQ(IndexOfPreview(b, 5, 7, 7), strip[b]) << b;
}

// Runs `minutes` ticks and gives the ticks (1-based) at which a switch ran.
std::vector<int> SwitchTicks(int minutes, int every, int timeType,
                             const std::vector<bool>& pausedAt = {}) {
  std::vector<int> switches;
  int ticks = 0;
  for (int t = 1; t <= minutes; ++t) {
    const bool paused = t <= static_cast<int>(pausedAt.size()) && pausedAt[t - 1];
    if (IntervalTick(ticks, paused, true, every, timeType)) switches.push_back(t);
  }
  return switches;
}

TEST(IntervalTick, SwitchesEveryIntervalInMinutesOrHours) {
  EXPECT_EQ(SwitchTicks(6, 2, 0), (std::vector<int>{2, 4, 6}));
  EXPECT_EQ(SwitchTicks(121, 1, 1), (std::vector<int>{60, 120}));
  EXPECT_EQ(SwitchTicks(3, 0, 0), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(SwitchTicks(4, 2, 7), (std::vector<int>{2, 4}));  // unknown unit: minutes
}

TEST(IntervalTick, PauseStopsTheCountWhereItStood) {
  // One counted tick of a two-minute interval, ten paused minutes, then resume.
  std::vector<bool> paused(11, true);
  paused[0] = false;
  EXPECT_EQ(SwitchTicks(14, 2, 0, paused), (std::vector<int>{12, 14}));
}

TEST(IntervalTick, WithoutTheOptionsWindowTicksAreCountedButNothingSwitches) {
  int ticks = 5;
  EXPECT_FALSE(IntervalTick(ticks, false, false, 1, 0));
  EXPECT_EQ(ticks, 6);
  EXPECT_TRUE(IntervalTick(ticks, false, true, 1, 0));
  EXPECT_EQ(ticks, 0);
}

TEST(TrayActions, ShiftChoosesTheShiftSlotOfEachButton) {
  const program::MouseActions actions{1, 2, 3, 4, 5, 6};
  EXPECT_EQ(TrayActionCode(MouseButton::Left, false, actions), 1);
  EXPECT_EQ(TrayActionCode(MouseButton::Middle, false, actions), 2);
  EXPECT_EQ(TrayActionCode(MouseButton::Right, false, actions), 3);
  EXPECT_EQ(TrayActionCode(MouseButton::Left, true, actions), 4);
  EXPECT_EQ(TrayActionCode(MouseButton::Middle, true, actions), 5);
  EXPECT_EQ(TrayActionCode(MouseButton::Right, true, actions), 6);
  // The defaults: Shift+Left is "next" (5) where Left is "restore" (0).
  EXPECT_EQ(TrayActionCode(MouseButton::Left, true, program::MouseActions{}), 5);
  EXPECT_EQ(TrayActionCode(MouseButton::Right, false, program::MouseActions{}), 7);
}

// Only the draws at or above the largest multiple of the count are drawn again,
// so every index has the same number of draws that give it.
TEST(UniformIndex, OnlyTheUnevenTailOfTheDrawsIsRedrawn) {
  const std::uint32_t limit = 4294967295u / 40000 * 40000;  // 2^32 - 2^32 % 40000
  std::vector<std::uint32_t> draws = {4294967295u, limit, limit - 1};
  std::size_t taken = 0;
  EXPECT_EQ(UniformIndex(40000, [&] { return draws[taken++]; }),
            static_cast<int>((limit - 1) % 40000));
  EXPECT_EQ(taken, 3u);
  EXPECT_EQ(UniformIndex(1, [] { return 7u; }), 0);
  EXPECT_EQ(UniformIndex(0, [] { return 7u; }), 0);
}

TEST(UniformIndex, TheProgramsGeneratorReachesEveryEntryOfALargeList) {
  // Seeded, so the draws are the same in every run: this cannot flake.
  SeedRandomWallpaper(20261208);
  constexpr int kCount = 40000;
  std::vector<bool> seen(kCount, false);
  for (int i = 0; i < kCount * 25; ++i) {
    const int index = RandomWallpaperIndex(kCount);
    ASSERT_TRUE(index >= 0 && index < kCount);
    seen[static_cast<std::size_t>(index)] = true;
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), false), 0);
}

TEST(TrayActions, EachCodeRunsWhatItsCaptionSays) {
  const std::pair<int, TrayCommand> cases[] = {
      {0, TrayCommand::RestoreBrowser},
      {1, TrayCommand::ShowBrowser},
      {3, TrayCommand::ShowConfiguration},
      {5, TrayCommand::Next},
      {6, TrayCommand::Previous},
      {7, TrayCommand::MainMenu},
      {9, TrayCommand::AddDirectoryTree},
      {10, TrayCommand::LoadSkin},
      {11, TrayCommand::Exit},
      {12, TrayCommand::Minimize},
      {13, TrayCommand::NormalIconSize},
      {14, TrayCommand::SmallIconSize},
      {15, TrayCommand::ToggleDesktopIcons},
      {16, TrayCommand::None},
      {17, TrayCommand::None},
      {-1, TrayCommand::None},
      {255, TrayCommand::None},
  };
  for (const auto& [code, command] : cases) EXPECT_EQ(TrayCommandOf(code), command) << code;
}

}  // namespace
}  // namespace kv::app
