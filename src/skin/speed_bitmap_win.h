#pragma once
// TSpeedBitmap: a 24-bit DIB section with its own memory DC, for pictures that GDI
// draws into (captions) and that the effects rewrite pixel by pixel. Its rows have
// the Bitmap layout (blue, green, red, bottom-up, 4-byte stride), so a Bitmap moves
// in and out with one block copy; a Bitmap that is only shown is drawn straight
// from its own memory (DrawBitmap), without any copy.

#include <windows.h>

#include <cstdint>

#include "base/handle_win.h"
#include "codecs/bitmap.h"
#include "skin/pixel_rows.h"

namespace kv::skin {

class TSpeedBitmap {
 public:
  TSpeedBitmap() = default;
  TSpeedBitmap(int width, int height) { SetSize(width, height); }
  explicit TSpeedBitmap(const Bitmap& picture) { Assign(picture); }
  TSpeedBitmap(const TSpeedBitmap&) = delete;
  TSpeedBitmap& operator=(const TSpeedBitmap&) = delete;
  ~TSpeedBitmap();

  // A new black picture; a side of 0 or less makes it empty. Raises
  // OrganicShapeException when the system cannot make the section.
  void SetSize(int width, int height);
  void Assign(const Bitmap& picture);
  [[nodiscard]] Bitmap ToBitmap() const;

  [[nodiscard]] int Width() const noexcept { return width_; }
  [[nodiscard]] int Height() const noexcept { return height_; }
  [[nodiscard]] bool Empty() const noexcept { return width_ == 0 || height_ == 0; }
  // The cached address of scan line 0 (the top row) and the row stride.
  [[nodiscard]] std::uint8_t* ScanLine0() const noexcept { return line0_; }
  [[nodiscard]] std::ptrdiff_t Stride() const noexcept { return stride_; }
  [[nodiscard]] Colour Pixel(int x, int y) const noexcept;
  void SetPixel(int x, int y, Colour c) noexcept;
  void Fill(Colour c) noexcept;
  [[nodiscard]] PixelRows Rows() const noexcept { return {line0_, stride_, width_, height_}; }

  // The memory DC with the picture selected; null while empty. GDI output must be
  // flushed (GdiFlush) before the pixels are read, which Rows' users do.
  [[nodiscard]] HDC DC() const noexcept { return dc_; }
  [[nodiscard]] HBITMAP Handle() const noexcept { return dib_.get(); }

 private:
  void Release() noexcept;

  int width_ = 0, height_ = 0;
  std::ptrdiff_t stride_ = 0;
  std::uint8_t* line0_ = nullptr;
  GdiBitmap dib_;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// Draws `picture` at (x, y) of `dc` from the picture's own memory.
void DrawBitmap(HDC dc, int x, int y, const Bitmap& picture);
// Draws `picture` stretched into the rectangle.
void StretchBitmap(HDC dc, const RECT& target, const Bitmap& picture);

}  // namespace kv::skin
