#pragma once
// Key combinations as the settings keep them: a 16-bit shortcut word (virtual
// key code in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt) and its text
// form, the modifier prefixes "Shift+", "Ctrl+", "Alt+" in this order followed by
// the key's name ("Shift+Ctrl+Alt+A").

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

using Shortcut = std::uint16_t;

inline constexpr Shortcut kShortcutShift = 0x2000;
inline constexpr Shortcut kShortcutCtrl = 0x4000;
inline constexpr Shortcut kShortcutAlt = 0x8000;
inline constexpr Shortcut kShortcutModifiers = kShortcutShift | kShortcutCtrl | kShortcutAlt;

// Shift+Ctrl+Alt+A, the combination every hotkey starts with.
inline constexpr Shortcut kDefaultHotkey = 0xE041;

[[nodiscard]] constexpr std::uint8_t ShortcutKey(Shortcut s) {
  return static_cast<std::uint8_t>(s & 0xFF);
}

// The text form; no key (virtual key 0) gives the empty text. Bits other than the
// key and the three modifiers are not part of the form and are dropped.
[[nodiscard]] std::string ShortcutToText(Shortcut shortcut);

// The word for a text form. Prefixes and key names match in any letter case and
// the prefixes in any order (each at most once); text that does not parse, the
// empty text included, gives 0 (no key).
[[nodiscard]] Shortcut TextToShortcut(std::string_view text);

}  // namespace kv
