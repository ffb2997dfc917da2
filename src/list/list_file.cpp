#include "list/list_file.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "list/list_text.h"

namespace kv {
namespace {

constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kPathOffset = 1 + kListNameField;
constexpr std::size_t kStyleOffset = kPathOffset + 1 + kListPathField;
static_assert(kStyleOffset + 1 == kListRecordSize);

constexpr char kNamesMagic[8] = {'K', 'V', 'N', 'A', 'M', 'E', 'S', 1};
constexpr std::size_t kNamesHeader = 8 + 8 + 4;
// No Windows path comes near this; a larger length marks a damaged companion.
constexpr std::uint32_t kMaxNamesText = 1u << 20;

// The stored bytes of a field, as its length byte gives them.
std::string_view RawField(const std::uint8_t* at, std::size_t fieldSize) {
  const std::size_t length = std::min<std::size_t>(at[0], fieldSize);
  return std::string_view(reinterpret_cast<const char*>(at + 1), length);
}

std::string ReadField(const std::uint8_t* at, std::size_t fieldSize) {
  return DecodeListField(RawField(at, fieldSize));
}

std::uint64_t Fingerprint(const std::uint8_t* data, std::size_t size) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 0x100000001B3ull;
  return h;
}

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
  PutLittleEndian(out, text.size(), 4);
  out.insert(out.end(), text.begin(), text.end());
}

// Reads the companion from front to back; every read checks what is left.
class NamesReader {
 public:
  NamesReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Number(std::uint64_t& value, int bytes) {
    if (size_ - pos_ < static_cast<std::size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i) value |= std::uint64_t{data_[pos_ + i]} << (8 * i);
    pos_ += static_cast<std::size_t>(bytes);
    return true;
  }
  bool Text(std::string& text) {
    std::uint64_t length = 0;
    if (!Number(length, 4) || length > kMaxNamesText || size_ - pos_ < length) return false;
    text.assign(reinterpret_cast<const char*>(data_ + pos_), static_cast<std::size_t>(length));
    pos_ += static_cast<std::size_t>(length);
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

struct LongEntry {
  std::uint64_t index;
  std::string fileName;
  std::string path;
};

// The entries of a companion, and whether it was written with these records.
// A damaged companion gives the entries before the damage.
std::vector<LongEntry> ReadNames(const std::uint8_t* data, std::size_t size,
                                 std::uint64_t recordsFingerprint, bool& sameRecords) {
  std::vector<LongEntry> entries;
  sameRecords = false;
  if (size < kNamesHeader || std::memcmp(data, kNamesMagic, sizeof kNamesMagic) != 0)
    return entries;
  NamesReader in(data + sizeof kNamesMagic, size - sizeof kNamesMagic);
  std::uint64_t fingerprint = 0, count = 0;
  if (!in.Number(fingerprint, 8) || !in.Number(count, 4)) return entries;
  sameRecords = fingerprint == recordsFingerprint;
  for (std::uint64_t i = 0; i < count; ++i) {
    LongEntry e;
    if (!in.Number(e.index, 4) || !in.Text(e.fileName) || !in.Text(e.path)) break;
    entries.push_back(std::move(e));
  }
  return entries;
}

// What the writer stores of an entry's name and path, as one key.
std::string CutForm(const LongEntry& e) {
  return EncodeListField(e.fileName, kListNameField) + '\0' +
         EncodeListField(e.path, kListPathField);
}

std::string RecordCutForm(const std::uint8_t* r) {
  std::string key(RawField(r + kNameOffset, kListNameField));
  key += '\0';
  key += RawField(r + kPathOffset, kListPathField);
  return key;
}

// Whether the record holds what the writer makes of the entry's name and path.
bool RecordHolds(const std::uint8_t* r, const LongEntry& e) {
  return RawField(r + kNameOffset, kListNameField) == EncodeListField(e.fileName, kListNameField) &&
         RawField(r + kPathOffset, kListPathField) == EncodeListField(e.path, kListPathField);
}

// Whether a field of the record is full enough to be a cut text: a cut keeps
// whole UTF-8 characters, so up to three bytes of a field may stay unused.
bool MayBeCut(const std::uint8_t* r) {
  return RawField(r + kNameOffset, kListNameField).size() + 3 >= kListNameField ||
         RawField(r + kPathOffset, kListPathField).size() + 3 >= kListPathField;
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

ListFiles FormatListFiles(const std::vector<ListRecord>& records) {
  ListFiles files;
  files.records = FormatListFile(records);
  std::vector<std::uint8_t> entries;
  std::uint32_t count = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::uint8_t* r = files.records.data() + i * kListRecordSize;
    if (ReadField(r + kNameOffset, kListNameField) == records[i].fileName &&
        ReadField(r + kPathOffset, kListPathField) == records[i].path)
      continue;
    PutLittleEndian(entries, i, 4);
    PutText(entries, records[i].fileName);
    PutText(entries, records[i].path);
    ++count;
  }
  if (count == 0) return files;
  files.names.assign(kNamesMagic, kNamesMagic + sizeof kNamesMagic);
  PutLittleEndian(files.names, Fingerprint(files.records.data(), files.records.size()), 8);
  PutLittleEndian(files.names, count, 4);
  files.names.insert(files.names.end(), entries.begin(), entries.end());
  return files;
}

std::vector<ListRecord> ParseListFiles(const std::uint8_t* records, std::size_t recordsSize,
                                       const std::uint8_t* names, std::size_t namesSize) {
  std::vector<ListRecord> out = ParseListFile(records, recordsSize);
  if (namesSize == 0 || out.empty()) return out;
  const std::size_t wholeSize = out.size() * kListRecordSize;
  bool sameRecords = false;
  const std::vector<LongEntry> entries =
      ReadNames(names, namesSize, Fingerprint(records, wholeSize), sameRecords);
  const auto put = [&](std::size_t index, const LongEntry& e) {
    out[index].fileName = e.fileName;
    out[index].path = e.path;
  };
  if (sameRecords) {
    for (const LongEntry& e : entries)
      if (e.index < out.size() && RecordHolds(records + e.index * kListRecordSize, e))
        put(static_cast<std::size_t>(e.index), e);
    return out;
  }
  // The records changed since: entries keep their order, so each record that
  // may hold a cut name takes the first entry after the last one taken whose cut
  // form it holds. Entries are looked up by that cut form, so a long list costs
  // one pass.
  std::unordered_map<std::string, std::vector<std::size_t>> byCutForm;
  for (std::size_t k = 0; k < entries.size(); ++k) byCutForm[CutForm(entries[k])].push_back(k);
  std::unordered_map<std::string, std::size_t> used;  // per cut form, entries passed
  std::size_t next = 0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::uint8_t* r = records + i * kListRecordSize;
    if (!MayBeCut(r)) continue;
    const std::string key = RecordCutForm(r);
    const auto found = byCutForm.find(key);
    if (found == byCutForm.end()) continue;
    std::size_t& passed = used[key];
    while (passed < found->second.size() && found->second[passed] < next) ++passed;
    if (passed == found->second.size()) continue;
    const std::size_t k = found->second[passed++];
    put(i, entries[k]);
    next = k + 1;
  }
  return out;
}

}  // namespace kv
