#pragma once
// What the program's windows call on each other. Each window implements its
// interface in its own folder (the browser in app/, the manager, search, preview,
// batch and property windows in list/, the options window in config/) and reaches
// the others only through the references below, which are null until the window
// exists: every caller tests the reference before use.

#include <string>

#include "program/program_state.h"

namespace kv {
class Bitmap;
class TKVWallpaper;
class TKvlistview;
class TImageResizer;
class TIconColourChooser;
namespace skin {
class TOrganicShapeGlassForm;
class TOrganicShapeControl;
}  // namespace skin
}  // namespace kv

namespace kv::program {

// The three moves of cycling, as the switch-type settings number them.
enum class SwitchMove { Next = 0, Previous = 1, Random = 2 };

// The commands of the browser's tray menu, by which the other windows reach
// their items (check marks, enabled and shown states).
enum class MainCommand {
  About,
  Browser,
  Manager,
  Configuration,
  Search,
  LoadSkin,
  DefaultSkin,
  Next,
  Previous,
  Random,
  Back,
  AddDirectory,
  AddDirectoryTree,
  PauseIntervalSwitching,
  SmallIcons,
  NormalIcons,
  LineUpIcons,
  RefreshIcons,
  HideDesktopIcons,
  ShowDesktopIcons,
  KeepIconsHidden,
  IconColour,
  DisplayProperties,
  LostKv,
  Minimize,
  Save,
  Load,
  Exit,
};
inline constexpr int kMainCommandCount = static_cast<int>(MainCommand::Exit) + 1;

// The browser window (TMainForm): the tray, the applier, cycling and the strip.
class IMainForm {
 public:
  virtual ~IMainForm() = default;
  [[nodiscard]] virtual skin::TOrganicShapeGlassForm& Form() = 0;
  [[nodiscard]] virtual TKVWallpaper& KVWallpaper1() = 0;
  [[nodiscard]] virtual TIconColourChooser& IconColourChooser1() = 0;
  // Renders a picture in a style (a list style's name) and makes it the
  // wallpaper, with the shell told.
  virtual void ApplyFile(const std::string& fullName, const std::string& style) = 0;
  // After a wallpaper was applied: with wallpaper analysis on, the desktop
  // icons' text colour is derived from `picture` (the thumbnail shown of it)
  // and applied.
  virtual void AnalyseIconColour(const Bitmap& picture) = 0;

  // Window commands of the tray menu.
  virtual void SysBrowserClick() = 0;
  virtual void SysManagerClick() = 0;
  virtual void SysConfigClick() = 0;
  virtual void SysSearchClick() = 0;
  virtual void Minimize1Click() = 0;
  virtual void LostKvClick() = 0;
  virtual void SysExitClick() = 0;
  // Cycling.
  virtual void SysNextClick() = 0;
  virtual void SysPreviousClick() = 0;
  virtual void SysRandomClick() = 0;
  // Back through the wallpaper history; false when there is nothing to go
  // back to (or the history is not kept).
  virtual bool SysBackClick() = 0;
  virtual void PauseIntervalSwitching1Click() = 0;
  // The move of a switch-type setting (0 next, 1 previous, 2 random).
  virtual void SwitchWallpaper(SwitchMove move) = 0;
  // The interval timer runs exactly while on; every change restarts the count.
  virtual void SetIntervalSwitching(bool on) = 0;
  // The auto-minimise timer runs exactly while on.
  virtual void SetAutoMinimize(bool on) = 0;
  // Desktop icon sizes; `fromMenu` false leaves the check marks as they are.
  virtual void SmallIcons1Click(bool fromMenu) = 0;
  virtual void NormalIcons1Click(bool fromMenu) = 0;
  // Topmost or normal band for the options window, the manager and the browser.
  virtual void ApplyStayOnTop() = 0;

  // Skins.
  virtual void LoadSkinFile(const std::string& fileName) = 0;
  virtual void LoadSkin1Click() = 0;
  virtual void Default1Click() = 0;
  virtual void SetButtonHints(bool on) = 0;
  [[nodiscard]] virtual int PreviewCount() const = 0;

  // The strip.
  virtual void RefreshPreviews() = 0;
  // The preview popup, opened over `source` (a browser preview or the manager's
  // preview image) at a screen position.
  virtual void PopupPreviewMenu(skin::TOrganicShapeControl& source, int x, int y) = 0;

  // The manager's show and hide keep the "Manager" item's check mark.
  virtual void SetManagerChecked(bool checked) = 0;
  // The tray icon animates while long adds run; its tip tells the progress.
  virtual void SetTrayAnimate(bool animate) = 0;
  virtual void SetTrayTip(const std::string& tip) = 0;

  // What the options window drives.
  // The skin of "CurrentSkinFile" (the built-in one for "%default%").
  virtual void LoadCurrentSkin() = 0;
  // The switches at the options window's creation and at the session's end.
  virtual void StartupSwitch(SwitchMove move) = 0;
  virtual void ShutdownSwitch(SwitchMove move) = 0;
  virtual void KeepIconsHidden1Click() = 0;
  // The check mark of a tray menu item.
  [[nodiscard]] virtual bool ItemChecked(MainCommand command) = 0;
  virtual void SetItemChecked(MainCommand command, bool checked) = 0;
  // "Menu Styles": the browser's own menus (the tray menu and the previews'
  // menu) drawn by the program in the system's colours, or by the system.
  virtual void SetMenusDrawn(bool drawn) = 0;
  // "Show Kestrova In": the tray icon and the taskbar button.
  virtual void SetShownIn(bool trayIcon, bool taskbarButton) = 0;
  // The extras ("Kv Extras\") were changed in the store: the tray's "Back"
  // shows while the history is kept, and the Back hotkey is registered as
  // stored. The other extras are read when they act.
  virtual void ApplyExtras() = 0;
  // The monitors' settings ("Monitors\") were changed in the store: the
  // extras are applied, and the wallpaper shown is rendered anew for them.
  virtual void ApplyMonitorSettings() = 0;
};

// The manager window (TManagerForm): the list and its file.
class IManagerForm {
 public:
  virtual ~IManagerForm() = default;
  [[nodiscard]] virtual skin::TOrganicShapeGlassForm& Form() = 0;
  [[nodiscard]] virtual TKvlistview& Wallpaperlist() = 0;
  [[nodiscard]] virtual TImageResizer& ImageResizer1() = 0;

  // Skin: empties the button and label lists (destroying their controls).
  virtual void ClearSkin() = 0;
  // Reads the manager part of a skin file; false when it could not be built.
  [[nodiscard]] virtual bool LoadManagerSkin(const std::string& fileName) = 0;
  virtual void BuildDefaultManagerSkin() = 0;
  virtual void SetButtonHints(bool on) = 0;

  // The browser's removal commands hold the preview back while they remove.
  virtual void SetSuppressPreview(bool on) = 0;
  virtual void HidePreviewImage() = 0;
  // Shows the row in the list view (after the selection was changed in the
  // model) and gives the list the input focus.
  virtual void RevealEntry(int index) = 0;

  // Commands the tray menu reaches.
  virtual void AddDirectory1Click() = 0;
  virtual void AddDirectoryTree1Click() = 0;
  // "Apply Image" on the selected entry (the search window applies through it).
  virtual void PopupApplyImageClick() = 0;
};

// The options window (TOptionsForm).
class IOptionsForm {
 public:
  virtual ~IOptionsForm() = default;
  [[nodiscard]] virtual bool IsVisible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  [[nodiscard]] virtual void* Handle() const = 0;  // its HWND
  // "Analyse wallpaper for best desktop icon colour." is ticked.
  [[nodiscard]] virtual bool AnalyseThumbnails() const = 0;
  // The interval switch settings as the controls show them.
  [[nodiscard]] virtual int IntervalSwitchEvery() const = 0;
  [[nodiscard]] virtual int IntervalSwitchTimeType() const = 0;  // 0 minutes, 1 hours
  [[nodiscard]] virtual int IntervalSwitchType() const = 0;
  virtual void ShowAboutPage() = 0;
  virtual void ShowIconColourPage() = 0;
  // Shows the window on the page with the table of default styles (the
  // manager's "Set Style Defaults").
  virtual void ShowStyleDefaultsPage() = 0;
  // The upper bound of "Wallpaper Scroll": the browser's preview count.
  virtual void SetScrollMaximum(int maximum) = 0;
  virtual void SetIconSizeBoxes(bool small, bool normal) = 0;
  virtual void SetDesktopIconsHidden(bool hidden) = 0;
  // Re-applies "Show Kestrova In" (tray icon and taskbar button).
  virtual void ApplyShowKV() = 0;
};

class ISearchForm {
 public:
  virtual ~ISearchForm() = default;
  virtual void ShowSearch() = 0;
};

class IPreviewForm {
 public:
  virtual ~IPreviewForm() = default;
  virtual void ShowPreview(const std::string& fullName, const std::string& style) = 0;
};

class IPropertyEditor {
 public:
  virtual ~IPropertyEditor() = default;
  virtual void ShowEditor() = 0;
};

class IBatchChangeForm {
 public:
  virtual ~IBatchChangeForm() = default;
  virtual void ShowBatch() = 0;
};

// One reference per window, set when it is created and cleared when it goes.
inline IMainForm* MainForm = nullptr;
inline IManagerForm* ManagerForm = nullptr;
inline IOptionsForm* OptionsForm = nullptr;
inline ISearchForm* SearchForm = nullptr;
inline IPreviewForm* PreviewForm = nullptr;
inline IBatchChangeForm* kvBatchChangeForm = nullptr;
inline IPropertyEditor* PropertyEditor = nullptr;

}  // namespace kv::program
