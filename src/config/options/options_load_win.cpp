// LoadSettings: the whole settings store read once into the options window's
// controls, subkey by subkey in a fixed order. A stored value of a check box or
// spin edit is taken and its handler runs, so it is written back and applied
// even when the control already showed it (the window, timer or program-wide
// copy it drives may start from another value); a missing value whose first
// run writes it is written; others leave the control as it is. The first value
// that cannot be read ends the reading.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "config/hotkey_rules.h"
#include "config/options/options_form_win.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/styles.h"
#include "list/thumbnail_cache.h"
#include "list/wallpaper_list.h"
#include "program/program_state.h"
#include "skin/organic_glass_form_win.h"
#include "wallpaper/kv_wallpaper_win.h"

namespace kv {
namespace {

using program::MainForm;
using program::ManagerForm;

}  // namespace

bool TOptionsForm::WrittenOnFirstRun(const SettingDef& def) const {
  return def.firstRun == FirstRun::Written ||
         (def.firstRun == FirstRun::WrittenWhereLayered && layered_);
}

void TOptionsForm::TakeBool(ui::CheckBox& box, const char* subkey, const char* name,
                            void (TOptionsForm::*handler)()) {
  std::optional<bool> value = store_.RegReadBool(subkey, name);
  if (!value) {
    const SettingDef* def = FindSetting(subkey, name);
    if (!def || !WrittenOnFirstRun(*def)) return;
    value = def->intDefault != 0;
    if (box.Checked() == *value) {
      store_.RegWriteBool(subkey, name, *value);
      return;
    }
  }
  box.SetChecked(*value);
  (this->*handler)();
}

void TOptionsForm::TakeInt(ui::SpinEdit& spin, const char* subkey, const char* name,
                           void (TOptionsForm::*handler)()) {
  std::optional<std::int32_t> value = store_.RegReadInteger(subkey, name);
  if (!value) {
    const SettingDef* def = FindSetting(subkey, name);
    if (!def || !WrittenOnFirstRun(*def)) return;
    value = def->intDefault;
    if (spin.Value() == *value) {
      store_.RegWriteInteger(subkey, name, *value);
      return;
    }
  }
  spin.SetValue(*value);  // held to the spin edit's range
  (this->*handler)();
}

bool TOptionsForm::TakeCombo(ui::ComboBox& combo, const char* subkey, const char* name) {
  const std::optional<std::int32_t> value = store_.RegReadInteger(subkey, name);
  if (!value || *value < 0 || *value >= combo.Count()) return false;
  combo.SetItemIndex(*value);
  return true;
}

void TOptionsForm::ShowIconSizeInForce() {
  if (!MainForm) return;
  bool small = MainForm->ItemChecked(program::MainCommand::SmallIcons);
  bool normal = MainForm->ItemChecked(program::MainCommand::NormalIcons);
  if (small == normal) {
    // Nothing chosen yet: the marks show the size the desktop has, so that the
    // menu's pair and the two boxes start as one exclusive choice. Nothing is
    // written and the desktop is left as it is.
    const HWND view = TKVWallpaper::DesktopListView();
    small = view && (GetWindowLongW(view, GWL_STYLE) & LVS_TYPEMASK) == LVS_SMALLICON;
    normal = !small;
    MainForm->SetItemChecked(program::MainCommand::SmallIcons, small);
    MainForm->SetItemChecked(program::MainCommand::NormalIcons, normal);
  }
  SetIconSizeBoxes(small, normal);
}

void TOptionsForm::LoadSettings() {
  loading_ = true;
  try {
    // "Kv Options\".
    const char* k = kKvOptionsKey;
    TakeBool(StayOnTopCB, k, "StayOnTop", &TOptionsForm::StayOnTopCBClick);
    program::StayOnTopFlag = StayOnTopCB.Checked();
    TakeBool(ButtonHintsCB, k, "Button Hints", &TOptionsForm::ButtonHintsCBClick);
    TakeBool(SnapCB, k, "Snap To Edge", &TOptionsForm::SnapCBClick);
    SnapCBClick();  // browser and manager take the stored snapping state
    TakeBool(ReversedWheelCB, k, "Reversed MouseWheel", &TOptionsForm::ReversedWheelCBClick);
    TakeInt(PixelThresholdSE, k, "Pixel Threshold", &TOptionsForm::PixelThresholdChange);
    TakeInt(WallpaperScrollSE, k, "Wallpaper Scroll", &TOptionsForm::WallpaperScrollChange);
    TakeCombo(MenuStylesCBox, k, "MenuStyles");
    MenuStylesChange();
    TakeBool(AssociationsCB, k, "Register Associations", &TOptionsForm::AssociationsCBClick);
    TakeBool(RemoveOrphansCB, k, "Remove Orphans", &TOptionsForm::RemoveOrphansCBClick);
    TakeBool(RunOnStartupCB, k, "Run On Startup", &TOptionsForm::RunOnStartupCBClick);
    TakeCombo(ShowKVCBox, k, "ShowKV");
    ShowKVCBoxChange();
    TakeBool(AutoHideCB, k, "Auto Hide", &TOptionsForm::AutoHideCBClick);
    // Absent, the 10 written is also what the spin edit shows (it starts at
    // 20), so the window never shows another delay than the one in force.
    TakeInt(AutoHideTimeSE, k, "Auto Hide Time", &TOptionsForm::AutoHideTimeChange);

    // "Thumbnails\".
    const char* t = kThumbnailsKey;
    TakeBool(CacheEnabledCB, t, "Cache Enabled", &TOptionsForm::CacheEnabledCBClick);
    CacheEnabledCBClick();
    TakeInt(CompressionSE, t, "Compression", &TOptionsForm::CompressionChange);
    // The choice lists run no handler when loaded; their consumers still take
    // the stored choice, or it would count only after the user touched it.
    if (TakeCombo(ThumbFilterCBox, t, "Filter") && ManagerForm)
      ManagerForm->ImageResizer1().filter = ThumbFilterCBox.ItemIndex();
    TakeInt(ThumbWidthSE, t, "Width", &TOptionsForm::ThumbWidthChange);
    TakeBool(RemoveThumbsCB, t, "Remove Thumbs On Deletion", &TOptionsForm::RemoveThumbsCBClick);
    TakeCombo(RegenerationCBox, t, "Cache Regeneration");
    if (TakeCombo(DisplayFilterCBox, t, "ImageDisplayFilter"))
      program::Options.imageDisplayFilter = DisplayFilterCBox.ItemIndex();

    // "Buttons\".
    const char* b = kButtonsKey;
    static const char* const kActions[] = {"Left",      "Middle",      "Right",
                                           "ShiftLeft", "ShiftMiddle", "ShiftRight"};
    for (int slot = 0; slot < 6; ++slot)
      if (TakeCombo(mouseCombos_[static_cast<std::size_t>(slot)], b, kActions[slot]))
        MouseActionChange(slot);
    for (HotkeySlot& slot : slots_)
      if (const auto shortcut = store_.RegReadShortcut(b, slot.keyValue))
        slot.edit.SetHotkey(ShortcutKey(*shortcut), HotkeyControlModifiers(*shortcut));
    for (HotkeySlot& slot : slots_)
      if (const auto on = store_.RegReadBool(b, slot.enableValue)) slot.enable.SetChecked(*on);
    for (int tag = 0; tag < 4; ++tag) HotkeyEnableClick(tag);

    // "Wallpaper Changing\".
    const char* w = kWallpaperChangingKey;
    TakeBool(StartupSwitchCB, w, "Startup Switch", &TOptionsForm::StartupSwitchCBClick);
    TakeCombo(StartupTypeCBox, w, "Startup Switch Type");
    TakeBool(IntervalSwitchCB, w, "Interval Switch", &TOptionsForm::IntervalSwitchCBClick);
    TakeInt(IntervalEverySE, w, "Interval Switch Every", &TOptionsForm::IntervalEveryChange);
    TakeCombo(IntervalUnitCBox, w, "Interval Switch TimeType");
    TakeCombo(IntervalTypeCBox, w, "Interval Switch Type");
    TakeBool(ShutdownCB, w, "Shutdown", &TOptionsForm::ShutdownCBClick);
    TakeCombo(ShutdownTypeCBox, w, "Shutdown Switch Type");
    TakeBool(DesktopColoursCB, w, "ChangeDiColour", &TOptionsForm::DesktopColoursCBClick);
    TakeBool(TextColourCB, w, "ChangeFGColour", &TOptionsForm::TextColourCBClick);
    TakeBool(BackgroundColourCB, w, "ChangeBGColour", &TOptionsForm::BackgroundColourCBClick);
    TakeBool(TransparentBGCB, w, "TransDI", &TOptionsForm::TransparentBGCBClick);
    if (const auto fg = store_.RegReadColour(w, "FG Colour")) {
      TextColourPicker.SetColour(*fg);
      if (MainForm) MainForm->KVWallpaper1().Setdeskicons_fg(*fg);
    }
    if (const auto bg = store_.RegReadColour(w, "BG Colour")) {
      BackgroundColourPicker.SetColour(*bg);
      if (MainForm) MainForm->KVWallpaper1().Setdeskicons_bg(*bg);
    }
    TakeBool(AnalyseCB, w, "AnalyseThumbnails", &TOptionsForm::AnalyseCBClick);
    TakeBool(GrayScaleCB, w, "GrayScale", &TOptionsForm::GrayScaleCBClick);
    TakeBool(DesktopIconsHiddenCB, w, "HideIconsAlways", &TOptionsForm::KeepHiddenCBClick);
    TakeInt(HiddenRefreshSE, w, "HiddenRefreshInterval", &TOptionsForm::HiddenRefreshChange);
    if (const auto small = store_.RegReadBool(w, "Small Icons")) {
      ui::CheckBox& box = *small ? SmallIconsCB : NormalIconsCB;
      if (!box.Checked()) {
        box.SetChecked(true);
        IconSizeClick(*small);
      }
    } else {
      ShowIconSizeInForce();
    }

    // "Form Effects\" and the colour set "FormToChange" chooses.
    const char* f = kFormEffectsKey;
    TakeInt(TaskbarTransSE, f, "TaskbarTrans", &TOptionsForm::TaskbarTransChange);
    TakeBool(FadeCB, f, "Enable", &TOptionsForm::FadeCBClick);
    TakeInt(FadeDelaySE, f, "Fade Delay", &TOptionsForm::FadeDelayChange);
    TakeInt(FadeStepSE, f, "Fade Step", &TOptionsForm::FadeStepChange);
    TakeBool(FormColoursCB, f, "Enable FormColours", &TOptionsForm::FormColoursCBClick);
    TakeCombo(FormToChangeCBox, f, "FormToChange");
    LoadEffectValues(EffectsSubkey());
    if (FormColoursCB.Checked()) {
      // What the effects' check box would have applied, now that the chosen
      // set is read (see FormColoursCBClick).
      for (int which = 0; which < 5; ++which)
        ApplyToEffectForms(which, effects_.spins[which].Value());
    } else {
      ForBothForms([](skin::TOrganicShapeGlassForm& form) { form.SetTransparency(0); });
    }

    // "Directories\".
    const char* d = kDirectoriesKey;
    if (const auto dir = store_.RegReadString(d, "WallPaperDir")) {
      SetWatchedDirectory(*dir);
      if (DirectoryExists(WatchEdit.Text())) ScanWatchedDirectory();
    }
    for (int row = 0; row < kFileTypeGroupCount; ++row) {
      const auto style = store_.RegReadInteger(d, "Item" + std::to_string(row));
      if (!style || *style < 0 || *style >= kStyleCount) continue;
      DefaultsList.SetCell(row, 1, StyleName(*style));
      if (ManagerForm) ManagerForm->Wallpaperlist().SetDefaultStyle(row, *style);
    }
    TakeCombo(ScaledFilterCBox, d, "Scaled Filter");
    ScaledFilterChange();

    // The root: the skin, the pages and tabs.
    if (MainForm) {
      MainForm->LoadCurrentSkin();
    } else {
      const std::string skin = store_.RegReadString(kRootKey, "CurrentSkinFile").value_or("");
      program::CurrentSkinFile = skin.empty() ? kDefaultSkinFile : skin;
    }
    static const struct {
      const char* name;
      int page;
    } kTabs[] = {{"CurrentPOTab", 1}, {"CurrentOSTab", 2}, {"CurrentWTab", 3}};
    for (const auto& tab : kTabs)
      if (const auto v = store_.RegReadInteger(kRootKey, tab.name)) SelectTab(tab.page, *v);
    if (const auto page = store_.RegReadInteger(kRootKey, "CurrentPage"))
      if (*page >= 0 && *page <= 4) SelectPage(*page);
  } catch (...) {
    // The first value that cannot be read, or a handler's error, ends the
    // reading silently; what was not read keeps its initial value.
  }
  loading_ = false;
  try {
    ButtonHintsCBClick();
  } catch (...) {
    ui::ReportCurrentException();
  }
  if (MainForm) SetScrollMaximum(MainForm->PreviewCount());
}

}  // namespace kv
