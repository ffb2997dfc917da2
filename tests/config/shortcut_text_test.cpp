#include "config/shortcut_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ShortcutText, EveryKeyWithEveryModifierSetReadsBack) {
  for (unsigned code = 1; code < 256; ++code)
    for (unsigned mods = 0; mods < 8; ++mods) {
      const auto word = static_cast<Shortcut>(code | (mods << 13));
      const std::string text = ShortcutToText(word);
      ASSERT_FALSE(text.empty()) << code;
      EXPECT_EQ(TextToShortcut(text), word) << text;
    }
}

TEST(ShortcutText, NoKeyIsTheEmptyTextAndBack) {
  EXPECT_EQ(ShortcutToText(0), "");
  EXPECT_EQ(ShortcutToText(kShortcutModifiers), "");
  EXPECT_EQ(TextToShortcut(""), 0);
}

struct TextCase {
  Shortcut word;
  const char* text;
};

class ShortcutWritten : public ::testing::TestWithParam<TextCase> {};

TEST_P(ShortcutWritten, AsTheMenuShortcutForm) {
  EXPECT_EQ(ShortcutToText(GetParam().word), GetParam().text);
  EXPECT_EQ(TextToShortcut(GetParam().text), GetParam().word);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ShortcutWritten,
    ::testing::Values(TextCase{kDefaultHotkey, "Shift+Ctrl+Alt+A"}, TextCase{0x4074, "Ctrl+F5"},
                      TextCase{0x2087, "Shift+F24"}, TextCase{0x0030, "0"},
                      TextCase{0x802E, "Alt+Del"}, TextCase{0xC06B, "Ctrl+Alt+Num +"},
                      TextCase{0x60BD, "Shift+Ctrl+-"}, TextCase{0x4020, "Ctrl+Space"},
                      TextCase{0x20E5, "Shift+$E5"}, TextCase{0xA0DC, "Shift+Alt+\\"}));

class ShortcutParsed : public ::testing::TestWithParam<TextCase> {};

TEST_P(ShortcutParsed, ToTheWord) { EXPECT_EQ(TextToShortcut(GetParam().text), GetParam().word); }

INSTANTIATE_TEST_SUITE_P(Lenient, ShortcutParsed,
                         ::testing::Values(TextCase{0xE041, "alt+ctrl+SHIFT+a"},
                                           TextCase{0x4074, "ctrl+f5"},
                                           TextCase{0x20E5, "Shift+$e5"},
                                           TextCase{0x406B, "Ctrl+num +"}));

INSTANTIATE_TEST_SUITE_P(
    Unparsable, ShortcutParsed,
    ::testing::Values(TextCase{0, "Shift+"}, TextCase{0, "Ctrl+Ctrl+A"}, TextCase{0, "Hyper+A"},
                      TextCase{0, "A+"}, TextCase{0, "F0"}, TextCase{0, "F25"}, TextCase{0, "F05"},
                      TextCase{0, "$41"}, TextCase{0, "$4"}, TextCase{0, " Ctrl+A"},
                      TextCase{0, "Ctrl+AB"}, TextCase{0, "Ctrl A"}, TextCase{0, "+"}));

}  // namespace
}  // namespace kv
