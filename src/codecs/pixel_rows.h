#pragma once
// Writing decoded rows into a Bitmap row: from the byte orders the libraries and
// file formats deliver, with alpha composited onto kTransparencyBackground.

#include <cstddef>
#include <cstdint>

#include "codecs/bitmap.h"
#include "codecs/image_error.h"

namespace kv {

// `width` pixels of red, green, blue, alpha into a row of blue, green, red.
inline void PutRgbaRow(std::uint8_t* dst, const std::uint8_t* rgba, int width) noexcept {
  constexpr std::uint8_t backR = RedOf(kTransparencyBackground);
  constexpr std::uint8_t backG = GreenOf(kTransparencyBackground);
  constexpr std::uint8_t backB = BlueOf(kTransparencyBackground);
  for (int x = 0; x < width; ++x, dst += 3, rgba += 4) {
    const std::uint8_t a = rgba[3];
    dst[0] = BlendOver(rgba[2], a, backB);
    dst[1] = BlendOver(rgba[1], a, backG);
    dst[2] = BlendOver(rgba[0], a, backR);
  }
}

// `width` pixels of red, green, blue into a row of blue, green, red.
inline void PutRgbRow(std::uint8_t* dst, const std::uint8_t* rgb, int width) noexcept {
  for (int x = 0; x < width; ++x, dst += 3, rgb += 3) {
    dst[0] = rgb[2];
    dst[1] = rgb[1];
    dst[2] = rgb[0];
  }
}

// One pixel of a colour reference with coverage `alpha` (0 transparent .. 255
// opaque) into blue, green, red.
inline void PutBlended(std::uint8_t* dst, Colour c, std::uint8_t alpha) noexcept {
  dst[0] = BlendOver(BlueOf(c), alpha, BlueOf(kTransparencyBackground));
  dst[1] = BlendOver(GreenOf(c), alpha, GreenOf(kTransparencyBackground));
  dst[2] = BlendOver(RedOf(c), alpha, RedOf(kTransparencyBackground));
}

}  // namespace kv
