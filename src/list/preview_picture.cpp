#include "list/preview_picture.h"

#include <exception>

#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "list/styles.h"
#include "list/thumbnail_name.h"
#include "wallpaper/resample.h"
#include "wallpaper/wallpaper_render.h"

namespace kv {
namespace {

std::optional<Bitmap> Read(const std::string& fileName, const LoadOptions& options = {}) {
  Bitmap picture;
  try {
    LoadImageFile(picture, fileName, options);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return picture;
}

std::optional<Bitmap> FitPreview(const std::string& cacheDirectory, const std::string& fullName,
                                 int width, int height, int displayFilter) {
  const bool fits = width > 0 && height > 0;
  const std::string thumbnail = ThumbnailName(cacheDirectory, fullName);
  if (FileExists(thumbnail)) {
    std::optional<Bitmap> picture = Read(thumbnail);
    if (picture && fits && !picture->Empty() && displayFilter >= 1 &&
        displayFilter <= kResampleFilterCount)
      ResampleBitmap(width, height, static_cast<ResampleFilter>(displayFilter - 1), 0.0f, *picture);
    return picture;
  }
  if (!FileExists(fullName)) return std::nullopt;
  // Large JPEG files are decoded reduced: the preview needs only its width.
  LoadOptions options;
  options.minWidth = width;
  std::optional<Bitmap> picture = Read(fullName, options);
  if (picture && fits && !picture->Empty())
    ResampleBitmap(width, height, ResampleFilter::Box, 1.0f, *picture);
  return picture;
}

}  // namespace

std::optional<Bitmap> LoadThumbnailPicture(const std::string& cacheDirectory,
                                           const std::string& fullName) {
  const std::string thumbnail = ThumbnailName(cacheDirectory, fullName);
  if (!FileExists(thumbnail)) return std::nullopt;
  return Read(thumbnail);
}

std::optional<Bitmap> LoadPreviewPicture(const std::string& cacheDirectory,
                                         const std::string& fullName, int width, int height,
                                         int displayFilter) {
  // A size beyond the resampler's limits is a picture that cannot be shown.
  try {
    return FitPreview(cacheDirectory, fullName, width, height, displayFilter);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

Bitmap LoadFittedPicture(const std::string& fileName, int width, int height) {
  if (width <= 0 || height <= 0 || !IsAcceptedExtension(LowerExtension(fileName))) return {};
  LoadOptions options;
  options.minWidth = width;
  const std::optional<Bitmap> picture = Read(fileName, options);
  if (!picture || picture->Empty()) return {};
  const PixelSize fit = ScaledSize(picture->Width(), picture->Height(), width, height);
  return StretchPlain(*picture, fit.width, fit.height);
}

}  // namespace kv
