#include "skin/ini_file.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace kv::skin {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::optional<int> ParseInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const int d = base == 16
                      ? HexDigit(text[i])
                      : (std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0' : -1);
    if (d < 0) return std::nullopt;
    value = value * base + d;
    // Hexadecimal texts may spell the full 32 bits (colours do), decimal ones not.
    if (value > (base == 16 ? std::int64_t{0xFFFFFFFF} : std::int64_t{0x80000000}))
      return std::nullopt;
  }
  if (base == 16) value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  if (negative) value = -value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

int ReadInteger(IniFile& ini, const std::string& section, const std::string& key, int otherwise) {
  const auto text = ini.ReadString(section, key);
  if (!text) return otherwise;
  return ParseInteger(*text).value_or(otherwise);
}

bool ReadBool(IniFile& ini, const std::string& section, const std::string& key, bool otherwise) {
  return ReadInteger(ini, section, key, otherwise ? 1 : 0) != 0;
}

void WriteInteger(IniFile& ini, const std::string& section, const std::string& key, int value) {
  ini.WriteString(section, key, std::to_string(value));
}

void WriteBool(IniFile& ini, const std::string& section, const std::string& key, bool value) {
  ini.WriteString(section, key, value ? "1" : "0");
}

std::string ColourToHex(Colour c) {
  char text[8];
  std::snprintf(text, sizeof text, "%.2x%.2x%.2x", RedOf(c), GreenOf(c), BlueOf(c));
  return text;
}

std::optional<Colour> HexToColour(std::string_view text) {
  if (text.size() != 6) return std::nullopt;
  int v[6];
  for (int i = 0; i < 6; ++i)
    if ((v[i] = HexDigit(text[static_cast<std::size_t>(i)])) < 0) return std::nullopt;
  return MakeColour(static_cast<std::uint8_t>(v[0] * 16 + v[1]),
                    static_cast<std::uint8_t>(v[2] * 16 + v[3]),
                    static_cast<std::uint8_t>(v[4] * 16 + v[5]));
}

Colour ReadColour(IniFile& ini, const std::string& section, const std::string& key,
                  Colour otherwise) {
  const auto text = ini.ReadString(section, key);
  if (!text) return otherwise;
  return HexToColour(*text).value_or(otherwise);
}

void WriteColour(IniFile& ini, const std::string& section, const std::string& key, Colour c) {
  ini.WriteString(section, key, ColourToHex(c));
}

std::optional<std::string> MemoryIniFile::ReadString(const std::string& section,
                                                     const std::string& key) {
  const auto it = values_.find(Lower(section) + '\n' + Lower(key));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void MemoryIniFile::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
  values_[Lower(section) + '\n' + Lower(key)] = value;
}

}  // namespace kv::skin
