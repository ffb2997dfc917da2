#include "config/settings_schema.h"

#include <cstdlib>

#include "base/text_case.h"
#include "config/shortcut_text.h"

namespace kv {
namespace {

constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();
constexpr FirstRun W = FirstRun::Written;

constexpr SettingDef Bool(const char* key, const char* name, bool def,
                          FirstRun firstRun = FirstRun::Absent) {
  return {key, name, SettingType::Bool, true, def ? 1 : 0, nullptr, firstRun, 0, 1};
}
constexpr SettingDef Int(const char* key, const char* name, std::int32_t def, std::int32_t min,
                         std::int32_t max, FirstRun firstRun = FirstRun::Absent) {
  return {key, name, SettingType::Int, true, def, nullptr, firstRun, min, max};
}
// A setting with its options window control; the control starts showing the
// default unless `initial` says otherwise.
constexpr SettingDef Bound(SettingDef d, Option option, Shown shown, Taken taken = Taken::Applied) {
  d.option = option;
  d.shown = shown;
  d.taken = taken;
  d.initial = d.intDefault;
  return d;
}
constexpr SettingDef Check(SettingDef d, Option o, Taken t = Taken::Applied) {
  return Bound(d, o, Shown::Check, t);
}
constexpr SettingDef Spin(SettingDef d, Option o) { return Bound(d, o, Shown::Spin); }
constexpr SettingDef Choice(SettingDef d, Option o, Taken t = Taken::Applied) {
  return Bound(d, o, Shown::Choice, t);
}
constexpr SettingDef Text(SettingDef d, Option o, Taken t = Taken::Applied) {
  return Bound(d, o, Shown::Text, t);
}
constexpr SettingDef Particular(SettingDef d, Option o) { return Bound(d, o, Shown::Particular); }
constexpr SettingDef Initially(SettingDef d, std::int32_t initial) {
  d.initial = initial;
  return d;
}
constexpr Taken Always = Taken::AppliedAlways;
constexpr Taken Quiet = Taken::Quiet;
using O = Option;

constexpr SettingDef Hotkey(const char* name, const char* key = kButtonsKey) {
  return {key, name,  SettingType::Shortcut, true, kDefaultHotkey, nullptr, FirstRun::Absent,
          0,   0xFFFF};
}
constexpr SettingDef Colour(const char* name) {
  return {kWallpaperChangingKey,
          name,
          SettingType::Colour,
          true,
          0,
          nullptr,
          FirstRun::Absent,
          kMinInt,
          kAnyInt};
}
// A click action slot: action numbers 0 to 16; the default is shown, not written.
constexpr SettingDef Action(const char* name, std::int32_t def, Option option) {
  return Bound(Int(kButtonsKey, name, def, 0, 16), option, Shown::Choice);
}
// One intensity, hue or transparency of a form colour set: 0 to 100.
constexpr SettingDef Effect(const char* key, const char* name) { return Int(key, name, 0, 0, 100); }
// The default style of a file-type group: a style index, 1 (Stretch) by default.
constexpr SettingDef StyleRow(const char* name) {
  return Bound(Int(kDirectoriesKey, name, 1, 0, 10), Option::StyleDefault, Shown::Particular);
}
constexpr SettingDef Position(const char* key, const char* name) {
  return Int(key, name, 1, kMinInt, kAnyInt);
}

constexpr SettingDef MonitorList(const char* name) {
  return {kMonitorsKey, name, SettingType::String, true, 0, "", FirstRun::Absent, 0, 0};
}

}  // namespace

const SettingDef kSettingsSchema[] = {
    // General options.
    Check(Bool(kKvOptionsKey, "StayOnTop", false, W), O::StayOnTop, Always),
    Check(Bool(kKvOptionsKey, "Button Hints", true, W), O::ButtonHints),
    Check(Bool(kKvOptionsKey, "Snap To Edge", true, W), O::SnapToEdge, Always),
    Check(Bool(kKvOptionsKey, "Reversed MouseWheel", false, W), O::ReversedWheel),
    Spin(Int(kKvOptionsKey, "Pixel Threshold", 30, 0, 100, W), O::PixelThreshold),
    // The upper bound becomes the browser's preview count once the skin is known.
    Spin(Int(kKvOptionsKey, "Wallpaper Scroll", 1, 1, 5, W), O::WallpaperScroll),
    Choice(Int(kKvOptionsKey, "MenuStyles", 2, 0, 2, W), O::MenuStyles, Always),
    Check(Bool(kKvOptionsKey, "Register Associations", false, W), O::RegisterAssociations),
    // The manager reads this one on its own before the load, taking absent as off.
    Check(Bool(kKvOptionsKey, kRemoveOrphans, true, W), O::RemoveOrphans),
    Check(Bool(kKvOptionsKey, "Run On Startup", false, W), O::RunOnStartup),
    Choice(Int(kKvOptionsKey, "ShowKV", 2, 0, 2, W), O::ShowKV, Always),
    Check(Bool(kKvOptionsKey, "Auto Hide", false, W), O::AutoHide),
    // Written as 10, which the spin edit (initially 20) then shows.
    Initially(Spin(Int(kKvOptionsKey, "Auto Hide Time", 10, 1, 60, W), O::AutoHideTime), 20),

    // Thumbnail cache.
    Check(Bool(kThumbnailsKey, "Cache Enabled", true, W), O::CacheEnabled, Always),
    Spin(Int(kThumbnailsKey, "Compression", 100, 0, 100), O::Compression),
    Choice(Int(kThumbnailsKey, "Filter", 0, 0, 7), O::ThumbFilter),
    Spin(Int(kThumbnailsKey, "Width", 100, 50, 200, W), O::ThumbWidth),
    Check(Bool(kThumbnailsKey, "Remove Thumbs On Deletion", false), O::RemoveThumbs),
    Choice(Int(kThumbnailsKey, "Cache Regeneration", 0, 0, 1), O::CacheRegeneration, Quiet),
    Choice(Int(kThumbnailsKey, "ImageDisplayFilter", 0, 0, 7), O::DisplayFilter),

    // Tray click actions and global hotkeys.
    Action("Left", 0, O::ClickLeft),
    Action("Middle", 4, O::ClickMiddle),
    Action("Right", 7, O::ClickRight),
    Action("ShiftLeft", 5, O::ClickShiftLeft),
    Action("ShiftMiddle", 4, O::ClickShiftMiddle),
    Action("ShiftRight", 6, O::ClickShiftRight),
    Particular(Hotkey("RandomHotkey"), O::Hotkey),
    Particular(Hotkey("NextHotkey"), O::Hotkey),
    Particular(Hotkey("PreviousHotkey"), O::Hotkey),
    Particular(Hotkey("PauseHotKey"), O::Hotkey),
    Particular(Bool(kButtonsKey, "Enable Random Hotkey", false, W), O::HotkeyEnable),
    Particular(Bool(kButtonsKey, "Enable Next Hotkey", false, W), O::HotkeyEnable),
    Particular(Bool(kButtonsKey, "Enable Previous Hotkey", false, W), O::HotkeyEnable),
    Particular(Bool(kButtonsKey, "Enable Pause Hotkey", false, W), O::HotkeyEnable),

    // Switching and desktop icons.
    Check(Bool(kWallpaperChangingKey, "Startup Switch", false), O::StartupSwitch),
    Choice(Int(kWallpaperChangingKey, "Startup Switch Type", 0, 0, 2), O::StartupSwitchType, Quiet),
    Check(Bool(kWallpaperChangingKey, "Interval Switch", false), O::IntervalSwitch),
    // 0 to 100 as loaded; the unit box later narrows it to 60 minutes or 24 hours.
    Spin(Int(kWallpaperChangingKey, "Interval Switch Every", 0, 0, 100), O::IntervalEvery),
    Choice(Int(kWallpaperChangingKey, "Interval Switch TimeType", 0, 0, 1), O::IntervalUnit, Quiet),
    Choice(Int(kWallpaperChangingKey, "Interval Switch Type", 0, 0, 2), O::IntervalType, Quiet),
    Check(Bool(kWallpaperChangingKey, "Shutdown", false), O::ShutdownSwitch),
    Choice(Int(kWallpaperChangingKey, "Shutdown Switch Type", 0, 0, 2), O::ShutdownSwitchType,
           Quiet),
    Bool(kWallpaperChangingKey, kPaused, false),
    Check(Bool(kWallpaperChangingKey, "ChangeDiColour", false), O::DesktopColours),
    Check(Bool(kWallpaperChangingKey, "ChangeFGColour", false), O::TextColour),
    Check(Bool(kWallpaperChangingKey, "ChangeBGColour", false), O::BackgroundColour),
    Check(Bool(kWallpaperChangingKey, "TransDI", false), O::TransparentBG),
    Particular(Colour("FG Colour"), O::IconColour),
    Particular(Colour("BG Colour"), O::IconColour),
    Check(Bool(kWallpaperChangingKey, "AnalyseThumbnails", false), O::Analyse),
    Check(Bool(kWallpaperChangingKey, "GrayScale", false), O::GrayScale),
    Check(Bool(kWallpaperChangingKey, kHideIconsAlways, false), O::KeepIconsHidden),
    Spin(Int(kWallpaperChangingKey, "HiddenRefreshInterval", 1, 1, 100), O::HiddenRefresh),
    // Neither size box is ticked until a value is stored.
    Particular({kWallpaperChangingKey, kSmallIcons, SettingType::Bool, false, 0, nullptr,
                FirstRun::Absent, 0, 1},
               O::IconSize),

    // Form effects. "Enable" defaults to 1 only where layered windows exist (else
    // 0); its handler then also writes "Enable FormColours".
    Spin(Int(kFormEffectsKey, "TaskbarTrans", 255, 0, 255), O::TaskbarTrans),
    Initially(Check(Bool(kFormEffectsKey, "Enable", true, FirstRun::WrittenWhereLayered), O::Fade),
              0),
    Spin(Int(kFormEffectsKey, "Fade Delay", 1, 1, 100), O::FadeDelay),
    Initially(Spin(Int(kFormEffectsKey, "Fade Step", 15, 1, 100, W), O::FadeStep), 1),
    Check(Bool(kFormEffectsKey, "Enable FormColours", false, FirstRun::WrittenWhereLayered),
          O::FormColours),
    Choice(Int(kFormEffectsKey, "FormToChange", 0, 0, 2), O::FormToChange, Quiet),
    Particular(Effect(kFormEffectsBrowserKey, "Red"), O::FormEffect),
    Particular(Effect(kFormEffectsBrowserKey, "Green"), O::FormEffect),
    Particular(Effect(kFormEffectsBrowserKey, "Blue"), O::FormEffect),
    Particular(Effect(kFormEffectsBrowserKey, "Hue"), O::FormEffect),
    Particular(Effect(kFormEffectsBrowserKey, "Transparency"), O::FormEffect),
    Particular(Effect(kFormEffectsManagerKey, "Red"), O::FormEffect),
    Particular(Effect(kFormEffectsManagerKey, "Green"), O::FormEffect),
    Particular(Effect(kFormEffectsManagerKey, "Blue"), O::FormEffect),
    Particular(Effect(kFormEffectsManagerKey, "Hue"), O::FormEffect),
    Particular(Effect(kFormEffectsManagerKey, "Transparency"), O::FormEffect),
    Particular(Effect(kFormEffectsAllFormsKey, "Red"), O::FormEffect),
    Particular(Effect(kFormEffectsAllFormsKey, "Green"), O::FormEffect),
    Particular(Effect(kFormEffectsAllFormsKey, "Blue"), O::FormEffect),
    Particular(Effect(kFormEffectsAllFormsKey, "Hue"), O::FormEffect),
    Particular(Effect(kFormEffectsAllFormsKey, "Transparency"), O::FormEffect),

    // List defaults: the watched directory (empty: none), the default style per
    // file-type group (values of 11 and more are ignored), the scaled filter.
    Particular(
        {kDirectoriesKey, "WallPaperDir", SettingType::String, true, 0, "", FirstRun::Absent, 0, 0},
        O::WatchedDirectory),
    StyleRow("Item0"),
    StyleRow("Item1"),
    StyleRow("Item2"),
    StyleRow("Item3"),
    StyleRow("Item4"),
    StyleRow("Item5"),
    StyleRow("Item6"),
    StyleRow("Item7"),
    StyleRow("Item8"),
    // The groups of the newer formats (WebP; HEIC and HEIF; AVIF), after the
    // nine classic ones.
    StyleRow("Item9"),
    StyleRow("Item10"),
    StyleRow("Item11"),
    Choice(Int(kDirectoriesKey, "Scaled Filter", 0, 0, 7, W), O::ScaledFilter, Always),

    // Root values. The current list and wall number are worked out by the
    // manager when absent; "CurrentSkinFile" is written by the built-in skin
    // command that the first load runs; the tabs remember pages 1, 2 and 3 in
    // this order; with no "CurrentPage" the "About" page shows.
    {kRootKey, kCurrentWallpaperList, SettingType::String, false, 0, nullptr, FirstRun::Absent, 0,
     0},
    {kRootKey, kCurrentWallNumber, SettingType::Int, false, 0, nullptr, FirstRun::Absent, 0,
     kAnyInt},
    Particular(
        {kRootKey, kCurrentSkinFile, SettingType::String, true, 0, kDefaultSkinFile, W, 0, 0},
        O::SkinFile),
    Particular(Int(kRootKey, "CurrentPOTab", 0, 0, kAnyInt), O::PageTab),
    Particular(Int(kRootKey, "CurrentOSTab", 0, 0, kAnyInt), O::PageTab),
    Particular(Int(kRootKey, "CurrentWTab", 0, 0, kAnyInt), O::PageTab),
    Particular(
        {kRootKey, "CurrentPage", SettingType::Int, false, 0, nullptr, FirstRun::Absent, 0, 4},
        O::Page),

    // Extras: Random without repeats, the wallpaper history with its Back
    // hotkey, and filled bars for Scaled pictures.
    Check(Bool(kKvExtrasKey, kRandomWithoutRepeats, false), O::RandomWithoutRepeats, Quiet),
    Check(Bool(kKvExtrasKey, kKeepHistory, false), O::KeepHistory, Quiet),
    Check(Bool(kKvExtrasKey, kFillTheBars, false), O::FillTheBars, Quiet),
    Particular(Hotkey(kBackHotkey, kKvExtrasKey), O::BackHotkey),
    Check(Bool(kKvExtrasKey, kEnableBackHotkey, false), O::EnableBackHotkey, Quiet),

    // Every monitor its own wallpaper: only shown by the load, as the browser
    // reads them where it renders.
    Check(Bool(kMonitorsKey, kEachMonitorOwnWallpaper, false), O::EachMonitorOwn, Quiet),
    Text(MonitorList("Monitor 2 List"), O::MonitorList2, Quiet),
    Check(Bool(kMonitorsKey, "Monitor 2 Match Orientation", false), O::MonitorMatch2, Quiet),
    Text(MonitorList("Monitor 3 List"), O::MonitorList3, Quiet),
    Check(Bool(kMonitorsKey, "Monitor 3 Match Orientation", false), O::MonitorMatch3, Quiet),
    Text(MonitorList("Monitor 4 List"), O::MonitorList4, Quiet),
    Check(Bool(kMonitorsKey, "Monitor 4 Match Orientation", false), O::MonitorMatch4, Quiet),
    Text(MonitorList("Monitor 5 List"), O::MonitorList5, Quiet),
    Check(Bool(kMonitorsKey, "Monitor 5 Match Orientation", false), O::MonitorMatch5, Quiet),

    // Window visibility at the last exit (the browser shows when its value is
    // absent) and window positions; read and written outside the settings load.
    Bool(kBrowserFormKey, kFormVisible, true),
    Bool(kManagerFormKey, kFormVisible, false),
    Bool(kOptionsFormKey, kFormVisible, false),
    Position("Forms\\MainForm\\", kFormTop),
    Position("Forms\\MainForm\\", kFormLeft),
    Position(kManagerFormKey, kFormTop),
    Position(kManagerFormKey, kFormLeft),
    Position(kOptionsFormKey, kFormTop),
    Position(kOptionsFormKey, kFormLeft),
    Position("Forms\\SearchForm\\", kFormTop),
    Position("Forms\\SearchForm\\", kFormLeft),
    Position("Forms\\PropertyEditor\\", kFormTop),
    Position("Forms\\PropertyEditor\\", kFormLeft),
    Position("Forms\\kvBatchChangeForm\\", kFormTop),
    Position("Forms\\kvBatchChangeForm\\", kFormLeft),
};

const std::size_t kSettingsSchemaSize = sizeof kSettingsSchema / sizeof kSettingsSchema[0];

const SettingDef& SettingOf(Option option) {
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i)
    if (kSettingsSchema[i].option == option) return kSettingsSchema[i];
  std::abort();
}

const SettingDef* FindSetting(std::string_view subkey, std::string_view name) {
  const auto trim = [](std::string_view s) {
    while (!s.empty() && s.back() == '\\') s.remove_suffix(1);
    return s;
  };
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i) {
    const SettingDef& d = kSettingsSchema[i];
    if (EqualsIgnoringAsciiCase(trim(subkey), trim(d.subkey)) &&
        EqualsIgnoringAsciiCase(name, d.name))
      return &d;
  }
  return nullptr;
}

}  // namespace kv
