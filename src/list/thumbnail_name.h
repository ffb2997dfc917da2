#pragma once
// Where the thumbnail of a wallpaper lives in the cache directory.
//
// A wallpaper alone with its name has the documented name: the cache directory
// plus its name part with the last extension replaced by ".jpg" (the thumbnail
// of D:\Walls\sea.bmp is sea.jpg). Pictures that share a name part (IMG_0001.JPG
// from two cameras) must not share a thumbnail, so every thumbnail carries the
// wallpaper it was made of as a mark inside the JPEG (a comment segment with a
// key of its full name, compared without regard to case), and a namesake whose
// plain name is taken by another picture gets its own name, the plain one with
// "~" and that key before ".jpg". A thumbnail without a mark (made before marks
// existed) serves every picture of its name, as it always did, until it is made
// again.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The documented name, from the name part alone.
[[nodiscard]] std::string PlainThumbnailName(const std::string& cacheDirectory,
                                             const std::string& wallpaperName);

// The name of a namesake's own thumbnail: the plain name with "~KEY" before
// ".jpg".
[[nodiscard]] std::string NamesakeThumbnailName(const std::string& cacheDirectory,
                                                const std::string& wallpaperName);

// Sixteen hexadecimal digits naming a full file name, the same for any case of
// its letters.
[[nodiscard]] std::string ThumbnailOwnerKey(const std::string& wallpaperName);

// The JPEG with the mark of `wallpaperName` after its start (and after a JFIF
// header, which readers expect first). Bytes that are no JPEG come back as they
// are.
[[nodiscard]] std::vector<std::uint8_t> MarkThumbnail(std::vector<std::uint8_t> jpeg,
                                                      const std::string& wallpaperName);

// The owner key marked in the first bytes of a JPEG; nothing for an unmarked
// one or other bytes.
[[nodiscard]] std::optional<std::string> ThumbnailOwner(const std::uint8_t* data, std::size_t size);

// The thumbnail file of a wallpaper, to read or to make: its plain name when
// that file is its own (or unmarked) or does not exist yet, and otherwise its
// namesake name. Reads the head of the plain file when there is one.
[[nodiscard]] std::string ThumbnailName(const std::string& cacheDirectory,
                                        const std::string& wallpaperName);

}  // namespace kv
