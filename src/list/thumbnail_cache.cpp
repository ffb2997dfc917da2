#include "list/thumbnail_cache.h"

#include <vector>

#include "codecs/decoders.h"
#include "codecs/encoders.h"
#include "codecs/exif_orientation.h"
#include "codecs/file_io.h"
#include "codecs/image_error.h"
#include "codecs/image_file.h"
#include "list/shell_files.h"
#include "wallpaper/resample.h"

namespace kv {
namespace {

constexpr char kCountTextStart[] = "Cache Contains (";
constexpr char kCountTextEnd[] = ") Files";
constexpr char kSizeTextStart[] = "Occupying (";
constexpr char kSizeTextEnd[] = ") Megs";

// The maker resamples with support 1.0 rather than the filter's own.
constexpr float kThumbnailSupport = 1.0f;
// A JPEG may be decoded reduced while it stays at least this many times the
// thumbnail's width, so the filter still has pixels to average.
constexpr int kReducedDecodeFactor = 4;

std::uint16_t BigEndian16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

bool IsStartOfFrame(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The decoded picture of a wallpaper, and the size it has at full resolution
// (which the thumbnail size is worked out from).
struct Decoded {
  Bitmap picture;
  ThumbnailSize fullSize{0, 0};
};

// Whether `reduced` is what libjpeg's N/8 scaling makes of `full` for some N.
bool IsEighthScaleOf(ThumbnailSize reduced, ThumbnailSize full) {
  for (std::int64_t n = 1; n <= 8; ++n)
    if ((full.width * n + 7) / 8 == reduced.width && (full.height * n + 7) / 8 == reduced.height)
      return true;
  return false;
}

Decoded DecodeWallpaper(const std::string& fileName, int thumbnailWidth) {
  Decoded d;
  if (ImageFamilyOf(fileName) == ImageFamily::Jpeg) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(fileName);
    const auto full = JpegDisplayedSize(bytes.data(), bytes.size());
    if (full && full->width > kReducedDecodeFactor * thumbnailWidth) {
      d.picture = DecodeJpeg(bytes.data(), bytes.size(), kReducedDecodeFactor * thumbnailWidth);
      d.fullSize = *full;
      if (IsEighthScaleOf({d.picture.Width(), d.picture.Height()}, *full)) return d;
    }
    // Not worth reducing, or the header walk and the decoder disagree.
    d.picture = DecodeJpeg(bytes.data(), bytes.size());
  } else {
    LoadImageFile(d.picture, fileName);
  }
  d.fullSize = {d.picture.Width(), d.picture.Height()};
  return d;
}

std::string CountText(std::uint64_t count) {
  return kCountTextStart + std::to_string(count) + kCountTextEnd;
}

}  // namespace

void TImageResizer::SetCompression(int value) noexcept {
  compression_ = value > 100 ? 100 : value < 1 ? 1 : value;
}

ThumbnailSize ThumbnailSizeFor(int width, int height, int thumbnailWidth) {
  if (width <= thumbnailWidth || thumbnailWidth <= 0) return {width, height};
  // height × thumbnailWidth / width, rounded to nearest in exact integers.
  const std::int64_t numerator = static_cast<std::int64_t>(height) * thumbnailWidth;
  std::int64_t q = numerator / width;
  const std::int64_t twiceRest = 2 * (numerator % width);
  if (twiceRest > width || (twiceRest == width && q % 2 == 1)) ++q;
  // A sliver of a picture still gets a one-pixel-high thumbnail.
  return {thumbnailWidth, static_cast<int>(q < 1 ? 1 : q)};
}

std::optional<ThumbnailSize> JpegDisplayedSize(const std::uint8_t* data, std::size_t size) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
  int orientation = 0;
  std::size_t pos = 2;
  while (pos + 4 <= size) {
    if (data[pos] != 0xFF) return std::nullopt;
    const std::uint8_t marker = data[pos + 1];
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      pos += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // no frame before the scan
    const std::size_t length = BigEndian16(data + pos + 2);
    if (length < 2 || pos + 2 + length > size) return std::nullopt;
    const std::uint8_t* segment = data + pos + 4;
    if (marker == 0xE1 && orientation == 0) orientation = ExifOrientation(segment, length - 2);
    if (IsStartOfFrame(marker)) {
      if (length < 7) return std::nullopt;
      const int height = BigEndian16(segment + 1), width = BigEndian16(segment + 3);
      if (OrientationSwapsSides(orientation)) return ThumbnailSize{height, width};
      return ThumbnailSize{width, height};
    }
    pos += 2 + length;
  }
  return std::nullopt;
}

ThumbnailSize TImageResizer::WriteThumbnail(const std::string& thumbnailName,
                                            const std::string& wallpaperName) {
  const int thumbnailWidth = width < 1 ? 1 : width;
  Decoded d = DecodeWallpaper(wallpaperName, thumbnailWidth);
  if (d.picture.Empty())
    throw ImageError(wallpaperName + ": the extension names no picture format that is read");
  const ThumbnailSize size = ThumbnailSizeFor(d.fullSize.width, d.fullSize.height, thumbnailWidth);
  if (size.width != d.picture.Width() || size.height != d.picture.Height()) {
    const auto kind = ResampleFilterFromIndex(filter - 1).value_or(ResampleFilter::Box);
    ResampleBitmap(size.width, size.height, kind, kThumbnailSupport, d.picture);
  }
  // A thumbnail can be made again, so it is not worth waiting for the disk.
  // The mark names the picture, so that a namesake never takes this thumbnail.
  const std::vector<std::uint8_t> jpeg =
      MarkThumbnail(EncodeJpeg(d.picture, compression_), wallpaperName);
  WriteFileAtomic(thumbnailName, jpeg.data(), jpeg.size(), Durability::Unflushed);
  return size;
}

bool TImageResizer::MakeThumbnail(const std::string& thumbnailName,
                                  const std::string& wallpaperName) {
  try {
    WriteThumbnail(thumbnailName, wallpaperName);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void RegenerateCache(const TKvlistview& list, ThumbnailSource& maker,
                     const std::string& cacheDirectory, int mode,
                     const std::function<void()>& processMessages) {
  // No directory would put the thumbnails wherever the current directory is.
  if (cacheDirectory.empty()) return;
  if (!DirectoryExists(cacheDirectory)) MakeDirectory(cacheDirectory);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const std::string wallpaper = list.Entry(i).FullName();
    const std::string thumbnail = ThumbnailName(cacheDirectory, wallpaper);
    if (mode == 1 || !FileExists(thumbnail)) maker.MakeThumbnail(thumbnail, wallpaper);
    if (processMessages) processMessages();
  }
}

CacheStatistics EmptyCacheStatistics() {
  return {0, 0, CountText(0), std::string(kSizeTextStart) + "0" + kSizeTextEnd};
}

CacheStatistics ClearCache(const std::string& cacheDirectory, ShellDelete& shellDelete) {
  if (DirectoryExists(cacheDirectory)) shellDelete.Delete(cacheDirectory);
  return EmptyCacheStatistics();
}

void RegenerateCacheCommand(const TKvlistview& list, ThumbnailSource& maker,
                            const std::string& cacheDirectory, int regeneration,
                            ShellDelete& shellDelete, const std::function<void()>& processMessages,
                            const std::function<void(const CacheStatistics&)>& showStatistics) {
  if (regeneration == 1) {
    const CacheStatistics cleared = ClearCache(cacheDirectory, shellDelete);
    if (showStatistics) showStatistics(cleared);
  }
  RegenerateCache(list, maker, cacheDirectory, regeneration == 1 ? 1 : 0, processMessages);
  if (showStatistics) showStatistics(UpdateCacheStatistics(cacheDirectory, processMessages));
}

CacheStatistics UpdateCacheStatistics(const std::string& cacheDirectory,
                                      const std::function<void()>& processMessages) {
  if (!DirectoryExists(cacheDirectory)) return EmptyCacheStatistics();
  CacheStatistics s;
  for (const DirectoryEntry& e : ListDirectory(cacheDirectory)) {
    ++s.count;
    s.totalBytes += e.size;
    if (processMessages) processMessages();
  }
  s.countText = CountText(s.count);
  s.sizeText = kSizeTextStart + CacheSizeText(s.totalBytes) + kSizeTextEnd;
  return s;
}

std::string CacheSizeText(std::uint64_t totalBytes) {
  constexpr std::uint64_t kKilobyte = 1024, kMegabyte = 1024 * 1024;
  const std::uint64_t megabytes = totalBytes / kMegabyte;
  const std::uint64_t kilobytes = (totalBytes - megabytes * kMegabyte) / kKilobyte;
  std::string digits = std::to_string(kilobytes);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return std::to_string(megabytes) + "." + digits;
}

}  // namespace kv
