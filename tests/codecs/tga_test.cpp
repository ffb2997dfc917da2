#include <gtest/gtest.h>

#include <string>

#include "codecs/decoders.h"
#include "picture_fixtures.h"

namespace kv {
namespace {

using test::Bytes;

class TargaFixture : public testing::TestWithParam<test::FixtureCase> {};

// Files another program wrote: both origins, stored and RLE, every image type.
TEST_P(TargaFixture, ShowsThePicture) { test::ExpectFixtureShown(DecodeTarga, GetParam()); }

TEST_P(TargaFixture, EveryTruncationFailsCleanly) {
  test::ExpectFixtureTruncationsFail(DecodeTarga, GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Files, TargaFixture,
    testing::Values(test::FixtureCase{"tga/rgb24.tga", test::FixtureRgb},
                    test::FixtureCase{"tga/rgb24_rle.tga", test::FixtureRgb},
                    test::FixtureCase{"tga/rgb24_top.tga", test::FixtureRgb},
                    test::FixtureCase{"tga/rgb24_rle_top.tga", test::FixtureRgb},
                    test::FixtureCase{"tga/rgba32.tga", test::FixtureRgbOverWhite},
                    test::FixtureCase{"tga/rgba32_rle_top.tga", test::FixtureRgbOverWhite},
                    test::FixtureCase{"tga/mapped.tga", test::FixtureRgb},
                    test::FixtureCase{"tga/mapped_rle_top.tga", test::FixtureRgb},
                    test::FixtureCase{"tga/grey.tga", test::FixtureGrey},
                    test::FixtureCase{"tga/grey_rle.tga", test::FixtureGrey}));

// A Targa file put together from its parts.
struct Tga {
  std::uint8_t imageType = 2;
  std::uint8_t pixelBits = 24;
  std::uint8_t descriptor = 0;
  std::uint16_t width = 2;
  std::uint16_t height = 2;
  std::string id;
  std::uint16_t mapFirst = 0;
  std::uint8_t mapEntryBits = 0;
  Bytes map;  // the colour map's bytes; empty for none
  std::uint16_t mapLength = 0;
  Bytes pixels;
  int extensionAttributeType = -1;  // TGA 2.0 extension area and footer when >= 0

  Bytes Build() const {
    Bytes b = {static_cast<std::uint8_t>(id.size()),
               static_cast<std::uint8_t>(map.empty() ? 0 : 1),
               imageType,
               static_cast<std::uint8_t>(mapFirst),
               static_cast<std::uint8_t>(mapFirst >> 8),
               static_cast<std::uint8_t>(mapLength),
               static_cast<std::uint8_t>(mapLength >> 8),
               mapEntryBits,
               0,
               0,
               0,
               0,
               static_cast<std::uint8_t>(width),
               static_cast<std::uint8_t>(width >> 8),
               static_cast<std::uint8_t>(height),
               static_cast<std::uint8_t>(height >> 8),
               pixelBits,
               descriptor};
    b.insert(b.end(), id.begin(), id.end());
    b.insert(b.end(), map.begin(), map.end());
    b.insert(b.end(), pixels.begin(), pixels.end());
    if (extensionAttributeType >= 0) {
      const std::size_t offset = b.size();
      Bytes ext(495, 0);
      ext[0] = 495 & 0xFF;
      ext[1] = 495 >> 8;
      ext[494] = static_cast<std::uint8_t>(extensionAttributeType);
      b.insert(b.end(), ext.begin(), ext.end());
      for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(offset >> (8 * i)));
      b.insert(b.end(), 4, 0);
      const std::string signature = "TRUEVISION-XFILE.";
      b.insert(b.end(), signature.begin(), signature.end());
      b.push_back(0);
    }
    return b;
  }
  Bitmap Decode() const {
    const Bytes b = Build();
    return DecodeTarga(b.data(), b.size());
  }
};

const Colour kBlack = MakeColour(0, 0, 0);
const Colour kWhite = MakeColour(255, 255, 255);

TEST(Targa, FifteenAndSixteenBitPixelsWidenEachFiveBitSample) {
  Tga t;
  t.pixelBits = 15;
  t.width = 3, t.height = 1;
  // 0x7C00 pure red, 0x03E0 pure green, 0x0421 one step of each (1 → 8).
  t.pixels = {0x00, 0x7C, 0xE0, 0x03, 0x21, 0x04};
  Bitmap b = t.Decode();
  EXPECT_EQ(b.Pixel(0, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(b.Pixel(1, 0), MakeColour(0, 255, 0));
  EXPECT_EQ(b.Pixel(2, 0), MakeColour(8, 8, 8));
  t.pixelBits = 16;  // all attribute bits 0: not alpha, still opaque
  EXPECT_EQ(t.Decode(), b);
}

TEST(Targa, SixteenBitAttributeBitIsAMaskWhenSomePixelsHaveIt) {
  Tga t;
  t.pixelBits = 16;
  t.width = 2, t.height = 1;
  t.pixels = {0x00, 0x80, 0x00, 0x00};  // black with the bit, black without
  Bitmap b = t.Decode();
  EXPECT_EQ(b.Pixel(0, 0), kBlack);
  EXPECT_EQ(b.Pixel(1, 0), kWhite);
}

TEST(Targa, OriginBitsPlaceTheFirstStoredPixel) {
  struct Case {
    std::uint8_t descriptor;
    int x, y;  // where the first stored pixel lands
  };
  for (const Case c : {Case{0x00, 0, 1}, Case{0x20, 0, 0}, Case{0x10, 1, 1}, Case{0x30, 1, 0}}) {
    Tga t;
    t.descriptor = c.descriptor;
    t.pixels = Bytes(12, 0);
    t.pixels[2] = 255;  // red first pixel
    Bitmap b = t.Decode();
    EXPECT_EQ(b.Pixel(c.x, c.y), MakeColour(255, 0, 0)) << int(c.descriptor);
    EXPECT_EQ(b.Pixel(1 - c.x, c.y), kBlack) << int(c.descriptor);
  }
}

struct AlphaCase {
  const char* name;
  std::uint8_t alpha0, alpha1;
  int extensionAttributeType;
  Colour expected0, expected1;
};

class TargaAlpha : public testing::TestWithParam<AlphaCase> {};

// Two grey pixels of value 100 with the given fourth bytes.
TEST_P(TargaAlpha, FollowsTheRule) {
  const AlphaCase& c = GetParam();
  Tga t;
  t.pixelBits = 32;
  t.width = 2, t.height = 1;
  t.pixels = {100, 100, 100, c.alpha0, 100, 100, 100, c.alpha1};
  t.extensionAttributeType = c.extensionAttributeType;
  Bitmap b = t.Decode();
  EXPECT_EQ(b.Pixel(0, 0), c.expected0);
  EXPECT_EQ(b.Pixel(1, 0), c.expected1);
}

const Colour kGrey100 = MakeColour(100, 100, 100);
const Colour kGreyHalfOnWhite = test::OverWhite(kGrey100, 128);
INSTANTIATE_TEST_SUITE_P(
    Cases, TargaAlpha,
    testing::Values(
        AlphaCase{"AllZeroWithoutExtensionIsOpaque", 0, 0, -1, kGrey100, kGrey100},
        AlphaCase{"SomeNonZeroWithoutExtensionIsAlpha", 0, 128, -1, kWhite, kGreyHalfOnWhite},
        AlphaCase{"ExtensionSaysNoAlpha", 0, 128, 0, kGrey100, kGrey100},
        AlphaCase{"ExtensionSaysAlpha", 0, 128, 3, kWhite, kGreyHalfOnWhite},
        AlphaCase{"ExtensionSaysAlphaEvenWhenAllZero", 0, 0, 3, kWhite, kWhite},
        // Premultiplied: 100 already carries its coverage; 255 − 128 of white is added.
        AlphaCase{"ExtensionSaysPremultiplied", 255, 128, 4, kGrey100, MakeColour(227, 227, 227)}),
    test::CaseName());

TEST(Targa, ColourMapStartsAtItsFirstEntryIndex) {
  Tga t;
  t.imageType = 1;
  t.pixelBits = 8;
  t.width = 3, t.height = 1;
  t.mapFirst = 10;
  t.mapLength = 2;
  t.mapEntryBits = 16;
  t.map = {0x00, 0x7C, 0x1F, 0x00};  // entry 10 red, entry 11 blue (5-5-5)
  t.pixels = {10, 11, 9};            // 9 is below the map: black
  Bitmap b = t.Decode();
  EXPECT_EQ(b.Pixel(0, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(b.Pixel(1, 0), MakeColour(0, 0, 255));
  EXPECT_EQ(b.Pixel(2, 0), kBlack);
}

TEST(Targa, SixteenBitIndicesAndThirtyTwoBitEntriesWithAlpha) {
  Tga t;
  t.imageType = 1;
  t.pixelBits = 16;
  t.width = 2, t.height = 1;
  t.mapFirst = 300;
  t.mapLength = 2;
  t.mapEntryBits = 32;
  t.map = {0, 0, 255, 255, 0, 0, 255, 0};  // opaque red, transparent red
  t.pixels = {0x2C, 0x01, 0x2D, 0x01};     // 300, 301
  Bitmap b = t.Decode();
  EXPECT_EQ(b.Pixel(0, 0), MakeColour(255, 0, 0));
  EXPECT_EQ(b.Pixel(1, 0), kWhite);
}

TEST(Targa, SkipsTheImageIdAndAColourMapOfATrueColourPicture) {
  Tga t;
  t.width = 1, t.height = 1;
  t.id = "made by hand";
  t.mapLength = 2, t.mapEntryBits = 24;
  t.map = Bytes(6, 0xAA);
  t.pixels = {1, 2, 3};
  EXPECT_EQ(t.Decode().Pixel(0, 0), MakeColour(3, 2, 1));
}

TEST(Targa, RunsCarryOnIntoTheNextRowAndOverrunsAreCut) {
  Tga t;
  t.imageType = 10;
  t.width = 2, t.height = 2;
  t.descriptor = 0x20;
  // One raw pixel, then a run of 5 (one more than the picture has room for).
  t.pixels = {0x00, 9, 9, 9, 0x84, 0, 0, 200};
  Bitmap b = t.Decode();
  EXPECT_EQ(b.Pixel(0, 0), MakeColour(9, 9, 9));
  EXPECT_EQ(b.Pixel(1, 0), MakeColour(200, 0, 0));
  EXPECT_EQ(b.Pixel(0, 1), MakeColour(200, 0, 0));
  EXPECT_EQ(b.Pixel(1, 1), MakeColour(200, 0, 0));
}

using Bad = test::BadCase<Tga>;

class TargaBad : public testing::TestWithParam<Bad> {};

TEST_P(TargaBad, FailsWithAClearMessage) {
  Tga t;
  t.pixels = Bytes(12, 7);
  GetParam().change(t);
  EXPECT_EQ(test::DecodeError(DecodeTarga, t.Build()), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TargaBad,
    testing::Values(
        Bad{"NoImageData", [](Tga& t) { t.imageType = 0; }, "the Targa file holds no picture"},
        Bad{"HuffmanType", [](Tga& t) { t.imageType = 32; }, "unsupported Targa image type 32"},
        Bad{"Depth7", [](Tga& t) { t.pixelBits = 7; }, "unsupported bit depth 7"},
        Bad{"ZeroWidth", [](Tga& t) { t.width = 0; }, "the picture has no pixels (0 x 2)"},
        Bad{"HugeAndShort", [](Tga& t) { t.width = t.height = 65535; },
            "the picture is too large (65535 x 65535)"},
        Bad{"TooFewPixels", [](Tga& t) { t.pixels.resize(11); }, "the pixel data is truncated"},
        Bad{"RleEndsEarly",
            [](Tga& t) {
              t.imageType = 10;
              t.pixels = {0x81, 1, 2, 3};  // two of four pixels
            },
            "truncated RLE data"},
        Bad{"RawPacketLongerThanTheFile",
            [](Tga& t) {
              t.imageType = 10;
              t.pixels = {0x03, 1, 2, 3};
            },
            "truncated RLE data"},
        Bad{"MappedWithoutMap",
            [](Tga& t) {
              t.imageType = 1;
              t.pixelBits = 8;
            },
            "a colour-mapped Targa picture without a colour map"},
        Bad{"MapEntriesOf8Bits",
            [](Tga& t) {
              t.imageType = 1;
              t.pixelBits = 8;
              t.mapLength = 1, t.mapEntryBits = 8, t.map = {0};
            },
            "unsupported colour map entry size 8"}),
    test::CaseName());

}  // namespace
}  // namespace kv
