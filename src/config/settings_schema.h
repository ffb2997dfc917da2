#pragma once
// Every value of the settings store in one table: where it lives, its type, the
// value in force when the store holds none, whether the first settings load
// writes it back when absent, and its range. The options window, the settings
// load and the tests all read these facts from here.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace kv {

// Subkeys of the settings root (the empty subkey is the root itself).
inline constexpr char kKvOptionsKey[] = "Kv Options\\";
inline constexpr char kThumbnailsKey[] = "Thumbnails\\";
inline constexpr char kButtonsKey[] = "Buttons\\";
inline constexpr char kWallpaperChangingKey[] = "Wallpaper Changing\\";
inline constexpr char kFormEffectsKey[] = "Form Effects\\";
inline constexpr char kFormEffectsBrowserKey[] = "Form Effects\\Browser\\";
inline constexpr char kFormEffectsManagerKey[] = "Form Effects\\Manager\\";
inline constexpr char kFormEffectsAllFormsKey[] = "Form Effects\\All Forms\\";
inline constexpr char kDirectoriesKey[] = "Directories\\";
inline constexpr char kRootKey[] = "";
// Options beyond the classic set: all off until the user turns them on, and
// none written before, so a store without them behaves as it always did.
inline constexpr char kKvExtrasKey[] = "Kv Extras\\";
inline constexpr char kRandomWithoutRepeats[] = "Random Without Repeats";
inline constexpr char kKeepHistory[] = "Keep History";
inline constexpr char kFillTheBars[] = "Fill The Bars";
inline constexpr char kBackHotkey[] = "Back Hotkey";
inline constexpr char kEnableBackHotkey[] = "Enable Back Hotkey";
// Every monitor its own wallpaper: off until turned on, nothing written before.
// Per monitor N beside the primary (the primary is monitor 1 and always shows
// the current entry; N runs from 2 to kMonitorSettingsCount + 1, left to
// right) "Monitor N List", a list file of its own (empty: the main list), and
// "Monitor N Match Orientation".
inline constexpr char kMonitorsKey[] = "Monitors\\";
inline constexpr char kEachMonitorOwnWallpaper[] = "Each Monitor Own Wallpaper";
inline constexpr int kMonitorSettingsCount = 4;

// A window's place below "Forms\<window name>\".
inline constexpr char kFormTop[] = "Top";
inline constexpr char kFormLeft[] = "Left";
// Whether a window was showing at the last exit, below the same subkey. The
// browser's subkey is spelled "Mainform", as it always was.
inline constexpr char kFormVisible[] = "Visible";
inline constexpr char kBrowserFormKey[] = "Forms\\Mainform\\";
inline constexpr char kManagerFormKey[] = "Forms\\ManagerForm\\";
inline constexpr char kOptionsFormKey[] = "Forms\\OptionsForm\\";

// Values the browser and the manager keep themselves, outside the settings
// load: the current list file and entry (root), the skin in use (root),
// whether interval switching is paused, and the desktop icon menu's marks
// (both under "Wallpaper Changing\"). The manager also reads "Remove
// Orphans" (Kv Options) on its own before the load.
inline constexpr char kCurrentWallpaperList[] = "Current Wallpaper List";
inline constexpr char kCurrentWallNumber[] = "Current Wall Number";
inline constexpr char kCurrentSkinFile[] = "CurrentSkinFile";
inline constexpr char kPaused[] = "Paused";
inline constexpr char kSmallIcons[] = "Small Icons";
inline constexpr char kHideIconsAlways[] = "HideIconsAlways";
inline constexpr char kRemoveOrphans[] = "Remove Orphans";

// "CurrentSkinFile" when the built-in skin is in use.
inline constexpr char kDefaultSkinFile[] = "%default%";

enum class SettingType { Bool, Int, String, Shortcut, Colour };

// The options window's control of a setting, which the settings load fills.
enum class Shown : std::uint8_t {
  None,        // no control: read and written by others, or not at all
  Check,       // a check box: the value is 0 or 1
  Spin,        // a number edit: held to the setting's range
  Choice,      // a choice list: the item index, min to max
  Text,        // a text field: a string setting's text
  Particular,  // read by the window itself at its place in the load order
};

// What the settings load does with a bound setting (Check, Spin, Choice).
enum class Taken : std::uint8_t {
  // A stored value is taken, written back and applied; an absent one that a
  // first run writes is written, and applied when the control showed another.
  // A choice is taken and applied only when stored and one of its items.
  Applied,
  // Taken as for Applied, then written and applied whatever was read: what
  // it drives started from another value than the control shows.
  AppliedAlways,
  // Only shown: nothing written or applied (the value is read where it is
  // used, or the control only tells others what to do later).
  Quiet,
};

// Every control of the options window: the identity the pages and the effects
// use, one for each bound setting (the groups of Particular ones share one).
enum class Option : std::uint8_t {
  None,
  // Program Options.
  StayOnTop,
  ButtonHints,
  SnapToEdge,
  ReversedWheel,
  PixelThreshold,
  WallpaperScroll,
  MenuStyles,
  RegisterAssociations,
  RemoveOrphans,
  RunOnStartup,
  ShowKV,
  AutoHide,
  AutoHideTime,
  // Thumbnails.
  CacheEnabled,
  Compression,
  ThumbFilter,
  ThumbWidth,
  RemoveThumbs,
  CacheRegeneration,
  DisplayFilter,
  // Tray clicks and global hotkeys.
  ClickLeft,
  ClickMiddle,
  ClickRight,
  ClickShiftLeft,
  ClickShiftMiddle,
  ClickShiftRight,
  Hotkey,
  HotkeyEnable,
  // Switching and desktop icons.
  StartupSwitch,
  StartupSwitchType,
  IntervalSwitch,
  IntervalEvery,
  IntervalUnit,
  IntervalType,
  ShutdownSwitch,
  ShutdownSwitchType,
  DesktopColours,
  TextColour,
  BackgroundColour,
  TransparentBG,
  IconColour,
  Analyse,
  GrayScale,
  KeepIconsHidden,
  HiddenRefresh,
  IconSize,
  // Form effects.
  TaskbarTrans,
  Fade,
  FadeDelay,
  FadeStep,
  FormColours,
  FormToChange,
  FormEffect,
  // List defaults, the pages, the extras.
  WatchedDirectory,
  StyleDefault,
  ScaledFilter,
  SkinFile,
  PageTab,
  Page,
  RandomWithoutRepeats,
  KeepHistory,
  FillTheBars,
  BackHotkey,
  EnableBackHotkey,
  // Every monitor its own wallpaper: the switch, then per monitor 2 to 5 its
  // own list and its orientation rule (see MonitorListOption).
  EachMonitorOwn,
  MonitorList2,
  MonitorList3,
  MonitorList4,
  MonitorList5,
  MonitorMatch2,
  MonitorMatch3,
  MonitorMatch4,
  MonitorMatch5,
};

// The own list and the orientation rule of monitor `monitor`, 2 to
// kMonitorSettingsCount + 1.
[[nodiscard]] constexpr Option MonitorListOption(int monitor) {
  return static_cast<Option>(static_cast<int>(Option::MonitorList2) + monitor - 2);
}
[[nodiscard]] constexpr Option MonitorMatchOption(int monitor) {
  return static_cast<Option>(static_cast<int>(Option::MonitorMatch2) + monitor - 2);
}
static_assert(MonitorListOption(kMonitorSettingsCount + 1) == Option::MonitorList5 &&
                  MonitorMatchOption(kMonitorSettingsCount + 1) == Option::MonitorMatch5,
              "one list and one orientation rule per monitor beside the primary");

// When the first load of an empty store writes the value.
enum class FirstRun {
  Absent,               // not written until its control changes
  Written,              // written with its default
  WrittenWhereLayered,  // written with its default where layered windows exist
};

struct SettingDef {
  const char* subkey;
  const char* name;
  SettingType type;
  // No default: the control shows nothing chosen, or another part computes it.
  bool hasDefault;
  std::int32_t intDefault;  // bool, int, shortcut and colour values
  const char* textDefault;  // string values
  FirstRun firstRun;
  std::int32_t min;  // inclusive range of bool and int values
  std::int32_t max;
  // Its control in the options window and what the settings load does.
  Option option = Option::None;
  Shown shown = Shown::None;
  Taken taken = Taken::Applied;
  // What the control shows before the load (where it differs from the
  // default, a first run applies the default).
  std::int32_t initial = 0;
};

inline constexpr std::int32_t kAnyInt = std::numeric_limits<std::int32_t>::max();

// The table itself, in the order the settings load reads the subkeys.
extern const SettingDef kSettingsSchema[];
extern const std::size_t kSettingsSchemaSize;

// The entry of a bound control (the first of a Particular group); aborts when
// the schema has none, which its tests rule out.
[[nodiscard]] const SettingDef& SettingOf(Option option);

// The entry for a subkey and name (compared without regard to case), nullptr
// when the schema has none.
[[nodiscard]] const SettingDef* FindSetting(std::string_view subkey, std::string_view name);

}  // namespace kv
