#pragma once
// A picture file's size read from its header alone, without decoding its
// pixels: for choosing a picture by orientation among many.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "wallpaper/wallpaper_render.h"

namespace kv {

// The size as displayed (a JPEG turned on its side by its Exif orientation has
// its sides exchanged), from the first bytes of a file of the family its name
// gives. Nothing for a damaged or too short header, and for the families whose
// size is not at the start (TIFF, Paint Shop Pro).
[[nodiscard]] std::optional<PixelSize> PictureHeaderSize(const std::string& fileName,
                                                         const std::uint8_t* data,
                                                         std::size_t size);
// The same, reading at most the file's first 256 KB; nothing when it cannot be read.
[[nodiscard]] std::optional<PixelSize> PictureFileSize(const std::string& fileName);

}  // namespace kv
