// The options window's handlers: each control writes its value and applies it
// at once to the window, timer or component that uses it.
#include "base/text_case.h"
#include "config/hotkey_rules.h"
#include "config/options/options_form_win.h"
#include "config/options/options_texts.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/thumbnail_cache.h"
#include "list/wallpaper_list.h"
#include "program/program_state.h"
#include "skin/organic_glass_form_win.h"
#include "wallpaper/icon_colour.h"
#include "wallpaper/kv_wallpaper_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using program::MainForm;
using program::ManagerForm;

Shortcut EditShortcut(const ui::HotkeyEdit& edit) {
  const WORD hotkey = edit.Hotkey();
  return ShortcutFromHotkeyControl(LOBYTE(hotkey), HIBYTE(hotkey));
}

}  // namespace

// --- What the other windows ask ---------------------------------------------------

bool TOptionsForm::AnalyseThumbnails() const { return AnalyseCB.Checked(); }
int TOptionsForm::IntervalSwitchEvery() const { return IntervalEverySE.Value(); }
int TOptionsForm::IntervalSwitchTimeType() const { return IntervalUnitCBox.ItemIndex(); }
int TOptionsForm::IntervalSwitchType() const { return IntervalTypeCBox.ItemIndex(); }

void TOptionsForm::SetScrollMaximum(int maximum) {
  WallpaperScrollSE.SetRange(1, maximum < 1 ? 1 : maximum);
}

void TOptionsForm::SetIconSizeBoxes(bool small, bool normal) {
  SmallIconsCB.SetChecked(small);
  NormalIconsCB.SetChecked(normal);
}

void TOptionsForm::SetDesktopIconsHidden(bool hidden) { DesktopIconsHiddenCB.SetChecked(hidden); }

void TOptionsForm::ApplyShowKV() {
  if (!MainForm) return;
  const int choice = ShowKVCBox.ItemIndex();
  // 0: the tray icon only, 1: the taskbar button only, 2: both.
  MainForm->SetShownIn(choice != 1, choice != 0);
}

// --- Program Options, "General Options" -----------------------------------------------

void TOptionsForm::StayOnTopCBClick() {
  store_.RegWriteBool(kKvOptionsKey, "StayOnTop", StayOnTopCB.Checked());
  program::StayOnTopFlag = StayOnTopCB.Checked();
  if (MainForm) MainForm->ApplyStayOnTop();
}

void TOptionsForm::ButtonHintsCBClick() {
  const bool on = ButtonHintsCB.Checked();
  store_.RegWriteBool(kKvOptionsKey, "Button Hints", on);
  program::Options.buttonHints = on;
  if (MainForm) MainForm->SetButtonHints(on);
  if (ManagerForm) ManagerForm->SetButtonHints(on);
}

void TOptionsForm::SnapCBClick() {
  const bool on = SnapCB.Checked();
  store_.RegWriteBool(kKvOptionsKey, "Snap To Edge", on);
  thresholdLabel_.SetEnabled(on);
  PixelThresholdSE.SetEnabled(on);
  ForBothForms([on](skin::TOrganicShapeGlassForm& f) { f.snapToEdge = on; });
}

void TOptionsForm::PixelThresholdChange() {
  const int v = PixelThresholdSE.Value();
  store_.RegWriteInteger(kKvOptionsKey, "Pixel Threshold", v);
  ForBothForms([v](skin::TOrganicShapeGlassForm& f) { f.snapThreshold = v; });
}

void TOptionsForm::WallpaperScrollChange() {
  store_.RegWriteInteger(kKvOptionsKey, "Wallpaper Scroll", WallpaperScrollSE.Value());
  program::Options.wallpaperScroll = WallpaperScrollSE.Value();
}

void TOptionsForm::RunOnStartupCBClick() {
  store_.RegWriteBool(kKvOptionsKey, "Run On Startup", RunOnStartupCB.Checked());
  KVAutoStart1_.SetAutostart(RunOnStartupCB.Checked());
}

void TOptionsForm::ShowKVCBoxChange() {
  store_.RegWriteInteger(kKvOptionsKey, "ShowKV", ShowKVCBox.ItemIndex());
  ApplyShowKV();
}

void TOptionsForm::AutoHideCBClick() {
  const bool on = AutoHideCB.Checked();
  store_.RegWriteBool(kKvOptionsKey, "Auto Hide", on);
  program::Options.autoHide = on;
  if (MainForm) MainForm->SetAutoMinimize(on);
}

void TOptionsForm::AutoHideTimeChange() {
  store_.RegWriteInteger(kKvOptionsKey, "Auto Hide Time", AutoHideTimeSE.Value());
  program::Options.autoHideTime = AutoHideTimeSE.Value();
}

void TOptionsForm::MenuStylesChange() {
  store_.RegWriteInteger(kKvOptionsKey, "MenuStyles", MenuStylesCBox.ItemIndex());
  // "Normal Menus" leaves the browser's menus to the system; "Default Themed
  // Menus" draws them in the system's colours; "Themed Menus" changes nothing.
  // The other windows' menus are the system's whatever the choice.
  if (!MainForm) return;
  if (MenuStylesCBox.ItemIndex() == 0) MainForm->SetMenusDrawn(false);
  if (MenuStylesCBox.ItemIndex() == 2) MainForm->SetMenusDrawn(true);
}

void TOptionsForm::ReversedWheelCBClick() {
  store_.RegWriteBool(kKvOptionsKey, "Reversed MouseWheel", ReversedWheelCB.Checked());
  program::Options.reversedMouseWheel = ReversedWheelCB.Checked();
}

// --- Program Options, "Transparency" ----------------------------------------------------

void TOptionsForm::FadeCBClick() {
  const bool on = FadeCB.Checked();
  store_.RegWriteBool(kFormEffectsKey, "Enable", on);
  fadeDelayLabel_.SetEnabled(on);
  fadeStepLabel_.SetEnabled(on);
  FadeDelaySE.SetEnabled(on);
  FadeStepSE.SetEnabled(on);
  FormColoursCB.SetEnabled(on);
  ForBothForms([on](skin::TOrganicShapeGlassForm& f) { f.Fade().enabled = on; });
  // While the settings load, "Enable FormColours" is still to be read and runs
  // this handler itself when it is; running it now would write the box's
  // initial state over the stored value.
  if (!loading_) FormColoursCBClick();
}

void TOptionsForm::FadeDelayChange() {
  const int v = FadeDelaySE.Value();
  store_.RegWriteInteger(kFormEffectsKey, "Fade Delay", v);
  ForBothForms(
      [v](skin::TOrganicShapeGlassForm& f) { f.Fade().delay = static_cast<std::uint8_t>(v); });
}

void TOptionsForm::FadeStepChange() {
  const int v = FadeStepSE.Value();
  store_.RegWriteInteger(kFormEffectsKey, "Fade Step", v);
  ForBothForms(
      [v](skin::TOrganicShapeGlassForm& f) { f.Fade().step = static_cast<std::uint8_t>(v); });
}

void TOptionsForm::FormColoursCBClick() {
  const bool ticked = FormColoursCB.Checked();
  store_.RegWriteBool(kFormEffectsKey, "Enable FormColours", ticked);
  const bool usable = ticked && FormColoursCB.IsEnabled();
  changeLabel_.SetEnabled(usable);
  FormToChangeCBox.SetEnabled(usable);
  for (int i = 0; i < 5; ++i) {
    effects_.labels[i].SetEnabled(usable);
    effects_.spins[i].SetEnabled(usable);
  }
  if (ticked) {
    // While the settings load, the stored values of the chosen set are still
    // to be read: running the spin edits' handlers now would write their
    // initial zeros over them. The load applies them after reading instead.
    if (loading_) return;
    for (int which : {0, 4, 3, 1, 2}) EffectChange(which);
  } else {
    ForBothForms([](skin::TOrganicShapeGlassForm& f) {
      f.SetTransparency(0);
      f.SetHue(0);
      f.SetRedIntensity(100);
      f.SetBlueIntensity(100);
      f.SetGreenIntensity(100);
    });
  }
}

const char* TOptionsForm::EffectsSubkey() const {
  switch (FormToChangeCBox.ItemIndex()) {
    case 1:
      return kFormEffectsManagerKey;
    case 2:
      return kFormEffectsAllFormsKey;
    default:
      return kFormEffectsBrowserKey;
  }
}

void TOptionsForm::FormToChangeChange() {
  store_.RegWriteInteger(kFormEffectsKey, "FormToChange", FormToChangeCBox.ItemIndex());
  LoadEffectValues(EffectsSubkey());
}

void TOptionsForm::LoadEffectValues(const char* subkey) {
  static const char* const kNames[] = {"Red", "Green", "Blue", "Hue", "Transparency"};
  for (int i = 0; i < 5; ++i) {
    const auto v = store_.RegReadInteger(subkey, kNames[i]);
    if (!v) continue;
    ui::SpinEdit& spin = effects_.spins[i];
    const int before = spin.Value();
    spin.SetValue(*v);
    if (spin.Value() != before) EffectChange(i);
  }
}

void TOptionsForm::EffectChange(int which) {
  if (!FormColoursCB.Checked()) return;
  static const char* const kNames[] = {"Red", "Green", "Blue", "Hue", "Transparency"};
  const int v = effects_.spins[which].Value();
  store_.RegWriteInteger(EffectsSubkey(), kNames[which], v);
  ApplyToEffectForms(which, v);
}

void TOptionsForm::ApplyToEffectForms(int which, int value) {
  auto apply = [which, value](skin::TOrganicShapeGlassForm& f) {
    switch (which) {
      case 0:
        f.SetRedIntensity(value);
        break;
      case 1:
        f.SetGreenIntensity(value);
        break;
      case 2:
        f.SetBlueIntensity(value);
        break;
      case 3:
        f.SetHue(value);
        break;
      default:
        f.SetTransparency(value);
        break;
    }
  };
  const int choice = FormToChangeCBox.ItemIndex();
  if (choice != 1 && MainForm) apply(MainForm->Form());
  if (choice != 0 && ManagerForm) apply(ManagerForm->Form());
}

void TOptionsForm::TaskbarTransChange() {
  store_.RegWriteInteger(kFormEffectsKey, "TaskbarTrans", TaskbarTransSE.Value());
  ApplyTaskbarAlpha(TaskbarTransSE.Value());
}

// --- Program Options, "Shortcutting" -------------------------------------------------------

void TOptionsForm::HotkeyEnableClick(int tag) {
  HotkeySlot& slot = slots_[static_cast<std::size_t>(tag)];
  TfisHotKey& hotKey = HotKey(tag);
  const bool on = slot.enable.Checked();
  store_.RegWriteBool(kButtonsKey, slot.enableValue, on);
  slot.edit.SetEnabled(on);
  // Enabling first registers the component's previous key; the key change then
  // registers the edit's combination when it differs.
  hotKey.SetEnabled(on);
  hotKey.SetKey(EditShortcut(slot.edit));
  if (on && !hotKey.Registered() && !loading_) prompts_.Warning(HotkeyTakenText(hotKey.Key()));
}

void TOptionsForm::HotkeyExit(int tag) {
  HotkeySlot& slot = slots_[static_cast<std::size_t>(tag)];
  TfisHotKey& hotKey = HotKey(tag);
  const Shortcut typed = EditShortcut(slot.edit);
  const Shortcut kept = EnforceHotkeyModifiers(typed, slot.shiftAloneAllowed);
  if (kept != typed) slot.edit.SetHotkey(ShortcutKey(kept), HotkeyControlModifiers(kept));
  store_.RegWriteShortcut(kButtonsKey, slot.keyValue, kept);
  const bool changed = kept != hotKey.Key();
  hotKey.SetKey(kept);
  if (changed && hotKey.Enabled() && !hotKey.Registered()) prompts_.Warning(HotkeyTakenText(kept));
}

void TOptionsForm::HotKeyPressed(TfisHotKey& sender) {
  if (!MainForm) return;
  const int tag = sender.Tag;
  if (tag < 0 || tag > 3) return;
  // The user may be typing that very combination into its edit.
  if (GetFocus() == slots_[static_cast<std::size_t>(tag)].edit.hwnd()) return;
  switch (tag) {
    case 0:
      MainForm->SysRandomClick();
      break;
    case 1:
      MainForm->SysNextClick();
      break;
    case 2:
      MainForm->SysPreviousClick();
      break;
    default:
      // Only the flag: the menu's tick and the stored "Paused" stay as they are.
      program::PausedFlag = !program::PausedFlag;
      break;
  }
}

void TOptionsForm::MouseActionChange(int slot) {
  static const char* const kNames[] = {"Left",      "Middle",      "Right",
                                       "ShiftLeft", "ShiftMiddle", "ShiftRight"};
  const int action = mouseCombos_[static_cast<std::size_t>(slot)].ItemIndex();
  if (action < 0) return;
  store_.RegWriteInteger(kButtonsKey, kNames[slot], action);
  program::MouseActions& a = program::MouseAction;
  std::uint8_t* bytes[] = {&a.left,      &a.middle,      &a.right,
                           &a.shiftLeft, &a.shiftMiddle, &a.shiftRight};
  *bytes[slot] = static_cast<std::uint8_t>(action);
}

// --- Operating System, "Desktop" --------------------------------------------------------

void TOptionsForm::UpdateDesktopEnabling() {
  const bool active = DesktopColoursCB.Checked();
  const bool text = active && !AnalyseCB.Checked();
  TextColourCB.SetEnabled(text);
  TextColourPicker.SetEnabled(text && TextColourCB.Checked());
  TransparentBGCB.SetEnabled(active);
  const bool background = active && !TransparentBGCB.Checked();
  BackgroundColourCB.SetEnabled(background);
  BackgroundColourPicker.SetEnabled(background && BackgroundColourCB.Checked());
}

void TOptionsForm::DesktopColoursCBClick() {
  store_.RegWriteBool(kWallpaperChangingKey, "ChangeDiColour", DesktopColoursCB.Checked());
  UpdateDesktopEnabling();
  if (MainForm) MainForm->KVWallpaper1().DtopActive = DesktopColoursCB.Checked();
}

void TOptionsForm::ApplyIconTextColouring() {
  // The text colour is sent when it is chosen by hand or derived from the
  // wallpaper; either box alone leaves the other's choice in force.
  if (MainForm)
    MainForm->KVWallpaper1().DtopForeground = TextColourCB.Checked() || AnalyseCB.Checked();
}

void TOptionsForm::TextColourCBClick() {
  store_.RegWriteBool(kWallpaperChangingKey, "ChangeFGColour", TextColourCB.Checked());
  UpdateDesktopEnabling();
  ApplyIconTextColouring();
  if (!MainForm) return;
  if (TextColourCB.IsEnabled()) MainForm->KVWallpaper1().ApplyIconColours();
}

void TOptionsForm::BackgroundColourCBClick() {
  store_.RegWriteBool(kWallpaperChangingKey, "ChangeBGColour", BackgroundColourCB.Checked());
  UpdateDesktopEnabling();
  if (!MainForm) return;
  MainForm->KVWallpaper1().DtopBackground = BackgroundColourCB.Checked();
  if (BackgroundColourCB.IsEnabled()) MainForm->KVWallpaper1().ApplyIconColours();
}

void TOptionsForm::TransparentBGCBClick() {
  store_.RegWriteBool(kWallpaperChangingKey, "TransDI", TransparentBGCB.Checked());
  UpdateDesktopEnabling();
  if (MainForm) MainForm->KVWallpaper1().SetDtopTransparentBG(TransparentBGCB.Checked());
}

void TOptionsForm::KeepHiddenCBClick() {
  store_.RegWriteBool(kWallpaperChangingKey, "HideIconsAlways", DesktopIconsHiddenCB.Checked());
  const bool hidden = store_.RegReadBool(kWallpaperChangingKey, "HideIconsAlways").value_or(false);
  // The menu's mark says what the command last applied: when it agrees there
  // is nothing to do (the command flips the icons' shown state, so it must not
  // run twice for one state).
  if (!MainForm || MainForm->ItemChecked(program::MainCommand::KeepIconsHidden) == hidden) return;
  // The command toggles its mark, so it starts from the opposite.
  MainForm->SetItemChecked(program::MainCommand::KeepIconsHidden, !hidden);
  MainForm->KeepIconsHidden1Click();
}

void TOptionsForm::HiddenRefreshChange() {
  const int v = HiddenRefreshSE.Value();
  store_.RegWriteInteger(kWallpaperChangingKey, "HiddenRefreshInterval", v);
  if (MainForm) MainForm->KVWallpaper1().HideTimer.SetInterval(static_cast<DWORD>(v) * 100);
}

void TOptionsForm::IconSizeClick(bool small) {
  // The two boxes are kept opposite: the one clicked decides.
  const bool smallOn = small ? SmallIconsCB.Checked() : !NormalIconsCB.Checked();
  SmallIconsCB.SetChecked(smallOn);
  NormalIconsCB.SetChecked(!smallOn);
  store_.RegWriteBool(kWallpaperChangingKey, "Small Icons", smallOn);
  if (!MainForm) return;
  MainForm->SetItemChecked(program::MainCommand::SmallIcons, smallOn);
  MainForm->SetItemChecked(program::MainCommand::NormalIcons, !smallOn);
  if (smallOn)
    MainForm->SmallIcons1Click(false);
  else
    MainForm->NormalIcons1Click(false);
}

void TOptionsForm::AnalyseCBClick() {
  store_.RegWriteBool(kWallpaperChangingKey, "AnalyseThumbnails", AnalyseCB.Checked());
  UpdateDesktopEnabling();
  ApplyIconTextColouring();
}

void TOptionsForm::GrayScaleCBClick() {
  store_.RegWriteBool(kWallpaperChangingKey, "GrayScale", GrayScaleCB.Checked());
  if (MainForm) MainForm->IconColourChooser1().grayscaled = GrayScaleCB.Checked();
}

// --- Wallpapers -----------------------------------------------------------------------

void TOptionsForm::ScaledFilterChange() {
  store_.RegWriteInteger(kDirectoriesKey, "Scaled Filter", ScaledFilterCBox.ItemIndex());
  if (MainForm) MainForm->KVWallpaper1().ScaledFilter = ScaledFilterCBox.ItemIndex();
}

void TOptionsForm::RemoveOrphansCBClick() {
  store_.RegWriteBool(kKvOptionsKey, "Remove Orphans", RemoveOrphansCB.Checked());
  if (ManagerForm) ManagerForm->Wallpaperlist().removeOrphans = RemoveOrphansCB.Checked();
}

void TOptionsForm::StartupSwitchCBClick() {
  store_.RegWriteBool(kWallpaperChangingKey, "Startup Switch", StartupSwitchCB.Checked());
  StartupTypeCBox.SetEnabled(StartupSwitchCB.Checked());
}

void TOptionsForm::IntervalSwitchCBClick() {
  const bool on = IntervalSwitchCB.Checked();
  store_.RegWriteBool(kWallpaperChangingKey, "Interval Switch", on);
  IntervalEverySE.SetEnabled(on);
  IntervalUnitCBox.SetEnabled(on);
  IntervalTypeCBox.SetEnabled(on);
  if (MainForm) MainForm->SetIntervalSwitching(on);
}

void TOptionsForm::IntervalUnitChange() {
  const int unit = IntervalUnitCBox.ItemIndex();
  store_.RegWriteInteger(kWallpaperChangingKey, "Interval Switch TimeType", unit);
  const int before = IntervalEverySE.Value();
  IntervalEverySE.SetRange(0, unit == 1 ? 24 : 60);
  // A value above the new maximum is held to it, and that is written.
  IntervalEverySE.SetValue(before);
  if (IntervalEverySE.Value() != before)
    store_.RegWriteInteger(kWallpaperChangingKey, "Interval Switch Every", IntervalEverySE.Value());
}

void TOptionsForm::ShutdownCBClick() {
  store_.RegWriteBool(kWallpaperChangingKey, "Shutdown", ShutdownCB.Checked());
  ShutdownTypeCBox.SetEnabled(ShutdownCB.Checked());
}

void TOptionsForm::CacheEnabledCBClick() {
  const bool on = CacheEnabledCB.Checked();
  store_.RegWriteBool(kThumbnailsKey, "Cache Enabled", on);
  for (ui::HwndOwner* c :
       {static_cast<ui::HwndOwner*>(&compressionLabel_),
        static_cast<ui::HwndOwner*>(&compressionNote_), static_cast<ui::HwndOwner*>(&filterLabel_),
        static_cast<ui::HwndOwner*>(&ThumbFilterCBox), static_cast<ui::HwndOwner*>(&widthLabel_)})
    c->SetEnabled(on);
  CompressionSE.SetEnabled(on);
  ThumbWidthSE.SetEnabled(on);
  program::Options.cacheEnabled = on;
  if (ManagerForm) ManagerForm->ImageResizer1().cacheEnabled = on;
}

void TOptionsForm::CompressionChange() {
  store_.RegWriteInteger(kThumbnailsKey, "Compression", CompressionSE.Value());
  if (ManagerForm) ManagerForm->ImageResizer1().SetCompression(CompressionSE.Value());
}

void TOptionsForm::ThumbWidthChange() {
  store_.RegWriteInteger(kThumbnailsKey, "Width", ThumbWidthSE.Value());
  if (ManagerForm) ManagerForm->ImageResizer1().width = ThumbWidthSE.Value();
}

void TOptionsForm::RemoveThumbsCBClick() {
  store_.RegWriteBool(kThumbnailsKey, "Remove Thumbs On Deletion", RemoveThumbsCB.Checked());
  if (ManagerForm) ManagerForm->Wallpaperlist().removeThumbsOnDeletion = RemoveThumbsCB.Checked();
}

void TOptionsForm::IntervalEveryChange() {
  store_.RegWriteInteger(kWallpaperChangingKey, "Interval Switch Every", IntervalEverySE.Value());
}

void TOptionsForm::AssociationsCBClick() {
  store_.RegWriteBool(kKvOptionsKey, "Register Associations", AssociationsCB.Checked());
}

std::string TOptionsForm::DefaultStyleText(int row) const { return DefaultsList.Cell(row, 1); }

void TOptionsForm::DefaultsListPopup(int x, int y) {
  const std::vector<int> rows = DefaultsList.SelectedRows();
  if (rows.size() == 1) {
    const std::string style = DefaultStyleText(rows.front());
    auto mark = [&style](ui::MenuItem& item, auto& self) -> void {
      for (const auto& child : item.items) {
        child->checked = EqualsIgnoringAsciiCase(child->caption, style);
        self(*child, self);
      }
    };
    mark(DefaultsPopup.root, mark);
  }
  DefaultsPopup.Popup(hwnd(), x, y);
}

}  // namespace kv
