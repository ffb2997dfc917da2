#pragma once
// The one picture type of the program: 24 bits per pixel, bytes blue, green, red,
// rows bottom-up in memory with each row padded to a multiple of 4 bytes, the
// layout of a Windows device-independent bitmap. GDI draws it and BMP files are
// written from it without copying.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv {

// A colour as the system's colour reference: red in the low byte, then green,
// then blue.
using Colour = std::uint32_t;

constexpr Colour MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
constexpr std::uint8_t RedOf(Colour c) { return static_cast<std::uint8_t>(c); }
constexpr std::uint8_t GreenOf(Colour c) { return static_cast<std::uint8_t>(c >> 8); }
constexpr std::uint8_t BlueOf(Colour c) { return static_cast<std::uint8_t>(c >> 16); }

class Bitmap {
 public:
  Bitmap() = default;
  // A black picture; a size with a negative or zero side gives an empty one.
  Bitmap(int width, int height);

  [[nodiscard]] int Width() const noexcept { return width_; }
  [[nodiscard]] int Height() const noexcept { return height_; }
  [[nodiscard]] bool Empty() const noexcept { return width_ == 0 || height_ == 0; }
  // Bytes per row: width × 3 rounded up to a multiple of 4.
  [[nodiscard]] std::size_t Stride() const noexcept { return stride_; }
  [[nodiscard]] static std::size_t StrideFor(int width) noexcept {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  }

  // Row y counted from the top of the picture (row 0 is the last in memory).
  [[nodiscard]] std::uint8_t* ScanLine(int y) noexcept {
    return pixels_.data() + static_cast<std::size_t>(height_ - 1 - y) * stride_;
  }
  [[nodiscard]] const std::uint8_t* ScanLine(int y) const noexcept {
    return pixels_.data() + static_cast<std::size_t>(height_ - 1 - y) * stride_;
  }
  // All rows in memory order, the bottom row first (a DIB's bits).
  [[nodiscard]] std::uint8_t* Bits() noexcept { return pixels_.data(); }
  [[nodiscard]] const std::uint8_t* Bits() const noexcept { return pixels_.data(); }
  [[nodiscard]] std::size_t SizeBytes() const noexcept { return pixels_.size(); }

  [[nodiscard]] Colour Pixel(int x, int y) const noexcept {
    const std::uint8_t* p = ScanLine(y) + 3 * static_cast<std::size_t>(x);
    return MakeColour(p[2], p[1], p[0]);
  }
  void SetPixel(int x, int y, Colour c) noexcept {
    std::uint8_t* p = ScanLine(y) + 3 * static_cast<std::size_t>(x);
    p[0] = BlueOf(c);
    p[1] = GreenOf(c);
    p[2] = RedOf(c);
  }
  void Fill(Colour c) noexcept;

  void Swap(Bitmap& other) noexcept;
  friend bool operator==(const Bitmap& a, const Bitmap& b) noexcept;
  friend bool operator!=(const Bitmap& a, const Bitmap& b) noexcept { return !(a == b); }

 private:
  int width_ = 0;
  int height_ = 0;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> pixels_;
};

// The 32-bit form of a picture: per pixel the bytes blue, green, red and one
// unused byte, rows top-down without padding.
[[nodiscard]] std::vector<std::uint8_t> ToBgrx32(const Bitmap& bitmap);

}  // namespace kv
