#pragma once
// The fixed texts and item lists of the options window.

#include <string>
#include <vector>

namespace kv::options {

inline constexpr char kHomePage[] = "https://www.tollvard.com/kestrova/";
inline constexpr char kSkinsPage[] = "https://www.tollvard.com/kestrova/skins/";
inline constexpr char kVersionLine[] = "Kestrova Version : 1.43 (beta)";
inline constexpr char kLayeredSupported[] = "Windows 2000 + (Supported)";
inline constexpr char kLayeredUnsupported[] = "Windows 2000 + (Unsupported)";
inline constexpr char kWatchFolderTitle[] = "Select the Parent Wallpaper Directory";
inline constexpr char kListFilter[] = "KV Wallpaper List (*.lst)|*.lst";
// The "Monitors" tab: the note under the drawing, and what an empty list
// field stands for.
inline constexpr char kOneMonitorNote[] =
    "One monitor is connected: it shows the current wallpaper, whatever is set here.";
inline constexpr char kMonitorsNote[] =
    "Monitor 1, the primary, shows the current wallpaper; the others the next ones in the list, "
    "or their own list's.";
inline constexpr char kMonitorListCue[] = "the main list";

inline const std::vector<std::string> kFilterItems = {
    "Stretch (Default)", "Box", "Triangle", "Hermite", "Bell ", "Spline", "Lanczos3", "Mitchell"};
inline const std::vector<std::string> kSwitchItems = {
    "The Next Image In The List", "The Previous Image In The List", "A Random Image In The List"};
// The tray click actions 0 to 16, the item index being the stored number.
inline const std::vector<std::string> kActionItems = {"Restore KV",
                                                      "Toggle Browser",
                                                      "Toggle Manager",
                                                      "Toggle Configuration",
                                                      "Set Random",
                                                      "Set Next ",
                                                      "Set Previous",
                                                      "Main Menu",
                                                      "Add Directory to list",
                                                      "Add Directory",
                                                      "Load Skin",
                                                      "Close KV",
                                                      "Minimize",
                                                      "Normal Icon Size",
                                                      "Small Icon Size",
                                                      "Toggle Desktop Icons",
                                                      "None"};

}  // namespace kv::options
