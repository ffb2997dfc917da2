// The options read at start-up into the program-wide copies.
#include "app/start_options.h"

#include <gtest/gtest.h>

#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "program/program_state.h"

namespace kv::app {
namespace {

class StartOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    program::Options = {};
    program::MouseAction = {};
    program::StayOnTopFlag = false;
  }
  MemorySettingsStore store;
};

TEST_F(StartOptions, StoredValuesAreTakenAndOutOfRangeOnesAreNot) {
  store.Put(kKvOptionsKey, "Reversed MouseWheel", StoredValue::Dword(1));
  store.Put(kKvOptionsKey, "StayOnTop", StoredValue::Dword(1));
  store.Put(kKvOptionsKey, "Wallpaper Scroll", StoredValue::Dword(3));
  store.Put(kKvOptionsKey, "Auto Hide Time", StoredValue::Dword(61));  // beyond 60 s
  store.Put(kThumbnailsKey, "ImageDisplayFilter", StoredValue::Dword(6));
  store.Put(kButtonsKey, "Left", StoredValue::Dword(5));
  store.Put(kButtonsKey, "Right", StoredValue::Dword(17));  // no such action
  ReadStartOptions(store);
  EXPECT_TRUE(program::Options.reversedMouseWheel);
  EXPECT_TRUE(program::StayOnTopFlag);
  EXPECT_EQ(program::Options.wallpaperScroll, 3);
  EXPECT_EQ(program::Options.autoHideTime, 10);
  EXPECT_EQ(program::Options.imageDisplayFilter, 6);
  EXPECT_EQ(program::MouseAction.left, 5);
  EXPECT_EQ(program::MouseAction.right, 7);
  EXPECT_EQ(program::MouseAction.shiftLeft, 5);
}

TEST_F(StartOptions, AValueOfTheWrongTypeEndsTheReading) {
  store.Put(kKvOptionsKey, "Button Hints", StoredValue::Dword(0));
  store.Put(kKvOptionsKey, "Reversed MouseWheel", StoredValue::String("yes"));
  store.Put(kThumbnailsKey, "ImageDisplayFilter", StoredValue::Dword(3));
  ReadStartOptions(store);
  EXPECT_FALSE(program::Options.buttonHints);
  EXPECT_FALSE(program::Options.reversedMouseWheel);
  EXPECT_EQ(program::Options.imageDisplayFilter, 0);  // never read
}

TEST_F(StartOptions, VisibilityFallsBackWhenAbsentOrUnreadable) {
  EXPECT_TRUE(WasVisible(store, "Mainform", true));
  EXPECT_FALSE(WasVisible(store, "ManagerForm", false));
  store.Put("Forms\\ManagerForm\\", "Visible", StoredValue::Dword(1));
  store.Put("Forms\\Mainform\\", "Visible", StoredValue::String("no"));
  EXPECT_TRUE(WasVisible(store, "ManagerForm", false));
  EXPECT_TRUE(WasVisible(store, "Mainform", true));
}

}  // namespace
}  // namespace kv::app
