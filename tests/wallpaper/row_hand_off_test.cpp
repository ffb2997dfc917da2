#include "wallpaper/row_hand_off.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "codecs/image_error.h"

namespace kv {
namespace {

constexpr int kRowBytes = 5;

// Rows whose bytes say their number; fails with "broken" at row failAt.
RowBlockHandOff::Producer Counting(int height, int failAt, std::atomic<int>& calls) {
  return [height, failAt, &calls, next = 0](std::uint8_t* const* rows, int count) mutable {
    ++calls;
    int made = 0;
    for (; made < count && next < height; ++made, ++next) {
      if (next == failAt) throw ImageError("broken");
      for (int b = 0; b < kRowBytes; ++b) rows[made][b] = static_cast<std::uint8_t>(next + b);
    }
    return made;
  };
}

class HandOff : public ::testing::TestWithParam<bool> {};

TEST_P(HandOff, GivesEveryRowInOrderAndRowsCanBeSkipped) {
  for (const int height : {1, RowBlockHandOff::kRowsPerBlock, 37, 200}) {
    std::atomic<int> calls{0};
    RowBlockHandOff rows(kRowBytes, height, Counting(height, -1, calls), GetParam());
    for (int r = 0; r < height; r += 1 + r % 3) {
      const std::uint8_t* row = rows.Row(r);
      ASSERT_EQ(row[0], static_cast<std::uint8_t>(r)) << height;
      ASSERT_EQ(row[kRowBytes - 1], static_cast<std::uint8_t>(r + kRowBytes - 1)) << height;
    }
    rows.Drain();
    EXPECT_EQ(calls.load(),
              (height + RowBlockHandOff::kRowsPerBlock - 1) / RowBlockHandOff::kRowsPerBlock);
  }
}

TEST_P(HandOff, AFailureArrivesAfterTheRowsBeforeIt) {
  std::atomic<int> calls{0};
  RowBlockHandOff rows(kRowBytes, 100, Counting(100, 50, calls), GetParam());
  for (int r = 0; r < RowBlockHandOff::kRowsPerBlock * 3; ++r)
    EXPECT_EQ(rows.Row(r)[0], static_cast<std::uint8_t>(r));  // rows 0..47
  try {
    (void)rows.Row(49);  // in the block the failure broke off
    FAIL() << "no failure";
  } catch (const ImageError& e) {
    EXPECT_EQ(std::string(e.what()), "broken");
  }
}

TEST_P(HandOff, GivingUpStopsTheProducerSoon) {
  std::atomic<int> calls{0};
  {
    RowBlockHandOff rows(kRowBytes, 1'000'000, Counting(1'000'000, -1, calls), GetParam());
    EXPECT_EQ(rows.Row(3)[0], 3);
  }
  // The blocks in hand, and the one being made when the resampler gave up.
  EXPECT_LE(calls.load(), RowBlockHandOff::kBlocks + 1);
}

INSTANTIATE_TEST_SUITE_P(Threads, HandOff, ::testing::Bool(), [](const auto& info) {
  return std::string(info.param ? "OnItsOwnThread" : "OnTheCallingThread");
});

}  // namespace
}  // namespace kv
