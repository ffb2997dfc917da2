#pragma once
// What the decoders share: the failure they raise, the size limits they enforce
// and the colour that transparent pixels are laid on.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "codecs/bitmap.h"

namespace kv {

// A picture that cannot be decoded or written. The message says what is wrong;
// LoadImageFile puts the file name in front of it.
class ImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Limits on decoded pictures, checked before any pixel memory is taken. The
// pixel limit keeps a 24-bit picture under 300 MB, which the 32-bit program can
// still hold next to a screen-sized copy.
inline constexpr int kMaxImageSide = 32768;
inline constexpr std::uint64_t kMaxImagePixels = 100'000'000;

// Whether width × height is a picture we are willing to hold.
[[nodiscard]] inline bool ImageSizeAllowed(std::int64_t width, std::int64_t height) noexcept {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <= kMaxImagePixels;
}

// Raises ImageError unless width × height is a picture we are willing to hold.
inline void CheckImageSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0)
    throw ImageError("the picture has no pixels (" + std::to_string(width) + " x " +
                     std::to_string(height) + ")");
  if (!ImageSizeAllowed(width, height))
    throw ImageError("the picture is too large (" + std::to_string(width) + " x " +
                     std::to_string(height) + ")");
}

// Transparent and partly transparent pixels of every format are composited onto
// this one colour: white.
inline constexpr Colour kTransparencyBackground = MakeColour(255, 255, 255);

// value over the background channel `back` with coverage alpha (0..255), rounded
// to nearest.
constexpr std::uint8_t BlendOver(std::uint8_t value, std::uint8_t alpha, std::uint8_t back) {
  return static_cast<std::uint8_t>(
      (static_cast<unsigned>(value) * alpha + static_cast<unsigned>(back) * (255u - alpha) + 127u) /
      255u);
}

}  // namespace kv
