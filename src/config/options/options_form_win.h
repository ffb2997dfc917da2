#pragma once
// TOptionsForm, the options window "Configuration": every setting of the store
// shown and changed. Each control writes its value the moment it changes and
// applies it at once; there is no apply or cancel. The window also owns the
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
#include "program/forms.h"
#include "widgets/controls_win.h"
#include "widgets/gradient_panel_win.h"
#include "widgets/menu_win.h"

namespace kv {

class Prompts;
class ShellDelete;
struct SettingDef;

inline constexpr char kOptionsFormName[] = "OptionsForm";

// A hotkey edit that reports the loss of the focus.
class HotkeyField : public ui::HotkeyEdit {
 public:
  std::function<void()> onExit;

 protected:
  bool OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

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

class TOptionsForm : public TKVForm, public program::IOptionsForm {
 public:
  TOptionsForm(Prompts& prompts, SettingsStore& store, ShellDelete& shellDelete);
  ~TOptionsForm() override;  // FormDestroy

  // FormCreate: the window and its controls, the settings load, the cache
  // statistics timer, the start-up switch. Sets program::OptionsForm.
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

  // The whole settings store into the controls (once, from Create).
  void LoadSettings();
  // Navigation: link tags 0 to 4 bring their page forward.
  void SelectPage(int tag);
  [[nodiscard]] int CurrentPage() const noexcept { return currentPage_; }
  [[nodiscard]] int TabIndexOf(int page) const;
  void SelectTab(int page, int tab);
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

  // --- For tests and the other windows: the controls by the name of the value
  // they write ("StayOnTop", "Pixel Threshold", "Enable Random Hotkey"...); the
  // hotkey edits as "RandomHotkey" and so on, the colour pickers as "FG Colour"
  // and "BG Colour", the "Normal" icon size box as "Normal Icons". Null when
  // there is none.
  [[nodiscard]] HWND ControlFor(const std::string& valueName) const;
  [[nodiscard]] TfisHotKey& HotKey(int tag) { return *hotKeys_[static_cast<std::size_t>(tag)]; }
  [[nodiscard]] TKVAutoStart& KVAutoStart1() { return KVAutoStart1_; }
  [[nodiscard]] std::string CacheCountText() const { return cacheCount_.Text(); }
  [[nodiscard]] ui::LinkLabel& Link(int tag) { return *links_[static_cast<std::size_t>(tag)]; }
  // The eight skin site images of the Skins page, and the hint a control shows
  // (empty when it has none).
  [[nodiscard]] ui::LinkLabel& SkinSite(int i) { return *skinSites_[static_cast<std::size_t>(i)]; }
  [[nodiscard]] std::string HintOf(HWND control) const;
  [[nodiscard]] std::string DefaultStyleText(int row) const;
  [[nodiscard]] bool LayeredAvailable() const noexcept { return layered_; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Page {
    ui::TabControl tabs;
    std::vector<std::unique_ptr<ui::GradientPanel>> panels;
    const char* tabValue = nullptr;  // the root value that remembers the tab
  };
  struct HotkeySlot {
    ui::CheckBox enable;
    ui::Label label;
    HotkeyField edit;
    const char* keyValue;
    const char* enableValue;
    bool shiftAloneAllowed;
  };
  struct EffectSpins {
    ui::Label labels[5];
    ui::SpinEdit spins[5];  // red, green, blue, hue, transparency
  };

  // The watch thread's message: a change in the watched directory.
  static constexpr UINT kWatchMessage = WM_APP + 40;

  // Building.
  void SelectTabsShown();
  void BuildStrip();
  void BuildPages();
  ui::GradientPanel& AddPanel(Page& page, const char* tab);
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
  void Label(ui::Label& label, HWND parent, int x, int y, int w, const std::string& text);
  void Check(ui::CheckBox& box, HWND parent, int x, int y, int w, const std::string& text,
             const char* value, int lines = 1);
  void Spin(ui::SpinEdit& spin, HWND parent, int x, int y, int min, int max, int value,
            const char* name);
  void Combo(ui::ComboBox& combo, HWND parent, int x, int y, int w,
             const std::vector<std::string>& items, const char* name, int dropItems = 8);
  void Remember(const char* name, HWND control);
  // Shows `text` as the hint of `control` while the mouse rests on it.
  void AddHint(HWND control, const std::string& text);
  [[nodiscard]] int TextWidth(const std::string& text) const;

  // Handlers: each writes its value and applies it.
  void StayOnTopCBClick();
  void ButtonHintsCBClick();
  void SnapCBClick();
  void PixelThresholdChange();
  void WallpaperScrollChange();
  void RunOnStartupCBClick();
  void ShowKVCBoxChange();
  void AutoHideCBClick();
  void AutoHideTimeChange();
  void MenuStylesChange();
  void ReversedWheelCBClick();
  void FadeCBClick();
  void FadeDelayChange();
  void FadeStepChange();
  void FormColoursCBClick();
  void FormToChangeChange();
  void EffectChange(int which);
  void TaskbarTransChange();
  void HotkeyEnableClick(int tag);
  void HotkeyExit(int tag);
  void MouseActionChange(int slot);
  void UpdateDesktopEnabling();
  void DesktopColoursCBClick();
  void TextColourCBClick();
  void BackgroundColourCBClick();
  void TransparentBGCBClick();
  void KeepHiddenCBClick();
  void HiddenRefreshChange();
  void IconSizeClick(bool small);
  void AnalyseCBClick();
  void ApplyIconTextColouring();
  void GrayScaleCBClick();
  void WatchButtonClick();
  void WatchEditChange();
  void ScaledFilterChange();
  void RemoveOrphansCBClick();
  void StartupSwitchCBClick();
  void IntervalSwitchCBClick();
  void IntervalUnitChange();
  void ShutdownCBClick();
  void CacheEnabledCBClick();
  void CompressionChange();
  void ThumbWidthChange();
  void RemoveThumbsCBClick();
  void IntervalEveryChange();
  void AssociationsCBClick();
  void DefaultsListPopup(int x, int y);
  void FormMouseMove();

  // LoadSettings' rules: take a stored value into a control, running its
  // handler when what the control shows changes.
  void TakeBool(ui::CheckBox& box, const char* subkey, const char* name,
                void (TOptionsForm::*handler)());
  void TakeInt(ui::SpinEdit& spin, const char* subkey, const char* name,
               void (TOptionsForm::*handler)());
  // True when the stored choice was taken.
  bool TakeCombo(ui::ComboBox& combo, const char* subkey, const char* name);
  [[nodiscard]] bool WrittenOnFirstRun(const SettingDef& def) const;
  void LoadEffectValues(const char* subkey);
  // Without a stored "Small Icons": the size boxes show the menu's marks.
  void ShowIconSizeInForce();
  [[nodiscard]] const char* EffectsSubkey() const;
  void ApplyToEffectForms(int which, int value);
  void ShowCacheStatistics(const std::string& count, const std::string& size);

  Prompts& prompts_;
  ShellDelete& shellDelete_;
  GdiFont font_;
  GdiFont titleFont_;
  IconHandle icon_;
  bool layered_ = false;
  // The kept extended style of each taskbar window, each restored on its own.
  LONG_PTR taskbarStyles_[2] = {};
  bool haveTaskbarStyle_[2] = {};
  int currentPage_ = -1;
  bool loading_ = false;
  std::map<std::string, HWND> byValue_;

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
  EffectSpins effects_;
  // Shortcutting.
  std::array<HotkeySlot, 4> slots_{{{{}, {}, {}, "RandomHotkey", "Enable Random Hotkey", true},
                                    {{}, {}, {}, "NextHotkey", "Enable Next Hotkey", false},
                                    {{}, {}, {}, "PreviousHotkey", "Enable Previous Hotkey", false},
                                    {{}, {}, {}, "PauseHotKey", "Enable Pause Hotkey", false}}};
  std::array<std::unique_ptr<TfisHotKey>, 4> hotKeys_;
  std::array<ui::Label, 6> mouseLabels_;
  std::array<ui::ComboBox, 6> mouseCombos_;
  ui::Label notes_[2];
  // Desktop.
  ui::CheckBox DesktopColoursCB, TextColourCB, BackgroundColourCB, TransparentBGCB,
      DesktopIconsHiddenCB, NormalIconsCB, SmallIconsCB, AnalyseCB, GrayScaleCB, AssociationsCB;
  ColourCombo TextColourPicker, BackgroundColourPicker;
  ui::Label refreshLabel_, iconSizeLabel_;
  ui::SpinEdit HiddenRefreshSE;
  // Wallpaper List.
  ui::Label watchLabel_, defaultsLabel_, defaultsNote_, scaledLabel_;
  ui::Edit WatchEdit;
  ui::Button WatchButton;
  ui::ListView DefaultsList;
  ui::PopupMenu DefaultsPopup;
  ui::ComboBox ScaledFilterCBox;
  ui::CheckBox RemoveOrphansCB;
  // Wallpaper Switching.
  ui::CheckBox StartupSwitchCB, IntervalSwitchCB, ShutdownCB;
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
  // About and Skins.
  ui::Label aboutLines_[5];
  ui::LinkLabel homePage_, aboutImage_;
  ui::Label skinsLines_[2];
  std::array<std::unique_ptr<ui::LinkLabel>, 8> skinSites_;
  HWND hints_ = nullptr;  // the window's tooltip, destroyed with the window

  TKVAutoStart KVAutoStart1_;
  DirectoryWatch watch_;
  std::vector<std::string> scanned_;
  bool cacheTimerFirst_ = true;
};

}  // namespace kv
