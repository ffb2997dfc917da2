// The hotkey edits' modifier rule and the conversions around RegisterHotKey.
#include "config/hotkey_rules.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

struct ModifierCase {
  Shortcut typed;
  bool shiftAloneAllowed;
  Shortcut kept;
};

TEST(HotkeyRules, ACombinationWithoutAModifierGetsAllThree) {
  const Shortcut s = kShortcutShift, c = kShortcutCtrl, a = kShortcutAlt, all = kShortcutModifiers;
  const ModifierCase cases[] = {
      {0x74, false, static_cast<Shortcut>(all | 0x74)},  // plain F5 in the Next edit
      {0x74, true, static_cast<Shortcut>(all | 0x74)},
      {static_cast<Shortcut>(s | 'A'), false, static_cast<Shortcut>(all | 'A')},
      {static_cast<Shortcut>(s | 'A'), true, static_cast<Shortcut>(s | 'A')},  // Random only
      {static_cast<Shortcut>(c | 'A'), false, static_cast<Shortcut>(c | 'A')},
      {static_cast<Shortcut>(a | s | 'Z'), false, static_cast<Shortcut>(a | s | 'Z')},
      {0, false, 0},  // no key stays no key
      {static_cast<Shortcut>(c), false, 0},
  };
  for (const ModifierCase& k : cases)
    EXPECT_EQ(EnforceHotkeyModifiers(k.typed, k.shiftAloneAllowed), k.kept) << std::hex << k.typed;
}

TEST(HotkeyRules, TheShortcutWordSplitsIntoRegisterHotKeyFlags) {
  const HotkeyRegistration d = SplitShortcut(kDefaultHotkey);
  EXPECT_EQ(d.virtualKey, 'A');
  EXPECT_EQ(d.modifiers, kModShift | kModControl | kModAlt);
  const HotkeyRegistration ctrl = SplitShortcut(static_cast<Shortcut>(kShortcutCtrl | 0x70));
  EXPECT_EQ(ctrl.virtualKey, 0x70u);
  EXPECT_EQ(ctrl.modifiers, kModControl);
}

TEST(HotkeyRules, TheHotkeyControlsFormRoundTrips) {
  for (unsigned mods = 0; mods <= kShortcutModifiers; mods += kShortcutShift) {
    const auto s = static_cast<Shortcut>(mods | 'Q');
    EXPECT_EQ(ShortcutFromHotkeyControl('Q', HotkeyControlModifiers(s)), s);
  }
  EXPECT_EQ(HotkeyControlModifiers(kDefaultHotkey), kHotkeyfShift | kHotkeyfControl | kHotkeyfAlt);
}

TEST(HotkeyRules, TheWarningNamesTheCombination) {
  EXPECT_NE(HotkeyTakenText(kDefaultHotkey).find("Shift+Ctrl+Alt+A"), std::string::npos);
  EXPECT_NE(HotkeyTakenText(0).find("(none)"), std::string::npos);
}

}  // namespace
}  // namespace kv
