#pragma once
// Small pixel helpers shared by the decoders: widening and narrowing samples, storing a colour into
// a bitmap row and laying partly transparent pixels on the one background colour.

#include <array>
#include <cstddef>
#include <cstdint>

#include "codecs/bitmap.h"
#include "codecs/image_error.h"

namespace kv::pixel {

// A 5-bit sample widened to 8 bits so that 0 stays 0 and 31 becomes 255.
constexpr std::uint8_t Expand5(unsigned v) {
  return static_cast<std::uint8_t>(((v & 31u) << 3) | ((v & 31u) >> 2));
}

// A 16-bit sample to 8 bits, rounded to nearest (65535 → 255).
constexpr std::uint8_t Narrow16(unsigned v) { return static_cast<std::uint8_t>((v + 128u) / 257u); }

// A sample of `bits` (1 to 16) reduced to 8 bits, rounded to nearest: 1023
// becomes 255 and 512 becomes 128. The largest value is odd, so no sample falls
// halfway between two results. A value above the largest counts as the largest.
constexpr std::uint8_t NarrowBits(unsigned v, int bits) {
  const unsigned max = (1u << bits) - 1u;
  if (v > max) v = max;
  return static_cast<std::uint8_t>((v * 255u + max / 2u) / max);
}

// x · y / 255 rounded to nearest, for two 8-bit factors.
constexpr std::uint8_t Mul255(unsigned x, unsigned y) {
  const unsigned t = x * y + 128u;
  return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
}

// Writes `c` as the blue, green, red bytes of one bitmap pixel.
inline void Put(std::uint8_t* bgr, Colour c) noexcept {
  bgr[0] = BlueOf(c);
  bgr[1] = GreenOf(c);
  bgr[2] = RedOf(c);
}

// Lays the pixel at `bgr` with coverage `alpha` (0 transparent, 255 opaque) on
// kTransparencyBackground.
inline void BlendOverBackground(std::uint8_t* bgr, std::uint8_t alpha) noexcept {
  if (alpha == 255) return;
  bgr[0] = BlendOver(bgr[0], alpha, BlueOf(kTransparencyBackground));
  bgr[1] = BlendOver(bgr[1], alpha, GreenOf(kTransparencyBackground));
  bgr[2] = BlendOver(bgr[2], alpha, RedOf(kTransparencyBackground));
}

// Up to 256 colours; entries never set read as black, so a stray index in a
// damaged file gives a black pixel rather than a read outside the table.
using Palette = std::array<Colour, 256>;

// Palette of 2^bits evenly spaced greys, black first (bits 1 to 8).
inline Palette GreyRamp(int bits) {
  Palette p{};
  if (bits < 1 || bits > 8) return p;
  const unsigned last = (1u << bits) - 1u;
  for (unsigned i = 0; i <= last; ++i) {
    const auto v = static_cast<std::uint8_t>(i * 255u / last);
    p[i] = MakeColour(v, v, v);
  }
  return p;
}

// The value of pixel `x` in a row packed `bits` (1, 2, 4 or 8) to the byte, the
// leftmost pixel in the most significant bits.
inline unsigned PackedSample(const std::uint8_t* row, int x, int bits) noexcept {
  const unsigned bit = static_cast<unsigned>(x) * static_cast<unsigned>(bits);
  const unsigned shift = 8u - static_cast<unsigned>(bits) - (bit & 7u);
  return (row[bit >> 3] >> shift) & ((1u << bits) - 1u);
}

// Bytes of a row of `width` samples of `bits` each, packed to the byte.
constexpr std::size_t PackedRowBytes(std::int64_t width, int bits) {
  return static_cast<std::size_t>((width * bits + 7) / 8);
}

}  // namespace kv::pixel
