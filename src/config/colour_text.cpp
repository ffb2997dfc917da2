#include "config/colour_text.h"

#include <cstdio>

#include "base/text_case.h"

namespace kv {
namespace {

struct ColourName {
  std::uint32_t value;
  const char* name;
};

// The sixteen fixed colours, the twenty-five system colours in the order of the
// system colour indices 0 to 24, and "no colour". No value appears twice, so the
// identifier of a value is unique.
constexpr ColourName kColourNames[] = {
    {0x000000, "clBlack"},
    {0x000080, "clMaroon"},
    {0x008000, "clGreen"},
    {0x008080, "clOlive"},
    {0x800000, "clNavy"},
    {0x800080, "clPurple"},
    {0x808000, "clTeal"},
    {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},
    {0x00FF00, "clLime"},
    {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},
    {0xFF00FF, "clFuchsia"},
    {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},
    {kSystemColourFlag | 0, "clScrollBar"},
    {kSystemColourFlag | 1, "clBackground"},
    {kSystemColourFlag | 2, "clActiveCaption"},
    {kSystemColourFlag | 3, "clInactiveCaption"},
    {kSystemColourFlag | 4, "clMenu"},
    {kSystemColourFlag | 5, "clWindow"},
    {kSystemColourFlag | 6, "clWindowFrame"},
    {kSystemColourFlag | 7, "clMenuText"},
    {kSystemColourFlag | 8, "clWindowText"},
    {kSystemColourFlag | 9, "clCaptionText"},
    {kSystemColourFlag | 10, "clActiveBorder"},
    {kSystemColourFlag | 11, "clInactiveBorder"},
    {kSystemColourFlag | 12, "clAppWorkSpace"},
    {kSystemColourFlag | 13, "clHighlight"},
    {kSystemColourFlag | 14, "clHighlightText"},
    {kSystemColourFlag | 15, "clBtnFace"},
    {kSystemColourFlag | 16, "clBtnShadow"},
    {kSystemColourFlag | 17, "clGrayText"},
    {kSystemColourFlag | 18, "clBtnText"},
    {kSystemColourFlag | 19, "clInactiveCaptionText"},
    {kSystemColourFlag | 20, "clBtnHighlight"},
    {kSystemColourFlag | 21, "cl3DDkShadow"},
    {kSystemColourFlag | 22, "cl3DLight"},
    {kSystemColourFlag | 23, "clInfoText"},
    {kSystemColourFlag | 24, "clInfoBk"},
    {kColourNone, "clNone"},
};

std::optional<std::uint32_t> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const char l = AsciiLower(c);
    int d;
    if (l >= '0' && l <= '9')
      d = l - '0';
    else if (l >= 'a' && l <= 'f')
      d = l - 'a' + 10;
    else
      return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(d);
  }
  return value;
}

// Decimal, optionally negative; the value must fit a signed or an unsigned
// 32-bit number and is taken modulo 2^32.
std::optional<std::uint32_t> ParseDecimal(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (negative ? value > 0x80000000ull : value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(negative ? 0 - value : value);
}

}  // namespace

std::string ColourToText(std::uint32_t colour) {
  for (const ColourName& c : kColourNames)
    if (c.value == colour) return c.name;
  char text[10];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(colour));
  return text;
}

std::optional<std::uint32_t> TextToColour(std::string_view text) {
  for (const ColourName& c : kColourNames)
    if (EqualsIgnoringAsciiCase(text, c.name)) return c.value;
  if (!text.empty() && text[0] == '$') return ParseHex(text.substr(1));
  if (text.size() > 2 && text[0] == '0' && AsciiLower(text[1]) == 'x')
    return ParseHex(text.substr(2));
  return ParseDecimal(text);
}

}  // namespace kv
