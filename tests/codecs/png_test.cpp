// Gamma correction of PNG files: pictures written here, chunk by chunk, in four
// formats and with several gAMA values, decoded and compared with the gamma
// formula, 255 * sample ^ (1 / (file gamma * 2.2)), composited on the white
// background.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "codecs/decoders.h"
#include "codecs/picture_fixtures.h"

namespace kv {
namespace {

using test::Bytes;

constexpr int kSide = 16;  // 256 pixels: pixel i carries level i of the ramps below

struct Format {
  const char* name;
  int colourType;  // as in IHDR: 0 grey, 2 RGB, 3 palette, 6 RGB with alpha
  int depth;
};

// Red, green, blue and alpha of pixel i as stored, each 0 to 2^depth - 1. The
// sixteen-bit ramps leave out the deepest shadows, where libpng's correction
// table (eleven bits of input) strays from the formula by more than a level.
std::array<unsigned, 4> Stored(const Format& f, unsigned i) {
  const unsigned fade = 255 - i / 2;  // coverage 128 to 255
  switch (f.colourType) {
    case 0:
      return {i, i, i, 255};
    case 2:
      return {i, (3 * i + 85) & 255, (7 * i + 170) & 255, 255};
    case 3:
      return {255 - i, (5 * i) & 255, i, fade};
    default:
      return {2048 + 248 * i, 2053 + 248 * (255 - i), 2059 + 248 * ((7 * i) & 255), 257 * fade};
  }
}

void Put32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(Bytes& png, const char* type, const Bytes& data) {
  Put32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  Put32(png, static_cast<std::uint32_t>(
                 crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
}

Bytes Deflate(const Bytes& raw, int level = Z_DEFAULT_COMPRESSION) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  EXPECT_EQ(compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level), Z_OK);
  out.resize(size);
  return out;
}

// The smallest ICC profile libpng accepts: a header (display class, XYZ
// connection space, D50 white) and no tags.
Bytes IccProfile(bool grey) {
  Bytes p(132, 0);
  auto at = [&](std::size_t pos, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) p[pos + k] = static_cast<std::uint8_t>(v >> (24 - 8 * k));
  };
  at(0, 132);
  at(8, 0x02100000);  // version 2.1
  std::memcpy(&p[12], "mntr", 4);
  std::memcpy(&p[16], grey ? "GRAY" : "RGB ", 4);
  std::memcpy(&p[20], "XYZ ", 4);
  std::memcpy(&p[36], "acsp", 4);
  at(68, 0xF6D6);   // D50 in s15.16: X 0.9642,
  at(72, 0x10000);  // Y 1.0,
  at(76, 0xD32D);   // Z 0.8249
  return p;
}

enum class ColourChunk { None, Srgb, Iccp };

// A 16 x 16 picture of `f` with a gAMA chunk of `gamma` (none when 0).
Bytes MakePng(const Format& f, double gamma, ColourChunk colour) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr;
  Put32(ihdr, kSide);
  Put32(ihdr, kSide);
  ihdr.insert(ihdr.end(), {static_cast<std::uint8_t>(f.depth),
                           static_cast<std::uint8_t>(f.colourType), 0, 0, 0});
  PutChunk(png, "IHDR", ihdr);
  if (gamma > 0) {
    Bytes g;
    Put32(g, static_cast<std::uint32_t>(std::lround(gamma * 100000)));
    PutChunk(png, "gAMA", g);
  }
  if (colour == ColourChunk::Srgb) PutChunk(png, "sRGB", {0});
  if (colour == ColourChunk::Iccp) {
    Bytes iccp = {'s', 'c', 'r', 'e', 'e', 'n', 0, 0};
    // Stored, not compressed: libpng takes an iCCP chunk of fewer than 92 bytes
    // for too short, whatever it holds.
    const Bytes profile = Deflate(IccProfile(f.colourType == 0), Z_NO_COMPRESSION);
    iccp.insert(iccp.end(), profile.begin(), profile.end());
    PutChunk(png, "iCCP", iccp);
  }
  if (f.colourType == 3) {
    Bytes plte, trns;
    for (unsigned i = 0; i < 256; ++i) {
      const auto s = Stored(f, i);
      plte.insert(plte.end(), {static_cast<std::uint8_t>(s[0]), static_cast<std::uint8_t>(s[1]),
                               static_cast<std::uint8_t>(s[2])});
      trns.push_back(static_cast<std::uint8_t>(s[3]));
    }
    PutChunk(png, "PLTE", plte);
    PutChunk(png, "tRNS", trns);
  }
  const int channels = f.colourType == 0 || f.colourType == 3 ? 1 : f.colourType == 2 ? 3 : 4;
  Bytes raw;
  for (unsigned i = 0; i < kSide * kSide; ++i) {
    if (i % kSide == 0) raw.push_back(0);  // no filter
    const auto s = Stored(f, i);
    for (int c = 0; c < channels; ++c) {
      const unsigned v = f.colourType == 3 ? i : s[c];
      if (f.depth == 16) raw.push_back(static_cast<std::uint8_t>(v >> 8));
      raw.push_back(static_cast<std::uint8_t>(v));
    }
  }
  PutChunk(png, "IDAT", Deflate(raw));
  PutChunk(png, "IEND", {});
  return png;
}

struct GammaCase {
  double gamma;
  ColourChunk colour;
  bool corrected;
};

TEST(PngGamma, ColourSamplesFollowTheFileGammaUnlessAColourSpaceSaysOtherwise) {
  static constexpr Format kFormats[] = {
      {"grey 8", 0, 8}, {"palette 8 with tRNS", 3, 8}, {"RGB 8", 2, 8}, {"RGBA 16", 6, 16}};
  static constexpr GammaCase kCases[] = {
      {1.0, ColourChunk::None, true},
      {2.5, ColourChunk::None, true},
      // Within libpng's threshold of 1 / 2.2: stored as the screen shows them.
      {0.45455, ColourChunk::None, false},
      {0.45, ColourChunk::None, false},
      {0.47, ColourChunk::None, false},
      // A colour space chunk wins over gAMA.
      {1.0, ColourChunk::Srgb, false},
      {1.0, ColourChunk::Iccp, false},
  };
  for (const Format& f : kFormats) {
    const Bytes plainBytes = MakePng(f, 0, ColourChunk::None);
    const Bitmap plain = DecodePng(plainBytes.data(), plainBytes.size());
    for (const GammaCase& c : kCases) {
      SCOPED_TRACE(std::string(f.name) + ", gamma " + std::to_string(c.gamma) +
                   (c.colour == ColourChunk::Srgb   ? " with sRGB"
                    : c.colour == ColourChunk::Iccp ? " with iCCP"
                                                    : ""));
      const Bytes bytes = MakePng(f, c.gamma, c.colour);
      const Bitmap got = DecodePng(bytes.data(), bytes.size());
      const double exponent = c.corrected ? 1 / (c.gamma * 2.2) : 1;
      const double max = (1u << f.depth) - 1;
      auto level = [&](unsigned v) {
        return static_cast<std::uint8_t>(std::lround(255 * std::pow(v / max, exponent)));
      };
      // Eight-bit samples go through libpng's exactly rounded table; sixteen-bit
      // ones through a coarser one that may round the other way.
      test::ExpectPicture(
          got, kSide, kSide,
          [&](int x, int y) {
            const auto s = Stored(f, static_cast<unsigned>(y * kSide + x));
            // Alpha is linear: scaled, never corrected.
            const auto a = static_cast<std::uint8_t>(std::lround(255 * (s[3] / max)));
            return MakeColour(BlendOver(level(s[0]), a, 255), BlendOver(level(s[1]), a, 255),
                              BlendOver(level(s[2]), a, 255));
          },
          c.corrected && f.depth == 16 ? 1 : 0);
      if (!c.corrected) {
        EXPECT_TRUE(got == plain) << "differs from the file without gAMA";
      }
    }
  }
}

}  // namespace
}  // namespace kv
