#pragma once
// The picture a small preview shows of a wallpaper: a place of the browser's
// strip, the manager's preview image, and the picture the preview window
// derives the desktop icon colour from. One loader, so that all of them show an
// entry the same way. Beside it the open dialog's preview of a file not yet
// listed.

#include <optional>
#include <string>

#include "codecs/bitmap.h"

namespace kv {

// The wallpaper's thumbnail as the cache holds it; nothing when it has none or
// it cannot be read.
[[nodiscard]] std::optional<Bitmap> LoadThumbnailPicture(const std::string& cacheDirectory,
                                                         const std::string& fullName);

// The picture for a preview of width x height. From the thumbnail when there is
// one: resampled to that size with filter displayFilter - 1 (its own support)
// when displayFilter is 1 to 7, else as it is, and the control stretches it.
// Without a thumbnail from the wallpaper itself, decoded reduced where the
// format allows and resampled to that size with the box filter at support 1.0:
// cheap, and the same whatever the display filter. A file type without a reader
// gives an empty picture. Nothing when neither file exists or the one there
// cannot be read, so that the caller chooses between an empty preview and the
// previous picture.
[[nodiscard]] std::optional<Bitmap> LoadPreviewPicture(const std::string& cacheDirectory,
                                                       const std::string& fullName, int width,
                                                       int height, int displayFilter);

// The open dialog's preview of a picture file: fitted into width x height with
// its aspect ratio kept (a plain stretch), decoded reduced where the format
// allows. Empty for a file type the program does not take and for a file that
// cannot be read.
[[nodiscard]] Bitmap LoadFittedPicture(const std::string& fileName, int width, int height);

}  // namespace kv
