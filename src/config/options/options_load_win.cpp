// LoadSettings: the whole settings store read once into the settings model,
// setting by setting in the schema's order and by its rules (see
// config/settings_model.h). Read here, at their places in that order, are only
// the settings whose rules are their own (see LoadParticular).
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "config/hotkey_rules.h"
#include "config/options/options_form_win.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/styles.h"
#include "list/wallpaper_list.h"
#include "program/program_state.h"
#include "skin/organic_glass_form_win.h"
#include "wallpaper/kv_wallpaper_win.h"

namespace kv {
namespace {

using program::MainForm;
using program::ManagerForm;

// The position of `def` in its group.
std::size_t PlaceIn(Option group, const SettingDef& def) {
  const std::vector<const SettingDef*> rows = SettingsModel::Group(group);
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i] == &def) return i;
  return 0;
}

}  // namespace

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

// Hand-written because each has rules of its own: the hotkeys are registered
// only once all four ticks are read; a colour is text in the store; the two
// icon size boxes stand for one value; the form effects are read for the set
// "FormToChange" chooses and applied together; the watched directory starts a
// watch and a scan; the skin is loaded by the browser; a tab or page selects.
void TOptionsForm::LoadParticular(const SettingDef& def) {
  switch (def.option) {
    case Option::Hotkey:
      if (const auto shortcut = store_.RegReadShortcut(def.subkey, def.name))
        model_.Hold(def, static_cast<std::int32_t>(*shortcut));
      break;
    case Option::HotkeyEnable:
      if (const auto on = store_.RegReadBool(def.subkey, def.name)) model_.Hold(def, *on);
      if (PlaceIn(Option::HotkeyEnable, def) + 1 == static_cast<std::size_t>(kGlobalHotkeys))
        for (int tag = 0; tag < kGlobalHotkeys; ++tag) {
          model_.Write(*slots_[static_cast<std::size_t>(tag)].enabled);
          ApplyHotkeyEnable(tag);
        }
      break;
    case Option::IconColour:
      if (const auto colour = store_.RegReadColour(def.subkey, def.name)) {
        model_.Hold(def, static_cast<std::int32_t>(*colour));
        Apply(def, model_.Value(def));
      }
      break;
    case Option::IconSize:
      if (const auto small = store_.RegReadBool(def.subkey, def.name)) {
        if (!(*small ? iconSmall_ : iconNormal_)) SetIconSize(*small);
      } else {
        ShowIconSizeInForce();
      }
      break;
    case Option::FormEffect:
      // The whole chosen set at its first value; the other rows are read when
      // another set is chosen.
      if (PlaceIn(Option::FormEffect, def) != 0) break;
      LoadEffectValues(EffectSet());
      if (model_.On(Option::FormColours)) {
        // What ticking the form effects would have applied, now that the
        // chosen set is read (see FormColoursApply).
        for (int which = 0; which < 5; ++which)
          ApplyToEffectForms(which, effectValues_[static_cast<std::size_t>(which)]);
      } else {
        ForBothForms([](skin::TOrganicShapeGlassForm& form) { form.SetTransparency(0); });
      }
      break;
    case Option::WatchedDirectory:
      if (const auto dir = store_.RegReadString(def.subkey, def.name)) {
        SetWatchedDirectory(*dir);
        if (DirectoryExists(watched_)) ScanWatchedDirectory();
      }
      break;
    case Option::StyleDefault: {
      const auto style = store_.RegReadInteger(def.subkey, def.name);
      if (!style || *style < 0 || *style >= kStyleCount) break;
      model_.Hold(def, *style);
      if (ManagerForm)
        ManagerForm->Wallpaperlist().SetDefaultStyle(
            static_cast<int>(PlaceIn(Option::StyleDefault, def)), *style);
      break;
    }
    case Option::SkinFile:
      if (MainForm) {
        MainForm->LoadCurrentSkin();
      } else {
        const std::string skin = store_.RegReadString(def.subkey, def.name).value_or("");
        program::CurrentSkinFile = skin.empty() ? kDefaultSkinFile : skin;
      }
      break;
    case Option::PageTab:
      if (const auto tab = store_.RegReadInteger(def.subkey, def.name))
        SelectTab(static_cast<int>(PlaceIn(Option::PageTab, def)) + 1, *tab);
      break;
    case Option::Page:
      if (const auto page = store_.RegReadInteger(def.subkey, def.name))
        if (*page >= def.min && *page <= def.max) SelectPage(*page);
      break;
    case Option::BackHotkey:
      if (const auto shortcut = store_.RegReadShortcut(def.subkey, def.name))
        model_.Hold(def, static_cast<std::int32_t>(*shortcut));
      break;
    default:
      break;
  }
}

void TOptionsForm::LoadSettings() {
  model_.SetLayered(layered_);
  model_.Load();
  // Whatever the load read, the hints follow the box.
  try {
    model_.Change(Option::ButtonHints, model_.Value(Option::ButtonHints));
  } catch (...) {
    ui::ReportCurrentException();
  }
  if (MainForm) SetScrollMaximum(MainForm->PreviewCount());
  UpdateEnabling();
}

}  // namespace kv
