#pragma once
// The arithmetic of the four global hotkeys: the modifier rule of their edits,
// the split of a shortcut word into what RegisterHotKey takes, and the
// conversions between the shortcut word and the system hotkey control's form.

#include <cstdint>
#include <string>

#include "config/shortcut_text.h"

namespace kv {

// RegisterHotKey's modifier flags.
inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;

// The hotkey control's modifier flags (HOTKEYF_*).
inline constexpr std::uint8_t kHotkeyfShift = 1;
inline constexpr std::uint8_t kHotkeyfControl = 2;
inline constexpr std::uint8_t kHotkeyfAlt = 4;

// The combination an edit keeps for a typed one: a key without a modifier, or
// (when `shiftAloneAllowed` is false) with Shift as its only modifier, gets
// Shift+Ctrl+Alt instead. No key stays no key.
[[nodiscard]] Shortcut EnforceHotkeyModifiers(Shortcut typed, bool shiftAloneAllowed);

struct HotkeyRegistration {
  unsigned modifiers = 0;  // kMod* flags
  unsigned virtualKey = 0;
};
[[nodiscard]] HotkeyRegistration SplitShortcut(Shortcut shortcut);

// The hotkey control's word (modifiers in the high byte) and back.
[[nodiscard]] Shortcut ShortcutFromHotkeyControl(std::uint8_t virtualKey, std::uint8_t hotkeyf);
[[nodiscard]] std::uint8_t HotkeyControlModifiers(Shortcut shortcut);

// The warning shown when the system refuses a combination the user chose.
[[nodiscard]] std::string HotkeyTakenText(Shortcut shortcut);

}  // namespace kv
