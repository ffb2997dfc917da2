#include "codecs/bitmap.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kv {

Bitmap::Bitmap(int width, int height) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  stride_ = StrideFor(width);
  pixels_.assign(stride_ * static_cast<std::size_t>(height), 0);
}

void Bitmap::Fill(Colour c) noexcept {
  for (int y = 0; y < height_; ++y) {
    std::uint8_t* p = ScanLine(y);
    for (int x = 0; x < width_; ++x, p += 3) {
      p[0] = BlueOf(c);
      p[1] = GreenOf(c);
      p[2] = RedOf(c);
    }
  }
}

void Bitmap::Swap(Bitmap& other) noexcept {
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(stride_, other.stride_);
  pixels_.swap(other.pixels_);
}

bool operator==(const Bitmap& a, const Bitmap& b) noexcept {
  if (a.width_ != b.width_ || a.height_ != b.height_) return false;
  // Only the pixels count, not the row padding.
  const std::size_t row = static_cast<std::size_t>(a.width_) * 3;
  for (int y = 0; y < a.height_; ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), row) != 0) return false;
  return true;
}

std::vector<std::uint8_t> ToBgrx32(const Bitmap& bitmap) {
  std::vector<std::uint8_t> out(static_cast<std::size_t>(bitmap.Width()) *
                                static_cast<std::size_t>(bitmap.Height()) * 4);
  std::uint8_t* o = out.data();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 3, o += 4) {
      o[0] = p[0];
      o[1] = p[1];
      o[2] = p[2];
      o[3] = 0;
    }
  }
  return out;
}

}  // namespace kv
