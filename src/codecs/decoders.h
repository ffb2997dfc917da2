#pragma once
// One decoder per file family. Each takes the whole file in memory and returns the
// picture, or raises ImageError saying what is wrong (without the file name,
// which LoadImageFile adds). None reads outside the bytes it is given, and each
// checks the picture size with CheckImageSize before taking pixel memory.

#include <cstddef>
#include <cstdint>

#include "codecs/bitmap.h"
#include "codecs/image_error.h"

namespace kv {

Bitmap DecodeBmp(const std::uint8_t* data, std::size_t size);
Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size);
// Reduced while decoding (DCT scaling by N/8) to the smallest size whose width,
// as displayed after the Exif orientation, is still at least minWidth; 0 or a
// width beyond the picture's gives the full size.
Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size, int minWidth);
Bitmap DecodePng(const std::uint8_t* data, std::size_t size);
Bitmap DecodeGif(const std::uint8_t* data, std::size_t size);
Bitmap DecodeTiff(const std::uint8_t* data, std::size_t size);
Bitmap DecodeTarga(const std::uint8_t* data, std::size_t size);
Bitmap DecodePcx(const std::uint8_t* data, std::size_t size);
Bitmap DecodePsd(const std::uint8_t* data, std::size_t size);
Bitmap DecodePsp(const std::uint8_t* data, std::size_t size);
Bitmap DecodeWebp(const std::uint8_t* data, std::size_t size);
// HEIC, HEIF and AVIF: the one container format, whichever codec it holds.
Bitmap DecodeHeif(const std::uint8_t* data, std::size_t size);

}  // namespace kv
