// The options window's pages: every control with its caption and place, bound
// to its setting, which gives its range and value. A page is made when it is
// first shown.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include "base/text_win.h"
#include "config/colour_text.h"
#include "config/hotkey_rules.h"
#include "config/options/options_form_win.h"
#include "config/options/options_texts.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/styles.h"
#include "list/thumbnail_cache.h"
#include "program/program_state.h"
#include "wallpaper/kv_wallpaper_win.h"

namespace kv {
namespace {

constexpr int kRow = 24;

// The standard colours of the pickers, by the names the settings use.
constexpr std::uint32_t kPickerColours[] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
constexpr char kMoreColours[] = "More ...";

void ShowCaption(ui::HwndOwner& control, HFONT font) { control.SetFont(font); }

using ui::ChildAt;

}  // namespace

int TOptionsForm::TextWidth(const std::string& text) const {
  HDC dc = GetDC(hwnd());
  const HGDIOBJ old = SelectObject(dc, font_.get());
  const std::wstring wide = Widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  return size.cx;
}

void TOptionsForm::AddHint(HWND control, const std::string& text) {
  if (!hints_) {
    hints_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(),
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hints_) return;
  }
  std::wstring wide = Widen(text);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(control);
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = wide.data();
  SendMessageW(hints_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

std::string TOptionsForm::HintOf(HWND control) const {
  if (!hints_) return {};
  wchar_t text[256] = {};
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = GetParent(control);
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text;
  SendMessageW(hints_, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
  return Narrow(text);
}

// --- Small controls of the window ----------------------------------------------

void ColourCombo::Create(const CreateArgs& args) {
  ComboBox::Create(args);
  for (std::uint32_t c : kPickerColours) AddItem(ColourToText(c));
  AddItem(kMoreColours);
  SetColour(0);
  onChanged = [this](int index) {
    std::uint32_t colour = colour_;
    if (ItemText(index) == kMoreColours) {
      static COLORREF custom[16] = {};
      CHOOSECOLORW choose{};
      choose.lStructSize = sizeof choose;
      choose.hwndOwner = GetAncestor(hwnd(), GA_ROOT);
      choose.rgbResult = colour_;
      choose.lpCustColors = custom;
      choose.Flags = CC_RGBINIT | CC_FULLOPEN;
      if (!ChooseColorW(&choose)) {
        SetColour(colour_);
        return;
      }
      colour = choose.rgbResult;
    } else if (const auto parsed = TextToColour(ItemText(index))) {
      colour = *parsed;
    }
    SetColour(colour);
    if (onColour) onColour(colour);
  };
}

void ColourCombo::SetColour(std::uint32_t colour) {
  colour_ = colour;
  const std::string text = ColourToText(colour);
  for (int i = 0; i < Count(); ++i)
    if (ItemText(i) == text) {
      SetItemIndex(i);
      return;
    }
  // A colour without a name shows as its own item, before "More ...".
  SendMessageW(hwnd(), CB_INSERTSTRING, static_cast<WPARAM>(Count() - 1),
               reinterpret_cast<LPARAM>(Widen(text).c_str()));
  SetItemIndex(Count() - 2);
}

// --- Helpers -------------------------------------------------------------------

void TOptionsForm::Label(ui::Label& label, HWND parent, int x, int y, int w,
                         const std::string& text) {
  label.Create(ChildAt(parent, x, y + 3, w, 15, text));
  ShowCaption(label, font_.get());
}

void TOptionsForm::Check(ui::CheckBox& box, HWND parent, int x, int y, int w,
                         const std::string& text, const SettingDef& def, int lines) {
  // A caption of more lines wraps at the box's width.
  box.Create(ChildAt(parent, x, y, w, 20 + (lines - 1) * 14, text, lines > 1 ? BS_MULTILINE : 0));
  ShowCaption(box, font_.get());
  box.SetChecked(model_.Value(def) != 0);
  box.onChanged = [this, &def](bool on) { model_.Change(def, on); };
  bound_.push_back({&def, &box, nullptr, nullptr});
  Remember(def.name, box.hwnd());
}

void TOptionsForm::Spin(ui::SpinEdit& spin, HWND parent, int x, int y, Option option) {
  const SettingDef& def = SettingOf(option);
  spin.Create(ChildAt(parent, x, y, 52, 21, {}, 0, WS_EX_CLIENTEDGE), model_.Minimum(def),
              model_.Maximum(def), model_.Value(def));
  spin.EditControl().SetFont(font_.get());
  spin.onChanged = [this, &def](int v) { model_.Change(def, v); };
  bound_.push_back({&def, nullptr, &spin, nullptr});
  Remember(def.name, spin.EditControl().hwnd());
}

void TOptionsForm::Choice(ui::ComboBox& combo, HWND parent, int x, int y, int w,
                          const std::vector<std::string>& items, Option option, int dropItems) {
  const SettingDef& def = SettingOf(option);
  combo.Create(ChildAt(parent, x, y, w, 24 + dropItems * 15));
  ShowCaption(combo, font_.get());
  combo.SetItems(items);
  combo.SetItemIndex(model_.Value(def));
  combo.onChanged = [this, &def](int i) { model_.Change(def, i); };
  bound_.push_back({&def, nullptr, nullptr, &combo});
  Remember(def.name, combo.hwnd());
}

void ShowFieldText(ui::Edit& edit, const std::string& text) {
  edit.SetText(text);
  // The end of a long path shows: the file's name tells most.
  const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit.hwnd()));
  SendMessageW(edit.hwnd(), EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(edit.hwnd(), EM_SCROLLCARET, 0, 0);
}

void TOptionsForm::TextBox(TextField& edit, HWND parent, int x, int y, int w, Option option) {
  const SettingDef& def = SettingOf(option);
  edit.Create(ChildAt(parent, x, y, w, 21));
  edit.SetFont(font_.get());
  ShowFieldText(edit, model_.Text(def));
  const auto take = [this, &def, &edit] {
    if (edit.Text() != model_.Text(def)) model_.ChangeText(def, edit.Text());
  };
  edit.onExit = take;
  edit.onKeyDown = [take](WPARAM key) {
    if (key != VK_RETURN) return false;
    take();
    return true;
  };
  bound_.push_back({&def, nullptr, nullptr, nullptr, &edit});
  Remember(def.name, edit.hwnd());
}

void TOptionsForm::HotkeyRow(std::size_t index, HWND parent, int y, const char* caption) {
  HotkeySlot& slot = slots_[index];
  Check(slot.enable, parent, 10, y, 16, "", *slot.enabled);
  Label(slot.label, parent, 28, y, 148, caption);
  // Wide enough for the longest combination the field can show.
  slot.edit.Create(ChildAt(parent, 178, y, 158, 21));
  slot.edit.SetFont(font_.get());
  // The control itself turns a key without a modifier (or, but for Random,
  // with Shift alone) into Shift+Ctrl+Alt and that key.
  const WPARAM rejected = slot.shiftAloneAllowed ? HKCOMB_NONE : (HKCOMB_NONE | HKCOMB_S);
  SendMessageW(slot.edit.hwnd(), HKM_SETRULES, rejected,
               MAKELPARAM(HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  const auto key = static_cast<Shortcut>(model_.Value(*slot.key));
  slot.edit.SetHotkey(ShortcutKey(key), HotkeyControlModifiers(key));
  Remember(slot.key->name, slot.edit.hwnd());
  slot.edit.onExit = [this, index] { HotkeyExit(index); };
}

// --- Program Options -------------------------------------------------------------

void TOptionsForm::BuildGeneralPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  int y = 12;
  Check(StayOnTopCB, h, 12, y, 220, "Stay On Top", Option::StayOnTop);
  Check(ButtonHintsCB, h, 12, y += kRow, 220, "Show Button Hints", Option::ButtonHints);
  Check(SnapCB, h, 12, y += kRow, 260, "Snap To The Edge Of The Screen", Option::SnapToEdge);
  Label(thresholdLabel_, h, 30, y += kRow, 170, "Pixel Threshold (1 - 100) : ");
  Spin(PixelThresholdSE, h, 210, y, Option::PixelThreshold);
  Label(scrollLabel_, h, 12, y += kRow + 4, 190, "Scroll Wallpaper Preview by : ");
  Spin(WallpaperScrollSE, h, 210, y, Option::WallpaperScroll);
  Check(RunOnStartupCB, h, 12, y += kRow + 4, 260, "Start Kestrova On Os Startup",
        Option::RunOnStartup);
  Label(showInLabel_, h, 12, y += kRow + 4, 120, "Show Kestrova In : ");
  Choice(ShowKVCBox, h, 150, y, 176, {"System Tray", "Taskbar", "Tray & Taskbar"}, Option::ShowKV,
         3);
  Check(AutoHideCB, h, 12, y += kRow + 6, 320,
        "Automatically minimize after                     seconds", Option::AutoHide);
  // The spin edit sits in the gap the caption leaves for it, measured in the
  // font the system really gives (Wine substitutes another for this one).
  Spin(AutoHideTimeSE, h, 12 + 20 + TextWidth("Automatically minimize after "), y - 1,
       Option::AutoHideTime);
  Label(menuStylesLabel_, h, 12, y += kRow + 6, 120, "Menu Styles :");
  Choice(MenuStylesCBox, h, 150, y, 176, {"Normal Menus", "Themed Menus", "Default Themed Menus"},
         Option::MenuStyles, 3);
  Check(ReversedWheelCB, h, 12, y += kRow + 6, 260, "Reverse the Mouse Wheel ",
        Option::ReversedWheel);
}

void TOptionsForm::BuildTransparencyPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  int y = 12;
  Check(FadeCB, h, 12, y, 320, "Enable Form Fading Effects , (emulated if needed)", Option::Fade);
  Label(fadeDelayLabel_, h, 30, y += kRow + 2, 170, "Fade Delay (ms) (1 - 50) : ");
  Spin(FadeDelaySE, h, 210, y, Option::FadeDelay);
  Label(fadeStepLabel_, h, 30, y += kRow + 2, 170, "Fade Step (1 -100) : ");
  Spin(FadeStepSE, h, 210, y, Option::FadeStep);
  Check(FormColoursCB, h, 12, y += kRow + 8, 260, "Enable Form Effects.", Option::FormColours);
  Label(changeLabel_, h, 30, y += kRow + 2, 80, "Change :");
  Choice(FormToChangeCBox, h, 120, y, 142, {"Browser", "Manager", "All Forms"},
         Option::FormToChange, 3);
  static const char* const kEffectLabels[] = {
      "R Intensity : ", "G Intensity :", "B Intensity : ", "Hue :", "Transparency : "};
  // The browser's set names the five values.
  const auto rows = SettingsModel::Group(Option::FormEffect);
  y += 4;
  for (std::size_t i = 0; i < effectSpins_.size(); ++i) {
    Label(effectLabels_[i], h, 30, y += kRow, 170, kEffectLabels[i]);
    ui::SpinEdit& spin = effectSpins_[i];
    spin.Create(ChildAt(h, 210, y, 52, 21, {}, 0, WS_EX_CLIENTEDGE), rows[i]->min, rows[i]->max,
                effectValues_[i]);
    spin.EditControl().SetFont(font_.get());
    Remember(rows[i]->name, spin.EditControl().hwnd());
    spin.onChanged = [this, i](int v) {
      effectValues_[i] = v;
      EffectChange(static_cast<int>(i));
    };
  }
  Label(taskbarLabel_, h, 12, y += kRow + 12, 190, "Windows Taskbar Transparency :");
  Spin(TaskbarTransSE, h, 210, y, Option::TaskbarTrans);
  Label(layeredLabel_, h, 30, y += kRow, 260,
        program::MainForm && !layered_ ? options::kLayeredUnsupported : options::kLayeredSupported);
}

void TOptionsForm::BuildShortcutPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  static const char* const kHotkeyLabels[] = {
      "Set Random Wallpaper :", "Set Next Wallpaper :", "Set Previous Wallpaper :",
      "Pause / Unpause switch : ", "Go Back :"};
  int y = 12;
  for (std::size_t slot = 0; slot < slots_.size(); ++slot, y += kRow + 2)
    HotkeyRow(slot, h, y, kHotkeyLabels[slot]);
  static const char* const kMouseLabels[] = {
      "Left Click :",         "Middle Click :",         "Right Click :",
      "Shift + Left Click :", "Shift + Middle Click :", "Shift + Right Click :"};
  y += 8;
  for (int slot = 0; slot < 6; ++slot, y += kRow + 2) {
    const auto i = static_cast<std::size_t>(slot);
    Label(mouseLabels_[i], h, 12, y, 158, kMouseLabels[slot]);
    Choice(mouseCombos_[i], h, 178, y, 158, options::kActionItems,
           static_cast<Option>(static_cast<int>(Option::ClickLeft) + slot), 10);
  }
  Label(notes_[0], h, 12, y += 8, 320, "* A Double Right Click On The Kv System Tray ");
  Label(notes_[1], h, 22, y += 16, 310, "Will always restore KV");
}

// --- Operating System --------------------------------------------------------------

void TOptionsForm::BuildDesktopPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  const auto colours = SettingsModel::Group(Option::IconColour);
  ColourCombo* pickers[] = {&TextColourPicker, &BackgroundColourPicker};
  int y = 10;
  Check(DesktopColoursCB, h, 12, y, 320, "Change Desktop Icon Colours On Wallpaper Change",
        Option::DesktopColours);
  for (std::size_t i = 0; i < 2; ++i) {
    if (i == 0)
      Check(TextColourCB, h, 30, y += kRow, 130, "Text Colour", Option::TextColour);
    else
      Check(BackgroundColourCB, h, 30, y += kRow + 2, 130, "Background Colour",
            Option::BackgroundColour);
    const SettingDef& def = *colours[i];
    ColourCombo& picker = *pickers[i];
    picker.Create(ChildAt(h, 170, y, 140, 24 + 18 * 15));
    picker.SetFont(font_.get());
    picker.SetColour(static_cast<std::uint32_t>(model_.Value(def)));
    Remember(def.name, picker.hwnd());
    picker.onColour = [this, &def](std::uint32_t c) {
      model_.Change(def, static_cast<std::int32_t>(c));
    };
  }
  Check(TransparentBGCB, h, 30, y += kRow + 2, 220, "Transparent Backgrounds",
        Option::TransparentBG);
  Check(AnalyseCB, h, 12, y += kRow + 8, 320, "Analyse wallpaper for best desktop icon colour.",
        Option::Analyse);
  Check(GrayScaleCB, h, 30, y += kRow, 300, "GrayScale resulting colour (removes vulgar colours).",
        Option::GrayScale, 2);
  Check(DesktopIconsHiddenCB, h, 12, y += kRow + 22, 220, "Keep Desktop Icons Hidden",
        Option::KeepIconsHidden);
  Label(refreshLabel_, h, 12, y += kRow + 2, 238, " Hidden Destop Icon Refresh interval :");
  Spin(HiddenRefreshSE, h, 254, y, Option::HiddenRefresh);
  Label(iconSizeLabel_, h, 12, y += kRow + 8, 100, "Icon Size");
  // The pair stands for one value, "Small Icons"; the clicked box decides.
  NormalIconsCB.Create(ChildAt(h, 30, y += kRow - 4, 90, 20, "Normal"));
  SmallIconsCB.Create(ChildAt(h, 130, y, 90, 20, "Small"));
  for (ui::CheckBox* box : {&NormalIconsCB, &SmallIconsCB}) ShowCaption(*box, font_.get());
  SetIconSizeBoxes(iconSmall_, iconNormal_);
  Remember("Normal Icons", NormalIconsCB.hwnd());
  Remember(SettingOf(Option::IconSize).name, SmallIconsCB.hwnd());
  NormalIconsCB.onChanged = [this](bool on) { SetIconSize(!on); };
  SmallIconsCB.onChanged = [this](bool on) { SetIconSize(on); };
}

void TOptionsForm::BuildAssociationsPanel(ui::GradientPanel& p) {
  Check(AssociationsCB, p.hwnd(), 12, 12, 320,
        "Register File associations On Startup (*.kvs, *.lst)", Option::RegisterAssociations);
}

// --- Wallpapers ----------------------------------------------------------------------

void TOptionsForm::BuildListPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  Label(watchLabel_, h, 12, 8, 300, "Monitor wallpaper Directory. :");
  WatchEdit.Create(ChildAt(h, 12, 30, 280, 21, watched_, ES_READONLY, WS_EX_CLIENTEDGE));
  WatchEdit.SetFont(font_.get());
  Remember(SettingOf(Option::WatchedDirectory).name, WatchEdit.hwnd());
  WatchButton.Create(ChildAt(h, 298, 30, 30, 21, "..."));
  WatchButton.SetFont(font_.get());
  WatchButton.onClick = [this] { WatchButtonClick(); };

  Label(defaultsLabel_, h, 12, 60, 300, "Wallpaper List Defaults.");
  DefaultsList.Create(ChildAt(h, 12, 80, 316, 168, {}, LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE));
  DefaultsList.SetFont(font_.get());
  DefaultsList.AddColumn("File Type", 143);
  DefaultsList.AddColumn("Default Style", 143);
  for (std::size_t row = 0; row < std::size(kFileTypeGroupTexts); ++row)
    DefaultsList.AddRow({kFileTypeGroupTexts[row], DefaultStyleText(static_cast<int>(row))});
  Label(defaultsNote_, h, 12, 250, 316,
        "* right click an item and select a new default style from the menu");
  defaultsNote_.SetBounds(12, 253, 316, 30);  // two lines

  // The defaults list's menu: it only shows the row's current style; choosing
  // an item changes nothing.
  for (int tag = 0; tag < 4; ++tag)
    DefaultsPopup.root.Add(kStyleNames[static_cast<std::size_t>(tag)]).tag = tag;
  ui::MenuItem& filter = DefaultsPopup.root.Add("Filter");
  for (int tag = 4; tag < kStyleCount; ++tag)
    filter.Add(kStyleNames[static_cast<std::size_t>(tag)]).tag = tag;
  p.onMessage = [this](UINT msg, WPARAM, LPARAM lp, LRESULT&) {
    if (msg != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->hwndFrom != DefaultsList.hwnd() || header->code != NM_RCLICK) return false;
    POINT at;
    GetCursorPos(&at);
    DefaultsListPopup(at.x, at.y);
    return true;
  };

  Label(scaledLabel_, h, 12, 284, 150, "Scaled wallpaper Filter :");
  Choice(ScaledFilterCBox, h, 170, 284, 158, options::kFilterItems, Option::ScaledFilter);
  Check(FillTheBarsCB, h, 170, 310, 158, "Fill The Bars", Option::FillTheBars);
  Check(RemoveOrphansCB, h, 12, 338, 320, "Remove orphan wallpapers from the list on load.",
        Option::RemoveOrphans);
}

void TOptionsForm::BuildSwitchingPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  Check(StartupSwitchCB, h, 12, 14, 300, "Switch Wallpaper On Kestrova Startup",
        Option::StartupSwitch);
  Choice(StartupTypeCBox, h, 30, 40, 240, options::kSwitchItems, Option::StartupSwitchType, 3);
  Check(IntervalSwitchCB, h, 12, 84, 166, "Switch Wallpaper Every ", Option::IntervalSwitch);
  Spin(IntervalEverySE, h, 180, 84, Option::IntervalEvery);
  Choice(IntervalUnitCBox, h, 238, 84, 90, {"Minutes", "Hours"}, Option::IntervalUnit, 2);
  Label(toLabel_, h, 30, 112, 24, "To");
  Choice(IntervalTypeCBox, h, 56, 112, 240, options::kSwitchItems, Option::IntervalType, 3);
  Check(ShutdownCB, h, 12, 160, 300, "Switch on shutdown", Option::ShutdownSwitch);
  Choice(ShutdownTypeCBox, h, 30, 186, 240, options::kSwitchItems, Option::ShutdownSwitchType, 3);
  Check(NoRepeatsCB, h, 12, 234, 300, "Random Without Repeats", Option::RandomWithoutRepeats);
  Check(KeepHistoryCB, h, 12, 258, 300, "Keep History (Back)", Option::KeepHistory);
}

void TOptionsForm::BuildThumbnailsPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  Check(CacheEnabledCB, h, 12, 12, 320, "Enable Image Cache (Greatly increases speed)",
        Option::CacheEnabled);
  Label(compressionLabel_, h, 30, 40, 240, "Thumbnail Compression (1 - 100) :");
  Spin(CompressionSE, h, 278, 40, Option::Compression);
  Label(compressionNote_, h, 30, 62, 280, "1 = Worst, 50 = Medium, 100 = Best ");
  Label(filterLabel_, h, 30, 88, 170, "Thumbnail Generation Filter :");
  Choice(ThumbFilterCBox, h, 200, 88, 130, options::kFilterItems, Option::ThumbFilter);
  Label(widthLabel_, h, 30, 116, 246, "Approximate Generated Thumbnail Width :");
  Spin(ThumbWidthSE, h, 278, 116, Option::ThumbWidth);
  Check(RemoveThumbsCB, h, 30, 142, 280, "Remove Thumbnails on wallpaper deletion",
        Option::RemoveThumbs);
  RemoveThumbsCB.SetVisible(false);

  RegenerateButton.Create(ChildAt(h, 12, 170, 120, 24, "Regenerate Cache"));
  RegenerateButton.SetFont(font_.get());
  Choice(RegenerationCBox, h, 140, 171, 188, {"Only Missing Thumbnails", "From Scratch"},
         Option::CacheRegeneration, 2);
  ClearCacheButton.Create(ChildAt(h, 12, 202, 120, 24, "Clear Image Cache"));
  ClearCacheButton.SetFont(font_.get());
  Label(cacheCount_, h, 12, 236, 300, cacheCountText_);
  Label(cacheSize_, h, 12, 254, 300, cacheSizeText_);
  Label(displayFilterLabel_, h, 12, 292, 130, "Image Display Filter : ");
  Choice(DisplayFilterCBox, h, 150, 292, 150, options::kFilterItems, Option::DisplayFilter);

  RegenerateButton.onClick = [this] { RegenerateCacheClick(); };
  ClearCacheButton.onClick = [this] { ClearImageCacheClick(); };
}

// --- About and Skins -------------------------------------------------------------------

void TOptionsForm::BuildAboutPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  aboutImage_.Create(h, RECT{20, 20, 84, 84}, "", font_.get());
  aboutImage_.SetIcon(icon_.get(), 64);
  aboutImage_.onClick = [](ui::LinkLabel&) { OpenWebPage(options::kHomePage); };
  Label(aboutLines_[0], h, 100, 30, 230, options::kVersionLine);
  Label(aboutLines_[1], h, 100, 54, 70, "HomePage : ");
  homePage_.Create(h, RECT{100, 74, 330, 90}, options::kHomePage, font_.get());
  homePage_.onClick = aboutImage_.onClick;
  Label(aboutLines_[2], h, 20, 120, 310, "A wallpaper changer for the notification area.");
  Label(aboutLines_[3], h, 20, 140, 310, "Written and maintained by the Kestrova developers.");
  Label(aboutLines_[4], h, 20, 160, 310, "JPEG support: the Independent JPEG Group's library.");
}

void TOptionsForm::BuildSkinsPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  Label(skinsLines_[0], h, 12, 12, 320,
        "To find more skins, just double click any of the images below.");
  skinsLines_[0].SetBounds(12, 15, 320, 30);  // two lines
  Label(skinsLines_[1], h, 12, 44, 320, "Each of these sites also have wallpaper sections.");
  static const int kTags[] = {0, 1, 2, 3, 4, 5, 6, 10};
  for (int i = 0; i < 8; ++i) {
    auto site = std::make_unique<ui::LinkLabel>();
    const int x = 20 + (i % 2) * 160, y = 72 + (i / 2) * 70;
    site->Create(h, RECT{x, y, x + 48, y + 48}, "Double Click", font_.get());
    site->SetIcon(icon_.get(), 48);
    AddHint(site->hwnd(), "Double Click");
    site->Tag = kTags[i];
    // Every tag stands for one skin site; all of them are the project's own.
    site->onClick = [](ui::LinkLabel&) { OpenWebPage(options::kSkinsPage); };
    skinSites_[static_cast<std::size_t>(i)] = std::move(site);
  }
}

}  // namespace kv
