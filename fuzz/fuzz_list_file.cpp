// The wallpaper list file parser and its companion of long names: any bytes give
// records without reading out of bounds, and writing the records and reading
// them again gives the same records, in both files.
//
// Input: two bytes (little-endian) giving the length of the list file's part,
// then the list file's bytes, then the companion's.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "list/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t split = static_cast<std::size_t>(data[0] | (data[1] << 8)) % (size - 1);
  const std::uint8_t* records = data + 2;
  const std::uint8_t* names = records + split;
  const std::size_t namesSize = size - 2 - split;

  const auto plain = kv::ParseListFile(records, split);
  const auto bytes = kv::FormatListFile(plain);
  if (bytes.size() != plain.size() * kv::kListRecordSize) std::abort();
  if (kv::ParseListFile(bytes.data(), bytes.size()) != plain) std::abort();

  const auto whole = kv::ParseListFiles(records, split, names, namesSize);
  if (whole.size() != plain.size()) std::abort();
  const kv::ListFiles files = kv::FormatListFiles(whole);
  // The records file is the plain format, whatever the companion held.
  if (files.records != kv::FormatListFile(whole)) std::abort();
  if (kv::ParseListFiles(files.records.data(), files.records.size(), files.names.data(),
                         files.names.size()) != whole)
    std::abort();
  return 0;
}
