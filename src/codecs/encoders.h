#pragma once
// Writing pictures: 24-bit Windows bitmaps (the wallpaper file) and JPEG (the
// thumbnails). Each has an in-memory form and one that replaces a file
// atomically; failures raise ImageError (encoding) or FileError (writing).

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/bitmap.h"

namespace kv {

// A 24-bit bottom-up BMP of the picture: file header, 40-byte info header, rows.
[[nodiscard]] std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap);
void SaveBmp(const Bitmap& bitmap, const std::string& path);

// The JPEG quality value of the thumbnail settings: 100 keeps the library's own
// default quality (75), a lower value is the quality itself, 0 counts as 1 and
// values above 100 as 100.
inline constexpr int kJpegKeepDefaultQuality = 100;

[[nodiscard]] std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bitmap, int quality);
void SaveJpeg(const Bitmap& bitmap, int quality, const std::string& path);

}  // namespace kv
