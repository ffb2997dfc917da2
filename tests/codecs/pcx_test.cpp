#include <gtest/gtest.h>

#include <string>

#include "codecs/decoders.h"
#include "picture_fixtures.h"

namespace kv {
namespace {

using test::Bytes;

class PcxFixture : public testing::TestWithParam<test::FixtureCase> {};

// Files another program wrote: 24 bits in three planes, with alpha in a
// fourth, and 8 bits with the palette at the end.
TEST_P(PcxFixture, ShowsThePicture) { test::ExpectFixtureShown(DecodePcx, GetParam()); }

INSTANTIATE_TEST_SUITE_P(Files, PcxFixture,
                         testing::Values(test::FixtureCase{"pcx/rgb24.pcx", test::FixtureRgb},
                                         test::FixtureCase{"pcx/rgba32.pcx",
                                                           test::FixtureRgbOverWhite},
                                         test::FixtureCase{"pcx/palette8.pcx", test::FixtureRgb}));

TEST(Pcx, EveryTruncationOfTheThreePlaneFileFailsCleanly) {
  test::ExpectTruncationsFail(DecodePcx, test::ReadFixture("pcx/rgb24.pcx"));
}

// A cut-off end palette leaves an 8-bit picture readable as grey.
TEST(Pcx, EightBitsWithoutTheEndPaletteAreGrey) {
  Bytes bytes = test::ReadFixture("pcx/palette8.pcx");
  bytes.resize(bytes.size() - 769);
  const Bitmap b = DecodePcx(bytes.data(), bytes.size());
  ASSERT_EQ(b.Width(), 7);
  for (int x = 0; x < 7; ++x) {
    const Colour c = b.Pixel(x, 0);
    EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << x;
  }
}

// A PCX file put together from its parts; the scan lines are given decoded and
// stored as literal bytes (bytes of 0xC0 and above as runs of one).
struct Pcx {
  std::uint8_t version = 5;
  std::uint8_t encoding = 1;
  std::uint8_t bits = 1;
  std::uint8_t planes = 1;
  std::uint16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  std::uint16_t bytesPerLine = 2;
  Bytes headerPalette;  // up to 48 bytes
  Bytes lines;          // all scan lines, decoded
  Bytes encoded;        // used instead of `lines` when not empty

  Bytes Build() const {
    Bytes b(128, 0);
    b[0] = 0x0A, b[1] = version, b[2] = encoding, b[3] = bits;
    auto put16 = [&](std::size_t at, std::uint16_t v) {
      b[at] = static_cast<std::uint8_t>(v), b[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    put16(4, xMin), put16(6, yMin), put16(8, xMax), put16(10, yMax);
    for (std::size_t i = 0; i < headerPalette.size() && i < 48; ++i) b[16 + i] = headerPalette[i];
    b[65] = planes;
    put16(66, bytesPerLine);
    put16(68, 1);
    if (!encoded.empty()) {
      b.insert(b.end(), encoded.begin(), encoded.end());
    } else {
      for (std::uint8_t v : lines) {
        if (encoding == 1 && v >= 0xC0) b.push_back(0xC1);
        b.push_back(v);
      }
    }
    return b;
  }
  Bitmap Decode() const {
    const Bytes b = Build();
    return DecodePcx(b.data(), b.size());
  }
};

const Colour kBlack = MakeColour(0, 0, 0);
const Colour kWhite = MakeColour(255, 255, 255);

TEST(Pcx, OneBitOnePlaneIsBlackAndWhiteWithinTheWindow) {
  Pcx p;
  p.xMin = 10, p.xMax = 18;  // 9 pixels: two bytes a line
  p.yMin = 3, p.yMax = 4;
  p.lines = {0b10100000, 0b10000000, 0x00, 0xFF};
  const Bitmap b = p.Decode();
  ASSERT_EQ(b.Width(), 9);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Pixel(0, 0), kWhite);
  EXPECT_EQ(b.Pixel(1, 0), kBlack);
  EXPECT_EQ(b.Pixel(2, 0), kWhite);
  EXPECT_EQ(b.Pixel(8, 0), kWhite);
  EXPECT_EQ(b.Pixel(7, 1), kBlack);
  EXPECT_EQ(b.Pixel(8, 1), kWhite);
}

// Colour i of the header palette is (i, 2i, 3i) · 10 in these tests.
Bytes HeaderPalette() {
  Bytes pal;
  for (int i = 0; i < 16; ++i)
    for (int c = 1; c <= 3; ++c) pal.push_back(static_cast<std::uint8_t>(10 * c * i));
  return pal;
}
Colour HeaderColour(int i) {
  return MakeColour(static_cast<std::uint8_t>(10 * i), static_cast<std::uint8_t>(20 * i),
                    static_cast<std::uint8_t>(30 * i));
}

TEST(Pcx, FourPlanesOfOneBitIndexTheHeaderPaletteLowPlaneFirst) {
  Pcx p;
  p.planes = 4;
  p.xMax = 3;  // 4 pixels
  p.bytesPerLine = 2;
  p.headerPalette = HeaderPalette();
  // Pixel x takes bit x of each plane: indices 0b0001, 0b0010, 0b0100, 0b1111.
  p.lines = {0b10010000, 0, 0b01010000, 0, 0b00110000, 0, 0b00010000, 0};
  const Bitmap b = p.Decode();
  EXPECT_EQ(b.Pixel(0, 0), HeaderColour(1));
  EXPECT_EQ(b.Pixel(1, 0), HeaderColour(2));
  EXPECT_EQ(b.Pixel(2, 0), HeaderColour(4));
  EXPECT_EQ(b.Pixel(3, 0), HeaderColour(15));
}

TEST(Pcx, PackedTwoAndFourBitPixelsIndexTheHeaderPalette) {
  Pcx p;
  p.bits = 2;
  p.xMax = 3;
  p.headerPalette = HeaderPalette();
  p.lines = {0b00011011, 0};
  Bitmap b = p.Decode();
  for (int x = 0; x < 4; ++x) EXPECT_EQ(b.Pixel(x, 0), HeaderColour(x)) << x;
  p.bits = 4;
  p.lines = {0x5A, 0xF0};
  b = p.Decode();
  EXPECT_EQ(b.Pixel(0, 0), HeaderColour(5));
  EXPECT_EQ(b.Pixel(1, 0), HeaderColour(10));
  EXPECT_EQ(b.Pixel(2, 0), HeaderColour(15));
}

TEST(Pcx, VersionThreeUsesTheStandardSixteenColours) {
  Pcx p;
  p.version = 3;
  p.bits = 4;
  p.xMax = 1;
  p.bytesPerLine = 1;
  p.headerPalette = HeaderPalette();  // present but not meant to be used
  p.lines = {0x1C};
  const Bitmap b = p.Decode();
  EXPECT_EQ(b.Pixel(0, 0), MakeColour(0, 0, 170));
  EXPECT_EQ(b.Pixel(1, 0), MakeColour(255, 85, 85));
}

TEST(Pcx, StoredLinesAndRunsAcrossLineEnds) {
  Pcx p;
  p.bits = 8;
  p.planes = 3;
  p.xMax = 1, p.yMax = 1;
  p.encoding = 0;
  p.lines = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const Bitmap stored = p.Decode();
  EXPECT_EQ(stored.Pixel(1, 0), MakeColour(2, 4, 6));
  EXPECT_EQ(stored.Pixel(0, 1), MakeColour(7, 9, 11));
  // The same picture but with one run of 0xC0 over the end of the first line.
  p.encoding = 1;
  p.encoded = {1, 2, 3, 4, 0xC3, 0xC0, 8, 9, 10, 11, 12};
  const Bitmap runs = p.Decode();
  EXPECT_EQ(runs.Pixel(0, 0), MakeColour(1, 3, 0xC0));
  EXPECT_EQ(runs.Pixel(1, 0), MakeColour(2, 4, 0xC0));
  EXPECT_EQ(runs.Pixel(0, 1), MakeColour(0xC0, 9, 11));
}

using Bad = test::BadCase<Pcx>;

class PcxBad : public testing::TestWithParam<Bad> {};

TEST_P(PcxBad, FailsWithAClearMessage) {
  Pcx p;
  p.xMax = 7, p.yMax = 1;
  p.bytesPerLine = 1;
  p.lines = {0x0F, 0xF0};
  GetParam().change(p);
  EXPECT_EQ(test::DecodeError(DecodePcx, p.Build()), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PcxBad,
    testing::Values(
        Bad{"UnknownEncoding", [](Pcx& p) { p.encoding = 9; }, "unknown PCX encoding 9"},
        Bad{"TwoPlanesOfEight", [](Pcx& p) { p.bits = 8, p.planes = 2; },
            "unsupported PCX layout: 8 bits in 2 planes"},
        Bad{"WindowBackwards", [](Pcx& p) { p.xMin = 9; }, "the picture has no pixels (-1 x 2)"},
        Bad{"HugeWindow", [](Pcx& p) { p.xMax = p.yMax = 65535; },
            "the picture is too large (65536 x 65536)"},
        Bad{"LineTooShort", [](Pcx& p) { p.xMax = 8; },
            "the PCX line length 1 is too short for the width 9"},
        Bad{"RunWithoutItsValue",
            [](Pcx& p) {
              p.encoded = {0x0F, 0xC1};
            },
            "truncated RLE data"},
        Bad{"LinesMissing", [](Pcx& p) { p.lines.pop_back(); }, "truncated RLE data"}),
    test::CaseName());

TEST(Pcx, ShortHeaderAndWrongMakerAreRefused) {
  EXPECT_EQ(test::DecodeError(DecodePcx, Bytes(127, 0x0A)),
            "the file is too short for a PCX header");
  Bytes b = Pcx{}.Build();
  b[0] = 0x0B;
  EXPECT_EQ(test::DecodeError(DecodePcx, b), "not a PCX file");
}

}  // namespace
}  // namespace kv
