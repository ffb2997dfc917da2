#include <gtest/gtest.h>

#include <string>

#include "codecs/decoders.h"
#include "picture_fixtures.h"

namespace kv {
namespace {

using test::Bytes;

class PsdFixture : public testing::TestWithParam<test::FixtureCase> {};

// Files another program wrote, each with a layer section to skip.
TEST_P(PsdFixture, ShowsTheMergedPicture) { test::ExpectFixtureShown(DecodePsd, GetParam()); }

TEST_P(PsdFixture, EveryTruncationFailsCleanly) {
  test::ExpectFixtureTruncationsFail(DecodePsd, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PsdFixture,
    testing::Values(test::FixtureCase{"psd/rgb8_raw.psd", test::FixtureRgb, 0},
                    test::FixtureCase{"psd/rgb8_rle.psd", test::FixtureRgb, 0},
                    test::FixtureCase{"psd/rgb16_rle.psd", test::FixtureRgb, 0},
                    // Through CMYK and back: a rounding step each way.
                    test::FixtureCase{"psd/cmyk8_rle.psd", test::FixtureRgb, 2},
                    test::FixtureCase{"psd/indexed_rle.psd", test::FixtureRgb, 0},
                    test::FixtureCase{"psd/grey8_raw.psd", test::FixtureGrey, 0},
                    test::FixtureCase{"psd/grey16_raw.psd", test::FixtureGrey, 0},
                    test::FixtureCase{"psd/bitmap_rle.psd", test::FixtureBilevel, 0},
                    // The alpha channel is not applied (see psd.cpp).
                    test::FixtureCase{"psd/rgba8_rle.psd", test::FixtureRgb, 0, false}));

void Put16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v >> 8));
  b.push_back(static_cast<std::uint8_t>(v));
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v >> 16);
  Put16(b, v & 0xFFFF);
}

// A Photoshop file put together from its parts.
struct Psd {
  std::uint16_t version = 1;
  std::uint16_t channels = 3;
  std::uint32_t width = 2, height = 1;
  std::uint16_t depth = 8;
  std::uint16_t mode = 3;
  Bytes modeData;
  Bytes layers = {1, 2, 3};
  std::uint16_t compression = 0;
  Bytes imageData;  // after the compression field

  Bytes Build() const {
    Bytes b = {'8', 'B', 'P', 'S'};
    Put16(b, version);
    b.insert(b.end(), 6, 0);
    Put16(b, channels);
    Put32(b, height);
    Put32(b, width);
    Put16(b, depth);
    Put16(b, mode);
    Put32(b, static_cast<std::uint32_t>(modeData.size()));
    b.insert(b.end(), modeData.begin(), modeData.end());
    Put32(b, 4);
    b.insert(b.end(), {'8', 'B', 'I', 'M'});
    if (version == 2) Put32(b, 0);
    Put32(b, static_cast<std::uint32_t>(layers.size()));
    b.insert(b.end(), layers.begin(), layers.end());
    Put16(b, compression);
    b.insert(b.end(), imageData.begin(), imageData.end());
    return b;
  }
  Bitmap Decode() const {
    const Bytes b = Build();
    return DecodePsd(b.data(), b.size());
  }
};

TEST(Psd, LargeDocumentFormatHasFourByteRowLengths) {
  Psd p;
  p.version = 2;
  p.compression = 1;
  // Row lengths 3, 2, 4 (four bytes each), then the rows: red literal 10 20,
  // green a run of two 30s, blue literal 40 50 after a 128 that does nothing.
  p.imageData = {0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 4, 1, 10, 20, 0xFF, 30, 0x80, 1, 40, 50};
  const Bitmap b = p.Decode();
  EXPECT_EQ(b.Pixel(0, 0), MakeColour(10, 30, 40));
  EXPECT_EQ(b.Pixel(1, 0), MakeColour(20, 30, 50));
}

TEST(Psd, DuotoneAndMultichannelShowTheirFirstChannelAsGrey) {
  for (std::uint16_t mode : {7, 8}) {
    Psd p;
    p.mode = mode;
    p.imageData = {60, 200, 1, 1, 2, 2};
    const Bitmap b = p.Decode();
    EXPECT_EQ(b.Pixel(0, 0), MakeColour(60, 60, 60)) << mode;
    EXPECT_EQ(b.Pixel(1, 0), MakeColour(200, 200, 200)) << mode;
  }
}

// Photoshop stores CMYK ink inverted: 255 is no ink.
TEST(Psd, CmykInkIsStoredInverted) {
  Psd p;
  p.mode = 4;
  p.channels = 4;
  p.imageData = {255, 0, 255, 255, 255, 255, 255, 128};  // C M Y K rows of two pixels
  const Bitmap b = p.Decode();
  EXPECT_EQ(b.Pixel(0, 0), MakeColour(255, 255, 255));  // no ink at all
  EXPECT_EQ(b.Pixel(1, 0), MakeColour(0, 128, 128));    // full cyan, half black
}

using Bad = test::BadCase<Psd>;

class PsdBad : public testing::TestWithParam<Bad> {};

TEST_P(PsdBad, FailsWithAClearMessage) {
  Psd p;
  p.imageData = Bytes(6, 9);
  GetParam().change(p);
  EXPECT_EQ(test::DecodeError(DecodePsd, p.Build()), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PsdBad,
    testing::Values(
        Bad{"Version3", [](Psd& p) { p.version = 3; }, "unsupported Photoshop file version 3"},
        Bad{"Depth32", [](Psd& p) { p.depth = 32; }, "unsupported bit depth 32"},
        Bad{"Lab", [](Psd& p) { p.mode = 9; }, "unsupported colour mode Lab"},
        Bad{"ModeFive", [](Psd& p) { p.mode = 5; }, "unsupported colour mode 5"},
        Bad{"RgbWithTwoChannels", [](Psd& p) { p.channels = 2; },
            "the picture has 2 channels, its mode needs 3"},
        Bad{"IndexedWithoutTable",
            [](Psd& p) {
              p.mode = 2;
              p.channels = 1;
            },
            "an indexed picture without a colour table"},
        Bad{"GreyOfDepth1", [](Psd& p) { p.mode = 1, p.depth = 1; },
            "a picture of depth 1 in colour mode 1"},
        Bad{"BitmapOfDepth8", [](Psd& p) { p.mode = 0; }, "a bitmap-mode picture of depth 8"},
        Bad{"Huge", [](Psd& p) { p.width = p.height = 30000; },
            "the picture is too large (30000 x 30000)"},
        Bad{"ZipCompressed", [](Psd& p) { p.compression = 2; },
            "unsupported compression 2 of the merged picture"},
        Bad{"RawTooShort", [](Psd& p) { p.imageData.pop_back(); }, "the pixel data is truncated"},
        Bad{"RowTableCutOff",
            [](Psd& p) {
              p.compression = 1, p.imageData = {0, 1, 0, 1};
            },
            "the RLE row table is truncated"},
        Bad{"RowLengthPastTheEnd",
            [](Psd& p) { p.compression = 1, p.imageData = {0, 9, 0, 0, 0, 0, 0xFF}; },
            "truncated RLE data"},
        Bad{"RowComesOutShort",
            [](Psd& p) {
              p.compression = 1;
              p.imageData = {0, 2, 0, 2, 0, 2, 0, 7, 0, 7, 0, 7};  // one pixel each
            },
            "truncated RLE data"},
        Bad{"LiteralPastItsRow",
            [](Psd& p) { p.compression = 1, p.imageData = {0, 2, 0, 0, 0, 0, 5, 1}; },
            "truncated RLE data"}),
    test::CaseName());

TEST(Psd, SectionLengthPastTheEndIsRefused) {
  Bytes b = Psd{}.Build();
  b[38] = 0x7F;  // the layer section's length, after the header, mode data and resources
  EXPECT_EQ(test::DecodeError(DecodePsd, b), "the file ends early");
}

TEST(Psd, RefusesOtherFiles) {
  EXPECT_EQ(test::DecodeError(DecodePsd, Bytes{'8', 'B', 'P', 'S'}), "not a Photoshop file");
  Bytes b = Psd{}.Build();
  b[1] = 'X';
  EXPECT_EQ(test::DecodeError(DecodePsd, b), "not a Photoshop file");
}

}  // namespace
}  // namespace kv
