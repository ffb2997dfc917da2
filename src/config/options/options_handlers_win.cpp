// The settings' effects: what each value applies at once to the window, timer
// or component that uses it, and which controls it makes usable. The value is
// already held and written by the settings model when these run.
#include "base/text_case.h"
#include "config/hotkey_rules.h"
#include "config/options/options_form_win.h"
#include "config/options/options_texts.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/styles.h"
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
using O = Option;

Shortcut EditShortcut(const ui::HotkeyEdit& edit) {
  const WORD hotkey = edit.Hotkey();
  return ShortcutFromHotkeyControl(LOBYTE(hotkey), HIBYTE(hotkey));
}

}  // namespace

// --- What the other windows ask ---------------------------------------------------

bool TOptionsForm::AnalyseThumbnails() const { return model_.On(O::Analyse); }
int TOptionsForm::IntervalSwitchEvery() const { return model_.Value(O::IntervalEvery); }
int TOptionsForm::IntervalSwitchTimeType() const { return model_.Value(O::IntervalUnit); }
int TOptionsForm::IntervalSwitchType() const { return model_.Value(O::IntervalType); }

void TOptionsForm::SetScrollMaximum(int maximum) {
  const SettingDef& scroll = SettingOf(O::WallpaperScroll);
  model_.SetMaximum(scroll, maximum < 1 ? 1 : maximum);
  WallpaperScrollSE.SetRange(scroll.min, model_.Maximum(scroll));
}

void TOptionsForm::SetIconSizeBoxes(bool small, bool normal) {
  iconSmall_ = small;
  iconNormal_ = normal;
  SmallIconsCB.SetChecked(small);
  NormalIconsCB.SetChecked(normal);
}

void TOptionsForm::SetDesktopIconsHidden(bool hidden) {
  model_.Hold(SettingOf(O::KeepIconsHidden), hidden);
}

void TOptionsForm::ApplyShowKV() {
  if (!MainForm) return;
  const int choice = model_.Value(O::ShowKV);
  // 0: the tray icon only, 1: the taskbar button only, 2: both.
  MainForm->SetShownIn(choice != 1, choice != 0);
}

std::string TOptionsForm::DefaultStyleText(int row) const {
  const auto rows = SettingsModel::Group(O::StyleDefault);
  return StyleName(model_.Value(*rows[static_cast<std::size_t>(row)]));
}

// --- The model's side ----------------------------------------------------------------

void TOptionsForm::ShowText(const SettingDef& def, const std::string& text) {
  for (const BoundControl& c : bound_)
    if (c.def == &def && c.text && c.text->Text() != text) ShowFieldText(*c.text, text);
}

void TOptionsForm::Show(const SettingDef& def, std::int32_t value) {
  // The control the user changes already shows the value: it is left alone,
  // so that typing is not disturbed.
  for (const BoundControl& c : bound_) {
    if (c.def != &def) continue;
    if (c.check && c.check->Checked() != (value != 0)) c.check->SetChecked(value != 0);
    if (c.spin && c.spin->Value() != value) c.spin->SetValue(value);
    if (c.choice && c.choice->ItemIndex() != value) c.choice->SetItemIndex(value);
  }
  switch (def.option) {
    case O::Hotkey:
    case O::BackHotkey:
      for (HotkeySlot& slot : slots_)
        if (slot.key == &def && slot.edit.hwnd() && EditShortcut(slot.edit) != value) {
          const auto shortcut = static_cast<Shortcut>(value);
          slot.edit.SetHotkey(ShortcutKey(shortcut), HotkeyControlModifiers(shortcut));
        }
      break;
    case O::IconColour:
      (&def == &SettingOf(O::IconColour) ? TextColourPicker : BackgroundColourPicker)
          .SetColour(static_cast<std::uint32_t>(value));
      break;
    case O::StyleDefault:
      if (DefaultsList.hwnd()) {
        const auto rows = SettingsModel::Group(O::StyleDefault);
        for (std::size_t row = 0; row < rows.size(); ++row)
          if (rows[row] == &def) DefaultsList.SetCell(static_cast<int>(row), 1, StyleName(value));
      }
      break;
    default:
      break;
  }
}

bool TOptionsForm::TextColourUsable() const {
  return model_.On(O::DesktopColours) && !model_.On(O::Analyse);
}

bool TOptionsForm::BackgroundColourUsable() const {
  return model_.On(O::DesktopColours) && !model_.On(O::TransparentBG);
}

void TOptionsForm::UpdateEnabling() {
  const bool snap = model_.On(O::SnapToEdge);
  thresholdLabel_.SetEnabled(snap);
  PixelThresholdSE.SetEnabled(snap);

  const bool fade = model_.On(O::Fade);
  for (ui::HwndOwner* c :
       {static_cast<ui::HwndOwner*>(&fadeDelayLabel_), static_cast<ui::HwndOwner*>(&fadeStepLabel_),
        static_cast<ui::HwndOwner*>(&FormColoursCB)})
    c->SetEnabled(fade);
  FadeDelaySE.SetEnabled(fade);
  FadeStepSE.SetEnabled(fade);
  const bool effects = fade && model_.On(O::FormColours);
  changeLabel_.SetEnabled(effects);
  FormToChangeCBox.SetEnabled(effects);
  for (std::size_t i = 0; i < effectSpins_.size(); ++i) {
    effectLabels_[i].SetEnabled(effects);
    effectSpins_[i].SetEnabled(effects);
  }
  // Without layered windows the taskbar cannot be made translucent.
  const bool taskbar = !(MainForm && !layered_);
  taskbarLabel_.SetEnabled(taskbar);
  TaskbarTransSE.SetEnabled(taskbar);

  for (HotkeySlot& slot : slots_) slot.edit.SetEnabled(model_.Value(*slot.enabled) != 0);

  const bool active = model_.On(O::DesktopColours);
  TextColourCB.SetEnabled(TextColourUsable());
  TextColourPicker.SetEnabled(TextColourUsable() && model_.On(O::TextColour));
  TransparentBGCB.SetEnabled(active);
  BackgroundColourCB.SetEnabled(BackgroundColourUsable());
  BackgroundColourPicker.SetEnabled(BackgroundColourUsable() && model_.On(O::BackgroundColour));

  StartupTypeCBox.SetEnabled(model_.On(O::StartupSwitch));
  const bool interval = model_.On(O::IntervalSwitch);
  IntervalEverySE.SetEnabled(interval);
  IntervalUnitCBox.SetEnabled(interval);
  IntervalTypeCBox.SetEnabled(interval);
  ShutdownTypeCBox.SetEnabled(model_.On(O::ShutdownSwitch));

  const bool cache = model_.On(O::CacheEnabled);
  for (ui::HwndOwner* c :
       {static_cast<ui::HwndOwner*>(&compressionLabel_),
        static_cast<ui::HwndOwner*>(&compressionNote_), static_cast<ui::HwndOwner*>(&filterLabel_),
        static_cast<ui::HwndOwner*>(&ThumbFilterCBox), static_cast<ui::HwndOwner*>(&widthLabel_)})
    c->SetEnabled(cache);
  CompressionSE.SetEnabled(cache);
  ThumbWidthSE.SetEnabled(cache);

  UpdateMonitorRows();
}

void TOptionsForm::Apply(const SettingDef& def, std::int32_t v) {
  const bool on = v != 0;
  switch (def.option) {
    // Program Options, "General Options".
    case O::StayOnTop:
      program::StayOnTopFlag = on;
      if (MainForm) MainForm->ApplyStayOnTop();
      break;
    case O::ButtonHints:
      program::Options.buttonHints = on;
      if (MainForm) MainForm->SetButtonHints(on);
      if (ManagerForm) ManagerForm->SetButtonHints(on);
      break;
    case O::SnapToEdge:
      ForBothForms([on](skin::TOrganicShapeGlassForm& f) { f.snapToEdge = on; });
      break;
    case O::PixelThreshold:
      ForBothForms([v](skin::TOrganicShapeGlassForm& f) { f.snapThreshold = v; });
      break;
    case O::WallpaperScroll:
      program::Options.wallpaperScroll = v;
      break;
    case O::RunOnStartup:
      KVAutoStart1_.SetAutostart(on);
      break;
    case O::ShowKV:
      ApplyShowKV();
      break;
    case O::AutoHide:
      program::Options.autoHide = on;
      if (MainForm) MainForm->SetAutoMinimize(on);
      break;
    case O::AutoHideTime:
      program::Options.autoHideTime = v;
      break;
    case O::MenuStyles:
      MenuStylesChange(v);
      break;
    case O::ReversedWheel:
      program::Options.reversedMouseWheel = on;
      break;
    // Program Options, "Transparency".
    case O::Fade:
      FadeApply(on);
      break;
    case O::FadeDelay:
      ForBothForms(
          [v](skin::TOrganicShapeGlassForm& f) { f.Fade().delay = static_cast<std::uint8_t>(v); });
      break;
    case O::FadeStep:
      ForBothForms(
          [v](skin::TOrganicShapeGlassForm& f) { f.Fade().step = static_cast<std::uint8_t>(v); });
      break;
    case O::FormColours:
      FormColoursApply(on);
      break;
    case O::FormToChange:
      LoadEffectValues(EffectSet());
      break;
    case O::TaskbarTrans:
      ApplyTaskbarAlpha(v);
      break;
    // Program Options, "Shortcutting".
    case O::HotkeyEnable:
      for (int tag = 0; tag < kGlobalHotkeys; ++tag)
        if (slots_[static_cast<std::size_t>(tag)].enabled == &def) ApplyHotkeyEnable(tag);
      break;
    case O::ClickLeft:
    case O::ClickMiddle:
    case O::ClickRight:
    case O::ClickShiftLeft:
    case O::ClickShiftMiddle:
    case O::ClickShiftRight: {
      program::MouseActions& a = program::MouseAction;
      std::uint8_t* bytes[] = {&a.left,      &a.middle,      &a.right,
                               &a.shiftLeft, &a.shiftMiddle, &a.shiftRight};
      *bytes[static_cast<int>(def.option) - static_cast<int>(O::ClickLeft)] =
          static_cast<std::uint8_t>(v);
      break;
    }
    // Operating System, "Desktop".
    case O::DesktopColours:
      if (MainForm) MainForm->KVWallpaper1().DtopActive = on;
      break;
    case O::TextColour:
      ApplyIconTextColouring();
      if (MainForm && TextColourUsable()) MainForm->KVWallpaper1().ApplyIconColours();
      break;
    case O::BackgroundColour:
      if (!MainForm) break;
      MainForm->KVWallpaper1().DtopBackground = on;
      if (BackgroundColourUsable()) MainForm->KVWallpaper1().ApplyIconColours();
      break;
    case O::TransparentBG:
      if (MainForm) MainForm->KVWallpaper1().SetDtopTransparentBG(on);
      break;
    case O::IconColour:
      if (!MainForm) break;
      if (&def == &SettingOf(O::IconColour))
        MainForm->KVWallpaper1().Setdeskicons_fg(static_cast<std::uint32_t>(v));
      else
        MainForm->KVWallpaper1().Setdeskicons_bg(static_cast<std::uint32_t>(v));
      break;
    case O::Analyse:
      ApplyIconTextColouring();
      break;
    case O::GrayScale:
      if (MainForm) MainForm->IconColourChooser1().grayscaled = on;
      break;
    case O::KeepIconsHidden:
      KeepHiddenApply();
      break;
    case O::HiddenRefresh:
      if (MainForm) MainForm->KVWallpaper1().HideTimer.SetInterval(static_cast<DWORD>(v) * 100);
      break;
    // Wallpapers.
    case O::ScaledFilter:
      if (MainForm) MainForm->KVWallpaper1().ScaledFilter = v;
      break;
    case O::RemoveOrphans:
      if (ManagerForm) ManagerForm->Wallpaperlist().removeOrphans = on;
      break;
    case O::IntervalSwitch:
      if (MainForm) MainForm->SetIntervalSwitching(on);
      break;
    case O::IntervalUnit:
      IntervalUnitChange();
      break;
    case O::CacheEnabled:
      program::Options.cacheEnabled = on;
      if (ManagerForm) ManagerForm->ImageResizer1().cacheEnabled = on;
      break;
    case O::Compression:
      if (ManagerForm) ManagerForm->ImageResizer1().SetCompression(v);
      break;
    case O::ThumbFilter:
      if (ManagerForm) ManagerForm->ImageResizer1().filter = v;
      break;
    case O::ThumbWidth:
      if (ManagerForm) ManagerForm->ImageResizer1().width = v;
      break;
    case O::RemoveThumbs:
      if (ManagerForm) ManagerForm->Wallpaperlist().removeThumbsOnDeletion = on;
      break;
    case O::DisplayFilter:
      program::Options.imageDisplayFilter = v;
      break;
    // The extras are read by the browser where they are used.
    case O::RandomWithoutRepeats:
    case O::KeepHistory:
    case O::FillTheBars:
    case O::EnableBackHotkey:
      if (MainForm) MainForm->ApplyExtras();
      break;
    // Read by the browser where it renders: the wallpaper shown follows at once.
    case O::MonitorList2:
    case O::MonitorList3:
    case O::MonitorList4:
    case O::MonitorList5:
      MonitorListApply(def);
      break;
    case O::EachMonitorOwn:
    case O::MonitorMatch2:
    case O::MonitorMatch3:
    case O::MonitorMatch4:
    case O::MonitorMatch5:
      if (MainForm) MainForm->ApplyMonitorSettings();
      break;
    default:
      // Written only: read when they are used.
      break;
  }
  UpdateEnabling();
}

// --- Program Options --------------------------------------------------------------------

void TOptionsForm::MenuStylesChange(int style) {
  // "Normal Menus" leaves the browser's menus to the system; "Default Themed
  // Menus" draws them in the system's colours; "Themed Menus" changes nothing.
  // The other windows' menus are the system's whatever the choice.
  if (!MainForm) return;
  if (style == 0) MainForm->SetMenusDrawn(false);
  if (style == 2) MainForm->SetMenusDrawn(true);
}

void TOptionsForm::FadeApply(bool on) {
  ForBothForms([on](skin::TOrganicShapeGlassForm& f) { f.Fade().enabled = on; });
  // While the settings load, "Enable FormColours" is still to be read and
  // applies itself when it is; writing it now would put the initial state
  // over the stored value.
  if (!model_.Loading()) model_.Change(O::FormColours, model_.Value(O::FormColours));
}

void TOptionsForm::FormColoursApply(bool ticked) {
  if (ticked) {
    // While the settings load, the stored values of the chosen set are still
    // to be read: applying the shown ones now would write their initial zeros
    // over them. The load applies them after reading instead.
    if (model_.Loading()) return;
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

std::size_t TOptionsForm::EffectSet() const {
  // 0: the browser, 1: the manager, 2: all forms; the schema has the three
  // sets in that order, five values each.
  return static_cast<std::size_t>(model_.Value(O::FormToChange));
}

const char* TOptionsForm::EffectsSubkey() const {
  return SettingsModel::Group(O::FormEffect)[EffectSet() * 5]->subkey;
}

void TOptionsForm::LoadEffectValues(std::size_t set) {
  const auto rows = SettingsModel::Group(O::FormEffect);
  for (std::size_t i = 0; i < effectValues_.size(); ++i) {
    const SettingDef& row = *rows[set * effectValues_.size() + i];
    const auto v = store_.RegReadInteger(row.subkey, row.name);
    if (!v) continue;
    const int before = effectValues_[i];
    effectValues_[i] = std::clamp(*v, row.min, row.max);
    effectSpins_[i].SetValue(effectValues_[i]);
    if (effectValues_[i] != before) EffectChange(static_cast<int>(i));
  }
}

void TOptionsForm::EffectChange(int which) {
  if (!model_.On(O::FormColours)) return;
  const auto i = static_cast<std::size_t>(which);
  const SettingDef& row = *SettingsModel::Group(O::FormEffect)[EffectSet() * 5 + i];
  store_.RegWriteInteger(row.subkey, row.name, effectValues_[i]);
  ApplyToEffectForms(which, effectValues_[i]);
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
  const std::size_t choice = EffectSet();
  if (choice != 1 && MainForm) apply(MainForm->Form());
  if (choice != 0 && ManagerForm) apply(ManagerForm->Form());
}

void TOptionsForm::ApplyHotkeyEnable(int tag) {
  HotkeySlot& slot = slots_[static_cast<std::size_t>(tag)];
  TfisHotKey& hotKey = HotKey(tag);
  const bool on = model_.Value(*slot.enabled) != 0;
  // Enabling first registers the component's previous key; the key change then
  // registers the shown combination when it differs.
  hotKey.SetEnabled(on);
  hotKey.SetKey(slot.edit.hwnd() ? EditShortcut(slot.edit)
                                 : static_cast<Shortcut>(model_.Value(*slot.key)));
  if (on && !hotKey.Registered() && !model_.Loading())
    prompts_.Warning(HotkeyTakenText(hotKey.Key()));
}

void TOptionsForm::HotkeyExit(std::size_t index) {
  HotkeySlot& slot = slots_[index];
  const Shortcut typed = EditShortcut(slot.edit);
  const Shortcut kept = EnforceHotkeyModifiers(typed, slot.shiftAloneAllowed);
  if (kept != typed) slot.edit.SetHotkey(ShortcutKey(kept), HotkeyControlModifiers(kept));
  model_.Hold(*slot.key, static_cast<std::int32_t>(kept));
  model_.Write(*slot.key);
  if (index == kBackSlot) {
    // The browser registers the Back hotkey.
    if (MainForm) MainForm->ApplyExtras();
    return;
  }
  TfisHotKey& hotKey = HotKey(static_cast<int>(index));
  const bool changed = kept != hotKey.Key();
  hotKey.SetKey(kept);
  if (changed && hotKey.Enabled() && !hotKey.Registered()) prompts_.Warning(HotkeyTakenText(kept));
}

void TOptionsForm::HotKeyPressed(TfisHotKey& sender) {
  if (!MainForm) return;
  const int tag = sender.Tag;
  if (tag < 0 || tag >= kGlobalHotkeys) return;
  // The user may be typing that very combination into its edit.
  const HWND edit = slots_[static_cast<std::size_t>(tag)].edit.hwnd();
  if (edit && GetFocus() == edit) return;
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

// --- Operating System, "Desktop" --------------------------------------------------------

void TOptionsForm::ApplyIconTextColouring() {
  // The text colour is sent when it is chosen by hand or derived from the
  // wallpaper; either box alone leaves the other's choice in force.
  if (MainForm)
    MainForm->KVWallpaper1().DtopForeground = model_.On(O::TextColour) || model_.On(O::Analyse);
}

void TOptionsForm::KeepHiddenApply() {
  const SettingDef& def = SettingOf(O::KeepIconsHidden);
  const bool hidden = store_.RegReadBool(def.subkey, def.name).value_or(false);
  // The menu's mark says what the command last applied: when it agrees there
  // is nothing to do (the command flips the icons' shown state, so it must not
  // run twice for one state).
  if (!MainForm || MainForm->ItemChecked(program::MainCommand::KeepIconsHidden) == hidden) return;
  // The command toggles its mark, so it starts from the opposite.
  MainForm->SetItemChecked(program::MainCommand::KeepIconsHidden, !hidden);
  MainForm->KeepIconsHidden1Click();
}

void TOptionsForm::SetIconSize(bool smallOn) {
  // The two boxes are kept opposite.
  SetIconSizeBoxes(smallOn, !smallOn);
  const SettingDef& def = SettingOf(O::IconSize);
  model_.Hold(def, smallOn);
  model_.Write(def);
  if (!MainForm) return;
  MainForm->SetItemChecked(program::MainCommand::SmallIcons, smallOn);
  MainForm->SetItemChecked(program::MainCommand::NormalIcons, !smallOn);
  if (smallOn)
    MainForm->SmallIcons1Click(false);
  else
    MainForm->NormalIcons1Click(false);
}

// --- Wallpapers -----------------------------------------------------------------------

void TOptionsForm::IntervalUnitChange() {
  const SettingDef& every = SettingOf(O::IntervalEvery);
  model_.SetMaximum(every, model_.Value(O::IntervalUnit) == 1 ? 24 : 60);
  IntervalEverySE.SetRange(every.min, model_.Maximum(every));
  // A value above the new maximum is held to it, and that is written.
  const int before = model_.Value(every);
  if (std::min(before, model_.Maximum(every)) != before)
    model_.Change(every, model_.Maximum(every));
}

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
