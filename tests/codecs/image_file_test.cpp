// Choosing the decoder by extension, LoadImageFile's contract, the BMP writer.
#include "codecs/image_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "codecs/decoders.h"
#include "codecs/encoders.h"
#include "codecs/picture_fixtures.h"

namespace kv {
namespace {

std::string Fixture(const std::string& relative) {
  return std::string(KV_TEST_DATA_DIR) + "/codecs/" + relative;
}

struct ExtensionCase {
  const char* name;
  const char* extension;
  ImageFamily family;
};

std::ostream& operator<<(std::ostream& os, const ExtensionCase& c) { return os << c.name; }

class ChoosesFamily : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ChoosesFamily, ByLowerCasedExtensionOfAtMostFiveCharacters) {
  EXPECT_EQ(ImageExtension(GetParam().name), GetParam().extension);
  EXPECT_EQ(ImageFamilyOf(GetParam().name), GetParam().family);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChoosesFamily,
    ::testing::Values(ExtensionCase{"C:\\Walls\\sea.bmp", ".bmp", ImageFamily::Bmp},
                      ExtensionCase{"sea.RLE", ".rle", ImageFamily::Bmp},
                      ExtensionCase{"sea.Dib", ".dib", ImageFamily::Bmp},
                      ExtensionCase{"a.gif", ".gif", ImageFamily::Gif},
                      ExtensionCase{"a.JPG", ".jpg", ImageFamily::Jpeg},
                      ExtensionCase{"a.jpeg", ".jpeg", ImageFamily::Jpeg},
                      ExtensionCase{"a.png", ".png", ImageFamily::Png},
                      ExtensionCase{"a.TIFF", ".tiff", ImageFamily::Tiff},
                      ExtensionCase{"a.tif", ".tif", ImageFamily::Tiff},
                      ExtensionCase{"a.tga", ".tga", ImageFamily::Targa},
                      ExtensionCase{"a.vst", ".vst", ImageFamily::Targa},
                      ExtensionCase{"a.icb", ".icb", ImageFamily::Targa},
                      ExtensionCase{"a.vda", ".vda", ImageFamily::Targa},
                      ExtensionCase{"a.win", ".win", ImageFamily::Targa},
                      ExtensionCase{"a.pcx", ".pcx", ImageFamily::Pcx},
                      ExtensionCase{"a.pcc", ".pcc", ImageFamily::Pcx},
                      ExtensionCase{"a.psd", ".psd", ImageFamily::Psd},
                      ExtensionCase{"a.pdd", ".pdd", ImageFamily::Psd},
                      ExtensionCase{"a.psp", ".psp", ImageFamily::Psp},
                      // Cut to five characters, so a longer extension can match.
                      ExtensionCase{"a.tiffany", ".tiff", ImageFamily::Tiff},
                      ExtensionCase{"a.jpegs", ".jpeg", ImageFamily::Jpeg},
                      ExtensionCase{"a.bmp.txt", ".txt", ImageFamily::None},
                      ExtensionCase{"C:\\dir.bmp\\noext", "", ImageFamily::None},
                      ExtensionCase{"dir.png/noext", "", ImageFamily::None},
                      ExtensionCase{"noext", "", ImageFamily::None},
                      ExtensionCase{"a.", ".", ImageFamily::None},
                      ExtensionCase{"a.jp", ".jp", ImageFamily::None}));

TEST(LoadImageFile, DecodesByExtensionWhateverItsCase) {
  Bitmap b;
  LoadImageFile(b, Fixture("tiff/rgb_lzw.tif"));
  test::ExpectFixturePicture(b, test::FixtureRgb);
  Bitmap c;
  LoadImageFile(c, Fixture("bmp/packed_pal4.dib"));
  EXPECT_EQ(c.Width(), 7);
}

TEST(LoadImageFile, UnknownExtensionLeavesTheBitmapAsItWas) {
  Bitmap b(2, 2);
  b.Fill(MakeColour(1, 2, 3));
  const Bitmap before = b;
  LoadImageFile(b, Fixture("make_bmp_jpeg_png_gif_tiff.py"));
  EXPECT_EQ(b, before);
}

TEST(LoadImageFile, FailureNamesTheFileAndLeavesTheBitmapUntouched) {
  Bitmap b(2, 2);
  b.Fill(MakeColour(9, 9, 9));
  const Bitmap before = b;
  for (const std::string& file : {Fixture("png/broken/truncated.png"), Fixture("no such file.jpg"),
                                  Fixture("png/broken/not_png.png")}) {
    try {
      LoadImageFile(b, file);
      ADD_FAILURE() << file << " loaded";
    } catch (const ImageError& e) {
      EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
    }
    EXPECT_EQ(b, before);
  }
}

TEST(LoadImageFile, MinWidthReducesJpegOnly) {
  Bitmap jpeg, png;
  LoadImageFile(jpeg, Fixture("jpeg/baseline_420.jpg"), LoadOptions{10});
  EXPECT_EQ(jpeg.Width(), 12);
  LoadImageFile(png, Fixture("png/rgb8.png"), LoadOptions{1});
  EXPECT_EQ(png.Width(), 7);
}

TEST(EncodeBmp, WritesA24BitBottomUpFileThatReadsBack) {
  Bitmap b(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) b.SetPixel(x, y, MakeColour(40 * x, 80 * y, 7));
  b.Bits()[15] = 0xEE;  // row padding: written as zero
  const auto bytes = EncodeBmp(b);
  ASSERT_EQ(bytes.size(), 14u + 40u + 16u * 3u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[10], 54);  // pixel offset
  EXPECT_EQ(bytes[28], 24);  // bits per pixel
  EXPECT_EQ(bytes[22], 3);   // positive height: bottom-up
  EXPECT_EQ(bytes[54 + 15], 0);
  // The first row in the file is the picture's bottom row, blue first.
  EXPECT_EQ(bytes[54], BlueOf(b.Pixel(0, 2)));
  EXPECT_EQ(bytes[56], RedOf(b.Pixel(0, 2)));
  EXPECT_EQ(DecodeBmp(bytes.data(), bytes.size()), b);
  EXPECT_THROW((void)EncodeBmp(Bitmap()), ImageError);
}

TEST(SaveBmp, ReplacesTheFileWithANonAsciiName) {
  const std::string path = ::testing::TempDir() + "Wallpaper \xE2\x98\x80.bmp";
  Bitmap b(3, 3);
  b.Fill(MakeColour(200, 100, 50));
  SaveBmp(Bitmap(9, 9), path);
  SaveBmp(b, path);
  Bitmap back;
  LoadImageFile(back, path);
  EXPECT_EQ(back, b);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace kv
