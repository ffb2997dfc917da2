#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "codecs/decoders.h"
#include "picture_fixtures.h"

namespace kv {
namespace {

using test::Bytes;

// Files from tests/data/codecs/make_psp.py, each beside the picture it shows.
class PspFixture : public testing::TestWithParam<const char*> {
 protected:
  Bytes File() const { return test::ReadFixture(std::string("psp/") + GetParam() + ".psp"); }
  Bitmap Expected() const {
    return test::ReadPpm(test::ReadFixture(std::string("psp/") + GetParam() + ".ppm"));
  }
};

TEST_P(PspFixture, ShowsThePicture) {
  const Bytes bytes = File();
  const Bitmap expected = Expected();
  test::ExpectFixturePicture(DecodePsp(bytes.data(), bytes.size()),
                             [&](int x, int y) { return expected.Pixel(x, y); });
}

// A file cut after the composite image bank still shows its composite image.
TEST_P(PspFixture, EveryTruncationFailsCleanly) {
  test::ExpectTruncationsFail(DecodePsp, File(), true);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PspFixture,
    testing::Values(
        // Format 3 (version 5): layers only, initial chunk lengths.
        "v3_rgb_stored", "v3_rgb_rle", "v3_placed_mask_lz77", "v3_palette1_rle",
        // Later formats: composite images over other layers.
        "v4_composite_rle", "v5_composite_lz77", "v6_composite_stored", "v5_composite_palette4",
        // Later formats without a composite image.
        "v6_rgb_lz77_vector_first", "v10_rgb_rle_raster_extension", "v5_placed_mask_rle",
        "v4_palette4_lz77", "v5_palette8_stored", "v6_grey8_rle", "v8_rgb48_lz77"),
    [](const auto& info) { return std::string(info.param); });

// Offsets into v5_composite_lz77.psp (format 5), as make_psp.py lays it out.
constexpr std::size_t kVersion = 32;
constexpr std::size_t kFirstBlock = 36;            // the General Image Attributes block
constexpr std::size_t kAttributesChunk = 36 + 10;  // its chunk: length, width, height, ...
constexpr std::size_t kSecondBlock = kAttributesChunk + 46;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

using Bad = test::BadCase<Bytes>;

class PspBad : public testing::TestWithParam<Bad> {};

TEST_P(PspBad, FailsWithAClearMessage) {
  Bytes b = test::ReadFixture("psp/v5_composite_lz77.psp");
  GetParam().change(b);
  EXPECT_EQ(test::DecodeError(DecodePsp, b), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PspBad,
    testing::Values(
        Bad{"Signature", [](Bytes& b) { b[5] = 'X'; }, "not a Paint Shop Pro file"},
        Bad{"Version2", [](Bytes& b) { b[kVersion] = 2; },
            "unsupported Paint Shop Pro file version 2"},
        Bad{"BlockMagic", [](Bytes& b) { b[kFirstBlock + 1] = 'X'; }, "a block header is damaged"},
        Bad{"BlockLongerThanTheFile", [](Bytes& b) { Put32(b, kFirstBlock + 6, 0x7FFFFFFF); },
            "a block runs past the end of its container"},
        Bad{"ChunkLongerThanItsBlock", [](Bytes& b) { Put32(b, kAttributesChunk, 4000); },
            "a chunk length is damaged"},
        Bad{"HugePicture",
            [](Bytes& b) {
              Put32(b, kAttributesChunk + 4, 30000);
              Put32(b, kAttributesChunk + 8, 30000);
            },
            "the picture is too large (30000 x 30000)"},
        Bad{"NegativeWidth", [](Bytes& b) { Put32(b, kAttributesChunk + 4, 0xFFFFFFF9); },
            "the picture has no pixels (-7 x 5)"},
        Bad{"Depth7", [](Bytes& b) { b[kAttributesChunk + 23] = 7; }, "unsupported bit depth 7"},
        Bad{"JpegLayers", [](Bytes& b) { b[kAttributesChunk + 21] = 3; },
            "unsupported compression 3"},
        Bad{"NoAttributesBlock", [](Bytes& b) { b[kFirstBlock + 4] = 1; },
            "the General Image Attributes block is missing"},
        Bad{"NothingToShow", [](Bytes& b) { b.resize(kSecondBlock); },
            "the file holds neither a composite image nor a raster layer"}),
    test::CaseName());

// Sets the first two bytes of the composite image's first channel (after the
// channel block's 10-byte header and 16-byte chunk) to `value`.
Bytes WithDamagedComposite(const char* file, std::uint8_t value) {
  Bytes b = test::ReadFixture(std::string("psp/") + file + ".psp");
  for (std::size_t i = 0; i + 6 < b.size(); ++i) {
    if (std::memcmp(&b[i], "~BK\0\x05\0", 6) == 0) {
      b[i + 10 + 16] = value;
      b[i + 10 + 17] = value;
      break;
    }
  }
  return b;
}

TEST(Psp, DamagedChannelDataFailsWithAClearMessage) {
  EXPECT_EQ(test::DecodeError(DecodePsp, WithDamagedComposite("v5_composite_lz77", 0xFF)),
            "damaged LZ77 data");
  // 128 literal bytes announced where the channel holds far fewer.
  EXPECT_EQ(test::DecodeError(DecodePsp, WithDamagedComposite("v4_composite_rle", 0x80)),
            "truncated RLE data");
}

TEST(Psp, ChannelLongerThanItsBlockIsRefused) {
  Bytes b = test::ReadFixture("psp/v6_composite_stored.psp");
  for (std::size_t i = 0; i + 6 < b.size(); ++i) {
    if (std::memcmp(&b[i], "~BK\0\x05\0", 6) == 0) {
      Put32(b, i + 10 + 4, 1000);  // compressed length
      break;
    }
  }
  EXPECT_EQ(test::DecodeError(DecodePsp, b), "channel data runs past its block");
}

}  // namespace
}  // namespace kv
