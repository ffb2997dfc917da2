#pragma once
// TOptionsForm, the options window "Configuration": every setting of the store
// shown and changed. The settings live in the settings model; each control
// writes its value through it the moment it changes, and the value is applied
// at once; there is no apply or cancel. The window also owns the
// settings load, the four global hotkeys, the auto-start component, the watch
// of the wallpaper directory and the answer to the session's end.

#include <windows.h>

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/handle_win.h"
#include "codecs/file_io.h"
#include "config/auto_start_win.h"
#include "config/fis_hotkey_win.h"
#include "config/kv_form_win.h"
#include "config/settings_model.h"
#include "program/forms.h"
#include "wallpaper/monitor_layout.h"
#include "widgets/controls_win.h"
#include "widgets/gradient_panel_win.h"
#include "widgets/menu_win.h"

namespace kv {

class Prompts;
class ShellDelete;
struct SettingDef;

inline constexpr char kOptionsFormName[] = "OptionsForm";

// A control that reports the loss of the focus: a typed value is taken when
// the user leaves the field, not at every key.
template <typename Base>
class LeavingField : public Base {
 public:
  std::function<void()> onExit;

 protected:
  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg == WM_KILLFOCUS && onExit) onExit();
    return Base::OnControlMessage(msg, wp, lp, result);
  }
};
using HotkeyField = LeavingField<ui::HotkeyEdit>;
using TextField = LeavingField<ui::Edit>;

// A choice of a colour: the sixteen standard colours by name, "More ..." for
// any other, which then shows as its own item.
class ColourCombo : public ui::ComboBox {
 public:
  void Create(const CreateArgs& args);
  [[nodiscard]] std::uint32_t Colour() const noexcept { return colour_; }
  // Shows the colour (adding it as an item when it has no name) without raising
  // onColour.
  void SetColour(std::uint32_t colour);
  std::function<void(std::uint32_t colour)> onColour;

 private:
  std::uint32_t colour_ = 0;
};

// Shows `text` in a text field, its end in view.
void ShowFieldText(ui::Edit& edit, const std::string& text);

// Opens a web page in the default browser.
void OpenWebPage(const char* url);

// Runs `f` on the browser and the manager, those that exist.
template <typename F>
void ForBothForms(F f) {
  if (program::MainForm) f(program::MainForm->Form());
  if (program::ManagerForm) f(program::ManagerForm->Form());
}

// The watch of one directory: a thread waits for change notifications and
// hands each one to the window `notify` as the message `message`, waiting
// until it has been handled. It looks once a second whether it is to stop.
class DirectoryWatch {
 public:
  DirectoryWatch() = default;
  DirectoryWatch(const DirectoryWatch&) = delete;
  DirectoryWatch& operator=(const DirectoryWatch&) = delete;
  ~DirectoryWatch() { Stop(); }
  void Start(const std::string& directory, HWND notify, UINT message);
  void Stop();
  [[nodiscard]] bool Active() const noexcept { return thread_.joinable(); }
  [[nodiscard]] const std::string& Directory() const noexcept { return directory_; }
  // The thread ended because the notification could not be set up.
  [[nodiscard]] bool Failed() const noexcept { return failed_; }

 private:
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> failed_{false};
  std::string directory_;
};

class TOptionsForm : public TKVForm, public program::IOptionsForm, private SettingsView {
 public:
  TOptionsForm(Prompts& prompts, SettingsStore& store, ShellDelete& shellDelete);
  ~TOptionsForm() override;  // FormDestroy

  // FormCreate: the window and its page frames, the settings load, the cache
  // statistics timer, the start-up switch. Sets program::OptionsForm. A page's
  // controls are made when it is first shown.
  void Create();

  // --- IOptionsForm
  [[nodiscard]] bool IsVisible() const override { return HwndOwner::IsVisible(); }
  void SetVisible(bool visible) override;
  [[nodiscard]] void* Handle() const override { return hwnd(); }
  [[nodiscard]] bool AnalyseThumbnails() const override;
  [[nodiscard]] int IntervalSwitchEvery() const override;
  [[nodiscard]] int IntervalSwitchTimeType() const override;
  [[nodiscard]] int IntervalSwitchType() const override;
  void ShowAboutPage() override;
  void ShowIconColourPage() override;
  void ShowStyleDefaultsPage() override;
  void SetScrollMaximum(int maximum) override;
  void SetIconSizeBoxes(bool small, bool normal) override;
  void SetDesktopIconsHidden(bool hidden) override;
  void ApplyShowKV() override;

  // The whole settings store into the settings model (once, from Create).
  void LoadSettings();
  [[nodiscard]] const SettingsModel& Model() const noexcept { return model_; }
  // Navigation: link tags 0 to 4 bring their page forward.
  void SelectPage(int tag);
  [[nodiscard]] int CurrentPage() const noexcept { return currentPage_; }
  [[nodiscard]] int TabIndexOf(int page) const;
  void SelectTab(int page, int tab);
  // Makes the controls of every page not shown yet.
  void BuildAllPages();
  [[nodiscard]] int BuiltPanelCount() const;
  // The directory watch and its scan.
  void ScanWatchedDirectory();
  [[nodiscard]] const std::vector<std::string>& ScannedFiles() const { return scanned_; }
  [[nodiscard]] const DirectoryWatch& Watch() const noexcept { return watch_; }
  void SetWatchedDirectory(const std::string& directory);
  void RegenerateCacheClick();
  void ClearImageCacheClick();
  void CacheTimerTimer();
  // The end of the Windows session: the shut-down switch, then hidden.
  void SessionEnding();
  void ApplyTaskbarAlpha(int alpha);
  void HotKeyPressed(TfisHotKey& sender);

  // --- For tests: the controls by the name of the value they write
  // ("StayOnTop", "Pixel Threshold", "Enable Random Hotkey"...); the hotkey
  // edits as "RandomHotkey" and so on, the colour pickers as "FG Colour" and
  // "BG Colour", the "Normal" icon size box as "Normal Icons". Every page is
  // made first. Null when there is none.
  [[nodiscard]] HWND ControlFor(const std::string& valueName);
  [[nodiscard]] TfisHotKey& HotKey(int tag) { return *hotKeys_[static_cast<std::size_t>(tag)]; }
  [[nodiscard]] TKVAutoStart& KVAutoStart1() { return KVAutoStart1_; }
  [[nodiscard]] std::string CacheCountText() const { return cacheCountText_; }
  // One of the strip's links (the strip is made first).
  [[nodiscard]] ui::LinkLabel& Link(int tag);
  // The eight skin site images of the Skins page (made first), and the hint a
  // control shows (empty when it has none).
  [[nodiscard]] ui::LinkLabel& SkinSite(int i);
  [[nodiscard]] std::string HintOf(HWND control) const;
  [[nodiscard]] std::string DefaultStyleText(int row) const;
  [[nodiscard]] bool LayeredAvailable() const noexcept { return layered_; }
  // The monitors the "Monitors" tab draws (as last read from the system).
  [[nodiscard]] const MonitorLayout& MonitorsShown() const noexcept { return monitors_; }

 private:
  using Builder = void (TOptionsForm::*)(ui::GradientPanel&);
  struct Page {
    ui::TabControl tabs;  // made with the strip (EnsureFrames)
    std::vector<const char*> captions;
    int tab = 0;  // the tab in front, kept while the tab control is not made yet
    std::vector<std::unique_ptr<ui::GradientPanel>> panels;  // null until first shown
    std::vector<Builder> builders;
    const SettingDef* tabSetting = nullptr;  // the root value that remembers the tab
  };
  // A global hotkey's row: the tick, the caption and the combination.
  struct HotkeySlot {
    ui::CheckBox enable;
    ui::Label label;
    HotkeyField edit;
    const SettingDef* key;
    const SettingDef* enabled;
    bool shiftAloneAllowed;
  };
  // The controls a setting shows in (those made so far).
  struct BoundControl {
    const SettingDef* def;
    ui::CheckBox* check;
    ui::SpinEdit* spin;
    ui::ComboBox* choice;
    ui::Edit* text = nullptr;
  };
  // A monitor's row on the "Monitors" tab: its own list and orientation rule.
  struct MonitorRow {
    ui::Label label;
    TextField list;
    ui::Button browse;
    ui::CheckBox match;
  };

  // The watch thread's message: a change in the watched directory.
  static constexpr UINT kWatchMessage = WM_APP + 40;
  // The four global hotkeys, then the browser's Back hotkey.
  static constexpr int kGlobalHotkeys = 4;
  static constexpr std::size_t kBackSlot = 4;

  // --- SettingsView: each setting's effect, its controls, the particular ones.
  void Apply(const SettingDef& def, std::int32_t value) override;
  void Show(const SettingDef& def, std::int32_t value) override;
  void ShowText(const SettingDef& def, const std::string& text) override;
  void LoadParticular(const SettingDef& def) override;
  // Which controls can be used, from the settings.
  void UpdateEnabling();

  // Building.
  void SelectTabsShown();
  void BuildStrip();
  void BuildPages();
  // The strip and the pages' tab controls, made when first needed: at the
  // window's first showing, or when a page's controls are asked for.
  void EnsureFrames();
  void AddPanel(Page& page, const char* tab, Builder build);
  void EnsurePanel(std::size_t page, std::size_t panel);
  void BuildGeneralPanel(ui::GradientPanel& p);
  void BuildTransparencyPanel(ui::GradientPanel& p);
  void BuildShortcutPanel(ui::GradientPanel& p);
  void BuildDesktopPanel(ui::GradientPanel& p);
  void BuildAssociationsPanel(ui::GradientPanel& p);
  void BuildListPanel(ui::GradientPanel& p);
  void BuildSwitchingPanel(ui::GradientPanel& p);
  void BuildThumbnailsPanel(ui::GradientPanel& p);
  void BuildAboutPanel(ui::GradientPanel& p);
  void BuildSkinsPanel(ui::GradientPanel& p);
  void BuildMonitorsPanel(ui::GradientPanel& p);
  void Label(ui::Label& label, HWND parent, int x, int y, int w, const std::string& text);
  // A control bound to its setting: range and value from the model, each
  // change written and applied through it.
  void Check(ui::CheckBox& box, HWND parent, int x, int y, int w, const std::string& text,
             const SettingDef& def, int lines = 1);
  void Check(ui::CheckBox& box, HWND parent, int x, int y, int w, const std::string& text,
             Option option, int lines = 1) {
    Check(box, parent, x, y, w, text, SettingOf(option), lines);
  }
  void Spin(ui::SpinEdit& spin, HWND parent, int x, int y, Option option);
  void Choice(ui::ComboBox& combo, HWND parent, int x, int y, int w,
              const std::vector<std::string>& items, Option option, int dropItems = 8);
  // A text field: the text is taken when the user leaves the field or presses
  // Enter, and only when it changed.
  void TextBox(TextField& edit, HWND parent, int x, int y, int w, Option option);
  void Remember(const char* name, HWND control);
  void HotkeyRow(std::size_t slot, HWND parent, int y, const char* caption);
  // Shows `text` as the hint of `control` while the mouse rests on it.
  void AddHint(HWND control, const std::string& text);
  [[nodiscard]] int TextWidth(const std::string& text) const;

  // The particular settings' own rules.
  void MenuStylesChange(int style);
  void FadeApply(bool on);
  void FormColoursApply(bool ticked);
  void EffectChange(int which);
  void ApplyHotkeyEnable(int tag);
  void HotkeyExit(std::size_t slot);
  void TextOrBackgroundColourApply();
  void ApplyIconTextColouring();
  void KeepHiddenApply();
  void SetIconSize(bool small);
  void IntervalUnitChange();
  void WatchButtonClick();
  void WatchEditChange();
  void DefaultsListPopup(int x, int y);
  void FormMouseMove();
  void ShownOrHidden(bool visible);
  // True when `msg` was handled here.
  bool OtherMessage(UINT msg);
  void LoadEffectValues(std::size_t set);
  // Without a stored "Small Icons": the size boxes show the menu's marks.
  void ShowIconSizeInForce();
  [[nodiscard]] std::size_t EffectSet() const;
  [[nodiscard]] const char* EffectsSubkey() const;
  void ApplyToEffectForms(int which, int value);
  void ShowCacheStatistics(const std::string& count, const std::string& size);
  [[nodiscard]] bool TextColourUsable() const;
  [[nodiscard]] bool BackgroundColourUsable() const;
  // The "Monitors" tab: the layout read again (when the tab is shown and when
  // the display changes), its drawing, the rows' state, the browse buttons.
  void RefreshMonitors();
  void DrawMonitorMap(const DRAWITEMSTRUCT& item) const;
  void UpdateMonitorRows();
  void BrowseMonitorList(std::size_t row);
  // A monitor's list changed by the user: the wallpaper follows, and a file
  // that is not there is named (the monitor follows the main list meanwhile).
  void MonitorListApply(const SettingDef& def);

  Prompts& prompts_;
  ShellDelete& shellDelete_;
  SettingsModel model_;
  GdiFont font_;
  GdiFont titleFont_;
  IconHandle icon_;
  bool layered_ = false;
  bool everShown_ = false;
  bool framesBuilt_ = false;
  // The kept extended style of each taskbar window, each restored on its own.
  LONG_PTR taskbarStyles_[2] = {};
  bool haveTaskbarStyle_[2] = {};
  int currentPage_ = -1;
  std::map<std::string, HWND> byValue_;
  std::vector<BoundControl> bound_;

  ui::GradientPanel strip_;
  ui::Label stripTitle_;
  ui::LinkLabel stripIcon_;
  std::array<std::unique_ptr<ui::LinkLabel>, 6> links_;
  std::array<Page, 5> pages_;

  // General Options.
  ui::CheckBox StayOnTopCB, ButtonHintsCB, SnapCB, RunOnStartupCB, AutoHideCB, ReversedWheelCB;
  ui::Label thresholdLabel_, scrollLabel_, showInLabel_, menuStylesLabel_;
  ui::SpinEdit PixelThresholdSE, WallpaperScrollSE, AutoHideTimeSE;
  ui::ComboBox ShowKVCBox, MenuStylesCBox;
  // Transparency.
  ui::CheckBox FadeCB, FormColoursCB;
  ui::Label fadeDelayLabel_, fadeStepLabel_, changeLabel_, taskbarLabel_, layeredLabel_;
  ui::SpinEdit FadeDelaySE, FadeStepSE, TaskbarTransSE;
  ui::ComboBox FormToChangeCBox;
  // The form effects' five values (red, green, blue, hue, transparency) as
  // shown: they keep the previous set's values where the chosen set stores none.
  std::array<int, 5> effectValues_{};
  std::array<ui::Label, 5> effectLabels_;
  std::array<ui::SpinEdit, 5> effectSpins_;
  // Shortcutting.
  std::array<HotkeySlot, 5> slots_;
  std::array<std::unique_ptr<TfisHotKey>, kGlobalHotkeys> hotKeys_;
  std::array<ui::Label, 6> mouseLabels_;
  std::array<ui::ComboBox, 6> mouseCombos_;
  ui::Label notes_[2];
  // Desktop.
  ui::CheckBox DesktopColoursCB, TextColourCB, BackgroundColourCB, TransparentBGCB,
      DesktopIconsHiddenCB, NormalIconsCB, SmallIconsCB, AnalyseCB, GrayScaleCB, AssociationsCB;
  ColourCombo TextColourPicker, BackgroundColourPicker;
  ui::Label refreshLabel_, iconSizeLabel_;
  ui::SpinEdit HiddenRefreshSE;
  // The icon size pair: both unticked until a size is known.
  bool iconSmall_ = false, iconNormal_ = false;
  // Wallpaper List.
  ui::Label watchLabel_, defaultsLabel_, defaultsNote_, scaledLabel_;
  ui::Edit WatchEdit;
  std::string watched_;  // what the edit shows
  ui::Button WatchButton;
  ui::ListView DefaultsList;
  ui::PopupMenu DefaultsPopup;
  ui::ComboBox ScaledFilterCBox;
  ui::CheckBox RemoveOrphansCB, FillTheBarsCB;
  // Wallpaper Switching.
  ui::CheckBox StartupSwitchCB, IntervalSwitchCB, ShutdownCB, NoRepeatsCB, KeepHistoryCB;
  ui::ComboBox StartupTypeCBox, IntervalUnitCBox, IntervalTypeCBox, ShutdownTypeCBox;
  ui::SpinEdit IntervalEverySE;
  ui::Label toLabel_;
  // Thumbnails.
  ui::CheckBox CacheEnabledCB, RemoveThumbsCB;
  ui::Label compressionLabel_, compressionNote_, filterLabel_, widthLabel_, displayFilterLabel_;
  ui::SpinEdit CompressionSE, ThumbWidthSE;
  ui::ComboBox ThumbFilterCBox, RegenerationCBox, DisplayFilterCBox;
  ui::Button RegenerateButton, ClearCacheButton;
  ui::Label cacheCount_, cacheSize_;
  std::string cacheCountText_, cacheSizeText_;
  // About and Skins.
  ui::Label aboutLines_[5];
  ui::LinkLabel homePage_, aboutImage_;
  ui::Label skinsLines_[2];
  std::array<std::unique_ptr<ui::LinkLabel>, 8> skinSites_;
  // Monitors.
  ui::CheckBox EachMonitorOwnCB;
  ui::Label monitorMap_, monitorsNote_;
  std::array<MonitorRow, kMonitorSettingsCount> monitorRows_;
  MonitorLayout monitors_;
  HWND hints_ = nullptr;  // the window's tooltip, destroyed with the window

  TKVAutoStart KVAutoStart1_;
  DirectoryWatch watch_;
  std::vector<std::string> scanned_;
  bool cacheTimerFirst_ = true;
};

}  // namespace kv
