#include "list/list_text.h"

#include <cstdint>

namespace kv {
namespace {

// Characters of the bytes 0x80 to 0x9F; 0xA0 to 0xFF are Latin-1 as they stand.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes the character at `i` and advances past it; nothing (and `i`
// unchanged) for an invalid or overlong sequence, a surrogate or a value beyond
// U+10FFFF.
std::optional<char32_t> NextUtf8(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  std::size_t length;
  char32_t c;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    length = 2, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    return std::nullopt;
  }
  if (s.size() - i < length) return std::nullopt;
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  i += length;
  return c;
}

std::optional<unsigned char> ToWindows1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (unsigned k = 0; k < 32; ++k)
    if (kHighControls[k] == c) return static_cast<unsigned char>(0x80 + k);
  return std::nullopt;
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x178) return 0xFF;
    // Latin Extended-A pairs capital and small letters; which of the two comes
    // first changes between 0x138 and 0x149 and again from 0x179.
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || c >= 0x179;
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    const bool capital = oddCapitals ? (c & 1) == 1 : (c & 1) == 0;
    return capital ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : b);
  }
  return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = NextUtf8(utf8, i);
    if (!c) return std::nullopt;
    const auto b = ToWindows1252(*c);
    if (!b) return std::nullopt;
    out += static_cast<char>(*b);
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();)
    if (!NextUtf8(text, i)) return false;
  return true;
}

std::string DecodeListField(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

std::string EncodeListField(std::string_view text, std::size_t maxBytes) {
  if (IsAscii(text)) return std::string(text.substr(0, maxBytes));
  if (auto ansi = Utf8ToWindows1252(text)) {
    if (ansi->size() > maxBytes) ansi->resize(maxBytes);
    // ANSI bytes that happen to form UTF-8 ("Ã©" is the UTF-8 of "é") would be
    // read back as another name; such a name is stored as UTF-8 instead.
    if (DecodeListField(*ansi) == Windows1252ToUtf8(*ansi)) return *ansi;
  }
  // Cut at a character boundary, so the field stays valid UTF-8.
  std::size_t end = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (!NextUtf8(text, i)) {
      // Not UTF-8 at all (no name the program makes): keep the bytes.
      return std::string(text.substr(0, maxBytes));
    }
    if (i > maxBytes) break;
    end = i;
  }
  return std::string(text.substr(0, end));
}

std::string FoldFileNameCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      const char b = utf8[i++];
      out += b >= 'A' && b <= 'Z' ? static_cast<char>(b + 0x20) : b;
      continue;
    }
    if (const auto c = NextUtf8(utf8, i)) {
      AppendUtf8(out, FoldCase(*c));
    } else {
      const char b = utf8[i++];
      out += b >= 'A' && b <= 'Z' ? static_cast<char>(b + 0x20) : b;
    }
  }
  return out;
}

}  // namespace kv
