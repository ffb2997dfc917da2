// The settings load and the controls' writes over the in-memory store, with a
// stand-in window that records what is applied and which Particular settings
// it is asked to read.
#include "config/settings_model.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "config/settings_store.h"
#include "list/styles.h"

namespace kv {
namespace {

using O = Option;
using Applied = std::vector<std::pair<std::string, std::int32_t>>;

struct StandInWindow : SettingsView {
  Applied applied;
  std::vector<std::string> particular;
  std::vector<std::string> shown;
  void Apply(const SettingDef& def, std::int32_t value) override {
    applied.emplace_back(def.name, value);
  }
  void Show(const SettingDef& def, std::int32_t) override { shown.emplace_back(def.name); }
  void ShowText(const SettingDef& def, const std::string& text) override {
    shown.push_back(std::string(def.name) + "=" + text);
  }
  void LoadParticular(const SettingDef& def) override { particular.emplace_back(def.name); }
};

struct Fixture {
  explicit Fixture(bool layered) : model(store, window, layered) {}
  MemorySettingsStore store;
  StandInWindow window;
  SettingsModel model;
  std::map<std::string, StoredValue> Written() const { return store.Values(); }
};

std::string Path(const SettingDef& d) { return SettingsKeyPath(d.subkey) + "|" + d.name; }

TEST(SettingsModel, AFirstRunWritesTheMarkedValuesAndAppliesOnlyWhatTheControlsDidNotShow) {
  for (const bool layered : {true, false}) {
    SCOPED_TRACE(layered ? "layered" : "no layered windows");
    Fixture f(layered);
    f.model.Load();
    // Every bound value a first run writes, and nothing else: the Particular
    // ones are the window's.
    std::map<std::string, StoredValue> expected;
    for (std::size_t i = 0; i < kSettingsSchemaSize; ++i) {
      const SettingDef& d = kSettingsSchema[i];
      const bool bound = d.shown == Shown::Check || d.shown == Shown::Spin ||
                         d.shown == Shown::Choice || d.shown == Shown::Text;
      const bool always = d.taken == Taken::AppliedAlways;
      if (bound && (f.model.WrittenOnFirstRun(d) || always))
        expected[Path(d)] = StoredValue::Dword(static_cast<std::uint32_t>(d.intDefault));
    }
    EXPECT_EQ(f.Written(), expected);
    // In load order: the controls whose initial state differs from the default
    // (the auto-minimise delay shows 20, fading starts unticked, the fade step
    // at 1), and those whose consumers always take the loaded value.
    Applied want = {{"StayOnTop", 0}, {"Snap To Edge", 1},    {"MenuStyles", 2},
                    {"ShowKV", 2},    {"Auto Hide Time", 10}, {"Cache Enabled", 1}};
    if (layered) want.emplace_back("Enable", 1);
    want.emplace_back("Fade Step", 15);
    want.emplace_back("Scaled Filter", 0);
    EXPECT_EQ(f.window.applied, want);
    EXPECT_EQ(f.model.Value(O::AutoHideTime), 10);
    EXPECT_EQ(f.model.On(O::Fade), layered);
    EXPECT_FALSE(f.model.Loading());
  }
}

// One row per rule: what is stored, what the model then holds, what is left
// in the store and whether the value was applied.
struct StoredCase {
  Option option;
  StoredValue stored;
  std::int32_t held;
  std::optional<std::int32_t> written;  // read back as an integer
  bool applied;
};

class StoredValueRule : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredValueRule, IsTakenHeldToItsRangeWrittenAndApplied) {
  const StoredCase& c = GetParam();
  const SettingDef& d = SettingOf(c.option);
  Fixture f(true);
  f.store.Put(d.subkey, d.name, c.stored);
  f.model.Load();
  EXPECT_EQ(f.model.Value(d), c.held);
  EXPECT_EQ(f.store.RegReadInteger(d.subkey, d.name), c.written);
  bool applied = false;
  for (const auto& [name, value] : f.window.applied)
    if (name == d.name) applied = value == c.held;
  EXPECT_EQ(applied, c.applied);
}

INSTANTIATE_TEST_SUITE_P(Rules, StoredValueRule,
                         ::testing::Values(
                             // Above the range: held to it, and the held value is written.
                             StoredCase{O::PixelThreshold, StoredValue::Dword(500), 100, 100, true},
                             // Equal to what the control shows: applied all the same.
                             StoredCase{O::FadeDelay, StoredValue::Dword(1), 1, 1, true},
                             StoredCase{O::AutoHideTime, StoredValue::Dword(20), 20, 20, true},
                             // A check box takes any number but 0 as ticked and writes 1.
                             StoredCase{O::IntervalSwitch, StoredValue::Dword(5), 1, 1, true},
                             // A choice beyond the items is passed over; a valid one is applied.
                             StoredCase{O::ClickLeft, StoredValue::Dword(17), 0, 17, false},
                             StoredCase{O::ClickLeft, StoredValue::Dword(3), 3, 3, true},
                             StoredCase{O::MenuStyles, StoredValue::Dword(9), 2, 2, true},
                             // Only shown: the unit, the switch types, the extras.
                             StoredCase{O::IntervalUnit, StoredValue::Dword(1), 1, 1, false},
                             StoredCase{O::KeepHistory, StoredValue::Dword(1), 1, 1, false},
                             // Below the range: held to it and written so.
                             StoredCase{O::Compression, StoredValue::Dword(0xFFFFFFFF), 0, 0,
                                        true}));

// A list field's text: shown by the load without a write or an effect (its
// rule is Quiet), then written as text and applied when the user changes it.
TEST(SettingsModel, ATextIsShownByTheLoadAndWrittenAndAppliedWhenChanged) {
  Fixture f(true);
  const SettingDef& second = SettingOf(O::MonitorList2);
  const SettingDef& third = SettingOf(O::MonitorList3);
  f.store.Put(third.subkey, third.name, StoredValue::String("D:\\walls\\tall.lst"));
  f.model.Load();
  EXPECT_EQ(f.model.Text(third), "D:\\walls\\tall.lst");
  EXPECT_EQ(f.model.Text(second), "");
  EXPECT_EQ(f.window.shown.back(), "Monitor 3 List=D:\\walls\\tall.lst");
  for (const auto& [name, value] : f.window.applied) EXPECT_NE(name.rfind("Monitor", 0), 0u);
  EXPECT_FALSE(f.store.RegReadString(second.subkey, second.name).has_value());

  f.window.applied.clear();
  f.model.ChangeText(second, "E:\\own.lst");
  EXPECT_EQ(f.store.RegReadString(second.subkey, second.name), "E:\\own.lst");
  EXPECT_EQ(f.window.applied, (Applied{{second.name, 0}}));
}

TEST(SettingsModel, AValueThatCannotBeReadEndsTheLoadAndTheRestKeepsItsInitialState) {
  Fixture f(true);
  const SettingDef& wheel = SettingOf(O::ReversedWheel);
  const SettingDef& top = SettingOf(O::StayOnTop);
  f.store.Put(top.subkey, top.name, StoredValue::Dword(1));
  f.store.Put(wheel.subkey, wheel.name, StoredValue::String("yes"));
  f.store.Put(SettingOf(O::ThumbWidth).subkey, SettingOf(O::ThumbWidth).name,
              StoredValue::Dword(180));
  f.model.Load();
  EXPECT_TRUE(f.model.On(O::StayOnTop));         // read before the fault
  EXPECT_EQ(f.model.Value(O::ThumbWidth), 100);  // after it: the initial value
  EXPECT_EQ(f.store.RegReadInteger(SettingOf(O::ThumbWidth).subkey, SettingOf(O::ThumbWidth).name),
            180);  // nothing lost
  EXPECT_TRUE(f.window.particular.empty());
  EXPECT_FALSE(f.model.Loading());
}

TEST(SettingsModel, ParticularSettingsAreReadByTheWindowInTheSchemasOrder) {
  Fixture f(true);
  f.model.Load();
  std::vector<std::string> expected;
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i)
    if (kSettingsSchema[i].shown == Shown::Particular) expected.push_back(kSettingsSchema[i].name);
  EXPECT_EQ(f.window.particular, expected);
  // The groups the window handles by position.
  EXPECT_EQ(SettingsModel::Group(O::Hotkey).size(), 4u);
  EXPECT_EQ(SettingsModel::Group(O::HotkeyEnable).size(), 4u);
  EXPECT_EQ(SettingsModel::Group(O::FormEffect).size(), 15u);
  EXPECT_EQ(SettingsModel::Group(O::StyleDefault).size(),
            static_cast<std::size_t>(kFileTypeGroupCount));
  EXPECT_EQ(SettingsModel::Group(O::PageTab).size(), 3u);
}

TEST(SettingsModel, AChangeIsHeldWrittenShownAndAppliedAndANarrowedMaximumHolds) {
  Fixture f(true);
  const SettingDef& every = SettingOf(O::IntervalEvery);
  f.model.Change(every, 90);
  EXPECT_EQ(f.store.RegReadInteger(every.subkey, every.name), 90);
  f.model.SetMaximum(every, 24);
  f.model.Change(every, f.model.Value(every));
  EXPECT_EQ(f.model.Value(every), 24);
  EXPECT_EQ(f.store.RegReadInteger(every.subkey, every.name), 24);
  EXPECT_EQ(f.window.applied, (Applied{{every.name, 90}, {every.name, 24}}));
  EXPECT_EQ(f.window.shown, (std::vector<std::string>{every.name, every.name}));
  // A failed write reaches the caller; the value is held all the same.
  f.store.failWrites = true;
  EXPECT_ANY_THROW(f.model.Change(O::StayOnTop, 1));
  EXPECT_TRUE(f.model.On(O::StayOnTop));
}

// Every control's binding is whole: one entry per bound control, its starting
// value within its range, a choice's range starting at its first item.
TEST(SettingsModel, EveryBindingIsWhole) {
  std::set<Option> seen;
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i) {
    const SettingDef& d = kSettingsSchema[i];
    SCOPED_TRACE(d.name);
    if (d.shown == Shown::None) {
      EXPECT_EQ(d.option, Option::None);
      continue;
    }
    ASSERT_NE(d.option, Option::None);
    if (d.shown != Shown::Particular) {
      EXPECT_EQ(&SettingOf(d.option), &d);
      EXPECT_TRUE(seen.insert(d.option).second);
    }
    if (d.shown == Shown::Choice) {
      EXPECT_EQ(d.min, 0);
    }
    if (d.shown == Shown::Check) {
      EXPECT_EQ(d.type, SettingType::Bool);
    }
    if (d.shown == Shown::Text) {
      EXPECT_EQ(d.type, SettingType::String);
    }
    if (d.shown == Shown::Spin || d.shown == Shown::Choice) {
      EXPECT_EQ(d.type, SettingType::Int);
      EXPECT_LE(d.min, d.initial);
      EXPECT_LE(d.initial, d.max);
    }
  }
  // Each monitor's row reaches that monitor's settings.
  for (int monitor = 2; monitor <= kMonitorSettingsCount + 1; ++monitor) {
    const std::string n = "Monitor " + std::to_string(monitor);
    EXPECT_EQ(SettingOf(MonitorListOption(monitor)).name, n + " List");
    EXPECT_EQ(SettingOf(MonitorMatchOption(monitor)).name, n + " Match Orientation");
  }
}

}  // namespace
}  // namespace kv
