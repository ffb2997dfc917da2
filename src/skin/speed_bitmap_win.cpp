#include "skin/speed_bitmap_win.h"

#include <cstring>

#include "skin/organic_shape_error.h"

namespace kv::skin {
namespace {

BITMAPINFO InfoFor(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

TSpeedBitmap::~TSpeedBitmap() { Release(); }

void TSpeedBitmap::Release() noexcept {
  if (dc_) {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  dc_ = nullptr;
  previous_ = nullptr;
  dib_.reset();
  width_ = height_ = 0;
  stride_ = 0;
  line0_ = nullptr;
}

void TSpeedBitmap::SetSize(int width, int height) {
  Release();
  if (width <= 0 || height <= 0) return;
  const BITMAPINFO info = InfoFor(width, height);
  void* bits = nullptr;
  GdiBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits)
    throw OrganicShapeException::Failed("TSpeedBitmap", "SetSize", "CreateDIBSection");
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) throw OrganicShapeException::Failed("TSpeedBitmap", "SetSize", "CreateCompatibleDC");
  dib_ = std::move(dib);
  dc_ = dc;
  previous_ = SelectObject(dc_, dib_.get());
  width_ = width;
  height_ = height;
  // (width × 24 + 31) rounded down to whole 32-bit words, in bytes.
  stride_ = static_cast<std::ptrdiff_t>(Bitmap::StrideFor(width));
  line0_ = static_cast<std::uint8_t*>(bits) + (height - 1) * stride_;
}

void TSpeedBitmap::Assign(const Bitmap& picture) {
  if (picture.Width() != width_ || picture.Height() != height_)
    SetSize(picture.Width(), picture.Height());
  if (Empty()) return;
  GdiFlush();
  std::memcpy(line0_ - (height_ - 1) * stride_, picture.Bits(), picture.SizeBytes());
}

Bitmap TSpeedBitmap::ToBitmap() const {
  Bitmap out(width_, height_);
  if (Empty()) return out;
  GdiFlush();
  std::memcpy(out.Bits(), line0_ - (height_ - 1) * stride_, out.SizeBytes());
  return out;
}

Colour TSpeedBitmap::Pixel(int x, int y) const noexcept {
  const std::uint8_t* p = line0_ - y * stride_ + 3 * x;
  return MakeColour(p[2], p[1], p[0]);
}

void TSpeedBitmap::SetPixel(int x, int y, Colour c) noexcept {
  std::uint8_t* p = line0_ - y * stride_ + 3 * x;
  p[0] = BlueOf(c);
  p[1] = GreenOf(c);
  p[2] = RedOf(c);
}

void TSpeedBitmap::Fill(Colour c) noexcept {
  GdiFlush();
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) SetPixel(x, y, c);
}

void DrawBitmap(HDC dc, int x, int y, const Bitmap& picture) {
  if (picture.Empty()) return;
  const BITMAPINFO info = InfoFor(picture.Width(), picture.Height());
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(picture.Width()),
                    static_cast<DWORD>(picture.Height()), 0, 0, 0,
                    static_cast<UINT>(picture.Height()), picture.Bits(), &info, DIB_RGB_COLORS);
}

void StretchBitmap(HDC dc, const RECT& target, const Bitmap& picture) {
  if (picture.Empty()) return;
  const BITMAPINFO info = InfoFor(picture.Width(), picture.Height());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                0, 0, picture.Width(), picture.Height(), picture.Bits(), &info, DIB_RGB_COLORS,
                SRCCOPY);
}

}  // namespace kv::skin
