#pragma once
// Reading and writing initialisation-file values ("key=value" under "[section]").
// The Win32 side reads and writes real files through the system's profile
// functions; tests use MemoryIniFile. Sections and keys match without regard to
// case.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "codecs/bitmap.h"

namespace kv::skin {

class IniFile {
 public:
  virtual ~IniFile() = default;
  // The value, or nothing when the key is absent.
  [[nodiscard]] virtual std::optional<std::string> ReadString(const std::string& section,
                                                              const std::string& key) = 0;
  virtual void WriteString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
};

// An integer as the profile readers take it: optional blanks and sign, decimal
// digits, or hexadecimal after "$", "0x" or "0X". Anything else, or a value that
// does not fit, is nothing.
[[nodiscard]] std::optional<int> ParseInteger(std::string_view text);

[[nodiscard]] int ReadInteger(IniFile& ini, const std::string& section, const std::string& key,
                              int otherwise);
// Booleans are stored as 1 and 0; any integer other than 0 reads as true.
[[nodiscard]] bool ReadBool(IniFile& ini, const std::string& section, const std::string& key,
                            bool otherwise);
void WriteInteger(IniFile& ini, const std::string& section, const std::string& key, int value);
void WriteBool(IniFile& ini, const std::string& section, const std::string& key, bool value);

// Colours as six lower-case hexadecimal digits red, green, blue (pure red is
// "ff0000").
[[nodiscard]] std::string ColourToHex(Colour c);
// Exactly six hexadecimal digits (either case); anything else is nothing.
[[nodiscard]] std::optional<Colour> HexToColour(std::string_view text);
[[nodiscard]] Colour ReadColour(IniFile& ini, const std::string& section, const std::string& key,
                                Colour otherwise);
void WriteColour(IniFile& ini, const std::string& section, const std::string& key, Colour c);

// An in-memory file, for tests and for building a file before it is written.
class MemoryIniFile : public IniFile {
 public:
  std::optional<std::string> ReadString(const std::string& section,
                                        const std::string& key) override;
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;
  [[nodiscard]] std::size_t Size() const noexcept { return values_.size(); }

 private:
  std::map<std::string, std::string> values_;  // lower-case "section\nkey" → value
};

}  // namespace kv::skin
