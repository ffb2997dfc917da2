#pragma once
// The wallpaper list file (".lst"): fixed 253-byte records, one per entry, in
// list order, with no header, count or trailer; an empty list is an empty file.
//
//   offset 0    1 byte    length of the file name, 0 to 50
//   offset 1    50 bytes  file name
//   offset 51   1 byte    length of the path, 0 to 200
//   offset 52   200 bytes path (directory with trailing backslash)
//   offset 252  1 byte    style index, 0 to 10
//
// Bytes after a length are of no meaning (we write zeros). Text is Windows-1252,
// or UTF-8 for names that code page cannot hold (see list_text.h).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

inline constexpr std::size_t kListRecordSize = 253;
inline constexpr std::size_t kListNameField = 50;
inline constexpr std::size_t kListPathField = 200;

struct ListRecord {
  std::string fileName;  // UTF-8
  std::string path;      // UTF-8
  std::uint8_t style = 0;
  friend bool operator==(const ListRecord& a, const ListRecord& b) {
    return a.fileName == b.fileName && a.path == b.path && a.style == b.style;
  }
};

// Every whole record of `data`. A length byte beyond its field is taken as the
// field's size, and an incomplete record at the end (a file cut short) is left
// out, so the records before it survive. Never fails.
[[nodiscard]] std::vector<ListRecord> ParseListFile(const std::uint8_t* data, std::size_t size);

// The file's bytes for `records`: names cut to 50 bytes and paths to 200.
[[nodiscard]] std::vector<std::uint8_t> FormatListFile(const std::vector<ListRecord>& records);

}  // namespace kv
