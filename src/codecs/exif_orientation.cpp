#include "codecs/exif_orientation.h"

#include <cstring>
#include <utility>

namespace kv {

namespace {

constexpr std::size_t kExifHeader = 6;  // "Exif\0\0" before the TIFF block

bool HasExifHeader(const std::uint8_t* data, std::size_t size) noexcept {
  return size >= kExifHeader && std::memcmp(data, "Exif\0\0", kExifHeader) == 0;
}

// The orientation in a TIFF block (byte order mark, 42, first IFD).
int TiffOrientation(const std::uint8_t* tiff, std::size_t length) noexcept {
  if (length < 8) return 0;
  bool little;
  if (tiff[0] == 'I' && tiff[1] == 'I')
    little = true;
  else if (tiff[0] == 'M' && tiff[1] == 'M')
    little = false;
  else
    return 0;
  auto u16 = [&](std::size_t at) -> unsigned {
    return little ? tiff[at] | (tiff[at + 1] << 8) : (tiff[at] << 8) | tiff[at + 1];
  };
  auto u32 = [&](std::size_t at) -> std::uint32_t {
    return little ? u16(at) | (static_cast<std::uint32_t>(u16(at + 2)) << 16)
                  : (static_cast<std::uint32_t>(u16(at)) << 16) | u16(at + 2);
  };
  if (u16(2) != 42) return 0;
  const std::uint32_t ifd = u32(4);
  if (ifd < 8 || ifd > length - 2) return 0;
  const unsigned count = u16(ifd);
  // Only the entries that lie inside the data are looked at.
  const std::size_t fit = (length - ifd - 2) / 12;
  for (std::size_t i = 0; i < count && i < fit; ++i) {
    const std::size_t e = ifd + 2 + 12 * i;
    if (u16(e) != 0x0112) continue;
    // One SHORT, held in the first two bytes of the value field.
    if (u16(e + 2) != 3 || u32(e + 4) != 1) return 0;
    const unsigned value = u16(e + 8);
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 0;
  }
  return 0;
}

}  // namespace

int ExifOrientation(const std::uint8_t* data, std::size_t size) noexcept {
  if (!HasExifHeader(data, size)) return 0;
  return TiffOrientation(data + kExifHeader, size - kExifHeader);
}

int ExifBlockOrientation(const std::uint8_t* data, std::size_t size) noexcept {
  if (HasExifHeader(data, size)) return ExifOrientation(data, size);
  return TiffOrientation(data, size);
}

Bitmap ApplyOrientation(Bitmap picture, int orientation) {
  if (orientation < 2 || orientation > 8 || picture.Empty()) return picture;
  const int w = picture.Width(), h = picture.Height();
  const bool swap = OrientationSwapsSides(orientation);
  Bitmap out(swap ? h : w, swap ? w : h);
  // Output row y starts at source pixel (sx, sy) and walks (dx, dy) per pixel.
  const auto stride = static_cast<std::ptrdiff_t>(picture.Stride());
  for (int y = 0; y < out.Height(); ++y) {
    int sx = 0, sy = 0, dx = 0, dy = 0;
    switch (orientation) {
      case 2:
        sx = w - 1;
        sy = y;
        dx = -1;
        break;
      case 3:
        sx = w - 1;
        sy = h - 1 - y;
        dx = -1;
        break;
      case 4:
        sx = 0;
        sy = h - 1 - y;
        dx = 1;
        break;
      case 5:
        sx = y;
        sy = 0;
        dy = 1;
        break;
      case 6:
        sx = y;
        sy = h - 1;
        dy = -1;
        break;
      case 7:
        sx = w - 1 - y;
        sy = h - 1;
        dy = -1;
        break;
      default:
        sx = w - 1 - y;
        sy = 0;
        dy = 1;
        break;  // 8
    }
    // Rows are stored bottom-up: one row down the picture is one stride back.
    const std::ptrdiff_t step = 3 * dx - stride * dy;
    std::ptrdiff_t at = picture.ScanLine(sy) + 3 * sx - picture.Bits();
    std::uint8_t* d = out.ScanLine(y);
    for (int x = 0; x < out.Width(); ++x, d += 3, at += step) {
      const std::uint8_t* s = picture.Bits() + at;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
  return out;
}

}  // namespace kv
