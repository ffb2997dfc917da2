#pragma once
// The picture every Targa, PCX, Photoshop and Paint Shop Pro fixture shows (see
// tests/data/codecs/make_tga_pcx_psd.sh and make_psp.py), and helpers to compare
// decoded bitmaps with it.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "codecs/bitmap.h"
#include "codecs/file_io.h"
#include "codecs/image_error.h"

namespace kv::test {

using Decoder = Bitmap (*)(const std::uint8_t*, std::size_t);
using Bytes = std::vector<std::uint8_t>;

inline constexpr int kFixtureWidth = 7;
inline constexpr int kFixtureHeight = 5;

inline Bytes ReadFixture(const std::string& relative) {
  return ReadFileBytes(std::string(KV_TEST_DATA_DIR) + "/codecs/" + relative);
}

inline Colour FixtureRgb(int x, int y) {
  return MakeColour(static_cast<std::uint8_t>(37 * x + 11 * y),
                    static_cast<std::uint8_t>(53 * y + 7 * x),
                    static_cast<std::uint8_t>(200 - 20 * x - 9 * y));
}
inline std::uint8_t FixtureAlpha(int x) {
  static constexpr std::uint8_t kAlpha[] = {0, 40, 90, 128, 170, 220, 255};
  return kAlpha[x];
}
inline Colour FixtureGrey(int x, int y) {
  const auto v = static_cast<std::uint8_t>(35 * x + 8 * y);
  return MakeColour(v, v, v);
}
inline Colour FixtureBilevel(int x, int y) {
  return (x + y) % 2 ? MakeColour(0, 0, 0) : MakeColour(255, 255, 255);
}
// `c` with coverage `a` laid on the white background.
inline Colour OverWhite(Colour c, std::uint8_t a) {
  return MakeColour(BlendOver(RedOf(c), a, 255), BlendOver(GreenOf(c), a, 255),
                    BlendOver(BlueOf(c), a, 255));
}
inline Colour FixtureRgbOverWhite(int x, int y) {
  return OverWhite(FixtureRgb(x, y), FixtureAlpha(x));
}

// Every pixel of `b` matches `expected` to within `tolerance` in each channel.
inline void ExpectPicture(const Bitmap& b, int width, int height,
                          const std::function<Colour(int, int)>& expected, int tolerance = 0) {
  ASSERT_EQ(b.Width(), width);
  ASSERT_EQ(b.Height(), height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Colour got = b.Pixel(x, y), want = expected(x, y);
      const bool close = std::abs(RedOf(got) - RedOf(want)) <= tolerance &&
                         std::abs(GreenOf(got) - GreenOf(want)) <= tolerance &&
                         std::abs(BlueOf(got) - BlueOf(want)) <= tolerance;
      ASSERT_TRUE(close) << "pixel (" << x << ", " << y << ") is " << std::hex << got
                         << ", expected " << want;
    }
  }
}
inline void ExpectFixturePicture(const Bitmap& b, const std::function<Colour(int, int)>& expected,
                                 int tolerance = 0) {
  ExpectPicture(b, kFixtureWidth, kFixtureHeight, expected, tolerance);
}

// A binary PPM ("P6", maxval 255) as a bitmap.
inline Bitmap ReadPpm(const Bytes& ppm) {
  std::size_t pos = 2;
  auto number = [&] {
    while (pos < ppm.size() && (ppm[pos] == ' ' || ppm[pos] == '\n')) ++pos;
    int v = 0;
    while (pos < ppm.size() && ppm[pos] >= '0' && ppm[pos] <= '9') v = v * 10 + (ppm[pos++] - '0');
    return v;
  };
  const int width = number(), height = number();
  number();
  ++pos;
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x, pos += 3)
      b.SetPixel(x, y, MakeColour(ppm[pos], ppm[pos + 1], ppm[pos + 2]));
  return b;
}

// The message of the ImageError that decoding `bytes` raises, or "" when it
// decodes.
inline std::string DecodeError(Decoder decode, const Bytes& bytes) {
  try {
    decode(bytes.data(), bytes.size());
  } catch (const ImageError& e) {
    return e.what();
  }
  return "";
}

// Decoding every proper prefix of `bytes` fails with ImageError (nothing else
// escapes, nothing reads past the end: each prefix is its own allocation) or,
// where `mayEndEarly` and the prefix holds all the decoder needs, gives the same
// picture as the whole file.
inline void ExpectTruncationsFail(Decoder decode, const Bytes& bytes, bool mayEndEarly = false) {
  const Bitmap whole = decode(bytes.data(), bytes.size());
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const Bytes prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    try {
      const Bitmap b = decode(prefix.data(), prefix.size());
      EXPECT_TRUE(mayEndEarly) << "a prefix of " << n << " bytes decoded";
      EXPECT_EQ(b, whole) << "a prefix of " << n << " bytes gave another picture";
    } catch (const ImageError&) {
    }
  }
}

// A fixture file (under tests/data/codecs/) and the picture it shows.
struct FixtureCase {
  const char* file;
  Colour (*expected)(int, int);
  int tolerance = 0;
  bool usesEveryByte = true;  // false: data the decoder has no need of ends the file
};

inline void ExpectFixtureShown(Decoder decode, const FixtureCase& c) {
  const Bytes bytes = ReadFixture(c.file);
  ExpectFixturePicture(decode(bytes.data(), bytes.size()), c.expected, c.tolerance);
}
inline void ExpectFixtureTruncationsFail(Decoder decode, const FixtureCase& c) {
  ExpectTruncationsFail(decode, ReadFixture(c.file), !c.usesEveryByte);
}

// A sound input that `change` spoils, and the message decoding it must raise.
template <class Input>
struct BadCase {
  const char* name;
  void (*change)(Input&);
  const char* message;
};
struct CaseName {
  template <class Param>
  std::string operator()(const testing::TestParamInfo<Param>& info) const {
    return info.param.name;
  }
};

}  // namespace kv::test
