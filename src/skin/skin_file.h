#pragma once
// A skin file read into a plain description: the browser part (shape picture,
// previews, labels, buttons) and the manager part (shape picture, preview image,
// list bounds and colours, labels, buttons), the two button command tables with
// their hints, colour values, and the "Skins" menu caption of a file. Image
// names come out expanded (path macros) and ready to load; the window loaders
// only create controls from the description.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/ini_file.h"

namespace kv::skin {

// --- Browser button commands: the lower-cased N + "Click" value.
enum class BrowserCommand {
  Close,           // "close()"
  Minimize,        // "minimize()"
  ToggleConfig,    // "toggle_config()"
  ToggleBrowser,   // "toggle_browser()"
  ToggleManager,   // "toggle_manager()"
  SetRandom,       // "set_random()"
  ScrollForward,   // "scroll_fwd()"
  ScrollBackward,  // "scroll_bwd()"
  MainMenu,        // "main_menu()"
  LoadSkin,        // "load_skin()"
  Pause,           // "pause()"
  Unknown,         // anything else, the empty text included: ends the program
};
[[nodiscard]] BrowserCommand ParseBrowserCommand(std::string_view text);
// "Close Kestrova", "Minimize", ..., "Error in skin file" for Unknown.
[[nodiscard]] const char* BrowserCommandHint(BrowserCommand command) noexcept;

// --- Manager button commands.
enum class ManagerCommand {
  Close,           // "close()": the browser's manager toggle
  LoadList,        // "load_list()"
  SaveList,        // "save_list()"
  AddWall,         // "add_wall()"
  AddDir,          // "add_dir()"
  DelWall,         // "del_wall()"
  ClearList,       // "clear_list()"
  ManMenu,         // "man_menu()"
  ChangeStyle,     // "change_style()"
  ApplyImage,      // "apply_image()"
  FullscrPreview,  // "fullscr_preview()"
  None,            // anything else: no action, no hint
};
[[nodiscard]] ManagerCommand ParseManagerCommand(std::string_view text);
// "Toggle Manager", "Load List", ...; "" for None.
[[nodiscard]] const char* ManagerCommandHint(ManagerCommand command) noexcept;

// --- The description.
struct SkinPreview {
  std::string name;
  int x = 10, y = 100, width = 10, height = 10;
  std::optional<std::string> mask;  // expanded image name, when the key is present
};

struct SkinLabel {
  std::string name;
  int x = 10, y = 10;
  std::optional<std::string> normal;
};

struct SkinButton {
  std::string name;
  int x = 10, y = 10;
  std::optional<std::string> normal, over, down;
  // N + "LabelIndex" when present (its integer, -1 when it does not parse).
  std::optional<int> labelIndex;
  std::string click;  // the command text as written
};

struct BrowserSkin {
  std::optional<std::string> browserImage;  // "BrowserImage" in "misc"
  std::vector<SkinPreview> previews;        // "browserPreviews"
  std::vector<SkinLabel> labels;            // "BrowserLabels"
  std::vector<SkinButton> buttons;          // "Browserbuttons"
};

struct ManagerSkin {
  std::optional<std::string> managerImage;  // "ManagerImage" in "misc"
  int previewX = 10, previewY = 10, previewWidth = 10, previewHeight = 10;
  std::optional<std::string> previewMask;  // "previewmask"
  int listX = 10, listY = 10, listWidth = 10, listHeight = 10;
  std::string foregroundColor = "clwindow";  // colour texts, parsed by SkinColour
  std::string fontColor = "clWindowText";
  int fontSize = 8;
  std::string fontName = "MS Sans Serif";
  std::vector<SkinLabel> labels;    // "ManagerLabels"
  std::vector<SkinButton> buttons;  // "Managerbuttons"
};

// Both read a skin file through `ini`. Lists end at the first absent number;
// image values are expanded with the path macros against `programDir` and
// `skinDir` (both ending in a backslash).
[[nodiscard]] BrowserSkin ReadBrowserSkin(IniFile& ini, const std::string& programDir,
                                          const std::string& skinDir);
[[nodiscard]] ManagerSkin ReadManagerSkin(IniFile& ini, const std::string& programDir,
                                          const std::string& skinDir);

// A colour value of a skin: a colour name in any case, or a number, decimal or
// "$" hexadecimal (0x00BBGGRR). System colours come out as 0x80000000 plus the
// index. Nothing for any other text.
[[nodiscard]] std::optional<std::uint32_t> SkinColour(std::string_view text);

// The "Skins" menu caption of a skin file: the name without directory and
// extension, lower-cased, its first letter upper-cased ("Blue Glass.INI" gives
// "Blue glass").
[[nodiscard]] std::string SkinMenuCaption(std::string_view fullName);

// The directory of a file name with its trailing backslash ("" when none).
[[nodiscard]] std::string DirectoryOf(std::string_view fullName);

}  // namespace kv::skin
