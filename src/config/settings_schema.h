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

// "CurrentSkinFile" when the built-in skin is in use.
inline constexpr char kDefaultSkinFile[] = "%default%";

enum class SettingType { Bool, Int, String, Shortcut, Colour };

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
};

inline constexpr std::int32_t kAnyInt = std::numeric_limits<std::int32_t>::max();

// The table itself, in the order the settings load reads the subkeys.
extern const SettingDef kSettingsSchema[];
extern const std::size_t kSettingsSchemaSize;

// The entry for a subkey and name (compared without regard to case), nullptr
// when the schema has none.
[[nodiscard]] const SettingDef* FindSetting(std::string_view subkey, std::string_view name);

}  // namespace kv
