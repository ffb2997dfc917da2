// The wallpaper list file parser: any bytes give records without reading out of
// bounds, and writing the records and reading them again gives the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "list/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto records = kv::ParseListFile(data, size);
  const auto bytes = kv::FormatListFile(records);
  if (bytes.size() != records.size() * kv::kListRecordSize) std::abort();
  if (kv::ParseListFile(bytes.data(), bytes.size()) != records) std::abort();
  return 0;
}
