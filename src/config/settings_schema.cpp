#include "config/settings_schema.h"

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
constexpr SettingDef Hotkey(const char* name, const char* key = kButtonsKey) {
  return {key,            name,    SettingType::Shortcut, true,
          kDefaultHotkey, nullptr, FirstRun::Absent,      0,
          0xFFFF};
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
constexpr SettingDef Action(const char* name, std::int32_t def) {
  return Int(kButtonsKey, name, def, 0, 16);
}
// One intensity, hue or transparency of a form colour set: 0 to 100.
constexpr SettingDef Effect(const char* key, const char* name) { return Int(key, name, 0, 0, 100); }
// The default style of a file-type group: a style index, 1 (Stretch) by default.
constexpr SettingDef StyleRow(const char* name) { return Int(kDirectoriesKey, name, 1, 0, 10); }
constexpr SettingDef Position(const char* key, const char* name) {
  return Int(key, name, 1, kMinInt, kAnyInt);
}

constexpr char kMainFormVisibleKey[] = "Forms\\Mainform\\";

}  // namespace

const SettingDef kSettingsSchema[] = {
    // General options.
    Bool(kKvOptionsKey, "StayOnTop", false, W),
    Bool(kKvOptionsKey, "Button Hints", true, W),
    Bool(kKvOptionsKey, "Snap To Edge", true, W),
    Bool(kKvOptionsKey, "Reversed MouseWheel", false, W),
    Int(kKvOptionsKey, "Pixel Threshold", 30, 0, 100, W),
    // The upper bound becomes the browser's preview count once the skin is known.
    Int(kKvOptionsKey, "Wallpaper Scroll", 1, 1, 5, W),
    Int(kKvOptionsKey, "MenuStyles", 2, 0, 2, W),
    Bool(kKvOptionsKey, "Register Associations", false, W),
    // The manager reads this one on its own before the load, taking absent as off.
    Bool(kKvOptionsKey, "Remove Orphans", true, W),
    Bool(kKvOptionsKey, "Run On Startup", false, W),
    Int(kKvOptionsKey, "ShowKV", 2, 0, 2, W),
    Bool(kKvOptionsKey, "Auto Hide", false, W),
    // Written as 10, which the spin edit (initially 20) then shows.
    Int(kKvOptionsKey, "Auto Hide Time", 10, 1, 60, W),

    // Thumbnail cache.
    Bool(kThumbnailsKey, "Cache Enabled", true, W),
    Int(kThumbnailsKey, "Compression", 100, 0, 100),
    Int(kThumbnailsKey, "Filter", 0, 0, 7),
    Int(kThumbnailsKey, "Width", 100, 50, 200, W),
    Bool(kThumbnailsKey, "Remove Thumbs On Deletion", false),
    Int(kThumbnailsKey, "Cache Regeneration", 0, 0, 1),
    Int(kThumbnailsKey, "ImageDisplayFilter", 0, 0, 7),

    // Tray click actions and global hotkeys.
    Action("Left", 0),
    Action("Middle", 4),
    Action("Right", 7),
    Action("ShiftLeft", 5),
    Action("ShiftMiddle", 4),
    Action("ShiftRight", 6),
    Hotkey("RandomHotkey"),
    Hotkey("NextHotkey"),
    Hotkey("PreviousHotkey"),
    Hotkey("PauseHotKey"),
    Bool(kButtonsKey, "Enable Random Hotkey", false, W),
    Bool(kButtonsKey, "Enable Next Hotkey", false, W),
    Bool(kButtonsKey, "Enable Previous Hotkey", false, W),
    Bool(kButtonsKey, "Enable Pause Hotkey", false, W),

    // Switching and desktop icons.
    Bool(kWallpaperChangingKey, "Startup Switch", false),
    Int(kWallpaperChangingKey, "Startup Switch Type", 0, 0, 2),
    Bool(kWallpaperChangingKey, "Interval Switch", false),
    // 0 to 100 as loaded; the unit box later narrows it to 60 minutes or 24 hours.
    Int(kWallpaperChangingKey, "Interval Switch Every", 0, 0, 100),
    Int(kWallpaperChangingKey, "Interval Switch TimeType", 0, 0, 1),
    Int(kWallpaperChangingKey, "Interval Switch Type", 0, 0, 2),
    Bool(kWallpaperChangingKey, "Shutdown", false),
    Int(kWallpaperChangingKey, "Shutdown Switch Type", 0, 0, 2),
    Bool(kWallpaperChangingKey, "Paused", false),
    Bool(kWallpaperChangingKey, "ChangeDiColour", false),
    Bool(kWallpaperChangingKey, "ChangeFGColour", false),
    Bool(kWallpaperChangingKey, "ChangeBGColour", false),
    Bool(kWallpaperChangingKey, "TransDI", false),
    Colour("FG Colour"),
    Colour("BG Colour"),
    Bool(kWallpaperChangingKey, "AnalyseThumbnails", false),
    Bool(kWallpaperChangingKey, "GrayScale", false),
    Bool(kWallpaperChangingKey, "HideIconsAlways", false),
    Int(kWallpaperChangingKey, "HiddenRefreshInterval", 1, 1, 100),
    // Neither size box is ticked until a value is stored.
    {kWallpaperChangingKey, "Small Icons", SettingType::Bool, false, 0, nullptr, FirstRun::Absent,
     0, 1},

    // Form effects. "Enable" defaults to 1 only where layered windows exist (else
    // 0); its handler then also writes "Enable FormColours".
    Int(kFormEffectsKey, "TaskbarTrans", 255, 0, 255),
    Bool(kFormEffectsKey, "Enable", true, FirstRun::WrittenWhereLayered),
    Int(kFormEffectsKey, "Fade Delay", 1, 1, 100),
    Int(kFormEffectsKey, "Fade Step", 15, 1, 100, W),
    Bool(kFormEffectsKey, "Enable FormColours", false, FirstRun::WrittenWhereLayered),
    Int(kFormEffectsKey, "FormToChange", 0, 0, 2),
    Effect(kFormEffectsBrowserKey, "Red"),
    Effect(kFormEffectsBrowserKey, "Green"),
    Effect(kFormEffectsBrowserKey, "Blue"),
    Effect(kFormEffectsBrowserKey, "Hue"),
    Effect(kFormEffectsBrowserKey, "Transparency"),
    Effect(kFormEffectsManagerKey, "Red"),
    Effect(kFormEffectsManagerKey, "Green"),
    Effect(kFormEffectsManagerKey, "Blue"),
    Effect(kFormEffectsManagerKey, "Hue"),
    Effect(kFormEffectsManagerKey, "Transparency"),
    Effect(kFormEffectsAllFormsKey, "Red"),
    Effect(kFormEffectsAllFormsKey, "Green"),
    Effect(kFormEffectsAllFormsKey, "Blue"),
    Effect(kFormEffectsAllFormsKey, "Hue"),
    Effect(kFormEffectsAllFormsKey, "Transparency"),

    // List defaults: the watched directory (empty: none), the default style per
    // file-type group (values of 11 and more are ignored), the scaled filter.
    {kDirectoriesKey, "WallPaperDir", SettingType::String, true, 0, "", FirstRun::Absent, 0, 0},
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
    Int(kDirectoriesKey, "Scaled Filter", 0, 0, 7, W),

    // Root values. The current list and wall number are worked out by the
    // manager when absent; "CurrentSkinFile" is written by the built-in skin
    // command that the first load runs; with no "CurrentPage" the "About" page
    // shows.
    {kRootKey, "Current Wallpaper List", SettingType::String, false, 0, nullptr, FirstRun::Absent,
     0, 0},
    {kRootKey, "Current Wall Number", SettingType::Int, false, 0, nullptr, FirstRun::Absent, 0,
     kAnyInt},
    {kRootKey, "CurrentSkinFile", SettingType::String, true, 0, kDefaultSkinFile, W, 0, 0},
    Int(kRootKey, "CurrentPOTab", 0, 0, kAnyInt),
    Int(kRootKey, "CurrentWTab", 0, 0, kAnyInt),
    Int(kRootKey, "CurrentOSTab", 0, 0, kAnyInt),
    {kRootKey, "CurrentPage", SettingType::Int, false, 0, nullptr, FirstRun::Absent, 0, 4},

    // Extras: Random without repeats, the wallpaper history with its Back
    // hotkey, and filled bars for Scaled pictures.
    Bool(kKvExtrasKey, kRandomWithoutRepeats, false),
    Bool(kKvExtrasKey, kKeepHistory, false),
    Bool(kKvExtrasKey, kFillTheBars, false),
    Hotkey(kBackHotkey, kKvExtrasKey),
    Bool(kKvExtrasKey, kEnableBackHotkey, false),

    // Window visibility at the last exit (the browser shows when its value is
    // absent) and window positions; read and written outside the settings load.
    Bool(kMainFormVisibleKey, "Visible", true),
    Bool("Forms\\ManagerForm\\", "Visible", false),
    Bool("Forms\\OptionsForm\\", "Visible", false),
    Position("Forms\\MainForm\\", "Top"),
    Position("Forms\\MainForm\\", "Left"),
    Position("Forms\\ManagerForm\\", "Top"),
    Position("Forms\\ManagerForm\\", "Left"),
    Position("Forms\\OptionsForm\\", "Top"),
    Position("Forms\\OptionsForm\\", "Left"),
    Position("Forms\\SearchForm\\", "Top"),
    Position("Forms\\SearchForm\\", "Left"),
    Position("Forms\\PropertyEditor\\", "Top"),
    Position("Forms\\PropertyEditor\\", "Left"),
    Position("Forms\\kvBatchChangeForm\\", "Top"),
    Position("Forms\\kvBatchChangeForm\\", "Left"),
};

const std::size_t kSettingsSchemaSize = sizeof kSettingsSchema / sizeof kSettingsSchema[0];

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
