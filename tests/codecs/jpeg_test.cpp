// JPEG specifics: Exif orientation, reduced decoding, the writer's quality rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "codecs/decoders.h"
#include "codecs/encoders.h"
#include "codecs/exif_orientation.h"
#include "codecs/image_file.h"
#include "codecs/jpeg_reader.h"
#include "codecs/picture_fixtures.h"

namespace kv {
namespace {

using test::Bytes;
using test::ReadFixture;

bool Near(Colour a, Colour b, int tolerance) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance &&
         std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

// Every orientation fixture shows, once turned upright, 32 x 16 pixels of four
// quadrants: red, green on top; blue, white below.
class UprightByExif : public ::testing::TestWithParam<int> {};

TEST_P(UprightByExif, QuadrantsLandWhereTheCameraSawThem) {
  const Bytes bytes = ReadFixture("jpeg/orientation" + std::to_string(GetParam()) + ".jpg");
  const Bitmap b = DecodeJpeg(bytes.data(), bytes.size());
  ASSERT_EQ(b.Width(), 32);
  ASSERT_EQ(b.Height(), 16);
  EXPECT_TRUE(Near(b.Pixel(4, 4), MakeColour(255, 0, 0), 40)) << std::hex << b.Pixel(4, 4);
  EXPECT_TRUE(Near(b.Pixel(27, 4), MakeColour(0, 255, 0), 40)) << std::hex << b.Pixel(27, 4);
  EXPECT_TRUE(Near(b.Pixel(4, 11), MakeColour(0, 0, 255), 40)) << std::hex << b.Pixel(4, 11);
  EXPECT_TRUE(Near(b.Pixel(27, 11), MakeColour(255, 255, 255), 40)) << std::hex << b.Pixel(27, 11);
}

INSTANTIATE_TEST_SUITE_P(AllEight, UprightByExif, ::testing::Range(1, 9));

// A 3 x 2 picture with every pixel different, and where pixel (x, y) of the
// stored picture lands for each orientation, as Exif defines them.
TEST(ApplyOrientation, MovesEveryPixelAsExifDefines) {
  Bitmap stored(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) stored.SetPixel(x, y, MakeColour(10 * x, 10 * y, 7));
  struct Where {
    int x, y;
  };
  // Displayed position of stored (x, y) in a displayed picture of w x h.
  auto place = [](int o, int x, int y, int w, int h) -> Where {
    switch (o) {
      case 2:
        return {w - 1 - x, y};
      case 3:
        return {w - 1 - x, h - 1 - y};
      case 4:
        return {x, h - 1 - y};
      case 5:
        return {y, x};
      case 6:
        return {h - 1 - y, x};
      case 7:
        return {h - 1 - y, w - 1 - x};
      case 8:
        return {y, w - 1 - x};
      default:
        return {x, y};
    }
  };
  for (int o = 1; o <= 8; ++o) {
    const Bitmap shown = ApplyOrientation(stored, o);
    const bool swap = o >= 5;
    ASSERT_EQ(shown.Width(), swap ? 2 : 3) << o;
    ASSERT_EQ(shown.Height(), swap ? 3 : 2) << o;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) {
        const Where w = place(o, x, y, 3, 2);
        EXPECT_EQ(shown.Pixel(w.x, w.y), stored.Pixel(x, y)) << "orientation " << o;
      }
  }
  EXPECT_EQ(ApplyOrientation(stored, 0), stored);
  EXPECT_EQ(ApplyOrientation(stored, 9), stored);
}

Bytes ExifWith(const Bytes& tiff) {
  Bytes b = {'E', 'x', 'i', 'f', 0, 0};
  b.insert(b.end(), tiff.begin(), tiff.end());
  return b;
}

struct ExifCase {
  const char* what;
  Bytes tiff;
  int orientation;
};

std::ostream& operator<<(std::ostream& os, const ExifCase& c) { return os << c.what; }

class ReadsExif : public ::testing::TestWithParam<ExifCase> {};

TEST_P(ReadsExif, Orientation) {
  const Bytes data = ExifWith(GetParam().tiff);
  EXPECT_EQ(ExifOrientation(data.data(), data.size()), GetParam().orientation);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadsExif,
    ::testing::Values(
        ExifCase{"little endian",
                 {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 1, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0},
                 6},
        ExifCase{"big endian, second entry",
                 {'M', 'M', 0, 42,   0, 0, 0, 8, 0, 2, 1, 0x0F, 0, 2, 0, 0, 0, 4, 0, 0,
                  0,   0,   1, 0x12, 0, 3, 0, 0, 0, 1, 0, 8,    0, 0, 0, 0, 0, 0, 0},
                 8},
        ExifCase{"value out of range",
                 {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 1, 3, 0, 1, 0, 0, 0, 9, 0, 0, 0},
                 0},
        ExifCase{"wrong type",
                 {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 1, 4, 0, 1, 0, 0, 0, 6, 0, 0, 0},
                 0},
        // Claims 200 entries; only the one that is there is read.
        ExifCase{"count past the end",
                 {'I', 'I', 42, 0, 8, 0, 0, 0, 200, 0, 0x12, 1, 3, 0, 1, 0, 0, 0, 3, 0, 0, 0},
                 3},
        ExifCase{
            "entry cut off", {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 1, 3, 0, 1, 0, 0, 0}, 0},
        ExifCase{"directory past the end", {'I', 'I', 42, 0, 0xFF, 0xFF, 0, 0, 0, 0}, 0},
        ExifCase{"not TIFF", {'X', 'X', 42, 0, 8, 0, 0, 0, 0, 0}, 0}));

TEST(ReadsExif, NeedsTheExifSignature) {
  const std::uint8_t data[] = {'E', 'x', 'i', 'g', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0};
  EXPECT_EQ(ExifOrientation(data, sizeof data), 0);
}

TEST(DecodeJpeg, ReducesToTheSmallestEighthNotNarrowerThanAsked) {
  const Bytes bytes = ReadFixture("jpeg/baseline_420.jpg");  // 48 x 32
  struct Want {
    int minWidth, width, height;
  };
  for (const Want w : {Want{0, 48, 32}, Want{1, 6, 4}, Want{7, 12, 8}, Want{20, 24, 16},
                       Want{40, 42, 28}, Want{47, 48, 32}, Want{500, 48, 32}}) {
    const Bitmap b = DecodeJpeg(bytes.data(), bytes.size(), w.minWidth);
    EXPECT_EQ(b.Width(), w.width) << w.minWidth;
    EXPECT_EQ(b.Height(), w.height) << w.minWidth;
  }
  // Turned on its side, the displayed width is the stored height: 16 wide
  // stored, 32 wide shown, so asking for 16 gives half size.
  const Bytes side = ReadFixture("jpeg/orientation6.jpg");
  const Bitmap b = DecodeJpeg(side.data(), side.size(), 16);
  EXPECT_EQ(b.Width(), 16);
  EXPECT_EQ(b.Height(), 8);
}

// A 16 x 16 JPEG of one ink mix, stored inverted as Photoshop does (255 = no
// ink) in CMYK or YCCK, with the Adobe marker libjpeg writes for both.
Bytes AdobeJpeg(J_COLOR_SPACE space, const std::uint8_t storedInk[4]) {
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = info.image_height = 16;
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, space);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::uint8_t row[16 * 4];
  for (int x = 0; x < 16; ++x) std::copy(storedInk, storedInk + 4, row + 4 * x);
  JSAMPROW rows[1] = {row};
  for (int y = 0; y < 16; ++y) jpeg_write_scanlines(&info, rows, 1);
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

TEST(DecodeJpeg, AdobeCmykAndYcckAreInvertedInk) {
  // Cyan 20 %, magenta 60 %, yellow 10 %, black 30 %, stored inverted.
  const std::uint8_t stored[4] = {204, 102, 229, 178};
  // Red = stored cyan × stored black / 255, and so on.
  const Colour want = MakeColour(142, 71, 160);
  for (const J_COLOR_SPACE space : {JCS_CMYK, JCS_YCCK}) {
    const Bytes bytes = AdobeJpeg(space, stored);
    const Bitmap b = DecodeJpeg(bytes.data(), bytes.size());
    EXPECT_TRUE(Near(b.Pixel(8, 8), want, 3)) << space << ": " << std::hex << b.Pixel(8, 8);
  }
}

TEST(DecodeJpeg, GreyscaleComesOutGrey) {
  const Bytes bytes = ReadFixture("jpeg/grey.jpg");
  const Bitmap b = DecodeJpeg(bytes.data(), bytes.size());
  ASSERT_EQ(b.Width(), 48);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      const Colour c = b.Pixel(x, y);
      ASSERT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << x << "," << y;
    }
}

Bitmap Gradient() {
  Bitmap b(40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) b.SetPixel(x, y, MakeColour(6 * x, 8 * y, 100 + 2 * x - 3 * y));
  return b;
}

TEST(EncodeJpeg, HundredKeepsTheLibraryDefaultQuality) {
  const Bitmap b = Gradient();
  EXPECT_EQ(EncodeJpeg(b, 100), EncodeJpeg(b, 75));
  EXPECT_EQ(EncodeJpeg(b, 250), EncodeJpeg(b, 75));
  EXPECT_EQ(EncodeJpeg(b, 0), EncodeJpeg(b, 1));
  EXPECT_NE(EncodeJpeg(b, 99), EncodeJpeg(b, 75));
  EXPECT_LT(EncodeJpeg(b, 10).size(), EncodeJpeg(b, 90).size());
}

TEST(EncodeJpeg, RoundTripStaysClose) {
  const Bitmap b = Gradient();
  const Bytes jpeg = EncodeJpeg(b, 95);
  const Bitmap back = DecodeJpeg(jpeg.data(), jpeg.size());
  test::ExpectPicture(
      back, 40, 30, [&](int x, int y) { return b.Pixel(x, y); }, 8);
  EXPECT_THROW((void)EncodeJpeg(Bitmap(), 50), ImageError);
}

TEST(EncodeJpeg, SaveReplacesTheFile) {
  const std::string path = ::testing::TempDir() + "kv thumb \xC3\xA9.jpg";
  SaveJpeg(Gradient(), 100, path);
  SaveJpeg(Bitmap(3, 2), 50, path);
  const Bytes bytes = ReadFileBytes(path);
  const Bitmap back = DecodeJpeg(bytes.data(), bytes.size());
  EXPECT_EQ(back.Width(), 3);
  std::remove(path.c_str());
}

// What reading a file gives: the picture, or the message of its error.
struct Outcome {
  Bitmap picture;
  std::string error;
};

Outcome Loaded(const std::string& path) {
  try {
    Bitmap b;
    LoadImageFile(b, path);
    return {b, ""};
  } catch (const ImageError& e) {
    return {Bitmap(), e.what()};
  }
}

// The file decoded by a row reader, `block` rows at a time.
Outcome ReadByRows(const std::string& path, int block) {
  try {
    JpegRowReader reader(path);
    Bitmap b(reader.Width(), reader.Height());
    std::vector<std::uint8_t*> rows(static_cast<std::size_t>(block));
    for (int y = 0;;) {
      for (int k = 0; k < block; ++k)
        rows[static_cast<std::size_t>(k)] = b.ScanLine(std::min(y + k, b.Height() - 1));
      const int got = reader.ReadRows(rows.data(), block);
      y += got;
      if (got < block) {
        EXPECT_EQ(y, b.Height()) << path;
        break;
      }
    }
    return {ApplyOrientation(std::move(b), reader.Orientation()), ""};
  } catch (const ImageError& e) {
    return {Bitmap(), e.what()};
  }
}

// Noise at a high quality: a file of many 64 KB pieces, so the file source
// refills in the middle of the scan.
Bytes LargeNoisyJpeg() {
  Bitmap b(397, 301);
  std::uint32_t n = 1;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      n = n * 1664525u + 1013904223u;
      b.SetPixel(x, y, n >> 8);
    }
  return EncodeJpeg(b, 95);
}

// Read from the file in pieces, row by row, every picture and every failure
// comes out as LoadImageFile gives it from the whole file in memory: the same
// pixels, the same message.
TEST(JpegRowReader, ReadsFilesAsTheWholeFileDecodes) {
  std::vector<std::string> files;
  for (const char* name :
       {"baseline_420.jpg", "baseline_422.jpg", "baseline_444.jpg", "cmyk.jpg", "grey.jpg",
        "progressive.jpg", "restart.jpg", "no_end_marker.jpg", "orientation6.jpg",
        "broken/truncated.jpg", "broken/not_jpeg.jpg", "broken/huge.jpg"})
    files.push_back(std::string(KV_TEST_DATA_DIR) + "/codecs/jpeg/" + name);
  const Bytes large = LargeNoisyJpeg();
  ASSERT_GT(large.size(), 2u * 64 * 1024);
  // Whole, without its end marker, cut in the header, and cut in the scan
  // before, at and after a piece's end.
  for (const std::size_t keep :
       {large.size(), large.size() - 2, std::size_t{0}, std::size_t{1}, std::size_t{300},
        std::size_t{64 * 1024 - 1}, std::size_t{64 * 1024}, std::size_t{64 * 1024 + 1},
        large.size() / 2, large.size() - 40}) {
    const std::string path = ::testing::TempDir() + "kv rows " + std::to_string(keep) + ".jpg";
    WriteFileAtomic(path, large.data(), keep);
    files.push_back(path);
  }
  files.push_back(::testing::TempDir() + "kv no such picture.jpg");
  for (const std::string& path : files) {
    const Outcome whole = Loaded(path);
    for (const int block : {1, 7, 64}) {
      const Outcome rows = ReadByRows(path, block);
      EXPECT_EQ(rows.error, whole.error) << path << " by " << block;
      EXPECT_TRUE(rows.picture == whole.picture) << path << " by " << block;
    }
  }
  EXPECT_NE(Loaded(files[files.size() - 2]).error.find("ends early"), std::string::npos);
  for (std::size_t i = files.size() - 11; i + 1 < files.size(); ++i) std::remove(files[i].c_str());
}

}  // namespace
}  // namespace kv
