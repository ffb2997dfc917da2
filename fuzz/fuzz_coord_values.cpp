// Feeds arbitrary texts to the readers of a skin control's "coord.ini" values (the
// file itself is split by the system's profile functions; these are the values
// it hands over): every line becomes the value of the next key read. They must
// fall back to defaults, never crash, hang or read outside the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/control_values.h"
#include "skin/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  static const char* const keys[] = {"Left",           "Top",           "Width",    "Height",
                                     "InvisibleColor", "Alignment",     "Layout",   "Color",
                                     "FontName",       "FontSize",      "FontBold", "FontItalic",
                                     "FontUnderline",  "FontStrikeOut", "FontColor"};
  kv::skin::MemoryIniFile ini;
  std::size_t start = 0, k = 0;
  while (start <= text.size() && k < sizeof keys / sizeof keys[0]) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    ini.WriteString("N", keys[k++], text.substr(start, end - start));
    start = end + 1;
  }
  (void)kv::skin::ReadInteger(ini, "N", "Left", 0);
  (void)kv::skin::ReadInteger(ini, "N", "Width", 40);
  (void)kv::skin::ReadColour(ini, "N", "InvisibleColor", 0xFFFFFF);
  (void)kv::skin::ReadColour(ini, "N", "Color", 0);
  if (auto a = ini.ReadString("N", "Alignment")) (void)kv::skin::ParseAlignment(*a);
  if (auto l = ini.ReadString("N", "Layout")) (void)kv::skin::ParseLayout(*l);
  kv::skin::FontSpec font;
  kv::skin::ReadFont(ini, "N", "Font", font);
  return 0;
}
