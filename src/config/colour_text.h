#pragma once
// Colours as text, the form the settings (and skin files) keep them in: a
// standard colour identifier ("clBlack", "clWindowText", "clNone") or "$" and
// eight hexadecimal digits of the 32-bit value 0x00BBGGRR. A system colour is
// 0x80000000 plus the system colour index; "clNone" is 0x1FFFFFFF.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

inline constexpr std::uint32_t kSystemColourFlag = 0x80000000u;
inline constexpr std::uint32_t kColourNone = 0x1FFFFFFFu;

// The identifier when the value has one, else "$" + eight upper-case hex digits.
[[nodiscard]] std::string ColourToText(std::uint32_t colour);

// An identifier in any letter case, "$" or "0x" followed by one to eight hex
// digits, or a decimal number (a minus sign allowed) that fits in 32 bits.
// Anything else gives nothing.
[[nodiscard]] std::optional<std::uint32_t> TextToColour(std::string_view text);

}  // namespace kv
