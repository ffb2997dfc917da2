#include "codecs/bitmap.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(Bitmap, RowsArePaddedToFourBytesAndStoredBottomUp) {
  Bitmap b(5, 3);
  EXPECT_EQ(b.Stride(), 16u);
  EXPECT_EQ(b.SizeBytes(), 48u);
  b.SetPixel(0, 0, MakeColour(1, 2, 3));
  // The top row is the last one in memory, blue first.
  EXPECT_EQ(b.Bits()[32], 3);
  EXPECT_EQ(b.Bits()[33], 2);
  EXPECT_EQ(b.Bits()[34], 1);
  EXPECT_EQ(b.Pixel(0, 0), MakeColour(1, 2, 3));
}

TEST(Bitmap, NonPositiveSizesGiveAnEmptyPicture) {
  EXPECT_TRUE(Bitmap(0, 10).Empty());
  EXPECT_TRUE(Bitmap(10, -1).Empty());
  EXPECT_EQ(Bitmap(-3, -3).SizeBytes(), 0u);
}

TEST(Bitmap, EqualityIgnoresRowPadding) {
  Bitmap a(3, 2), b(3, 2);
  a.Fill(MakeColour(9, 8, 7));
  b.Fill(MakeColour(9, 8, 7));
  a.Bits()[9] = 0xAB;  // padding byte of the bottom row
  EXPECT_EQ(a, b);
  b.SetPixel(2, 1, 0);
  EXPECT_NE(a, b);
}

TEST(Bitmap, ThirtyTwoBitFormIsTopDownBgrx) {
  Bitmap b(2, 2);
  b.SetPixel(1, 0, MakeColour(0x10, 0x20, 0x30));
  b.SetPixel(0, 1, MakeColour(0x40, 0x50, 0x60));
  const auto v = ToBgrx32(b);
  ASSERT_EQ(v.size(), 16u);
  EXPECT_EQ(v[4], 0x30);
  EXPECT_EQ(v[5], 0x20);
  EXPECT_EQ(v[6], 0x10);
  EXPECT_EQ(v[8], 0x60);
  EXPECT_EQ(v[10], 0x40);
}

}  // namespace
}  // namespace kv
