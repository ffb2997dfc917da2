#pragma once
// TMainForm, the browser window and the program's main window: a shaped glass
// window with the strip of previews and the skin buttons. It owns the tray icon
// and its menu (the program's main menu), the wallpaper applier, the interval
// and auto-minimise timers, the skin file search and the browser's skin
// controls. Closing it ends the program.

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/history.h"
#include "app/shuffle_round.h"
#include "base/handle_win.h"
#include "config/fis_hotkey_win.h"
#include "program/forms.h"
#include "program/remote_command.h"
#include "skin/organic_control_win.h"
#include "skin/organic_glass_form_win.h"
#include "wallpaper/icon_colour.h"
#include "wallpaper/kv_wallpaper_win.h"
#include "widgets/menu_win.h"
#include "widgets/threaded_timer_win.h"
#include "widgets/tray_icon_win.h"

namespace kv {
class Prompts;
class ShellDelete;
class SettingsStore;
}  // namespace kv

namespace kv::app {

inline constexpr char kMainFormName[] = "MainForm";

class TMainForm : public skin::TOrganicShapeGlassForm, public program::IMainForm {
 public:
  TMainForm(Prompts& prompts, ShellDelete& shellDelete, SettingsStore& store);
  ~TMainForm() override;  // FormDestroy

  // FormCreate: the window, the tray icon, the menus, the skin file search and
  // the pause state. Sets program::MainForm.
  void Create();

  // --- IMainForm
  skin::TOrganicShapeGlassForm& Form() override { return *this; }
  TKVWallpaper& KVWallpaper1() override { return KVWallpaper1_; }
  TIconColourChooser& IconColourChooser1() override { return IconColourChooser1_; }
  void AnalyseIconColour(const Bitmap& picture) override;
  void SysBrowserClick() override;
  void SysManagerClick() override;
  void SysConfigClick() override;
  void SysSearchClick() override;
  void Minimize1Click() override;
  void LostKvClick() override;
  void SysExitClick() override;
  void SysNextClick() override;
  void SysPreviousClick() override;
  void SysRandomClick() override;
  bool SysBackClick() override;
  void PauseIntervalSwitching1Click() override;
  void SwitchWallpaper(program::SwitchMove move) override;
  void SetIntervalSwitching(bool on) override;
  void SetAutoMinimize(bool on) override;
  void SmallIcons1Click(bool fromMenu) override;
  void NormalIcons1Click(bool fromMenu) override;
  void ApplyStayOnTop() override;
  void LoadSkinFile(const std::string& fileName) override;
  void LoadSkin1Click() override;
  void Default1Click() override;
  void SetButtonHints(bool on) override;
  [[nodiscard]] int PreviewCount() const override { return static_cast<int>(previews_.size()); }
  void RefreshPreviews() override;
  void PopupPreviewMenu(skin::TOrganicShapeControl& source, int x, int y) override;
  void SetManagerChecked(bool checked) override;
  void SetTrayAnimate(bool animate) override;
  void SetTrayTip(const std::string& tip) override;
  void LoadCurrentSkin() override;
  void StartupSwitch(program::SwitchMove move) override;
  void ShutdownSwitch(program::SwitchMove move) override;
  void KeepIconsHidden1Click() override;
  [[nodiscard]] bool ItemChecked(program::MainCommand command) override {
    return Item(command).checked;
  }
  void SetItemChecked(program::MainCommand command, bool checked) override {
    Item(command).checked = checked;
  }
  void SetMenusDrawn(bool drawn) override {
    const auto style = drawn ? ui::MenuDrawing::Drawn : ui::MenuDrawing::System;
    SysTrayPopup.drawing = PreviewPopup.drawing = style;
  }
  void SetShownIn(bool trayIcon, bool taskbarButton) override;
  void ApplyExtras() override;
  void ApplyMonitorSettings() override;

  // --- The rest of the browser's handlers (plain methods, for tests too).
  void SysAboutClick();
  void IconColour1Click();
  void SysDirectoryClick();
  void AddDirectoryTreetolist1Click();
  void DisplayPropertiesClick();
  void Top1Click(int tag);
  void ApplicationRestored();
  void TrayIconMouseDown(int button, int x, int y);
  void TrayIconDblClick(int button);
  void PopupMainMenu();
  // The hidden "Save" and "Load" of the tray menu ("MyFile.dwf").
  void Save1Click();
  void Load1Click();
  // A command from another process (kvtool send); false when refused. An
  // answer with text (stats) goes to the window `sender`.
  bool RunRemoteCommand(const program::RemoteCommand& command, HWND sender);
  // A skin file, a skin of the Skins menu by its caption, or "default" (the
  // built-in skin) loaded as the Skins menu loads it; false when none is found.
  bool LoadSkinNamed(const std::string& skin);
  void SwitchWallpaperTimerTimer();
  void AutominimizeTimerTimer();
  void ScrollForward();
  void ScrollBackward();
  void FormMouseWheel(int notches);  // > 0 towards the user (wheel down)
  void ApplyPreviewWallpaper(int previewIndex);
  void ApplyFile(const std::string& fullName, const std::string& style) override;
  void FillPreview(skin::TOrganicShapeImage& preview, int index);
  // Every monitor its own wallpaper: "Next on this monitor" for the monitor
  // under the mouse, the same for monitor `monitor` (0 the primary), and the
  // re-render for a new display layout (WM_DISPLAYCHANGE).
  void NextOnThisMonitor1Click();
  void NextOnMonitor(std::size_t monitor);
  void DisplayChanged();
  // The entry each monitor shows, by the monitors' numbering; empty while the
  // option is off.
  [[nodiscard]] const std::vector<int>& MonitorEntriesShown() const { return monitorShown_; }
  [[nodiscard]] bool SelectListEntry(int index);
  // The browser's part of a skin file: loaded, failed (the user is asked for
  // another), or without its required picture (the program ends).
  enum class BrowserSkinLoad { Loaded, Failed, NoBrowserImage };
  [[nodiscard]] BrowserSkinLoad LoadBrowserSkin(const std::string& fileName);
  void BuildDefaultBrowserSkin();
  void SkinFileSearch();

  ui::PopupMenu SysTrayPopup;
  ui::PopupMenu PreviewPopup;
  ui::TrayIcon TheTrayIcon;
  TThreadedTimer SwitchWallpaperTimer;
  TThreadedTimer AutominimizeTimer;
  // The fifth hotkey: back through the history ("Back Hotkey").
  TfisHotKey BackHotKey;

  [[nodiscard]] const std::vector<std::unique_ptr<skin::TOrganicShapeImage>>& Previews() const {
    return previews_;
  }
  [[nodiscard]] const std::vector<std::unique_ptr<skin::TOrganicShapeButton>>& Buttons() const {
    return buttons_;
  }
  [[nodiscard]] const std::vector<std::unique_ptr<skin::TOrganicShapeLabel>>& Labels() const {
    return labels_;
  }
  // A tray menu item by its command.
  [[nodiscard]] ui::MenuItem& Item(program::MainCommand command);
  // A menu item by its component name (the window's stored description and
  // tests); the program's own code goes by command.
  [[nodiscard]] ui::MenuItem& Item(const char* name);

 private:
  // The window's typed events: idle count, show and hide, wheel, the tray
  // menu's shortcuts and popup, stay-on-top, restore, close and remote commands.
  void BindEvents();
  void BuildTrayMenu();
  void BuildPreviewPopup();
  void ClearSkinLists();
  void RaiseButtons();
  void ApplyPreviewFrom(const std::string& dataString, const Bitmap& picture);
  void Move(int target);
  void BindBrowserButton(skin::TOrganicShapeButton& button, const std::string& command);
  // Binds the button to a skin command and keeps it (and the command, for
  // "Save") in the button list.
  skin::TOrganicShapeButton& AddButton(std::unique_ptr<skin::TOrganicShapeButton> button,
                                       const std::string& command);
  skin::TOrganicShapeImage& AddPreview(const std::string& name, int x, int y, int w, int h);
  void IconSizeClick(bool small, bool fromMenu);
  // The tray actions' icon size: that size's mark on, the other's off.
  void SetIconSize(bool small);
  void SetIconSizeMarks(bool small);
  // Writes "Small Icons" and, when the kind is now checked, changes the desktop.
  void ApplyIconSizeMarks(bool small);
  // Minimising to the taskbar hides the other windows; restoring shows them.
  void MinimizeToTaskbar();
  void RestoreFromTaskbar();
  // The skin dialog; false when cancelled.
  [[nodiscard]] bool AskForSkin();
  void UseBuiltInSkin();
  void SkinFileFailed(const char* question);
  void FormShow();
  void FormHide();
  [[nodiscard]] int ListCount() const;
  [[nodiscard]] bool Extra(const char* name);
  // The first entry of the list with this full name (compared as file names
  // are) and, when given, this style.
  [[nodiscard]] std::optional<int> ListIndexOf(const std::string& fullName,
                                               const std::string* style = nullptr);
  void RecordShown(const std::string& fullName, const std::string& style);
  void SeedShuffle();
  // Random without repeats: the entry the shuffle round draws next.
  [[nodiscard]] std::optional<int> DrawFromRound();
  // The history, read from its file when first needed.
  WallpaperHistory& History();
  void SaveHistory();
  [[nodiscard]] bool EachMonitorOwn();
  // Monitor `monitor`'s own list (empty when it has none or it cannot be read)
  // and its "Match Orientation".
  [[nodiscard]] std::vector<MonitorPicture> MonitorList(std::size_t monitor,
                                                        bool& matchOrientation);
  [[nodiscard]] std::optional<PixelSize> CachedPictureSize(const std::string& fullName);
  // Gives the applier one picture per monitor when the option is on: the
  // primary shows `fullName`, the others their entries moved the way the
  // primary moved.
  void PrepareMonitorPictures(const std::string& fullName, const std::string& style);
  // Marks each preview whose entry a monitor on the main list shows with that
  // monitor's number, in its picture and its hint.
  void MarkMonitorPreviews();

  Prompts& prompts_;
  ShellDelete& shellDelete_;
  SettingsStore& store_;
  TKVWallpaper KVWallpaper1_;
  TIconColourChooser IconColourChooser1_;
  std::vector<std::unique_ptr<skin::TOrganicShapeButton>> buttons_;
  std::vector<std::string> buttonCommands_;  // the click command of each button
  std::vector<std::unique_ptr<skin::TOrganicShapeLabel>> labels_;
  std::vector<std::unique_ptr<skin::TOrganicShapeImage>> previews_;
  skin::TOrganicShapeControl* popupSource_ = nullptr;
  IconHandle icon_;
  ImageListHandle trayFrames_;
  ImageListHandle menuImages_;  // ImageList1: the menus' pictures
  LONG desktopStyle_ = 0;
  bool haveDesktopStyle_ = false;
  // The tray menu's items by command, and the "Skins" submenu the skin file
  // search fills; set when the menu is built.
  std::array<ui::MenuItem*, program::kMainCommandCount> commandItems_{};
  ui::MenuItem* skinsMenu_ = nullptr;
  // The windows hidden by minimising to the taskbar, shown again on restore.
  bool restoreManager_ = false;
  bool restoreOptions_ = false;
  int wheelRest_ = 0;
  std::mt19937 shuffleRandom_;
  std::optional<ShuffleRound> round_;
  std::optional<WallpaperHistory> history_;
  bool goingBack_ = false;  // an apply by Back is not recorded again
  // Every monitor its own wallpaper: the entries shown, the current entry
  // they were chosen for, how the next choice moves, the last picture applied
  // to the primary, and the picture sizes read so far.
  std::vector<int> monitorShown_;
  std::vector<bool> monitorOwnList_;
  int monitorCurrent_ = 0;
  std::optional<std::size_t> monitorOnly_;
  bool monitorRandom_ = false;
  std::pair<std::string, std::string> lastApplied_;
  std::map<std::string, std::optional<PixelSize>> pictureSizes_;
};

}  // namespace kv::app
