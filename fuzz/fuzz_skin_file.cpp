// A skin file, as downloaded or opened from Explorer: the first line of the
// input is the skin file's full name (its folder resolves the path macros and
// its name gives the "Skins" menu caption), the rest is the ".ini" text. Both
// windows' descriptions are read from it, with every list, number, colour and
// image name in them; reading must take any text without crashing, hanging or
// reading outside it, and keep to what the window loaders rely on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "config/colour_text.h"
#include "skin/ini_file.h"
#include "skin/skin_file.h"

namespace {

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// The lines as the system's profile functions take them: "[section]" headers,
// "key=value" with blanks around both cut, ";" comments; the first of two equal
// keys counts.
kv::skin::MemoryIniFile SplitIni(std::string_view text) {
  kv::skin::MemoryIniFile ini;
  std::string section;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      section = std::string(line.substr(1, line.size() - 2));
    } else if (const auto eq = line.find('='); eq != std::string_view::npos) {
      const std::string key(Trim(line.substr(0, eq)));
      if (!ini.ReadString(section, key)) ini.WriteString(section, key, std::string(Trim(line.substr(eq + 1))));
    }
  }
  return ini;
}

// The profile readers hand over at most this many characters of a value; the
// description keeps every text within it.
constexpr std::size_t kMaxText = 2047;

void CheckText(const std::string& text) {
  if (text.size() > kMaxText) std::abort();
}

// A colour text the manager parses either gives nothing or a value that reads
// back the same from the text the options write for it.
void CheckColour(const std::string& text) {
  CheckText(text);
  const auto colour = kv::skin::SkinColour(text);
  if (colour && kv::TextToColour(kv::ColourToText(*colour)) != colour) std::abort();
}

template <typename Items>
void CheckNames(const Items& items) {
  for (const auto& item : items) CheckText(item.name);
}

void CheckButtons(const std::vector<kv::skin::SkinButton>& buttons) {
  CheckNames(buttons);
  for (const kv::skin::SkinButton& b : buttons) {
    CheckText(b.click);
    // Every command text has a hint, the unknown ones included.
    if (!kv::skin::BrowserCommandHint(kv::skin::ParseBrowserCommand(b.click))) std::abort();
    if (!kv::skin::ManagerCommandHint(kv::skin::ParseManagerCommand(b.click))) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::size_t nameEnd = std::min(text.find('\n'), text.size());
  const std::string fileName(text.substr(0, nameEnd));
  text.remove_prefix(std::min(nameEnd + 1, text.size()));

  kv::skin::MemoryIniFile ini = SplitIni(text);
  const std::string programDir = "C:\\Program Files\\Kestrova\\";
  const std::string skinDir = kv::skin::DirectoryOf(fileName);
  if (!skinDir.empty() && skinDir.back() != '\\' && skinDir.back() != '/') std::abort();
  (void)kv::skin::SkinMenuCaption(fileName);

  const kv::skin::BrowserSkin browser = kv::skin::ReadBrowserSkin(ini, programDir, skinDir);
  CheckNames(browser.previews);
  CheckNames(browser.labels);
  CheckButtons(browser.buttons);

  const kv::skin::ManagerSkin manager = kv::skin::ReadManagerSkin(ini, programDir, skinDir);
  CheckNames(manager.labels);
  CheckButtons(manager.buttons);
  CheckText(manager.fontName);
  CheckColour(manager.foregroundColor);
  CheckColour(manager.fontColor);
  return 0;
}
