#pragma once
// The orientation a camera records in a JPEG's Exif block (APP1), and turning a
// decoded picture upright by it. Values 1 to 8 as Exif defines them: 1 upright,
// 2 mirrored left-right, 3 turned half round, 4 mirrored top-bottom, 5 mirrored
// along the main diagonal, 6 to be turned a quarter clockwise, 7 mirrored along
// the other diagonal, 8 to be turned a quarter anticlockwise.

#include <cstddef>
#include <cstdint>

#include "codecs/bitmap.h"

namespace kv {

// The orientation in one APP1 marker's data (starting with "Exif\0\0"); 0 when
// the marker holds no valid orientation. Reads nothing outside the `size` bytes.
[[nodiscard]] int ExifOrientation(const std::uint8_t* data, std::size_t size) noexcept;
// The same for an Exif block stored by other containers, which hold either the
// TIFF block alone or the TIFF block after "Exif\0\0".
[[nodiscard]] int ExifBlockOrientation(const std::uint8_t* data, std::size_t size) noexcept;

// Orientations 5 to 8 exchange width and height.
[[nodiscard]] constexpr bool OrientationSwapsSides(int orientation) noexcept {
  return orientation >= 5 && orientation <= 8;
}

// The picture as it is meant to be seen; values outside 2..8 return it unchanged.
[[nodiscard]] Bitmap ApplyOrientation(Bitmap picture, int orientation);

}  // namespace kv
