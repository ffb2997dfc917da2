#include "app/state_file.h"

#include <cstdint>
#include <cstdio>

#include "codecs/file_io.h"

namespace kv::app {
namespace {

// Files of our own stay small: 100 history entries, or one line per entry of
// a list; anything larger is not one of ours.
constexpr std::size_t kMaxStateText = 64u * 1024 * 1024;

// FNV-1a, 32 bits: enough to tell a damaged file from a whole one.
std::uint32_t Checksum(std::string_view text) {
  std::uint32_t h = 2166136261u;
  for (const unsigned char c : text) h = (h ^ c) * 16777619u;
  return h;
}

std::string EndLine(std::size_t lines, std::uint32_t checksum) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(checksum));
  return "end\t" + std::to_string(lines) + "\t" + hex + "\n";
}

std::vector<std::string_view> Split(std::string_view line, char at) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t next = line.find(at);
    parts.push_back(line.substr(0, next));
    if (next == std::string_view::npos) return parts;
    line.remove_prefix(next + 1);
  }
}

}  // namespace

std::string SealStateText(std::string_view kind, const std::vector<StateLine>& lines) {
  std::string text = std::string(kind) + "\n";
  for (const StateLine& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) text += (i ? "\t" : "") + line[i];
    text += "\n";
  }
  return text + EndLine(lines.size(), Checksum(text));
}

std::optional<std::vector<StateLine>> OpenStateText(std::string_view text, std::string_view kind) {
  if (text.size() > kMaxStateText || text.empty() || text.back() != '\n') return std::nullopt;
  const std::size_t endAt = text.rfind("\nend\t", text.size() - 1);
  if (endAt == std::string_view::npos) return std::nullopt;
  const std::string_view body = text.substr(0, endAt + 1);
  std::vector<std::string_view> rows = Split(body.substr(0, body.size() - 1), '\n');
  if (rows.empty() || rows[0] != kind) return std::nullopt;
  const std::size_t count = rows.size() - 1;
  const std::string_view tail = text.substr(endAt + 1);
  const std::string expected = EndLine(count, Checksum(body));
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // The fuzzer cannot forge checksums; the count still has to agree.
  const std::size_t hex = 9;  // the checksum's digits and the line break
  const bool whole = tail.size() == expected.size() &&
                     tail.substr(0, tail.size() - hex) == expected.substr(0, expected.size() - hex);
#else
  const bool whole = tail == expected;
#endif
  if (!whole) return std::nullopt;
  std::vector<StateLine> lines;
  lines.reserve(count);
  for (std::size_t r = 1; r < rows.size(); ++r) {
    StateLine fields;
    for (const std::string_view field : Split(rows[r], '\t')) {
      for (const unsigned char c : field)
        if (c < 0x20 || c == 0x7F) return std::nullopt;
      fields.emplace_back(field);
    }
    lines.push_back(std::move(fields));
  }
  return lines;
}

std::optional<std::vector<StateLine>> ReadStateFile(const std::string& path,
                                                    std::string_view kind) {
  if (!FileExists(path)) return std::nullopt;
  try {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return OpenStateText(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), kind);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

void WriteStateFile(const std::string& path, std::string_view kind,
                    const std::vector<StateLine>& lines) {
  const std::string text = SealStateText(kind, lines);
  WriteFileAtomic(path, text.data(), text.size());
}

}  // namespace kv::app
