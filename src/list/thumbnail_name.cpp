#include "list/thumbnail_name.h"

#include <cstring>

#include "codecs/file_io.h"
#include "list/list_text.h"
#include "list/styles.h"

namespace kv {
namespace {

constexpr char kMarkPrefix[] = "KvSource:";
constexpr std::size_t kMarkPrefixSize = sizeof kMarkPrefix - 1;
constexpr std::size_t kKeySize = 16;
constexpr std::uint8_t kComment = 0xFE, kJfif = 0xE0, kStartOfScan = 0xDA, kEnd = 0xD9;
// The mark sits within the first segments; this much of a file is read for it.
constexpr std::size_t kHeadSize = 512;

bool IsJpegStart(const std::uint8_t* data, std::size_t size) {
  return size >= 4 && data[0] == 0xFF && data[1] == 0xD8;
}

std::size_t SegmentLength(const std::uint8_t* at) {
  return static_cast<std::size_t>((at[2] << 8) | at[3]);
}

}  // namespace

std::string PlainThumbnailName(const std::string& cacheDirectory,
                               const std::string& wallpaperName) {
  return cacheDirectory + ChangeExtension(NamePart(wallpaperName), ".jpg");
}

std::string NamesakeThumbnailName(const std::string& cacheDirectory,
                                  const std::string& wallpaperName) {
  return cacheDirectory +
         ChangeExtension(NamePart(wallpaperName), "~" + ThumbnailOwnerKey(wallpaperName) + ".jpg");
}

std::string ThumbnailOwnerKey(const std::string& wallpaperName) {
  // FNV-1a, 64 bits: enough that two pictures of one name never meet by chance.
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (const char c : FoldFileNameCase(wallpaperName))
    h = (h ^ static_cast<std::uint8_t>(c)) * 0x100000001B3ull;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string key(kKeySize, '0');
  for (std::size_t i = 0; i < kKeySize; ++i) key[kKeySize - 1 - i] = kHex[(h >> (4 * i)) & 0xF];
  return key;
}

std::vector<std::uint8_t> MarkThumbnail(std::vector<std::uint8_t> jpeg,
                                        const std::string& wallpaperName) {
  if (!IsJpegStart(jpeg.data(), jpeg.size())) return jpeg;
  std::size_t at = 2;
  if (jpeg.size() >= at + 4 && jpeg[at] == 0xFF && jpeg[at + 1] == kJfif &&
      at + 2 + SegmentLength(&jpeg[at]) <= jpeg.size())
    at += 2 + SegmentLength(&jpeg[at]);
  const std::string payload = kMarkPrefix + ThumbnailOwnerKey(wallpaperName);
  std::vector<std::uint8_t> segment = {0xFF, kComment,
                                       static_cast<std::uint8_t>((payload.size() + 2) >> 8),
                                       static_cast<std::uint8_t>(payload.size() + 2)};
  segment.insert(segment.end(), payload.begin(), payload.end());
  jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(at), segment.begin(), segment.end());
  return jpeg;
}

std::optional<std::string> ThumbnailOwner(const std::uint8_t* data, std::size_t size) {
  if (!IsJpegStart(data, size)) return std::nullopt;
  std::size_t pos = 2;
  while (pos + 4 <= size && data[pos] == 0xFF) {
    const std::uint8_t marker = data[pos + 1];
    if (marker == kStartOfScan || marker == kEnd) break;
    const std::size_t length = SegmentLength(data + pos);
    if (length < 2 || pos + 2 + length > size) break;
    const std::uint8_t* payload = data + pos + 4;
    if (marker == kComment && length - 2 == kMarkPrefixSize + kKeySize &&
        std::memcmp(payload, kMarkPrefix, kMarkPrefixSize) == 0)
      return std::string(reinterpret_cast<const char*>(payload) + kMarkPrefixSize, kKeySize);
    pos += 2 + length;
  }
  return std::nullopt;
}

std::string ThumbnailName(const std::string& cacheDirectory, const std::string& wallpaperName) {
  const std::string plain = PlainThumbnailName(cacheDirectory, wallpaperName);
  if (!FileExists(plain)) {
    const std::string own = NamesakeThumbnailName(cacheDirectory, wallpaperName);
    return FileExists(own) ? own : plain;
  }
  std::uint8_t head[kHeadSize];
  std::size_t size = 0;
  try {
    FileReader file(plain);
    while (size < kHeadSize) {
      const std::size_t n = file.Read(head + size, kHeadSize - size);
      if (n == 0) break;
      size += n;
    }
  } catch (const FileError&) {
    return plain;  // unreadable now: the readers fall back to the picture itself
  }
  const auto owner = ThumbnailOwner(head, size);
  if (!owner || *owner == ThumbnailOwnerKey(wallpaperName)) return plain;
  return NamesakeThumbnailName(cacheDirectory, wallpaperName);
}

}  // namespace kv
