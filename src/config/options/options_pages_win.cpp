// The options window's pages: every control with its caption, range and place,
// bound to its handler.
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

bool HotkeyField::OnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_KILLFOCUS && onExit) onExit();
  return HotkeyEdit::OnControlMessage(msg, wp, lp, result);
}

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
                         const std::string& text, const char* value, int lines) {
  // A caption of more lines wraps at the box's width.
  box.Create(ChildAt(parent, x, y, w, 20 + (lines - 1) * 14, text, lines > 1 ? BS_MULTILINE : 0));
  ShowCaption(box, font_.get());
  Remember(value, box.hwnd());
}

void TOptionsForm::Spin(ui::SpinEdit& spin, HWND parent, int x, int y, int min, int max, int value,
                        const char* name) {
  spin.Create(ChildAt(parent, x, y, 52, 21, {}, 0, WS_EX_CLIENTEDGE), min, max, value);
  spin.EditControl().SetFont(font_.get());
  Remember(name, spin.EditControl().hwnd());
}

void TOptionsForm::Combo(ui::ComboBox& combo, HWND parent, int x, int y, int w,
                         const std::vector<std::string>& items, const char* name, int dropItems) {
  combo.Create(ChildAt(parent, x, y, w, 24 + dropItems * 15));
  ShowCaption(combo, font_.get());
  combo.SetItems(items);
  combo.SetItemIndex(0);
  Remember(name, combo.hwnd());
}

// --- Program Options -------------------------------------------------------------

void TOptionsForm::BuildGeneralPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  int y = 12;
  Check(StayOnTopCB, h, 12, y, 220, "Stay On Top", "StayOnTop");
  Check(ButtonHintsCB, h, 12, y += kRow, 220, "Show Button Hints", "Button Hints");
  ButtonHintsCB.SetChecked(true);
  Check(SnapCB, h, 12, y += kRow, 260, "Snap To The Edge Of The Screen", "Snap To Edge");
  SnapCB.SetChecked(true);
  Label(thresholdLabel_, h, 30, y += kRow, 170, "Pixel Threshold (1 - 100) : ");
  Spin(PixelThresholdSE, h, 210, y, 0, 100, 30, "Pixel Threshold");
  Label(scrollLabel_, h, 12, y += kRow + 4, 190, "Scroll Wallpaper Preview by : ");
  Spin(WallpaperScrollSE, h, 210, y, 1, 5, 1, "Wallpaper Scroll");
  Check(RunOnStartupCB, h, 12, y += kRow + 4, 260, "Start Kestrova On Os Startup",
        "Run On Startup");
  Label(showInLabel_, h, 12, y += kRow + 4, 120, "Show Kestrova In : ");
  Combo(ShowKVCBox, h, 150, y, 176, {"System Tray", "Taskbar", "Tray & Taskbar"}, "ShowKV", 3);
  ShowKVCBox.SetItemIndex(2);
  Check(AutoHideCB, h, 12, y += kRow + 6, 320,
        "Automatically minimize after                     seconds", "Auto Hide");
  // The spin edit sits in the gap the caption leaves for it, measured in the
  // font the system really gives (Wine substitutes another for this one).
  Spin(AutoHideTimeSE, h, 12 + 20 + TextWidth("Automatically minimize after "), y - 1, 1, 60, 20,
       "Auto Hide Time");
  Label(menuStylesLabel_, h, 12, y += kRow + 6, 120, "Menu Styles :");
  Combo(MenuStylesCBox, h, 150, y, 176, {"Normal Menus", "Themed Menus", "Default Themed Menus"},
        "MenuStyles", 3);
  MenuStylesCBox.SetItemIndex(2);
  Check(ReversedWheelCB, h, 12, y += kRow + 6, 260, "Reverse the Mouse Wheel ",
        "Reversed MouseWheel");

  StayOnTopCB.onChanged = [this](bool) { StayOnTopCBClick(); };
  ButtonHintsCB.onChanged = [this](bool) { ButtonHintsCBClick(); };
  SnapCB.onChanged = [this](bool) { SnapCBClick(); };
  PixelThresholdSE.onChanged = [this](int) { PixelThresholdChange(); };
  WallpaperScrollSE.onChanged = [this](int) { WallpaperScrollChange(); };
  RunOnStartupCB.onChanged = [this](bool) { RunOnStartupCBClick(); };
  ShowKVCBox.onChanged = [this](int) { ShowKVCBoxChange(); };
  AutoHideCB.onChanged = [this](bool) { AutoHideCBClick(); };
  AutoHideTimeSE.onChanged = [this](int) { AutoHideTimeChange(); };
  MenuStylesCBox.onChanged = [this](int) { MenuStylesChange(); };
  ReversedWheelCB.onChanged = [this](bool) { ReversedWheelCBClick(); };
}

void TOptionsForm::BuildTransparencyPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  int y = 12;
  Check(FadeCB, h, 12, y, 320, "Enable Form Fading Effects , (emulated if needed)", "Enable");
  Label(fadeDelayLabel_, h, 30, y += kRow + 2, 170, "Fade Delay (ms) (1 - 50) : ");
  Spin(FadeDelaySE, h, 210, y, 1, 100, 1, "Fade Delay");
  Label(fadeStepLabel_, h, 30, y += kRow + 2, 170, "Fade Step (1 -100) : ");
  Spin(FadeStepSE, h, 210, y, 1, 100, 1, "Fade Step");
  Check(FormColoursCB, h, 12, y += kRow + 8, 260, "Enable Form Effects.", "Enable FormColours");
  Label(changeLabel_, h, 30, y += kRow + 2, 80, "Change :");
  Combo(FormToChangeCBox, h, 120, y, 142, {"Browser", "Manager", "All Forms"}, "FormToChange", 3);
  static const char* const kEffectLabels[] = {
      "R Intensity : ", "G Intensity :", "B Intensity : ", "Hue :", "Transparency : "};
  static const char* const kEffectValues[] = {"Red", "Green", "Blue", "Hue", "Transparency"};
  y += 4;
  for (int i = 0; i < 5; ++i) {
    Label(effects_.labels[i], h, 30, y += kRow, 170, kEffectLabels[i]);
    Spin(effects_.spins[i], h, 210, y, 0, 100, 0, kEffectValues[i]);
    effects_.spins[i].onChanged = [this, i](int) { EffectChange(i); };
  }
  Label(taskbarLabel_, h, 12, y += kRow + 12, 190, "Windows Taskbar Transparency :");
  Spin(TaskbarTransSE, h, 210, y, 0, 255, 255, "TaskbarTrans");
  Label(layeredLabel_, h, 30, y += kRow, 260, options::kLayeredSupported);

  FadeCB.onChanged = [this](bool) { FadeCBClick(); };
  FadeDelaySE.onChanged = [this](int) { FadeDelayChange(); };
  FadeStepSE.onChanged = [this](int) { FadeStepChange(); };
  FormColoursCB.onChanged = [this](bool) { FormColoursCBClick(); };
  FormToChangeCBox.onChanged = [this](int) { FormToChangeChange(); };
  TaskbarTransSE.onChanged = [this](int) { TaskbarTransChange(); };
  // Usable only while fading is ticked (FadeCBClick keeps this up to date).
  for (ui::HwndOwner* c :
       {static_cast<ui::HwndOwner*>(&fadeDelayLabel_), static_cast<ui::HwndOwner*>(&fadeStepLabel_),
        static_cast<ui::HwndOwner*>(&FormColoursCB)})
    c->SetEnabled(false);
  FadeDelaySE.SetEnabled(false);
  FadeStepSE.SetEnabled(false);
  changeLabel_.SetEnabled(false);
  FormToChangeCBox.SetEnabled(false);
  for (int i = 0; i < 5; ++i) {
    effects_.labels[i].SetEnabled(false);
    effects_.spins[i].SetEnabled(false);
  }
}

void TOptionsForm::BuildShortcutPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  static const char* const kHotkeyLabels[] = {
      "Set Random Wallpaper :", "Set Next Wallpaper :", "Set Previous Wallpaper :",
      "Pause / Unpause switch : "};
  int y = 12;
  for (int tag = 0; tag < 4; ++tag, y += kRow + 2) {
    HotkeySlot& slot = slots_[static_cast<std::size_t>(tag)];
    Check(slot.enable, h, 10, y, 16, "", slot.enableValue);
    Label(slot.label, h, 28, y, 148, kHotkeyLabels[tag]);
    // Wide enough for the longest combination the field can show.
    slot.edit.Create(ChildAt(h, 178, y, 158, 21));
    slot.edit.SetFont(font_.get());
    // The control itself turns a key without a modifier (or, but for Random,
    // with Shift alone) into Shift+Ctrl+Alt and that key.
    const WPARAM rejected = slot.shiftAloneAllowed ? HKCOMB_NONE : (HKCOMB_NONE | HKCOMB_S);
    SendMessageW(slot.edit.hwnd(), HKM_SETRULES, rejected,
                 MAKELPARAM(HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    slot.edit.SetHotkey(ShortcutKey(kDefaultHotkey), HotkeyControlModifiers(kDefaultHotkey));
    slot.edit.SetEnabled(false);
    Remember(slot.keyValue, slot.edit.hwnd());
    slot.enable.onChanged = [this, tag](bool) { HotkeyEnableClick(tag); };
    slot.edit.onExit = [this, tag] { HotkeyExit(tag); };
  }
  static const char* const kMouseLabels[] = {
      "Left Click :",         "Middle Click :",         "Right Click :",
      "Shift + Left Click :", "Shift + Middle Click :", "Shift + Right Click :"};
  static const char* const kMouseValues[] = {"Left",      "Middle",      "Right",
                                             "ShiftLeft", "ShiftMiddle", "ShiftRight"};
  const std::uint8_t defaults[] = {
      program::MouseAction.left,        program::MouseAction.middle,
      program::MouseAction.right,       program::MouseAction.shiftLeft,
      program::MouseAction.shiftMiddle, program::MouseAction.shiftRight};
  y += 8;
  for (int slot = 0; slot < 6; ++slot, y += kRow + 2) {
    const auto i = static_cast<std::size_t>(slot);
    Label(mouseLabels_[i], h, 12, y, 158, kMouseLabels[slot]);
    Combo(mouseCombos_[i], h, 178, y, 158, options::kActionItems, kMouseValues[slot], 10);
    mouseCombos_[i].SetItemIndex(defaults[slot]);
    mouseCombos_[i].onChanged = [this, slot](int) { MouseActionChange(slot); };
  }
  Label(notes_[0], h, 12, y += 8, 320, "* A Double Right Click On The Kv System Tray ");
  Label(notes_[1], h, 22, y += 16, 310, "Will always restore KV");
}

// --- Operating System --------------------------------------------------------------

void TOptionsForm::BuildDesktopPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  int y = 10;
  Check(DesktopColoursCB, h, 12, y, 320, "Change Desktop Icon Colours On Wallpaper Change",
        "ChangeDiColour");
  Check(TextColourCB, h, 30, y += kRow, 130, "Text Colour", "ChangeFGColour");
  TextColourPicker.Create(ChildAt(h, 170, y, 140, 24 + 18 * 15));
  TextColourPicker.SetFont(font_.get());
  Remember("FG Colour", TextColourPicker.hwnd());
  Check(BackgroundColourCB, h, 30, y += kRow + 2, 130, "Background Colour", "ChangeBGColour");
  BackgroundColourPicker.Create(ChildAt(h, 170, y, 140, 24 + 18 * 15));
  BackgroundColourPicker.SetFont(font_.get());
  Remember("BG Colour", BackgroundColourPicker.hwnd());
  Check(TransparentBGCB, h, 30, y += kRow + 2, 220, "Transparent Backgrounds", "TransDI");
  Check(AnalyseCB, h, 12, y += kRow + 8, 320, "Analyse wallpaper for best desktop icon colour.",
        "AnalyseThumbnails");
  Check(GrayScaleCB, h, 30, y += kRow, 300, "GrayScale resulting colour (removes vulgar colours).",
        "GrayScale", 2);
  Check(DesktopIconsHiddenCB, h, 12, y += kRow + 22, 220, "Keep Desktop Icons Hidden",
        "HideIconsAlways");
  Label(refreshLabel_, h, 12, y += kRow + 2, 238, " Hidden Destop Icon Refresh interval :");
  Spin(HiddenRefreshSE, h, 254, y, 1, 100, 1, "HiddenRefreshInterval");
  Label(iconSizeLabel_, h, 12, y += kRow + 8, 100, "Icon Size");
  Check(NormalIconsCB, h, 30, y += kRow - 4, 90, "Normal", "Normal Icons");
  Check(SmallIconsCB, h, 130, y, 90, "Small", "Small Icons");

  for (ui::CheckBox* c : {&TextColourCB, &BackgroundColourCB, &TransparentBGCB})
    c->SetEnabled(false);
  TextColourPicker.SetEnabled(false);
  BackgroundColourPicker.SetEnabled(false);

  DesktopColoursCB.onChanged = [this](bool) { DesktopColoursCBClick(); };
  TextColourCB.onChanged = [this](bool) { TextColourCBClick(); };
  BackgroundColourCB.onChanged = [this](bool) { BackgroundColourCBClick(); };
  TransparentBGCB.onChanged = [this](bool) { TransparentBGCBClick(); };
  TextColourPicker.onColour = [this](std::uint32_t c) {
    store_.RegWriteColour(kWallpaperChangingKey, "FG Colour", c);
    if (program::MainForm) program::MainForm->KVWallpaper1().Setdeskicons_fg(c);
  };
  BackgroundColourPicker.onColour = [this](std::uint32_t c) {
    store_.RegWriteColour(kWallpaperChangingKey, "BG Colour", c);
    if (program::MainForm) program::MainForm->KVWallpaper1().Setdeskicons_bg(c);
  };
  DesktopIconsHiddenCB.onChanged = [this](bool) { KeepHiddenCBClick(); };
  HiddenRefreshSE.onChanged = [this](int) { HiddenRefreshChange(); };
  NormalIconsCB.onChanged = [this](bool) { IconSizeClick(false); };
  SmallIconsCB.onChanged = [this](bool) { IconSizeClick(true); };
  AnalyseCB.onChanged = [this](bool) { AnalyseCBClick(); };
  GrayScaleCB.onChanged = [this](bool) { GrayScaleCBClick(); };
}

void TOptionsForm::BuildAssociationsPanel(ui::GradientPanel& p) {
  Check(AssociationsCB, p.hwnd(), 12, 12, 320,
        "Register File associations On Startup (*.kvs, *.lst)", "Register Associations");
  AssociationsCB.onChanged = [this](bool) { AssociationsCBClick(); };
}

// --- Wallpapers ----------------------------------------------------------------------

void TOptionsForm::BuildListPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  Label(watchLabel_, h, 12, 8, 300, "Monitor wallpaper Directory. :");
  WatchEdit.Create(ChildAt(h, 12, 30, 280, 21, {}, ES_READONLY, WS_EX_CLIENTEDGE));
  WatchEdit.SetFont(font_.get());
  Remember("WallPaperDir", WatchEdit.hwnd());
  WatchButton.Create(ChildAt(h, 298, 30, 30, 21, "..."));
  WatchButton.SetFont(font_.get());
  WatchButton.onClick = [this] { WatchButtonClick(); };
  WatchEdit.onChanged = [this](const std::string&) { WatchEditChange(); };

  Label(defaultsLabel_, h, 12, 60, 300, "Wallpaper List Defaults.");
  DefaultsList.Create(ChildAt(h, 12, 80, 316, 168, {}, LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE));
  DefaultsList.SetFont(font_.get());
  DefaultsList.AddColumn("File Type", 143);
  DefaultsList.AddColumn("Default Style", 143);
  for (const char* row : kFileTypeGroupTexts) DefaultsList.AddRow({row, "Stretch"});
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
  Combo(ScaledFilterCBox, h, 170, 284, 158, options::kFilterItems, "Scaled Filter");
  Check(RemoveOrphansCB, h, 12, 318, 320, "Remove orphan wallpapers from the list on load.",
        "Remove Orphans");
  RemoveOrphansCB.SetChecked(true);
  ScaledFilterCBox.onChanged = [this](int) { ScaledFilterChange(); };
  RemoveOrphansCB.onChanged = [this](bool) { RemoveOrphansCBClick(); };
}

void TOptionsForm::BuildSwitchingPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  Check(StartupSwitchCB, h, 12, 14, 300, "Switch Wallpaper On Kestrova Startup", "Startup Switch");
  Combo(StartupTypeCBox, h, 30, 40, 240, options::kSwitchItems, "Startup Switch Type", 3);
  Check(IntervalSwitchCB, h, 12, 84, 166, "Switch Wallpaper Every ", "Interval Switch");
  Spin(IntervalEverySE, h, 180, 84, 0, 100, 0, "Interval Switch Every");
  Combo(IntervalUnitCBox, h, 238, 84, 90, {"Minutes", "Hours"}, "Interval Switch TimeType", 2);
  Label(toLabel_, h, 30, 112, 24, "To");
  Combo(IntervalTypeCBox, h, 56, 112, 240, options::kSwitchItems, "Interval Switch Type", 3);
  Check(ShutdownCB, h, 12, 160, 300, "Switch on shutdown", "Shutdown");
  Combo(ShutdownTypeCBox, h, 30, 186, 240, options::kSwitchItems, "Shutdown Switch Type", 3);
  for (ui::ComboBox* c :
       {&StartupTypeCBox, &IntervalUnitCBox, &IntervalTypeCBox, &ShutdownTypeCBox})
    c->SetEnabled(false);
  IntervalEverySE.SetEnabled(false);

  StartupSwitchCB.onChanged = [this](bool) { StartupSwitchCBClick(); };
  IntervalSwitchCB.onChanged = [this](bool) { IntervalSwitchCBClick(); };
  ShutdownCB.onChanged = [this](bool) { ShutdownCBClick(); };
  StartupTypeCBox.onChanged = [this](int i) {
    store_.RegWriteInteger(kWallpaperChangingKey, "Startup Switch Type", i);
  };
  IntervalEverySE.onChanged = [this](int) { IntervalEveryChange(); };
  IntervalUnitCBox.onChanged = [this](int) { IntervalUnitChange(); };
  IntervalTypeCBox.onChanged = [this](int i) {
    store_.RegWriteInteger(kWallpaperChangingKey, "Interval Switch Type", i);
  };
  ShutdownTypeCBox.onChanged = [this](int i) {
    store_.RegWriteInteger(kWallpaperChangingKey, "Shutdown Switch Type", i);
  };
}

void TOptionsForm::BuildThumbnailsPanel(ui::GradientPanel& p) {
  const HWND h = p.hwnd();
  Check(CacheEnabledCB, h, 12, 12, 320, "Enable Image Cache (Greatly increases speed)",
        "Cache Enabled");
  CacheEnabledCB.SetChecked(true);
  Label(compressionLabel_, h, 30, 40, 240, "Thumbnail Compression (1 - 100) :");
  Spin(CompressionSE, h, 278, 40, 0, 100, 100, "Compression");
  Label(compressionNote_, h, 30, 62, 280, "1 = Worst, 50 = Medium, 100 = Best ");
  Label(filterLabel_, h, 30, 88, 170, "Thumbnail Generation Filter :");
  Combo(ThumbFilterCBox, h, 200, 88, 130, options::kFilterItems, "Filter");
  Label(widthLabel_, h, 30, 116, 246, "Approximate Generated Thumbnail Width :");
  Spin(ThumbWidthSE, h, 278, 116, 50, 200, 100, "Width");
  Check(RemoveThumbsCB, h, 30, 142, 280, "Remove Thumbnails on wallpaper deletion",
        "Remove Thumbs On Deletion");
  RemoveThumbsCB.SetVisible(false);

  RegenerateButton.Create(ChildAt(h, 12, 170, 120, 24, "Regenerate Cache"));
  RegenerateButton.SetFont(font_.get());
  Combo(RegenerationCBox, h, 140, 171, 188, {"Only Missing Thumbnails", "From Scratch"},
        "Cache Regeneration", 2);
  ClearCacheButton.Create(ChildAt(h, 12, 202, 120, 24, "Clear Image Cache"));
  ClearCacheButton.SetFont(font_.get());
  Label(cacheCount_, h, 12, 236, 300, EmptyCacheStatistics().countText);
  Label(cacheSize_, h, 12, 254, 300, EmptyCacheStatistics().sizeText);
  Label(displayFilterLabel_, h, 12, 292, 130, "Image Display Filter : ");
  Combo(DisplayFilterCBox, h, 150, 292, 150, options::kFilterItems, "ImageDisplayFilter");

  CacheEnabledCB.onChanged = [this](bool) { CacheEnabledCBClick(); };
  CompressionSE.onChanged = [this](int) { CompressionChange(); };
  ThumbFilterCBox.onChanged = [this](int i) {
    store_.RegWriteInteger(kThumbnailsKey, "Filter", i);
    if (program::ManagerForm) program::ManagerForm->ImageResizer1().filter = i;
  };
  ThumbWidthSE.onChanged = [this](int) { ThumbWidthChange(); };
  RemoveThumbsCB.onChanged = [this](bool) { RemoveThumbsCBClick(); };
  RegenerationCBox.onChanged = [this](int i) {
    store_.RegWriteInteger(kThumbnailsKey, "Cache Regeneration", i);
  };
  RegenerateButton.onClick = [this] { RegenerateCacheClick(); };
  ClearCacheButton.onClick = [this] { ClearImageCacheClick(); };
  DisplayFilterCBox.onChanged = [this](int i) {
    store_.RegWriteInteger(kThumbnailsKey, "ImageDisplayFilter", i);
    program::Options.imageDisplayFilter = i;
  };
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
