#pragma once
// What every settings store does, whatever holds the values: a typed test suite
// run over the in-memory store (natively and on Windows) and over the registry
// (on Windows). A backend provides Store(), Put/Get of raw values and KeyExists.

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "config/settings_store.h"

namespace kv::test {

template <typename Backend>
class SettingsStoreContract : public ::testing::Test {
 protected:
  Backend backend;
  SettingsStore& store() { return backend.Store(); }

  // The message of the kv::Error that `f` raises ("" when it raises none).
  template <typename F>
  static std::string ErrorOf(F&& f) {
    try {
      f();
    } catch (const Error& e) {
      return e.what();
    }
    return "";
  }
};

TYPED_TEST_SUITE_P(SettingsStoreContract);

TYPED_TEST_P(SettingsStoreContract, BoolIsADwordOfZeroOrOneReadAsNotZero) {
  this->store().RegWriteBool("Kv Options\\", "StayOnTop", true);
  this->store().RegWriteBool("Kv Options\\", "Auto Hide", false);
  EXPECT_EQ(this->backend.Get("Kv Options\\", "StayOnTop"), StoredValue::Dword(1));
  EXPECT_EQ(this->backend.Get("Kv Options\\", "Auto Hide"), StoredValue::Dword(0));
  this->backend.Put("Kv Options\\", "Snap To Edge", StoredValue::Dword(7));
  EXPECT_EQ(this->store().RegReadBool("Kv Options\\", "StayOnTop"), true);
  EXPECT_EQ(this->store().RegReadBool("Kv Options\\", "Auto Hide"), false);
  EXPECT_EQ(this->store().RegReadBool("Kv Options\\", "Snap To Edge"), true);
}

TYPED_TEST_P(SettingsStoreContract, AbsentValuesReadAsNothingAndCreateTheirKey) {
  EXPECT_EQ(this->store().RegReadBool("Buttons\\", "Enable Next Hotkey"), std::nullopt);
  EXPECT_EQ(this->store().RegReadInteger("Form Effects\\Manager\\", "Red"), std::nullopt);
  EXPECT_EQ(this->store().RegReadString("", "CurrentSkinFile"), std::nullopt);
  EXPECT_TRUE(this->backend.KeyExists("Buttons\\"));
  EXPECT_TRUE(this->backend.KeyExists("Form Effects\\Manager\\"));
}

TYPED_TEST_P(SettingsStoreContract, IntegersAreSigned32Bit) {
  for (std::int32_t v : {0, 1, -1, 100, INT32_MIN, INT32_MAX}) {
    this->store().RegWriteInteger("Forms\\MainForm\\", "Left", v);
    EXPECT_EQ(this->backend.Get("Forms\\MainForm\\", "Left"),
              StoredValue::Dword(static_cast<std::uint32_t>(v)));
    EXPECT_EQ(this->store().RegReadInteger("Forms\\MainForm\\", "Left"), v);
  }
}

TYPED_TEST_P(SettingsStoreContract, StringsKeepTextBeyondTheAnsiCodePage) {
  const std::string text = "C:\\Wände\\\xE2\x98\x80 sun\\list.lst";
  this->store().RegWriteString("", "Current Wallpaper List", text);
  EXPECT_EQ(this->backend.Get("", "Current Wallpaper List"), StoredValue::String(text));
  EXPECT_EQ(this->store().RegReadString("", "Current Wallpaper List"), text);
  this->store().RegWriteString("Directories\\", "WallPaperDir", "");
  EXPECT_EQ(this->store().RegReadString("Directories\\", "WallPaperDir"), "");
}

TYPED_TEST_P(SettingsStoreContract, KeyAndValueNamesIgnoreCase) {
  this->store().RegWriteInteger("Form Effects\\All Forms\\", "Transparency", 40);
  EXPECT_EQ(this->store().RegReadInteger("FORM EFFECTS\\all forms\\", "transparency"), 40);
  EXPECT_EQ(this->store().RegReadInteger("Form Effects\\All Forms", "TRANSPARENCY"), 40);
}

TYPED_TEST_P(SettingsStoreContract, ValueOfAnotherTypeRaisesInvalidDataType) {
  this->backend.Put("Kv Options\\", "Pixel Threshold", StoredValue::String("30"));
  this->backend.Put("", "CurrentSkinFile", StoredValue::Dword(1));
  this->backend.Put("Thumbnails\\", "Width", StoredValue{});
  EXPECT_EQ(
      this->ErrorOf([&] { (void)this->store().RegReadInteger("Kv Options\\", "Pixel Threshold"); }),
      "Invalid data type for 'Pixel Threshold'");
  EXPECT_EQ(
      this->ErrorOf([&] { (void)this->store().RegReadBool("Kv Options\\", "Pixel Threshold"); }),
      "Invalid data type for 'Pixel Threshold'");
  EXPECT_EQ(this->ErrorOf([&] { (void)this->store().RegReadString("", "CurrentSkinFile"); }),
            "Invalid data type for 'CurrentSkinFile'");
  EXPECT_EQ(this->ErrorOf([&] { (void)this->store().RegReadInteger("Thumbnails\\", "Width"); }),
            "Invalid data type for 'Width'");
}

TYPED_TEST_P(SettingsStoreContract, ShortcutsAreTextAndUnparsableTextIsNoKey) {
  this->store().RegWriteShortcut("Buttons\\", "NextHotkey", 0xE041);
  EXPECT_EQ(this->backend.Get("Buttons\\", "NextHotkey"), StoredValue::String("Shift+Ctrl+Alt+A"));
  EXPECT_EQ(this->store().RegReadShortcut("Buttons\\", "NextHotkey"), 0xE041);
  this->backend.Put("Buttons\\", "PauseHotKey", StoredValue::String("Ctrl+Banana"));
  EXPECT_EQ(this->store().RegReadShortcut("Buttons\\", "PauseHotKey"), 0);
  EXPECT_EQ(this->store().RegReadShortcut("Buttons\\", "RandomHotkey"), std::nullopt);
}

TYPED_TEST_P(SettingsStoreContract, ColoursAreTextAndUnparsableTextRaises) {
  this->store().RegWriteColour("Wallpaper Changing\\", "FG Colour", 0x80000008);
  this->store().RegWriteColour("Wallpaper Changing\\", "BG Colour", 0x00123456);
  EXPECT_EQ(this->backend.Get("Wallpaper Changing\\", "FG Colour"),
            StoredValue::String("clWindowText"));
  EXPECT_EQ(this->backend.Get("Wallpaper Changing\\", "BG Colour"),
            StoredValue::String("$00123456"));
  EXPECT_EQ(this->store().RegReadColour("Wallpaper Changing\\", "FG Colour"), 0x80000008u);
  this->backend.Put("Wallpaper Changing\\", "BG Colour", StoredValue::String("greenish"));
  EXPECT_EQ(this->ErrorOf(
                [&] { (void)this->store().RegReadColour("Wallpaper Changing\\", "BG Colour"); }),
            "Invalid colour value for 'BG Colour'");
}

TYPED_TEST_P(SettingsStoreContract, OverwritingChangesTheType) {
  this->backend.Put("Kv Options\\", "ShowKV", StoredValue::String("2"));
  this->store().RegWriteInteger("Kv Options\\", "ShowKV", 1);
  EXPECT_EQ(this->store().RegReadInteger("Kv Options\\", "ShowKV"), 1);
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreContract, BoolIsADwordOfZeroOrOneReadAsNotZero,
                            AbsentValuesReadAsNothingAndCreateTheirKey, IntegersAreSigned32Bit,
                            StringsKeepTextBeyondTheAnsiCodePage, KeyAndValueNamesIgnoreCase,
                            ValueOfAnotherTypeRaisesInvalidDataType,
                            ShortcutsAreTextAndUnparsableTextIsNoKey,
                            ColoursAreTextAndUnparsableTextRaises, OverwritingChangesTheType);

}  // namespace kv::test
