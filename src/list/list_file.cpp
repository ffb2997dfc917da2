#include "list/list_file.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "list/list_text.h"

namespace kv {
namespace {

constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kPathOffset = 1 + kListNameField;
constexpr std::size_t kStyleOffset = kPathOffset + 1 + kListPathField;
static_assert(kStyleOffset + 1 == kListRecordSize);

std::string ReadField(const std::uint8_t* at, std::size_t fieldSize) {
  const std::size_t length = std::min<std::size_t>(at[0], fieldSize);
  return DecodeListField(std::string_view(reinterpret_cast<const char*>(at + 1), length));
}

void WriteField(std::uint8_t* at, const std::string& text, std::size_t fieldSize) {
  const std::string bytes = EncodeListField(text, fieldSize);
  at[0] = static_cast<std::uint8_t>(bytes.size());
  std::memcpy(at + 1, bytes.data(), bytes.size());
}

}  // namespace

std::vector<ListRecord> ParseListFile(const std::uint8_t* data, std::size_t size) {
  const std::size_t count = size / kListRecordSize;
  std::vector<ListRecord> records;
  records.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* r = data + i * kListRecordSize;
    records.push_back({ReadField(r + kNameOffset, kListNameField),
                       ReadField(r + kPathOffset, kListPathField), r[kStyleOffset]});
  }
  return records;
}

std::vector<std::uint8_t> FormatListFile(const std::vector<ListRecord>& records) {
  std::vector<std::uint8_t> bytes(records.size() * kListRecordSize, 0);
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::uint8_t* r = bytes.data() + i * kListRecordSize;
    WriteField(r + kNameOffset, records[i].fileName, kListNameField);
    WriteField(r + kPathOffset, records[i].path, kListPathField);
    r[kStyleOffset] = records[i].style;
  }
  return bytes;
}

}  // namespace kv
