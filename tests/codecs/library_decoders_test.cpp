// BMP, JPEG, PNG, GIF and TIFF fixtures (tests/data/codecs/make_bmp_jpeg_png_gif_tiff.py)
// decoded and compared pixel by pixel with the pictures they show.
#include <gtest/gtest.h>

#include <string>

#include "codecs/decoders.h"
#include "codecs/picture_fixtures.h"

namespace kv {
namespace {

using test::Bytes;
using test::DecodeError;
using test::Decoder;
using test::ReadFixture;

struct Case {
  const char* file;
  const char* expected;  // PPM of the decoded picture
  Decoder decode;
  int tolerance;
};

std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.file; }

class DecodesFixture : public ::testing::TestWithParam<Case> {};

TEST_P(DecodesFixture, PixelsMatchThePicture) {
  const Case& c = GetParam();
  const Bytes bytes = ReadFixture(c.file);
  const Bitmap want = test::ReadPpm(ReadFixture(c.expected));
  const Bitmap got = c.decode(bytes.data(), bytes.size());
  test::ExpectPicture(
      got, want.Width(), want.Height(), [&](int x, int y) { return want.Pixel(x, y); },
      c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, DecodesFixture,
    ::testing::Values(Case{"bmp/rgb24.bmp", "bmp/picture.ppm", DecodeBmp, 0},
                      Case{"bmp/rgb24_topdown.bmp", "bmp/picture.ppm", DecodeBmp, 0},
                      Case{"bmp/rgb32.bmp", "bmp/picture.ppm", DecodeBmp, 0},
                      Case{"bmp/rgb32_fields.bmp", "bmp/picture.ppm", DecodeBmp, 0},
                      Case{"bmp/rgb32_v4_zero_alpha.bmp", "bmp/picture.ppm", DecodeBmp, 0},
                      Case{"bmp/rgba32_v5.bmp", "bmp/rgba32_v5.ppm", DecodeBmp, 0},
                      Case{"bmp/rgb16_555.bmp", "bmp/rgb16_555.ppm", DecodeBmp, 0},
                      Case{"bmp/rgb16_565.bmp", "bmp/rgb16_565.ppm", DecodeBmp, 0},
                      Case{"bmp/argb16_4444.bmp", "bmp/argb16_4444.ppm", DecodeBmp, 0},
                      Case{"bmp/pal1.bmp", "bmp/pal1.ppm", DecodeBmp, 0},
                      Case{"bmp/pal2.bmp", "bmp/pal2.ppm", DecodeBmp, 0},
                      Case{"bmp/pal4.bmp", "bmp/pal16.ppm", DecodeBmp, 0},
                      Case{"bmp/pal8.bmp", "bmp/picture.ppm", DecodeBmp, 0},
                      Case{"bmp/os2_pal8.bmp", "bmp/picture.ppm", DecodeBmp, 0},
                      Case{"bmp/os2_rgb24.bmp", "bmp/picture.ppm", DecodeBmp, 0},
                      Case{"bmp/packed_pal4.dib", "bmp/pal16.ppm", DecodeBmp, 0},
                      Case{"bmp/rle8.bmp", "bmp/rle.ppm", DecodeBmp, 0},
                      Case{"bmp/rle4.bmp", "bmp/rle.ppm", DecodeBmp, 0}));

// JPEG is lossy: the smooth test picture comes back within a few levels.
INSTANTIATE_TEST_SUITE_P(
    Jpeg, DecodesFixture,
    ::testing::Values(Case{"jpeg/baseline_444.jpg", "jpeg/smooth.ppm", DecodeJpeg, 6},
                      Case{"jpeg/baseline_422.jpg", "jpeg/smooth.ppm", DecodeJpeg, 6},
                      Case{"jpeg/baseline_420.jpg", "jpeg/smooth.ppm", DecodeJpeg, 6},
                      Case{"jpeg/progressive.jpg", "jpeg/smooth.ppm", DecodeJpeg, 6},
                      Case{"jpeg/restart.jpg", "jpeg/smooth.ppm", DecodeJpeg, 6},
                      Case{"jpeg/no_end_marker.jpg", "jpeg/smooth.ppm", DecodeJpeg, 6},
                      // Stored as inverted CMYK with an Adobe marker.
                      Case{"jpeg/cmyk.jpg", "jpeg/smooth.ppm", DecodeJpeg, 8}));

INSTANTIATE_TEST_SUITE_P(
    Png, DecodesFixture,
    ::testing::Values(Case{"png/rgb8.png", "png/picture.ppm", DecodePng, 0},
                      Case{"png/rgb8_adam7.png", "png/picture.ppm", DecodePng, 0},
                      Case{"png/rgb16.png", "png/rgb16.ppm", DecodePng, 0},
                      Case{"png/rgb16_adam7.png", "png/rgb16.ppm", DecodePng, 0},
                      Case{"png/rgba8.png", "png/alpha.ppm", DecodePng, 0},
                      Case{"png/rgba8_adam7.png", "png/alpha.ppm", DecodePng, 0},
                      Case{"png/rgba16.png", "png/alpha.ppm", DecodePng, 0},
                      Case{"png/rgb8_trns.png", "png/rgb8_trns.ppm", DecodePng, 0},
                      Case{"png/grey1.png", "png/grey1.ppm", DecodePng, 0},
                      Case{"png/grey1_adam7.png", "png/grey1.ppm", DecodePng, 0},
                      Case{"png/grey2.png", "png/grey2.ppm", DecodePng, 0},
                      Case{"png/grey4.png", "png/grey4.ppm", DecodePng, 0},
                      Case{"png/grey8.png", "png/grey8.ppm", DecodePng, 0},
                      Case{"png/grey16.png", "png/grey16.ppm", DecodePng, 0},
                      Case{"png/grey8_trns.png", "png/grey8_trns.ppm", DecodePng, 0},
                      Case{"png/grey_alpha8.png", "png/grey_alpha.ppm", DecodePng, 0},
                      Case{"png/grey_alpha16.png", "png/grey_alpha.ppm", DecodePng, 0},
                      Case{"png/pal1.png", "png/pal1.ppm", DecodePng, 0},
                      Case{"png/pal2.png", "png/pal2.ppm", DecodePng, 0},
                      Case{"png/pal4.png", "png/pal4.ppm", DecodePng, 0},
                      Case{"png/pal4_adam7.png", "png/pal4.ppm", DecodePng, 0},
                      Case{"png/pal8.png", "png/pal8.ppm", DecodePng, 0},
                      Case{"png/pal8_trns.png", "png/pal8_trns.ppm", DecodePng, 0}));

INSTANTIATE_TEST_SUITE_P(
    Gif, DecodesFixture,
    ::testing::Values(Case{"gif/basic.gif", "gif/picture.ppm", DecodeGif, 0},
                      Case{"gif/local_palette.gif", "gif/picture.ppm", DecodeGif, 0},
                      Case{"gif/interlaced.gif", "gif/interlaced.ppm", DecodeGif, 0},
                      // Frame at (3, 2) on a 12 x 9 screen of background colour,
                      // one transparent pixel.
                      Case{"gif/offset.gif", "gif/offset.ppm", DecodeGif, 0},
                      Case{"gif/bg_out_of_table.gif", "gif/bg_out_of_table.ppm", DecodeGif, 0},
                      Case{"gif/frame_past_screen.gif", "gif/picture.ppm", DecodeGif, 0},
                      Case{"gif/animated.gif", "gif/picture.ppm", DecodeGif, 0}));

// libtiff premultiplies alpha and so may round one level differently.
INSTANTIATE_TEST_SUITE_P(
    Tiff, DecodesFixture,
    ::testing::Values(Case{"tiff/rgb_none.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/rgb_lzw.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/rgb_deflate.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/rgb_packbits.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/rgb_strips.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/rgb16.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/rgb_jpeg.tif", "tiff/picture.ppm", DecodeTiff, 24},
                      Case{"tiff/rgba.tif", "tiff/alpha.ppm", DecodeTiff, 1},
                      Case{"tiff/grey.tif", "tiff/grey.ppm", DecodeTiff, 0},
                      Case{"tiff/bilevel.tif", "tiff/bilevel.ppm", DecodeTiff, 0},
                      Case{"tiff/bilevel_g4.tif", "tiff/bilevel.ppm", DecodeTiff, 0},
                      Case{"tiff/palette.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/cmyk.tif", "tiff/picture.ppm", DecodeTiff, 2},
                      Case{"tiff/tiled.tif", "tiff/big.ppm", DecodeTiff, 0},
                      Case{"tiff/bottom_left.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/orient5.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/orient6.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/orient7.tif", "tiff/picture.ppm", DecodeTiff, 0},
                      Case{"tiff/orient8.tif", "tiff/picture.ppm", DecodeTiff, 0}));

struct BrokenCase {
  const char* file;
  Decoder decode;
  const char* message;  // part of the error's text
};

std::ostream& operator<<(std::ostream& os, const BrokenCase& c) { return os << c.file; }

class RejectsBrokenFile : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(RejectsBrokenFile, WithAMessageSayingWhy) {
  const BrokenCase& c = GetParam();
  const std::string message = DecodeError(c.decode, ReadFixture(c.file));
  EXPECT_NE(message.find(c.message), std::string::npos) << "message: '" << message << "'";
}

INSTANTIATE_TEST_SUITE_P(
    All, RejectsBrokenFile,
    ::testing::Values(BrokenCase{"bmp/broken/truncated.bmp", DecodeBmp, "ends early"},
                      BrokenCase{"bmp/broken/header_size.bmp", DecodeBmp, "header size"},
                      BrokenCase{"bmp/broken/huge.bmp", DecodeBmp, "too large"},
                      BrokenCase{"bmp/broken/zero_width.bmp", DecodeBmp, "width"},
                      BrokenCase{"bmp/broken/min_height.bmp", DecodeBmp, "too large"},
                      BrokenCase{"bmp/broken/bit_count.bmp", DecodeBmp, "bit count"},
                      BrokenCase{"bmp/broken/palette_cut.bmp", DecodeBmp, "palette"},
                      BrokenCase{"bmp/broken/empty_masks.bmp", DecodeBmp, "bit fields"},
                      BrokenCase{"bmp/broken/rle8_cut.bmp", DecodeBmp, "ends early"},
                      BrokenCase{"jpeg/broken/truncated.jpg", DecodeJpeg, "ends early"},
                      BrokenCase{"jpeg/broken/not_jpeg.jpg", DecodeJpeg, "JPEG"},
                      BrokenCase{"jpeg/broken/huge.jpg", DecodeJpeg, ""},
                      BrokenCase{"png/broken/truncated.png", DecodePng, "ends early"},
                      BrokenCase{"png/broken/bad_crc.png", DecodePng, "CRC"},
                      BrokenCase{"png/broken/huge.png", DecodePng, "IHDR"},
                      BrokenCase{"png/broken/not_png.png", DecodePng, "not a PNG"},
                      BrokenCase{"gif/broken/truncated.gif", DecodeGif, "ends early"},
                      BrokenCase{"gif/broken/no_picture.gif", DecodeGif, "no picture"},
                      BrokenCase{"gif/broken/no_palette.gif", DecodeGif, "colour table"},
                      BrokenCase{"gif/broken/not_gif.gif", DecodeGif, "not a GIF"},
                      BrokenCase{"tiff/broken/truncated.tif", DecodeTiff, ""},
                      BrokenCase{"tiff/broken/not_tiff.tif", DecodeTiff, ""}));

// Every prefix of a small file of each family fails cleanly (no read past the
// end, no partial picture returned as success). PNG, GIF and TIFF files may lose
// their tails (end chunk, trailer, unused tags) and still give the whole picture.
TEST(LibraryDecoders, EveryTruncationFails) {
  test::ExpectTruncationsFail(DecodeBmp, ReadFixture("bmp/pal4.bmp"));
  test::ExpectTruncationsFail(DecodeBmp, ReadFixture("bmp/rgba32_v5.bmp"));
  test::ExpectTruncationsFail(DecodePng, ReadFixture("png/rgba8_adam7.png"), /*mayEndEarly=*/true);
  test::ExpectTruncationsFail(DecodeGif, ReadFixture("gif/offset.gif"), /*mayEndEarly=*/true);
  test::ExpectTruncationsFail(DecodeTiff, ReadFixture("tiff/rgb_lzw.tif"), /*mayEndEarly=*/true);
}

// A JPEG without its end marker still holds the whole picture (some cameras
// write them so); cut anywhere before that, it fails.
TEST(LibraryDecoders, JpegCutBeforeItsEndMarkerFails) {
  const Bytes bytes = ReadFixture("jpeg/baseline_420.jpg");
  test::ExpectTruncationsFail(DecodeJpeg, bytes, /*mayEndEarly=*/true);
  const Bytes noEnd(bytes.begin(), bytes.end() - 2);
  EXPECT_EQ(DecodeError(DecodeJpeg, noEnd), "");
  // A progressive file cut between scans shows the scans it has; cut anywhere,
  // it never gives anything but a picture or ImageError.
  const Bytes progressive = ReadFixture("jpeg/progressive.jpg");
  for (std::size_t n = 0; n < progressive.size(); n += 7)
    (void)DecodeError(DecodeJpeg, Bytes(progressive.begin(), progressive.begin() + n));
}

}  // namespace
}  // namespace kv
