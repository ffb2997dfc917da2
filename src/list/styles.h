#pragma once
// Wallpaper styles as list files store them, the file-type groups that give a
// new entry its default style, and the extensions the list accepts.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

inline constexpr int kStyleCount = 11;
// Index 0 to 10 as a list file stores it; 4 to 10 are the resampling filters.
inline constexpr std::array<const char*, kStyleCount> kStyleNames = {
    "Center",  "Stretch", "Tile",   "Scaled",   "Box",     "Triangle",
    "Hermite", "Bell",    "Spline", "Lanczos3", "Mitchell"};

// The name of a style index; an index outside the table shows as "Center".
[[nodiscard]] const char* StyleName(int index);

// The index of a style text, compared without regard to case; any other text,
// the empty one included, is 0 ("Center").
[[nodiscard]] int StyleIndexOf(std::string_view style);
// The index of a style text, compared without regard to case; nothing for any
// other text.
[[nodiscard]] std::optional<int> FindStyle(std::string_view style);

// The nine groups of the classic formats come first, in their stored order (the
// registry values "Item0" to "Item8"); the groups of the newer formats follow
// and are stored after them ("Item9" on).
inline constexpr int kFileTypeGroupCount = 12;
// The rows of the default-style table, one per group.
inline constexpr std::array<const char*, kFileTypeGroupCount> kFileTypeGroupTexts = {
    "*.Jpg, *.Jpeg", "*.Bmp",        "*.Gif", "*.Png",  "*.Tif, *.Tiff",  "*.Tga",
    "*.Pcx, *.Pcc",  "*.Psd, *.Pdd", "*.Psp", "*.Webp", "*.Heic, *.Heif", "*.Avif"};

// The group of a lower-cased extension with its dot; none for ".rle", ".dib" and
// anything unknown.
[[nodiscard]] std::optional<int> FileTypeGroup(std::string_view extension);

// Whether adding a directory or dropped files takes a file of this lower-cased
// extension (with its dot).
[[nodiscard]] bool IsAcceptedExtension(std::string_view extension);

// Splitting a full file name at its last directory separator ('\' or '/').
[[nodiscard]] std::string_view NamePart(std::string_view fullName);
// The directory with its trailing separator; empty when there is none.
[[nodiscard]] std::string_view PathPart(std::string_view fullName);

// The extension of the name part from its last dot, lower-cased (ASCII), with
// the dot; empty when the name has no dot.
[[nodiscard]] std::string LowerExtension(std::string_view fullName);

// The name part with its last extension replaced by `extension` (appended when
// it has none): "a.b.png" gives "a.b.jpg".
[[nodiscard]] std::string ChangeExtension(std::string_view name, std::string_view extension);

}  // namespace kv
