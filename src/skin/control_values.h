#pragma once
// The values a skin control keeps in its save directory ("coord.ini", one section
// per control named after it), and the small rules around them: the names of the
// alignment and layout values, the font keys, where the caption goes, and where a
// relative directory lies.

#include <string>

#include "codecs/bitmap.h"
#include "skin/ini_file.h"

namespace kv::skin {

enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum TTextLayout { tlTop, tlCenter, tlBottom };

inline constexpr const char* kCoordFile = "coord.ini";

// "left", "right", "center"; read back case-insensitively, anything unknown as left.
[[nodiscard]] const char* AlignmentName(TAlignment a) noexcept;
[[nodiscard]] TAlignment ParseAlignment(const std::string& text);
// "top", "center", "bottom"; read back case-insensitively, anything unknown as center.
[[nodiscard]] const char* LayoutName(TTextLayout l) noexcept;
[[nodiscard]] TTextLayout ParseLayout(const std::string& text);

struct FontSpec {
  std::string name = "MS Sans Serif";
  int size = 8;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  Colour color = 0;
  friend bool operator==(const FontSpec& a, const FontSpec& b) {
    return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic &&
           a.underline == b.underline && a.strikeOut == b.strikeOut && a.color == b.color;
  }
};

// Keys prefix + "Name", "Size", "Bold", "Italic", "Underline", "StrikeOut", "Color".
void WriteFont(IniFile& ini, const std::string& section, const std::string& prefix,
               const FontSpec& font);
// Name and size as stored; a stored true adds a style, a false one removes none;
// the colour defaults to black. A size of 0 or beyond 1000 points is not taken.
void ReadFont(IniFile& ini, const std::string& section, const std::string& prefix, FontSpec& font);

// How far the caption rectangle moves down: by (control height − measured text
// bottom) at the bottom, half of that (towards zero) in the centre.
[[nodiscard]] int CaptionShift(TTextLayout layout, int controlHeight, int measuredBottom) noexcept;

// The save directory: a directory whose second and third characters are not ":\"
// lies in the program directory (which ends in a backslash). A UNC path
// ("\\server\share") is absolute too.
[[nodiscard]] std::string ResolveControlDir(const std::string& dir, const std::string& programDir);
// dir + "\" + name, without doubling a backslash that dir already ends in.
[[nodiscard]] std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace kv::skin
