#include "config/settings_schema.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "base/text_case.h"

namespace kv {
namespace {

using Contents = std::map<std::string, std::string>;  // "subkey|name" -> value

std::string Key(std::string_view subkey, std::string_view name) {
  return AsciiLowerCopy(subkey) + "|" + AsciiLowerCopy(name);
}

// What the first load leaves in an empty store, from the schema.
Contents FirstRunFromSchema(bool layeredWindows) {
  Contents out;
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i) {
    const SettingDef& d = kSettingsSchema[i];
    const bool written = d.firstRun == FirstRun::Written ||
                         (d.firstRun == FirstRun::WrittenWhereLayered && layeredWindows);
    if (!written) continue;
    out[Key(d.subkey, d.name)] =
        d.type == SettingType::String ? std::string(d.textDefault) : std::to_string(d.intDefault);
  }
  return out;
}

// The same, as the settings documentation lists it for a first run.
Contents FirstRunAsDocumented(bool layeredWindows) {
  Contents c = {
      {Key("Kv Options\\", "StayOnTop"), "0"},
      {Key("Kv Options\\", "Button Hints"), "1"},
      {Key("Kv Options\\", "Snap To Edge"), "1"},
      {Key("Kv Options\\", "Reversed MouseWheel"), "0"},
      {Key("Kv Options\\", "Pixel Threshold"), "30"},
      {Key("Kv Options\\", "Wallpaper Scroll"), "1"},
      {Key("Kv Options\\", "MenuStyles"), "2"},
      {Key("Kv Options\\", "Register Associations"), "0"},
      {Key("Kv Options\\", "Remove Orphans"), "1"},
      {Key("Kv Options\\", "Run On Startup"), "0"},
      {Key("Kv Options\\", "ShowKV"), "2"},
      {Key("Kv Options\\", "Auto Hide"), "0"},
      {Key("Kv Options\\", "Auto Hide Time"), "10"},
      {Key("Thumbnails\\", "Cache Enabled"), "1"},
      {Key("Thumbnails\\", "Width"), "100"},
      {Key("Buttons\\", "Enable Random Hotkey"), "0"},
      {Key("Buttons\\", "Enable Next Hotkey"), "0"},
      {Key("Buttons\\", "Enable Previous Hotkey"), "0"},
      {Key("Buttons\\", "Enable Pause Hotkey"), "0"},
      {Key("Form Effects\\", "Fade Step"), "15"},
      {Key("Directories\\", "Scaled Filter"), "0"},
      {Key("", "CurrentSkinFile"), "%default%"},
  };
  if (layeredWindows) {
    c[Key("Form Effects\\", "Enable")] = "1";
    c[Key("Form Effects\\", "Enable FormColours")] = "0";
  }
  return c;
}

TEST(SettingsSchema, FirstRunWritesExactlyTheDocumentedValues) {
  EXPECT_EQ(FirstRunFromSchema(true), FirstRunAsDocumented(true));
  EXPECT_EQ(FirstRunFromSchema(false), FirstRunAsDocumented(false));
}

TEST(SettingsSchema, MouseActionsAreNotWrittenOnFirstRun) {
  for (const char* name : {"Left", "Middle", "Right", "ShiftLeft", "ShiftMiddle", "ShiftRight"}) {
    const SettingDef* d = FindSetting("Buttons\\", name);
    ASSERT_NE(d, nullptr) << name;
    EXPECT_EQ(d->firstRun, FirstRun::Absent) << name;
  }
}

TEST(SettingsSchema, EachValueOnceWithItsDefaultInRange) {
  std::set<std::string> seen;
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i) {
    const SettingDef& d = kSettingsSchema[i];
    EXPECT_TRUE(seen.insert(Key(d.subkey, d.name)).second) << d.subkey << d.name;
    const std::string_view subkey(d.subkey);
    EXPECT_TRUE(subkey.empty() || subkey.back() == '\\') << d.subkey;
    if (d.firstRun != FirstRun::Absent) {
      EXPECT_TRUE(d.hasDefault) << d.name;
    }
    if (d.type == SettingType::String) {
      EXPECT_EQ(d.textDefault != nullptr, d.hasDefault) << d.name;
    } else if (d.hasDefault && (d.type == SettingType::Bool || d.type == SettingType::Int)) {
      EXPECT_LE(d.min, d.intDefault) << d.name;
      EXPECT_LE(d.intDefault, d.max) << d.name;
    }
  }
}

struct Lookup {
  const char* subkey;
  const char* name;
  SettingType type;
  std::int32_t intDefault;
  std::int32_t min;
  std::int32_t max;
};

class SchemaEntry : public ::testing::TestWithParam<Lookup> {};

TEST_P(SchemaEntry, HasTypeDefaultAndRange) {
  const Lookup& l = GetParam();
  const SettingDef* d = FindSetting(l.subkey, l.name);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->type, l.type);
  EXPECT_EQ(d->intDefault, l.intDefault);
  EXPECT_EQ(d->min, l.min);
  EXPECT_EQ(d->max, l.max);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, SchemaEntry,
    ::testing::Values(
        Lookup{"Thumbnails\\", "Compression", SettingType::Int, 100, 0, 100},
        Lookup{"thumbnails", "WIDTH", SettingType::Int, 100, 50, 200},
        Lookup{"Buttons\\", "PauseHotKey", SettingType::Shortcut, 0xE041, 0, 0xFFFF},
        Lookup{"Buttons\\", "Right", SettingType::Int, 7, 0, 16},
        Lookup{"Form Effects\\All Forms\\", "Hue", SettingType::Int, 0, 0, 100},
        Lookup{"Form Effects\\", "TaskbarTrans", SettingType::Int, 255, 0, 255},
        Lookup{"Directories\\", "Item8", SettingType::Int, 1, 0, 10},
        Lookup{"Directories\\", "Item11", SettingType::Int, 1, 0, 10},
        Lookup{"Wallpaper Changing\\", "HiddenRefreshInterval", SettingType::Int, 1, 1, 100},
        Lookup{"Forms\\Mainform\\", "Visible", SettingType::Bool, 1, 0, 1},
        Lookup{"Monitors\\", "Each Monitor Own Wallpaper", SettingType::Bool, 0, 0, 1},
        Lookup{"Monitors", "Monitor 5 Match Orientation", SettingType::Bool, 0, 0, 1},
        Lookup{"Forms\\kvBatchChangeForm\\", "Left", SettingType::Int, 1, INT32_MIN, INT32_MAX}));

TEST(SettingsSchema, ValuesWithoutDefaultAreTheDocumentedOnes) {
  std::set<std::string> none;
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i)
    if (!kSettingsSchema[i].hasDefault)
      none.insert(Key(kSettingsSchema[i].subkey, kSettingsSchema[i].name));
  EXPECT_EQ(none, (std::set<std::string>{Key("Wallpaper Changing\\", "Small Icons"),
                                         Key("", "Current Wallpaper List"),
                                         Key("", "Current Wall Number"), Key("", "CurrentPage")}));
}

TEST(SettingsSchema, UnknownValuesAreNotFound) {
  EXPECT_EQ(FindSetting("Kv Options\\", "Width"), nullptr);
  EXPECT_EQ(FindSetting("", "Item0"), nullptr);
  EXPECT_NE(FindSetting("Forms\\MAINFORM\\", "Visible"), nullptr);
}

}  // namespace
}  // namespace kv
