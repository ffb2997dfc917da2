// WebP, HEIC and AVIF files made by Debian's encoders at build time
// (make_modern_samples.sh), loaded by name as the program loads them and
// compared with what the format's reference decoder gives for the same file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "codecs/decoders.h"
#include "codecs/image_file.h"
#include "codecs/picture_fixtures.h"

namespace kv {
namespace {

using test::Bytes;

std::string Sample(const std::string& name) {
  return std::string(KV_MODERN_SAMPLES_DIR) + "/" + name;
}

// A reference picture: a PAM file (RGB or RGB_ALPHA, maxval 255 or 65535).
struct Reference {
  int width = 0, height = 0, depth = 0, maxval = 0;
  Bytes samples;
  unsigned At(int x, int y, int channel) const {
    const std::size_t i =
        (static_cast<std::size_t>(y) * width + x) * depth + static_cast<std::size_t>(channel);
    return maxval > 255 ? (samples[2 * i] << 8) | samples[2 * i + 1] : samples[i];
  }
};

Reference ReadPam(const std::string& file) {
  const Bytes bytes = ReadFileBytes(file);
  const std::string text(bytes.begin(), bytes.end());
  const std::size_t end = text.find("ENDHDR\n");
  if (text.compare(0, 3, "P7\n") != 0 || end == std::string::npos)
    throw std::runtime_error(file + " is no PAM file");
  Reference r;
  auto field = [&](const char* name) {
    const std::size_t at = text.find(std::string("\n") + name + " ");
    return at < end ? std::stoi(text.substr(at + std::strlen(name) + 2)) : 0;
  };
  r.width = field("WIDTH");
  r.height = field("HEIGHT");
  r.depth = field("DEPTH");
  r.maxval = field("MAXVAL");
  r.samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(end + 7), bytes.end());
  const std::size_t need =
      static_cast<std::size_t>(r.width) * r.height * r.depth * (r.maxval > 255 ? 2 : 1);
  if ((r.depth != 3 && r.depth != 4) || r.samples.size() != need)
    throw std::runtime_error(file + " has an unexpected layout");
  return r;
}

// How a 16-bit reference holds a deeper sample: scaled to the 16-bit range
// (avifdec) or moved into the top bits (heif-convert).
enum class Widened { Scaled, Shifted };

// The 8-bit value a sample of the file's `bits` should become: rounded to
// nearest.
std::uint8_t Expected8(unsigned v, int maxval, int bits, Widened widened) {
  if (maxval == 255) return static_cast<std::uint8_t>(v);
  const double top = (1 << bits) - 1;
  const long stored = widened == Widened::Shifted ? static_cast<long>(v >> (16 - bits))
                                                  : std::lround(v * top / 65535.0);
  return static_cast<std::uint8_t>(std::lround(stored * 255.0 / top));
}

struct Case {
  const char* file;
  int bits;       // of the file's samples
  int tolerance;  // per channel; 0 where both decoders use the same library
  Widened widened = Widened::Scaled;
};
std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.file; }

class ModernFormat : public ::testing::TestWithParam<Case> {};

TEST_P(ModernFormat, LoadsAsTheReferenceDecoderShowsIt) {
  const Case& c = GetParam();
  const std::string file = Sample(c.file);
  const Reference ref = ReadPam(file.substr(0, file.rfind('.')) + ".pam");
  Bitmap got;
  LoadImageFile(got, file);
  test::ExpectPicture(
      got, ref.width, ref.height,
      [&](int x, int y) {
        std::uint8_t v[4] = {0, 0, 0, 255};
        for (int ch = 0; ch < ref.depth; ++ch)
          v[ch] = Expected8(ref.At(x, y, ch), ref.maxval, c.bits, c.widened);
        return test::OverWhite(MakeColour(v[0], v[1], v[2]), v[3]);
      },
      c.tolerance);
}

// libwebp against dwebp and libheif against heif-convert are the same library:
// exact. AVIF is decoded by libheif here and by libavif in avifdec, which turn
// the same decoded samples into RGB with their own arithmetic: one level apart
// at most.
constexpr int kOtherLibrary = 1;

INSTANTIATE_TEST_SUITE_P(
    WebP, ModernFormat,
    ::testing::Values(Case{"webp_lossless.webp", 8, 0}, Case{"webp_lossless_alpha.webp", 8, 0},
                      Case{"webp_lossy.webp", 8, 0}, Case{"webp_lossy_alpha.webp", 8, 0},
                      Case{"webp_odd.webp", 8, 0}, Case{"webp_exif_rotated.webp", 8, 0},
                      Case{"webp_animated.webp", 8, 0}));
INSTANTIATE_TEST_SUITE_P(
    Heic, ModernFormat,
    ::testing::Values(Case{"heic_lossy.heic", 8, 0}, Case{"heic_alpha.heic", 8, 0},
                      Case{"heic_10bit.heic", 10, 0, Widened::Shifted}, Case{"heic_odd.heic", 8, 0},
                      Case{"heic_collection.heic", 8, 0}, Case{"heif_named.heif", 8, 0}));
INSTANTIATE_TEST_SUITE_P(Avif, ModernFormat,
                         ::testing::Values(Case{"avif_lossless.avif", 8, 0},
                                           Case{"avif_lossy.avif", 8, kOtherLibrary},
                                           Case{"avif_alpha.avif", 8, kOtherLibrary},
                                           Case{"avif_10bit.avif", 10, kOtherLibrary},
                                           Case{"avif_12bit.avif", 12, kOtherLibrary},
                                           Case{"avif_odd.avif", 8, kOtherLibrary},
                                           Case{"avif_rotated.avif", 8, kOtherLibrary},
                                           Case{"avif_mirrored.avif", 8, kOtherLibrary},
                                           Case{"UPPER_CASE.AVIF", 8, kOtherLibrary}));

// Every cut of a file fails cleanly: the decoders read nothing past the end and
// show no half-decoded picture.
class ModernTruncated : public ::testing::TestWithParam<const char*> {};

TEST_P(ModernTruncated, EveryPrefixFails) {
  const std::string name = GetParam();
  const Bytes bytes = ReadFileBytes(Sample(name));
  test::ExpectTruncationsFail(name.find(".webp") != std::string::npos ? DecodeWebp : DecodeHeif,
                              bytes);
}

INSTANTIATE_TEST_SUITE_P(Samples, ModernTruncated,
                         ::testing::Values("webp_lossless_alpha.webp", "webp_lossy.webp",
                                           "webp_animated.webp", "heic_alpha.heic",
                                           "avif_10bit.avif"));

// A header claiming more pixels than the program holds is refused before any
// pixel memory is taken.
Bytes WithSides(Bytes bytes, const char* box, int offset, std::uint32_t side, bool bigEndian) {
  const std::string text(bytes.begin(), bytes.end());
  const std::size_t at = text.find(box);
  if (at == std::string::npos) throw std::runtime_error(std::string("no ") + box);
  for (int i = 0; i < 2; ++i)
    for (int b = 0; b < 4; ++b)
      bytes[at + offset + 4 * i + b] =
          static_cast<std::uint8_t>(side >> (bigEndian ? 24 - 8 * b : 8 * b));
  return bytes;
}

TEST(ModernFormats, TooLargeIsRefusedBeforeDecoding) {
  // The lossless WebP's VP8L header: 14 bits of width - 1, then of height - 1.
  Bytes webp = ReadFileBytes(Sample("webp_lossless.webp"));
  const std::size_t vp8l = std::string(webp.begin(), webp.end()).find("VP8L") + 8;
  ASSERT_EQ(webp[vp8l], 0x2f);
  webp[vp8l + 1] = 0xff;
  webp[vp8l + 2] = 0xff;
  webp[vp8l + 3] = 0xff;
  webp[vp8l + 4] = 0x0f | (webp[vp8l + 4] & 0xf0);  // 16384 x 16384
  EXPECT_NE(test::DecodeError(DecodeWebp, webp).find("too large"), std::string::npos);

  // The 'ispe' property: version and flags, then 32-bit width and height. The
  // sides pass libheif's own limit; their product passes ours not.
  const Bytes heic = WithSides(ReadFileBytes(Sample("heic_lossy.heic")), "ispe", 8, 20000, true);
  EXPECT_NE(test::DecodeError(DecodeHeif, heic).find("too large"), std::string::npos);
  const Bytes huge = WithSides(ReadFileBytes(Sample("avif_lossy.avif")), "ispe", 8, 40000, true);
  EXPECT_NE(test::DecodeError(DecodeHeif, huge), "");
}

TEST(ModernFormats, OtherFilesAreNotTakenForThem) {
  const Bytes png = test::ReadFixture("png/rgb8.png");
  EXPECT_EQ(test::DecodeError(DecodeWebp, png), "not a WebP file");
  EXPECT_EQ(test::DecodeError(DecodeHeif, png), "not a HEIF or AVIF file");
  EXPECT_EQ(test::DecodeError(DecodeHeif, {}), "not a HEIF or AVIF file");
}

}  // namespace
}  // namespace kv
