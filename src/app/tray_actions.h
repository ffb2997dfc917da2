#pragma once
// The tray icon's six click slots and what their action codes dispatch to.

#include <cstdint>

#include "program/program_state.h"

namespace kv::app {

enum class MouseButton { Left = 0, Right = 1, Middle = 2 };

// The action code of a button pressed on the tray icon: the Shift slot when
// Shift is down at that moment.
[[nodiscard]] int TrayActionCode(MouseButton button, bool shift,
                                 const program::MouseActions& actions) noexcept;

// What an action code (0 to 16) does. Codes 11 to 16 run what their captions in
// the options window say.
enum class TrayCommand {
  RestoreBrowser,      // 0 "Restore KV": foreground, then toggle the browser
  ShowBrowser,         // 1 "Toggle Browser": only when hidden
  ShowManager,         // 2 "Toggle Manager": only when hidden
  ShowConfiguration,   // 3 "Toggle Configuration": only when hidden
  Random,              // 4
  Next,                // 5
  Previous,            // 6
  MainMenu,            // 7
  AddDirectory,        // 8 "Add Directory to list"
  AddDirectoryTree,    // 9 "Add Directory"
  LoadSkin,            // 10
  Exit,                // 11 "Close KV"
  Minimize,            // 12
  NormalIconSize,      // 13
  SmallIconSize,       // 14
  ToggleDesktopIcons,  // 15
  None,                // 16, and any code outside 0 to 16
};
[[nodiscard]] TrayCommand TrayCommandOf(int code) noexcept;

}  // namespace kv::app
