#pragma once
// The thumbnail cache: a flat directory of small JPEG copies of the wallpapers,
// one per wallpaper (see thumbnail_name.h for their names), made when a wallpaper is added
// and read by the display paths instead of the full picture.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "list/thumbnail_name.h"
#include "list/wallpaper_list.h"

namespace kv {

class ShellDelete;

inline constexpr char kCacheDirectoryName[] = "Cache";

struct ThumbnailSize {
  int width;
  int height;
  friend bool operator==(ThumbnailSize a, ThumbnailSize b) {
    return a.width == b.width && a.height == b.height;
  }
};

// The thumbnail maker, held by the manager as ImageResizer1, with the thumbnail
// settings. Changes take effect with the next thumbnail.
class TImageResizer : public ThumbnailSource {
 public:
  bool cacheEnabled = true;
  // The width of a thumbnail of a wider picture (50 to 200 in the options).
  int width = 100;
  // 0 resamples with the maker's own filter (box); k from 1 to 7 with filter
  // k - 1 (box to Mitchell); always with support 1.0.
  int filter = 0;

  // The JPEG quality, 1 to 100; 100 leaves the JPEG writer's default quality.
  [[nodiscard]] int Compression() const noexcept { return compression_; }
  // Stored values above 100 count as 100, and 0 (or less) as 1.
  void SetCompression(int value) noexcept;

  [[nodiscard]] bool CacheEnabled() const override { return cacheEnabled; }
  // Reads the wallpaper by its extension, shrinks it to `width` when it is wider
  // (height in proportion, rounded to nearest), and writes it as JPEG to
  // `thumbnailName`, replacing any file there. False on any failure.
  bool MakeThumbnail(const std::string& thumbnailName, const std::string& wallpaperName) override;
  // The same, raising ImageError or FileError with the reason instead of
  // returning false; the thumbnail's size.
  ThumbnailSize WriteThumbnail(const std::string& thumbnailName, const std::string& wallpaperName);

 private:
  int compression_ = 100;
};

// The size of the thumbnail of a picture: unchanged when it is not wider than
// `thumbnailWidth`, else that width and the height in proportion, rounded to the
// nearest integer (an exact half to even) and at least 1.
[[nodiscard]] ThumbnailSize ThumbnailSizeFor(int width, int height, int thumbnailWidth);

// The picture size a JPEG file declares, as displayed (sides exchanged when its
// Exif orientation turns it on its side); nothing when the header cannot be read.
[[nodiscard]] std::optional<ThumbnailSize> JpegDisplayedSize(const std::uint8_t* data,
                                                             std::size_t size);

// Makes the thumbnail of every entry, in list order: mode 0 only where no file of
// the thumbnail's name exists, mode 1 always. Creates the cache directory first
// when missing; works whether or not the cache is enabled; failures of single
// thumbnails are passed over. `processMessages` runs after each entry (the list
// may change meanwhile; the loop reads its current length).
void RegenerateCache(const TKvlistview& list, ThumbnailSource& maker,
                     const std::string& cacheDirectory, int mode,
                     const std::function<void()>& processMessages = {});

struct CacheStatistics {
  std::uint64_t count = 0;
  std::uint64_t totalBytes = 0;
  std::string countText;  // "Cache Contains (N) Files"
  std::string sizeText;   // "Occupying (S) Megs"
};

// The statistics of an empty or missing cache: "(0)" files and "(0)" megs.
[[nodiscard]] CacheStatistics EmptyCacheStatistics();

// Deletes the cache directory with everything in it (when it exists) through the
// shell delete; the statistics to show afterwards.
CacheStatistics ClearCache(const std::string& cacheDirectory, ShellDelete& shellDelete);

// Counts the entries directly in the cache directory and adds up their sizes,
// running `processMessages` after each entry.
[[nodiscard]] CacheStatistics UpdateCacheStatistics(
    const std::string& cacheDirectory, const std::function<void()>& processMessages = {});

// "Regenerate Cache" by the "Cache Regeneration" setting: 0 makes the missing
// thumbnails, 1 clears the cache and makes all of them again. The figures shown
// follow at once: `showStatistics` gets the empty cache's right after a clear
// and the cache's own when the regeneration ends.
void RegenerateCacheCommand(const TKvlistview& list, ThumbnailSource& maker,
                            const std::string& cacheDirectory, int regeneration,
                            ShellDelete& shellDelete,
                            const std::function<void()>& processMessages = {},
                            const std::function<void(const CacheStatistics&)>& showStatistics = {});

// The size text of a total in bytes: whole megabytes, a point, and the remaining
// whole kilobytes in three digits (5 KB "0.005", 3 MB + 50 KB "3.050").
[[nodiscard]] std::string CacheSizeText(std::uint64_t totalBytes);

}  // namespace kv
