#include "config/shortcut_text.h"

#include <array>
#include <cstdio>

#include "base/text_case.h"

namespace kv {
namespace {

struct Prefix {
  const char* text;
  Shortcut flag;
};
constexpr Prefix kPrefixes[] = {
    {"Shift+", kShortcutShift}, {"Ctrl+", kShortcutCtrl}, {"Alt+", kShortcutAlt}};

// Named keys beyond letters, digits and F1 to F24. Other key codes are written as
// "$" and two hexadecimal digits, so every code has a name that reads back.
struct NamedKey {
  std::uint8_t code;
  const char* name;
};
constexpr NamedKey kNamedKeys[] = {
    {0x08, "BkSp"},        {0x09, "Tab"},   {0x0C, "Clear"},   {0x0D, "Enter"}, {0x13, "Pause"},
    {0x14, "Caps Lock"},   {0x1B, "Esc"},   {0x20, "Space"},   {0x21, "PgUp"},  {0x22, "PgDn"},
    {0x23, "End"},         {0x24, "Home"},  {0x25, "Left"},    {0x26, "Up"},    {0x27, "Right"},
    {0x28, "Down"},        {0x2C, "PrtSc"}, {0x2D, "Ins"},     {0x2E, "Del"},   {0x60, "Num 0"},
    {0x61, "Num 1"},       {0x62, "Num 2"}, {0x63, "Num 3"},   {0x64, "Num 4"}, {0x65, "Num 5"},
    {0x66, "Num 6"},       {0x67, "Num 7"}, {0x68, "Num 8"},   {0x69, "Num 9"}, {0x6A, "Num *"},
    {0x6B, "Num +"},       {0x6D, "Num -"}, {0x6E, "Num Del"}, {0x6F, "Num /"}, {0x90, "Num Lock"},
    {0x91, "Scroll Lock"}, {0xBA, ";"},     {0xBB, "="},       {0xBC, ","},     {0xBD, "-"},
    {0xBE, "."},           {0xBF, "/"},     {0xC0, "`"},       {0xDB, "["},     {0xDC, "\\"},
    {0xDD, "]"},           {0xDE, "'"},
};

constexpr std::uint8_t kF1 = 0x70;
constexpr std::uint8_t kF24 = 0x87;

std::string KeyName(std::uint8_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
    return std::string(1, static_cast<char>(code));
  if (code >= kF1 && code <= kF24) return "F" + std::to_string(code - kF1 + 1);
  for (const NamedKey& k : kNamedKeys)
    if (k.code == code) return k.name;
  char hex[4];
  std::snprintf(hex, sizeof hex, "$%02X", code);
  return hex;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The key code of a name, 0 when there is none.
std::uint8_t KeyCode(std::string_view name) {
  if (name.size() == 1) {
    const char c = AsciiUpper(name[0]);
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return static_cast<std::uint8_t>(c);
  }
  if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3 && name.size() >= 2) {
    int n = 0;
    for (std::size_t i = 1; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') return 0;
      n = n * 10 + (name[i] - '0');
    }
    if (name[1] != '0' && n >= 1 && n <= kF24 - kF1 + 1)
      return static_cast<std::uint8_t>(kF1 + n - 1);
    return 0;
  }
  if (name[0] == '$' && name.size() == 3) {
    const int hi = HexDigit(name[1]), lo = HexDigit(name[2]);
    if (hi < 0 || lo < 0) return 0;
    const auto code = static_cast<std::uint8_t>(hi * 16 + lo);
    // Only codes without a name of their own are written this way.
    return EqualsIgnoringAsciiCase(KeyName(code), name) ? code : 0;
  }
  for (const NamedKey& k : kNamedKeys)
    if (EqualsIgnoringAsciiCase(name, k.name)) return k.code;
  return 0;
}

}  // namespace

std::string ShortcutToText(Shortcut shortcut) {
  const std::uint8_t code = ShortcutKey(shortcut);
  if (code == 0) return {};
  std::string text;
  for (const Prefix& p : kPrefixes)
    if (shortcut & p.flag) text += p.text;
  return text + KeyName(code);
}

Shortcut TextToShortcut(std::string_view text) {
  Shortcut modifiers = 0;
  for (bool more = true; more;) {
    more = false;
    for (const Prefix& p : kPrefixes) {
      const std::string_view prefix(p.text);
      // "Num +" ends in a plus, so a prefix is taken only when a key name follows.
      if (text.size() > prefix.size() &&
          EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix)) {
        if (modifiers & p.flag) return 0;
        modifiers |= p.flag;
        text.remove_prefix(prefix.size());
        more = true;
      }
    }
  }
  if (text.empty()) return 0;
  const std::uint8_t code = KeyCode(text);
  return code == 0 ? 0 : static_cast<Shortcut>(modifiers | code);
}

}  // namespace kv
