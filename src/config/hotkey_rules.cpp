#include "config/hotkey_rules.h"

namespace kv {

Shortcut EnforceHotkeyModifiers(Shortcut typed, bool shiftAloneAllowed) {
  const Shortcut key = ShortcutKey(typed);
  if (key == 0) return 0;
  const Shortcut modifiers = typed & kShortcutModifiers;
  const bool rejected = modifiers == 0 || (!shiftAloneAllowed && modifiers == kShortcutShift);
  return static_cast<Shortcut>(key | (rejected ? kShortcutModifiers : modifiers));
}

HotkeyRegistration SplitShortcut(Shortcut shortcut) {
  HotkeyRegistration r;
  r.virtualKey = ShortcutKey(shortcut);
  if (shortcut & kShortcutShift) r.modifiers |= kModShift;
  if (shortcut & kShortcutAlt) r.modifiers |= kModAlt;
  if (shortcut & kShortcutCtrl) r.modifiers |= kModControl;
  return r;
}

Shortcut ShortcutFromHotkeyControl(std::uint8_t virtualKey, std::uint8_t hotkeyf) {
  Shortcut s = virtualKey;
  if (hotkeyf & kHotkeyfShift) s |= kShortcutShift;
  if (hotkeyf & kHotkeyfControl) s |= kShortcutCtrl;
  if (hotkeyf & kHotkeyfAlt) s |= kShortcutAlt;
  return s;
}

std::uint8_t HotkeyControlModifiers(Shortcut shortcut) {
  std::uint8_t m = 0;
  if (shortcut & kShortcutShift) m |= kHotkeyfShift;
  if (shortcut & kShortcutCtrl) m |= kHotkeyfControl;
  if (shortcut & kShortcutAlt) m |= kHotkeyfAlt;
  return m;
}

std::string HotkeyTakenText(Shortcut shortcut) {
  const std::string text = ShortcutToText(shortcut);
  return "The hotkey " + (text.empty() ? std::string("(none)") : text) +
         " could not be registered: another program or another Kestrova hotkey already "
         "uses it.";
}

}  // namespace kv
