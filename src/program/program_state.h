#pragma once
// The program-wide values that every window reads and writes: the current entry,
// the idle count of auto-minimise, the pause and stay-on-top flags, the tray
// mouse actions, the skin and list in use, and the copies of the options that
// the browser uses at the moment of use. Portable and free of dependencies, so
// that any layer may include it.

#include <cstdint>
#include <string>

namespace kv {

// The directory of the current skin file, ending in a backslash; the skin
// loader sets it whenever another skin is loaded. Image names in skin files
// resolve against it.
inline std::string SkinDir;

namespace program {

// The zero-based index of the current entry of the manager's list, persisted
// as "Current Wall Number".
inline int CurrentWallNumber = 0;
// Seconds since the last mouse movement over the browser or manager, or since
// either was shown or hidden; drives auto-minimise.
inline int IdleCounter = 0;
// Interval switching is paused ("Paused" in "Wallpaper Changing\").
inline bool PausedFlag = false;
// Minutes counted by the interval timer since the last interval switch.
inline int IntervalTicks = 0;
// A copy of the option "StayOnTop".
inline bool StayOnTopFlag = false;
// Whether an apply tells the shell; see the session-end switch.
inline bool NotifyShell = true;
// Edges of the browser and manager closer than this snap together (pixels).
inline constexpr int SnapDistance = 15;

// The action codes (0 to 16) of the six tray click slots.
struct MouseActions {
  std::uint8_t left = 0;
  std::uint8_t middle = 4;
  std::uint8_t right = 7;
  std::uint8_t shiftLeft = 5;
  std::uint8_t shiftMiddle = 4;
  std::uint8_t shiftRight = 6;
};
inline MouseActions MouseAction;

// The skin file in use (full path), or "%default%" for the built-in skin.
inline std::string CurrentSkinFile;
// The list file the manager's rows belong to.
inline std::string CurrentListFile;

// The options the browser and manager use when they act. They are read from
// the settings store at start-up; the options window keeps them current when
// its controls change.
struct ProgramOptions {
  int wallpaperScroll = 1;        // "Wallpaper Scroll", 1 to the preview count
  bool reversedMouseWheel = false;  // "Reversed MouseWheel"
  int imageDisplayFilter = 0;     // "ImageDisplayFilter": 0 stretch, k filter k - 1
  bool buttonHints = true;        // "Button Hints"
  bool autoHide = false;          // "Auto Hide"
  int autoHideTime = 10;          // "Auto Hide Time", seconds
  bool cacheEnabled = true;       // "Cache Enabled"
};
inline ProgramOptions Options;

}  // namespace program
}  // namespace kv
