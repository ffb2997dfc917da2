#pragma once
// Loading a picture file into a Bitmap, the decoder chosen by the file name's
// extension (with its dot, lower-cased, cut to at most 5 characters):
//
//   .bmp .rle .dib                  Windows bitmap
//   .gif                            GIF
//   .jpg .jpeg                      JPEG
//   .png                            PNG
//   .tif .tiff                      TIFF
//   .tga .vst .icb .vda .win        Targa
//   .pcx .pcc                       PCX
//   .psd .pdd                       Photoshop
//   .psp                            Paint Shop Pro
//   .webp                           WebP
//   .heic .heif .avif               HEIF (HEVC or AV1 inside)

#include <string>

#include "codecs/bitmap.h"

namespace kv {

enum class ImageFamily { None, Bmp, Gif, Jpeg, Png, Tiff, Targa, Pcx, Psd, Psp, Webp, Heif };

// The extension as the table above reads it: from the last dot of the name part
// (after the last '\', '/' or ':'), lower-cased, at most 5 characters; empty
// when the name part has no dot.
[[nodiscard]] std::string ImageExtension(const std::string& fileName);
[[nodiscard]] ImageFamily ImageFamilyOf(const std::string& fileName);

struct LoadOptions {
  // JPEG only: decode reduced (by libjpeg's DCT scaling) as far as the width
  // stays at least this many pixels; 0 for full size. Other formats ignore it.
  int minWidth = 0;
};

// Fills `bitmap` from the file. An extension in no row leaves `bitmap` as it
// was; the other rows replace it with the decoded picture. Any failure raises
// ImageError ("<file name>: <what is wrong>") and leaves `bitmap` untouched.
void LoadImageFile(Bitmap& bitmap, const std::string& fileName, const LoadOptions& options = {});

// Inside a catch block, for a failure while reading or decoding `fileName`:
// raises it as LoadImageFile reports it, an ImageError whose message names the
// file. Exceptions of other kinds are raised again unchanged.
[[noreturn]] void RethrowNamed(const std::string& fileName);

}  // namespace kv
