#pragma once
// A view of 24-bit blue-green-red rows, wherever they live: a Bitmap, or the bits
// of a DIB section. Row y is at line0 − y × stride, so bottom-up memory (the DIB
// layout) has a positive stride.

#include <cstddef>
#include <cstdint>

#include "codecs/bitmap.h"

namespace kv::skin {

template <typename Byte>
struct BasicPixelRows {
  Byte* line0 = nullptr;
  std::ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;

  [[nodiscard]] Byte* Row(int y) const noexcept { return line0 - y * stride; }
  [[nodiscard]] Byte* At(int x, int y) const noexcept { return Row(y) + 3 * x; }
};
using PixelRows = BasicPixelRows<std::uint8_t>;
using ConstPixelRows = BasicPixelRows<const std::uint8_t>;

inline PixelRows RowsOf(Bitmap& b) {
  if (b.Empty()) return {};
  return {b.ScanLine(0), static_cast<std::ptrdiff_t>(b.Stride()), b.Width(), b.Height()};
}
inline ConstPixelRows RowsOf(const Bitmap& b) {
  if (b.Empty()) return {};
  return {b.ScanLine(0), static_cast<std::ptrdiff_t>(b.Stride()), b.Width(), b.Height()};
}
inline ConstPixelRows AsConst(const PixelRows& r) { return {r.line0, r.stride, r.width, r.height}; }

}  // namespace kv::skin
