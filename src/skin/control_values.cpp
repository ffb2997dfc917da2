#include "skin/control_values.h"

#include <cctype>

namespace kv::skin {
namespace {

bool EqualsNoCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

}  // namespace

const char* AlignmentName(TAlignment a) noexcept {
  switch (a) {
    case taRightJustify:
      return "right";
    case taCenter:
      return "center";
    default:
      return "left";
  }
}

TAlignment ParseAlignment(const std::string& text) {
  if (EqualsNoCase(text, "center")) return taCenter;
  if (EqualsNoCase(text, "right")) return taRightJustify;
  return taLeftJustify;
}

const char* LayoutName(TTextLayout l) noexcept {
  switch (l) {
    case tlTop:
      return "top";
    case tlBottom:
      return "bottom";
    default:
      return "center";
  }
}

TTextLayout ParseLayout(const std::string& text) {
  if (EqualsNoCase(text, "top")) return tlTop;
  if (EqualsNoCase(text, "bottom")) return tlBottom;
  return tlCenter;
}

void WriteFont(IniFile& ini, const std::string& section, const std::string& prefix,
               const FontSpec& font) {
  ini.WriteString(section, prefix + "Name", font.name);
  WriteInteger(ini, section, prefix + "Size", font.size);
  WriteBool(ini, section, prefix + "Bold", font.bold);
  WriteBool(ini, section, prefix + "Italic", font.italic);
  WriteBool(ini, section, prefix + "Underline", font.underline);
  WriteBool(ini, section, prefix + "StrikeOut", font.strikeOut);
  WriteColour(ini, section, prefix + "Color", font.color);
}

void ReadFont(IniFile& ini, const std::string& section, const std::string& prefix, FontSpec& font) {
  if (auto name = ini.ReadString(section, prefix + "Name"); name && !name->empty())
    font.name = *name;
  const int size = ReadInteger(ini, section, prefix + "Size", font.size);
  if (size != 0 && size >= -1000 && size <= 1000) font.size = size;
  // Styles only accumulate: a stored 0 leaves a style that is already set.
  if (ReadBool(ini, section, prefix + "Bold", false)) font.bold = true;
  if (ReadBool(ini, section, prefix + "Italic", false)) font.italic = true;
  if (ReadBool(ini, section, prefix + "Underline", false)) font.underline = true;
  if (ReadBool(ini, section, prefix + "StrikeOut", false)) font.strikeOut = true;
  font.color = ReadColour(ini, section, prefix + "Color", MakeColour(0, 0, 0));
}

int CaptionShift(TTextLayout layout, int controlHeight, int measuredBottom) noexcept {
  const int rest = controlHeight - measuredBottom;
  switch (layout) {
    case tlBottom:
      return rest;
    case tlCenter:
      return rest / 2;  // C++ division truncates towards zero
    default:
      return 0;
  }
}

std::string ResolveControlDir(const std::string& dir, const std::string& programDir) {
  const bool drive = dir.size() >= 3 && dir[1] == ':' && dir[2] == '\\';
  const bool unc = dir.size() >= 2 && dir[0] == '\\' && dir[1] == '\\';
  if (drive || unc) return dir;
  return programDir + dir;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '\\' || dir.back() == '/') return dir + name;
  return dir + "\\" + name;
}

}  // namespace kv::skin
