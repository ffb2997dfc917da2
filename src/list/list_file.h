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
//
// Names the records cannot hold whole (longer than their field, which downloaded
// pictures' names and UTF-8 names often are) go, whole, into a companion file
// beside the list, named like it with ".names" added ("t.lst.names"). The
// records file stays exactly the fixed-record file it always was, with those
// names cut as before, so older copies of the program and other readers load it
// as they always did and never see the companion. A list whose entries all fit
// has no companion.
//
// The companion file (little-endian):
//   8 bytes  "KVNAMES" and the version byte 1
//   8 bytes  fingerprint of the records file it was written with (FNV-1a 64)
//   4 bytes  number of entries, then per entry:
//     4 bytes record index, 4 bytes name length, the name (UTF-8),
//     4 bytes path length, the path (UTF-8)
// Only records whose entries did not fit have one. An entry is taken only while
// its name and path, cut as the writer cuts them, are exactly what the record
// holds. When the fingerprint no longer matches (an older copy saved the list,
// dropping or adding entries), entries are matched to records in order by that
// cut form instead of by index, so the long names of the entries it kept come
// back.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

inline constexpr std::size_t kListRecordSize = 253;
inline constexpr std::size_t kListNameField = 50;
inline constexpr std::size_t kListPathField = 200;
inline constexpr char kListNamesSuffix[] = ".names";

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

// A list as its two files.
struct ListFiles {
  std::vector<std::uint8_t> records;  // the list file
  std::vector<std::uint8_t> names;    // the companion; empty when every entry fits
};

// The records file and, for entries it cannot hold whole, the companion.
[[nodiscard]] ListFiles FormatListFiles(const std::vector<ListRecord>& records);

// The records of a list file with the whole names of the companion put back
// where they still belong (see above). A companion that is damaged, or that
// belongs to other records, changes only what it can prove. Never fails.
[[nodiscard]] std::vector<ListRecord> ParseListFiles(const std::uint8_t* records,
                                                     std::size_t recordsSize,
                                                     const std::uint8_t* names,
                                                     std::size_t namesSize);

}  // namespace kv
