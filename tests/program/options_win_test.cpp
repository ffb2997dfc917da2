// The options window created as the program creates it (after the browser and
// the manager, with scripted prompts and the real registry), driven through
// its controls as a user drives them.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "app/browser_form_win.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "config/auto_start_win.h"
#include "config/hotkey_rules.h"
#include "config/options/options_form_win.h"
#include "config/settings_schema.h"
#include "config/settings_store_win.h"
#include "list/manager_form_win.h"
#include "list/shell_files.h"
#include "list/thumbnail_cache.h"
#include "program_windows_win.h"
#include "support/registry_win.h"
#include "wallpaper/icon_colour.h"
#include "wallpaper/kv_wallpaper_win.h"
#include "widgets/prompts.h"

namespace kv {
namespace {

using Kind = ScriptedPrompts::Kind;
constexpr wchar_t kRoot[] = L"Software\\Tollvard\\Kestrova";

// Every value below the settings root as "subkey\|name" -> "dword N" or
// "text T", the subkey relative to the root.
std::map<std::string, std::string> AllValues() {
  std::map<std::string, std::string> out;
  const std::wstring root = kRoot;
  test::WalkValues(
      HKEY_CURRENT_USER, root, [](const std::wstring&) {},
      [&](const std::wstring& key, const test::RegValue& v) {
        const std::string subkey =
            key.size() > root.size() ? Narrow(key.substr(root.size() + 1)) + "\\" : "";
        std::string shown;
        if (v.type == REG_DWORD && v.data.size() == sizeof(DWORD))
          shown = "dword " + std::to_string(*reinterpret_cast<const DWORD*>(v.data.data()));
        else if (v.type == REG_SZ)
          shown = "text " + Narrow(std::wstring(reinterpret_cast<const wchar_t*>(v.data.data()),
                                                v.data.size() / sizeof(wchar_t))
                                       .c_str());
        else
          shown = "type " + std::to_string(v.type);
        out[subkey + "|" + Narrow(v.name)] = shown;
      });
  return out;
}

void PutDword(const std::wstring& subkey, const wchar_t* name, DWORD value) {
  RegKey key;
  RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kRoot) + subkey).c_str(), 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
  RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof value);
}

void PutText(const std::wstring& subkey, const wchar_t* name, const std::wstring& text) {
  test::SetString(HKEY_CURRENT_USER, std::wstring(kRoot) + subkey, name, text);
}

// A 2 x 2 picture in a 24-bit BMP file.
void WriteBitmap(const std::string& name) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  const DWORD pixels = 2 * 8;  // two rows of 6 bytes, padded to 8
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + pixels;
  info.biSize = sizeof info;
  info.biWidth = 2;
  info.biHeight = 2;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::ofstream out(Widen(name).c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  const std::string rows(pixels, '\x40');
  out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
}

// What a user's click, typing or choice does to a control: the control's own
// state changes, then the notification its parent gets.
void Notify(HWND control, WORD code) {
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}
void Click(HWND box) {
  const bool checked = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  SendMessageW(box, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
  Notify(box, BN_CLICKED);
}
void Type(HWND edit, int value) { SetWindowTextW(edit, std::to_wstring(value).c_str()); }
void Choose(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  Notify(combo, CBN_SELCHANGE);
}
bool IsChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
int Shown(HWND edit) {
  wchar_t text[32] = {};
  GetWindowTextW(edit, text, 32);
  return _wtoi(text);
}

class OptionsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    test::DeleteTree(HKEY_CURRENT_USER, kRoot);
    DeleteFileW(Widen(ProgramDir() + "wallpaper.lst").c_str());
    program::CurrentWallNumber = 0;
    program::MouseAction = {};
    program::Options = {};
    program::PausedFlag = false;
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, systemWallpaper_, 0);
  }
  void TearDown() override {
    options.reset();
    manager.reset();
    browser.reset();
    test::DeleteTree(HKEY_CURRENT_USER, kRoot);
    // The switches applied wallpapers: the system's is put back.
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, systemWallpaper_, 0);
  }
  void StartWindows(int entries = 0) {
    test::CreateProgramWindows(prompts, store, browser, manager, entries);
  }
  void StartOptions() {
    options = std::make_unique<TOptionsForm>(prompts, store, SystemShellDelete());
    options->Create();
  }
  HWND Control(const char* value) {
    const HWND control = options->ControlFor(value);
    EXPECT_NE(control, nullptr) << value;
    return control;
  }

  ScriptedPrompts prompts;
  RegistrySettingsStore store;
  std::unique_ptr<app::TMainForm> browser;
  std::unique_ptr<TManagerForm> manager;
  std::unique_ptr<TOptionsForm> options;
  wchar_t systemWallpaper_[MAX_PATH + 1] = {};
};

TEST_F(OptionsWindow, AFirstRunWritesExactlyTheMarkedValues) {
  StartWindows();
  const auto before = AllValues();
  StartOptions();
  std::map<std::string, std::string> written;
  for (const auto& [name, value] : AllValues())
    if (before.count(name) == 0 || before.at(name) != value) written[name] = value;
  const std::map<std::string, std::string> expected = {
      {"Kv Options\\|StayOnTop", "dword 0"},
      {"Kv Options\\|Button Hints", "dword 1"},
      {"Kv Options\\|Snap To Edge", "dword 1"},
      {"Kv Options\\|Reversed MouseWheel", "dword 0"},
      {"Kv Options\\|Pixel Threshold", "dword 30"},
      {"Kv Options\\|Wallpaper Scroll", "dword 1"},
      {"Kv Options\\|MenuStyles", "dword 2"},
      {"Kv Options\\|Register Associations", "dword 0"},
      {"Kv Options\\|Remove Orphans", "dword 1"},
      {"Kv Options\\|Run On Startup", "dword 0"},
      {"Kv Options\\|ShowKV", "dword 2"},
      {"Kv Options\\|Auto Hide", "dword 0"},
      {"Kv Options\\|Auto Hide Time", "dword 10"},
      {"Thumbnails\\|Cache Enabled", "dword 1"},
      {"Thumbnails\\|Width", "dword 100"},
      {"Buttons\\|Enable Random Hotkey", "dword 0"},
      {"Buttons\\|Enable Next Hotkey", "dword 0"},
      {"Buttons\\|Enable Previous Hotkey", "dword 0"},
      {"Buttons\\|Enable Pause Hotkey", "dword 0"},
      {"Form Effects\\|Fade Step", "dword 15"},
      {"Form Effects\\|Enable", "dword 1"},  // Wine has layered windows
      {"Form Effects\\|Enable FormColours", "dword 0"},
      {"Directories\\|Scaled Filter", "dword 0"},
      {"|CurrentSkinFile", "text %default%"},
  };
  EXPECT_EQ(written, expected);
  // The spin edit shows the 10 written and in force, not its initial 20.
  EXPECT_EQ(Shown(Control("Auto Hide Time")), 10);
  EXPECT_EQ(program::Options.autoHideTime, 10);
  EXPECT_TRUE(prompts.shown.empty());
  // Browser and manager took the loaded effects: opaque, fading, snapping.
  EXPECT_EQ(browser->GetTransparency(), 0);
  EXPECT_EQ(manager->Form().GetTransparency(), 0);
  EXPECT_TRUE(browser->Fade().enabled);
  EXPECT_EQ(browser->Fade().step, 15);
  EXPECT_TRUE(manager->snapToEdge);
  // Without a stored page the About page is in front and no link is marked.
  EXPECT_EQ(options->CurrentPage(), -1);
  for (int tag = 0; tag < 5; ++tag) EXPECT_FALSE(options->Link(tag).Selected());
}

TEST_F(OptionsWindow, AWrongTypedValueEndsTheLoadAndTheRestKeepsItsInitialState) {
  PutDword(L"\\Kv Options", L"StayOnTop", 1);
  PutText(L"\\Kv Options", L"Reversed MouseWheel", L"yes");  // a string for a bool
  PutDword(L"\\Kv Options", L"Pixel Threshold", 70);
  PutDword(L"\\Thumbnails", L"Width", 180);
  StartWindows();
  StartOptions();
  EXPECT_TRUE(IsChecked(Control("StayOnTop")));  // read before the fault
  EXPECT_TRUE(program::StayOnTopFlag);
  EXPECT_EQ(Shown(Control("Pixel Threshold")), 30);  // after it: initial values
  EXPECT_EQ(Shown(Control("Width")), 100);
  EXPECT_EQ(store.RegReadInteger("Kv Options\\", "Pixel Threshold"), 70);  // nothing lost
  EXPECT_EQ(store.RegReadInteger("Thumbnails\\", "Width"), 180);
  EXPECT_FALSE(store.RegReadBool("Kv Options\\", "Run On Startup").has_value());
  EXPECT_TRUE(prompts.shown.empty());
  // The final steps ran all the same: the hint handler wrote its value.
  EXPECT_EQ(store.RegReadBool("Kv Options\\", "Button Hints"), true);
  program::StayOnTopFlag = false;
}

TEST_F(OptionsWindow, StoredValuesAreTakenAndFaultyOnesPassedOver) {
  PutDword(L"\\Directories", L"Item3", 11);  // no such style
  PutDword(L"\\Directories", L"Item0", 6);
  PutDword(L"\\Directories", L"Item10", 3);
  PutText(L"", L"CurrentSkinFile", L"");  // as "%default%"
  PutDword(L"", L"CurrentPage", 7);       // no such page
  PutDword(L"", L"CurrentWTab", 3);
  PutDword(L"\\Wallpaper Changing", L"Small Icons", 0);
  PutText(L"\\Buttons", L"NextHotkey", L"Shift+Ctrl+Alt+F5");
  StartWindows();
  browser->Item("SmallIcons1").checked = true;
  StartOptions();
  EXPECT_EQ(options->DefaultStyleText(3), "Stretch");
  EXPECT_EQ(options->DefaultStyleText(0), "Hermite");
  EXPECT_EQ(manager->Wallpaperlist().DefaultStyle(0), 6);
  EXPECT_EQ(options->DefaultStyleText(10), "Scaled");
  EXPECT_EQ(manager->Wallpaperlist().DefaultStyle(10), 3);
  EXPECT_EQ(options->DefaultStyleText(9), "Stretch");
  EXPECT_EQ(store.RegReadString("", "CurrentSkinFile"), "%default%");
  EXPECT_EQ(browser->Buttons().size(), 6u);  // the built-in skin
  EXPECT_EQ(options->CurrentPage(), -1);
  EXPECT_EQ(options->TabIndexOf(3), 3);  // "Monitors"
  EXPECT_EQ(SendMessageW(Control("NextHotkey"), HKM_GETHOTKEY, 0, 0),
            MAKEWORD(VK_F5, HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT));
  EXPECT_TRUE(browser->Item("NormalIcons1").checked && !browser->Item("SmallIcons1").checked);
  EXPECT_TRUE(prompts.shown.empty());
}

// One row per control: what the user does, the value it writes and what it
// applies at once.
struct ControlCase {
  const char* subkey;
  const char* value;
  enum Action { ClickBox, TypeNumber, ChooseItem } action;
  int input;
  std::int32_t written;
  std::function<bool(OptionsWindow&)> applied;
};

class OptionsControls : public OptionsWindow {
 public:
  app::TMainForm& Browser() { return *browser; }
  TManagerForm& Manager() { return *manager; }
};

TEST_F(OptionsControls, EachControlWritesItsValueAndAppliesIt) {
  StartWindows(3);
  StartOptions();
  using O = OptionsWindow;
  auto& self = *this;
  auto b = [&self]() -> app::TMainForm& { return self.Browser(); };
  auto m = [&self]() -> TManagerForm& { return self.Manager(); };
  // The style reaches the browser's two menus and no other window's.
  auto browserMenus = [&](ui::MenuDrawing style) {
    return b().SysTrayPopup.drawing == style && b().PreviewPopup.drawing == style &&
           m().ManagerPopupMenu.drawing == ui::MenuDrawing::System &&
           m().WallpaperListPopupMenu.drawing == ui::MenuDrawing::System;
  };
  const ControlCase cases[] = {
      {"Kv Options\\", "StayOnTop", ControlCase::ClickBox, 0, 1,
       [&](O&) {
         return program::StayOnTopFlag && (GetWindowLongW(b().hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
       }},
      {"Kv Options\\", "StayOnTop", ControlCase::ClickBox, 0, 0,
       [&](O&) { return !program::StayOnTopFlag; }},
      {"Kv Options\\", "Button Hints", ControlCase::ClickBox, 0, 0,
       [](O&) { return !program::Options.buttonHints; }},
      {"Kv Options\\", "Snap To Edge", ControlCase::ClickBox, 0, 0,
       [&](O&) {
         return !b().snapToEdge && !m().snapToEdge &&
                !IsWindowEnabled(self.options->ControlFor("Pixel Threshold"));
       }},
      {"Kv Options\\", "Pixel Threshold", ControlCase::TypeNumber, 55, 55,
       [&](O&) { return b().snapThreshold == 55 && m().snapThreshold == 55; }},
      {"Kv Options\\", "Wallpaper Scroll", ControlCase::TypeNumber, 2, 2,
       [](O&) { return program::Options.wallpaperScroll == 2; }},
      {"Kv Options\\", "Reversed MouseWheel", ControlCase::ClickBox, 0, 1,
       [](O&) { return program::Options.reversedMouseWheel; }},
      {"Kv Options\\", "Auto Hide", ControlCase::ClickBox, 0, 1,
       [&](O&) { return b().AutominimizeTimer.Enabled(); }},
      {"Kv Options\\", "Auto Hide Time", ControlCase::TypeNumber, 33, 33,
       [](O&) { return program::Options.autoHideTime == 33; }},
      {"Kv Options\\", "ShowKV", ControlCase::ChooseItem, 1, 1,
       [&](O&) {
         return !b().TheTrayIcon.Active() &&
                (GetWindowLongW(b().hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
       }},
      {"Kv Options\\", "ShowKV", ControlCase::ChooseItem, 2, 2,
       [&](O&) { return b().TheTrayIcon.Active(); }},
      {"Kv Options\\", "MenuStyles", ControlCase::ChooseItem, 0, 0,
       [&](O&) { return browserMenus(ui::MenuDrawing::System); }},
      {"Kv Options\\", "MenuStyles", ControlCase::ChooseItem, 1, 1,
       [&](O&) { return browserMenus(ui::MenuDrawing::System); }},
      {"Kv Options\\", "MenuStyles", ControlCase::ChooseItem, 2, 2,
       [&](O&) { return browserMenus(ui::MenuDrawing::Drawn); }},
      {"Kv Options\\", "MenuStyles", ControlCase::ChooseItem, 1, 1,
       [&](O&) { return browserMenus(ui::MenuDrawing::Drawn); }},
      {"Kv Options\\", "Remove Orphans", ControlCase::ClickBox, 0, 0,
       [&](O&) { return !m().Wallpaperlist().removeOrphans; }},
      {"Kv Options\\", "Register Associations", ControlCase::ClickBox, 0, 1,
       [](O&) { return true; }},
      {"Form Effects\\", "Fade Delay", ControlCase::TypeNumber, 7, 7,
       [&](O&) { return b().Fade().delay == 7 && m().Fade().delay == 7; }},
      {"Form Effects\\", "Fade Step", ControlCase::TypeNumber, 20, 20,
       [&](O&) { return b().Fade().step == 20; }},
      {"Form Effects\\", "Enable FormColours", ControlCase::ClickBox, 0, 1,
       [&](O&) { return IsWindowEnabled(self.options->ControlFor("Red")); }},
      {"Form Effects\\Browser\\", "Red", ControlCase::TypeNumber, 40, 40,
       [&](O&) {
         return b().Effects().RedIntensity() == 0.4 && m().Effects().RedIntensity() == 1.0;
       }},
      {"Form Effects\\", "FormToChange", ControlCase::ChooseItem, 1, 1,
       [&](O&) { return Shown(self.options->ControlFor("Red")) == 40; }},
      {"Form Effects\\Manager\\", "Transparency", ControlCase::TypeNumber, 30, 30,
       [&](O&) { return m().GetTransparency() == 30 && b().GetTransparency() == 0; }},
      {"Form Effects\\", "Enable FormColours", ControlCase::ClickBox, 0, 0,
       [&](O&) { return m().GetTransparency() == 0 && b().Effects().RedIntensity() == 1.0; }},
      {"Form Effects\\", "Enable", ControlCase::ClickBox, 0, 0,
       [&](O&) { return !b().Fade().enabled && !m().Fade().enabled; }},
      {"Buttons\\", "Left", ControlCase::ChooseItem, 3, 3,
       [](O&) { return program::MouseAction.left == 3; }},
      {"Buttons\\", "ShiftRight", ControlCase::ChooseItem, 16, 16,
       [](O&) { return program::MouseAction.shiftRight == 16; }},
      {"Wallpaper Changing\\", "ChangeDiColour", ControlCase::ClickBox, 0, 1,
       [&](O&) {
         return b().KVWallpaper1().DtopActive &&
                IsWindowEnabled(self.options->ControlFor("ChangeFGColour"));
       }},
      {"Wallpaper Changing\\", "ChangeFGColour", ControlCase::ClickBox, 0, 1,
       [&](O&) { return b().KVWallpaper1().DtopForeground; }},
      {"Wallpaper Changing\\", "ChangeBGColour", ControlCase::ClickBox, 0, 1,
       [&](O&) { return b().KVWallpaper1().DtopBackground; }},
      {"Wallpaper Changing\\", "TransDI", ControlCase::ClickBox, 0, 1,
       [&](O&) {
         return b().KVWallpaper1().DtopTransparentBG() &&
                !IsWindowEnabled(self.options->ControlFor("ChangeBGColour"));
       }},
      {"Wallpaper Changing\\", "AnalyseThumbnails", ControlCase::ClickBox, 0, 1,
       [&](O&) {
         return self.options->AnalyseThumbnails() && b().KVWallpaper1().DtopForeground &&
                !IsWindowEnabled(self.options->ControlFor("ChangeFGColour"));
       }},
      {"Wallpaper Changing\\", "GrayScale", ControlCase::ClickBox, 0, 1,
       [&](O&) { return b().IconColourChooser1().grayscaled; }},
      {"Wallpaper Changing\\", "HiddenRefreshInterval", ControlCase::TypeNumber, 5, 5,
       [&](O&) { return b().KVWallpaper1().HideTimer.Interval() == 500; }},
      {"Wallpaper Changing\\", "Small Icons", ControlCase::ClickBox, 0, 1,
       [&](O&) { return b().Item("SmallIcons1").checked && !b().Item("NormalIcons1").checked; }},
      {"Wallpaper Changing\\", "Interval Switch", ControlCase::ClickBox, 0, 1,
       [&](O&) { return b().SwitchWallpaperTimer.Enabled(); }},
      {"Wallpaper Changing\\", "Interval Switch Every", ControlCase::TypeNumber, 50, 50,
       [&](O&) { return self.options->IntervalSwitchEvery() == 50; }},
      // Hours hold the interval to 24, and that is written.
      {"Wallpaper Changing\\", "Interval Switch TimeType", ControlCase::ChooseItem, 1, 1,
       [&](O&) {
         return self.store.RegReadInteger("Wallpaper Changing\\", "Interval Switch Every") == 24 &&
                self.options->IntervalSwitchEvery() == 24;
       }},
      {"Wallpaper Changing\\", "Shutdown", ControlCase::ClickBox, 0, 1,
       [&](O&) { return IsWindowEnabled(self.options->ControlFor("Shutdown Switch Type")); }},
      {"Directories\\", "Scaled Filter", ControlCase::ChooseItem, 3, 3,
       [&](O&) { return b().KVWallpaper1().ScaledFilter == 3; }},
      {"Thumbnails\\", "Compression", ControlCase::TypeNumber, 60, 60,
       [&](O&) { return m().ImageResizer1().Compression() == 60; }},
      {"Thumbnails\\", "Width", ControlCase::TypeNumber, 150, 150,
       [&](O&) { return m().ImageResizer1().width == 150; }},
      {"Thumbnails\\", "Remove Thumbs On Deletion", ControlCase::ClickBox, 0, 1,
       [&](O&) { return m().Wallpaperlist().removeThumbsOnDeletion; }},
      {"Thumbnails\\", "Filter", ControlCase::ChooseItem, 2, 2,
       [&](O&) { return m().ImageResizer1().filter == 2; }},
      {"Thumbnails\\", "ImageDisplayFilter", ControlCase::ChooseItem, 4, 4,
       [](O&) { return program::Options.imageDisplayFilter == 4; }},
      // The extras: the browser takes them at once (the tray's Back item, the
      // Back hotkey) or reads them where they are used.
      {"Kv Extras\\", "Keep History", ControlCase::ClickBox, 0, 1,
       [&](O&) { return b().Item("SysBack").visible; }},
      {"Kv Extras\\", "Enable Back Hotkey", ControlCase::ClickBox, 0, 1,
       [&](O&) {
         return b().BackHotKey.Enabled() && IsWindowEnabled(self.Control("Back Hotkey"));
       }},
      {"Kv Extras\\", "Random Without Repeats", ControlCase::ClickBox, 0, 1,
       [](O&) { return true; }},
      {"Kv Extras\\", "Fill The Bars", ControlCase::ClickBox, 0, 1, [](O&) { return true; }},
      // Every monitor its own wallpaper: the tray offers "Next on this
      // monitor"; with Wine's one monitor the rows have nothing to act on.
      {"Monitors\\", "Each Monitor Own Wallpaper", ControlCase::ClickBox, 0, 1,
       [&](O&) {
         return b().Item("NextOnThisMonitor1").visible &&
                !IsWindowEnabled(self.Control("Monitor 2 List"));
       }},
      {"Thumbnails\\", "Cache Enabled", ControlCase::ClickBox, 0, 0,
       [&](O&) {
         return !m().ImageResizer1().cacheEnabled && !program::Options.cacheEnabled &&
                !IsWindowEnabled(self.options->ControlFor("Width"));
       }},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(std::string(c.subkey) + c.value);
    const HWND control = Control(c.value);
    ASSERT_NE(control, nullptr) << "no control writes " << c.subkey << c.value;
    switch (c.action) {
      case ControlCase::ClickBox:
        Click(control);
        break;
      case ControlCase::TypeNumber:
        Type(control, c.input);
        break;
      case ControlCase::ChooseItem:
        Choose(control, c.input);
        break;
    }
    EXPECT_EQ(store.RegReadInteger(c.subkey, c.value), c.written);
    EXPECT_TRUE(c.applied(*this));
  }
  // With the effects unticked a colour change is neither written nor applied.
  Type(Control("Red"), 70);
  EXPECT_EQ(store.RegReadInteger("Form Effects\\Manager\\", "Red"), std::nullopt);
  EXPECT_EQ(manager->Effects().RedIntensity(), 1.0);
  program::StayOnTopFlag = false;
}

// Every setting the schema binds to a control has that control, with the
// setting's range, and the control shows the loaded value; no page is made
// before the window is first shown.
TEST_F(OptionsWindow, EveryBoundSettingHasItsControlWithItsRangeAndValue) {
  PutDword(L"\\Thumbnails", L"Width", 150);
  PutDword(L"\\Kv Extras", L"Keep History", 1);
  PutText(L"\\Monitors", L"Monitor 4 List", L"C:\\walls\\tall.lst");
  StartWindows();
  StartOptions();
  EXPECT_EQ(options->BuiltPanelCount(), 0);
  options->SetVisible(true);
  EXPECT_EQ(options->BuiltPanelCount(), 1);  // the About page
  options->SetVisible(false);
  int checked = 0;
  for (std::size_t i = 0; i < kSettingsSchemaSize; ++i) {
    const SettingDef& d = kSettingsSchema[i];
    if (d.shown == Shown::None || d.shown == Shown::Particular) continue;
    SCOPED_TRACE(std::string(d.subkey) + d.name);
    const HWND control = Control(d.name);
    ASSERT_NE(control, nullptr);
    const std::int32_t value = options->Model().Value(d);
    if (d.shown == Shown::Check) {
      EXPECT_EQ(IsChecked(control), value != 0);
    } else if (d.shown == Shown::Text) {
      wchar_t text[MAX_PATH] = {};
      GetWindowTextW(control, text, MAX_PATH);
      EXPECT_EQ(Narrow(text), options->Model().Text(d));
    } else if (d.shown == Shown::Spin) {
      EXPECT_EQ(Shown(control), value);
      HWND upDown = nullptr;
      while ((upDown = FindWindowExW(GetParent(control), upDown, UPDOWN_CLASSW, nullptr)))
        if (reinterpret_cast<HWND>(SendMessageW(upDown, UDM_GETBUDDY, 0, 0)) == control) break;
      ASSERT_NE(upDown, nullptr);
      int low = 0, high = 0;
      SendMessageW(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                   reinterpret_cast<LPARAM>(&high));
      EXPECT_EQ(low, d.min);
      // The preview scroll's maximum is the browser's preview count.
      if (d.option != Option::WallpaperScroll) {
        EXPECT_EQ(high, d.max);
      }
    } else {
      EXPECT_EQ(SendMessageW(control, CB_GETCOUNT, 0, 0), d.max + 1);
      EXPECT_EQ(SendMessageW(control, CB_GETCURSEL, 0, 0), value);
    }
    ++checked;
  }
  EXPECT_GT(checked, 50);
  EXPECT_EQ(Shown(Control("Width")), 150);
  EXPECT_TRUE(IsChecked(Control("Keep History")));
  EXPECT_EQ(options->Model().Text(SettingOf(Option::MonitorList4)), "C:\\walls\\tall.lst");
  EXPECT_EQ(options->BuiltPanelCount(), 11);
}

TEST_F(OptionsWindow, RunValueFollowsTheOptionAndFallsBackToTheUsersKey) {
  const std::wstring runKey = kRunKeyPath;
  PutDword(L"\\Kv Options", L"Run On Startup", 1);
  StartWindows();
  StartOptions();
  EXPECT_EQ(options->KVAutoStart1().StoredPath(), ExecutablePath());
  EXPECT_TRUE(test::ValueExists(HKEY_LOCAL_MACHINE, runKey, L"Kestrova"));
  Click(Control("Run On Startup"));  // unticked: gone at once
  EXPECT_FALSE(test::ValueExists(HKEY_LOCAL_MACHINE, runKey, L"Kestrova"));

  // A machine key that cannot be written: the current user's takes the value,
  // and unticking deletes it there too.
  TKVAutoStart& autoStart = options->KVAutoStart1();
  autoStart.machineRoot = nullptr;
  Click(Control("Run On Startup"));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, runKey, L"Kestrova"));
  EXPECT_EQ(autoStart.StoredPath(), ExecutablePath());
  Click(Control("Run On Startup"));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, runKey, L"Kestrova"));
  EXPECT_TRUE(prompts.Texts(Kind::Error).empty());
}

TEST_F(OptionsWindow, TickedAssociationsRegisterBothFileTypesAtStartUp) {
  PutDword(L"\\Kv Options", L"Register Associations", 1);
  StartWindows();
  StartOptions();
  // Written under the classes root where it can be, else the user's classes.
  const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER};
  const std::wstring prefixes[] = {L"", L"Software\\Classes\\"};
  int found = 0;
  for (int r = 0; r < 2; ++r) {
    RegKey ext;
    if (RegOpenKeyExW(roots[r], (prefixes[r] + L".lst").c_str(), 0, KEY_READ, ext.put()) !=
        ERROR_SUCCESS)
      continue;
    wchar_t text[512] = {};
    LONG size = sizeof text;
    RegQueryValueW(roots[r],
                   (prefixes[r] + L"Kestrova.WallpaperList\\shell\\open\\command").c_str(), text,
                   &size);
    EXPECT_EQ(Narrow(text), "\"" + ExecutablePath() + "\" \"%1\"");
    EXPECT_TRUE(test::KeyExists(roots[r], prefixes[r] + L".kvs"));
    ++found;
    test::DeleteTree(roots[r], prefixes[r] + L".lst");
    test::DeleteTree(roots[r], prefixes[r] + L".kvs");
    test::DeleteTree(roots[r], prefixes[r] + L"Kestrova.WallpaperList");
    test::DeleteTree(roots[r], prefixes[r] + L"Kestrova.Skin");
  }
  EXPECT_GE(found, 1);
}

TEST_F(OptionsWindow, HotkeysRegisterAndATakenCombinationIsNamedOnlyWhenTheUserAsks) {
  // Two slots enabled with the same stored combination: the second is refused
  // silently at start-up.
  PutDword(L"\\Buttons", L"Enable Random Hotkey", 1);
  PutDword(L"\\Buttons", L"Enable Next Hotkey", 1);
  StartWindows();
  StartOptions();
  EXPECT_TRUE(options->HotKey(0).Registered());
  EXPECT_FALSE(options->HotKey(1).Registered());
  EXPECT_TRUE(prompts.Texts(Kind::Warning).empty());

  // The user ticks the previous wallpaper's slot with the same combination.
  Click(Control("Enable Previous Hotkey"));
  EXPECT_EQ(store.RegReadBool("Buttons\\", "Enable Previous Hotkey"), true);
  EXPECT_FALSE(options->HotKey(2).Registered());
  ASSERT_EQ(prompts.Texts(Kind::Warning).size(), 1u);
  EXPECT_NE(prompts.Texts(Kind::Warning)[0].find("Shift+Ctrl+Alt+A"), std::string::npos);

  // A combination of its own, typed in and left: written and registered.
  const HWND edit = Control("PreviousHotkey");
  SendMessageW(edit, HKM_SETHOTKEY, MAKEWORD('P', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
  SendMessageW(edit, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(store.RegReadString("Buttons\\", "PreviousHotkey"), "Ctrl+Alt+P");
  EXPECT_TRUE(options->HotKey(2).Registered());

  // The hotkey's message runs the command: previous wallpaper, and the pause
  // slot flips only the flag.
  manager->Wallpaperlist().Append({"Center", "a.bmp", "C:\\"});
  manager->Wallpaperlist().Append({"Center", "b.bmp", "C:\\"});
  SendMessageW(options->HotKey(2).MessageWindow(), WM_HOTKEY, 0, 0);
  EXPECT_EQ(program::CurrentWallNumber, 1);
  SendMessageW(options->HotKey(3).MessageWindow(), WM_HOTKEY, 0, 0);
  EXPECT_TRUE(program::PausedFlag);
  EXPECT_FALSE(browser->Item("PauseIntervalSwitching1").checked);
  program::PausedFlag = false;
}

TEST_F(OptionsWindow, TheWatchedFolderHandsNewPicturesToTheList) {
  const std::string folder = ProgramDir() + "watched";
  MakeDirectory(folder);
  DeleteFileW(Widen(folder + "\\new.bmp").c_str());
  WriteBitmap(folder + "\\old.bmp");
  std::ofstream(Widen(folder + "\\notes.txt").c_str()) << "x";
  PutText(L"\\Directories", L"WallPaperDir", Widen(folder));
  StartWindows();
  StartOptions();
  EXPECT_TRUE(options->Watch().Active());
  EXPECT_EQ(manager->Wallpaperlist().Count(), 1u);  // the scan at load: old.bmp
  EXPECT_TRUE(prompts.shown.empty());

  CopyFileW(Widen(folder + "\\old.bmp").c_str(), Widen(folder + "\\new.bmp").c_str(), FALSE);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (manager->Wallpaperlist().Count() < 2 && std::chrono::steady_clock::now() < deadline) {
    ui::ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(manager->Wallpaperlist().Count(), 2u);
  EXPECT_TRUE(prompts.shown.empty());  // files already listed are passed over

  // A folder that is gone empties the edit and stops the watch; nothing is said.
  options->SetWatchedDirectory(folder + "\\gone");
  EXPECT_FALSE(options->Watch().Active());
  EXPECT_TRUE(prompts.shown.empty());
  for (const char* name : {"old.bmp", "new.bmp", "notes.txt"})
    DeleteFileW(Widen(folder + "\\" + name).c_str());
  RemoveDirectoryW(Widen(folder).c_str());
}

TEST_F(OptionsWindow, TheCacheButtonsAndTheStatisticsTimer) {
  StartWindows();
  StartOptions();
  const std::string cache = manager->Wallpaperlist().cacheDirectory;
  ASSERT_FALSE(cache.empty());
  options->ClearImageCacheClick();  // whatever earlier tests left
  MakeDirectory(cache);
  std::ofstream(Widen(cache + "one.jpg").c_str()) << "12345";
  std::ofstream(Widen(cache + "two.jpg").c_str()) << "67";
  options->CacheTimerTimer();
  EXPECT_EQ(options->CacheCountText(), "Cache Contains (2) Files");
  options->ClearImageCacheClick();
  EXPECT_FALSE(DirectoryExists(cache));
  EXPECT_EQ(options->CacheCountText(), "Cache Contains (0) Files");
  // Regenerating makes the cache directory again, for whatever the list holds.
  options->RegenerateCacheClick();
  EXPECT_TRUE(DirectoryExists(cache));
  EXPECT_TRUE(prompts.shown.empty());
  // From scratch, the figures show the cleared cache at once, not at the
  // timer's next run ten minutes later.
  std::ofstream(Widen(cache + "three.jpg").c_str()) << "1";
  options->CacheTimerTimer();
  EXPECT_EQ(options->CacheCountText(), "Cache Contains (1) Files");
  Choose(options->ControlFor("Cache Regeneration"), 1);
  options->RegenerateCacheClick();
  EXPECT_EQ(options->CacheCountText(), "Cache Contains (0) Files");
}

TEST_F(OptionsWindow, TheSessionsEndSwitchesOnceAndHides) {
  PutDword(L"\\Wallpaper Changing", L"Shutdown", 1);
  PutDword(L"\\Wallpaper Changing", L"Shutdown Switch Type", 1);  // previous
  StartWindows(3);
  StartOptions();
  options->SetVisible(true);
  program::NotifyShell = false;
  const LRESULT answer = SendMessageW(options->hwnd(), WM_QUERYENDSESSION, 0, 0);
  EXPECT_EQ(answer, TRUE);  // the session may end
  // "Previous" steps forwards through the list, as the strip shows it.
  EXPECT_EQ(program::CurrentWallNumber, 1);
  EXPECT_EQ(store.RegReadInteger("", "Current Wall Number"), 1);
  EXPECT_TRUE(program::NotifyShell);  // applied with the shell told
  EXPECT_FALSE(options->IsVisible());
  EXPECT_FALSE(store.RegReadBool("Forms\\OptionsForm\\", "Visible").has_value());
}

TEST_F(OptionsWindow, PagesAndTabsAreRememberedAndTheDefaultsPageOpensForTheManager) {
  StartWindows();
  StartOptions();
  options->Link(2).onClick(options->Link(2));
  EXPECT_EQ(store.RegReadInteger("", "CurrentPage"), 2);
  EXPECT_TRUE(options->Link(2).Selected());
  EXPECT_EQ(options->Link(2).ShownColour(), RGB(105, 0, 0));
  EXPECT_EQ(options->Link(1).ShownColour(), RGB(27, 87, 228));
  options->ShowStyleDefaultsPage();
  EXPECT_TRUE(options->IsVisible());
  EXPECT_EQ(options->CurrentPage(), 3);
  EXPECT_EQ(options->TabIndexOf(3), 0);
  EXPECT_TRUE(browser->Item("SysConfig").checked);
  options->Link(5).onClick(options->Link(5));  // "Close."
  EXPECT_FALSE(options->IsVisible());
  EXPECT_FALSE(browser->Item("SysConfig").checked);
  // Each skin site's image tells what to do with it; the links have no hint.
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(options->HintOf(options->SkinSite(i).hwnd()), "Double Click");
  EXPECT_EQ(options->HintOf(options->Link(4).hwnd()), "");
}

// The form colours, ticked with fading on, across two starts: the stored tick
// and the chosen set survive and are applied; the hand-chosen icon text colour
// stays on with wallpaper analysis off.
TEST_F(OptionsWindow, TickedFormColoursAndTheTextColourSurviveEveryStart) {
  PutDword(L"\\Form Effects", L"Enable", 1);
  PutDword(L"\\Form Effects", L"Enable FormColours", 1);
  PutDword(L"\\Form Effects", L"FormToChange", 0);  // the browser
  PutDword(L"\\Form Effects\\Browser", L"Red", 50);
  PutDword(L"\\Form Effects\\Browser", L"Transparency", 30);
  PutDword(L"\\Wallpaper Changing", L"ChangeDiColour", 1);
  PutDword(L"\\Wallpaper Changing", L"ChangeFGColour", 1);
  PutDword(L"\\Wallpaper Changing", L"AnalyseThumbnails", 0);
  for (int start = 1; start <= 2; ++start) {
    SCOPED_TRACE("start " + std::to_string(start));
    StartWindows();
    StartOptions();
    EXPECT_EQ(store.RegReadBool("Form Effects\\", "Enable FormColours"), true);
    EXPECT_TRUE(IsChecked(Control("Enable FormColours")));
    EXPECT_TRUE(IsWindowEnabled(Control("Red")));
    EXPECT_EQ(Shown(Control("Red")), 50);
    EXPECT_EQ(browser->Effects().RedIntensity(), 0.5);
    EXPECT_EQ(browser->GetTransparency(), 30);
    EXPECT_EQ(manager->Effects().RedIntensity(), 1.0);  // outside the chosen set
    EXPECT_EQ(store.RegReadInteger("Form Effects\\Browser\\", "Red"), 50);
    EXPECT_TRUE(browser->KVWallpaper1().DtopForeground);
    EXPECT_EQ(store.RegReadBool("Wallpaper Changing\\", "ChangeFGColour"), true);
    options.reset();
    manager.reset();
    browser.reset();
  }
  // Unticking it by hand still puts both windows back to plain.
  StartWindows();
  StartOptions();
  Click(Control("Enable FormColours"));
  EXPECT_EQ(store.RegReadBool("Form Effects\\", "Enable FormColours"), false);
  EXPECT_EQ(browser->GetTransparency(), 0);
  EXPECT_EQ(browser->Effects().RedIntensity(), 1.0);
}

// The icon size boxes and the menu's pair start as one choice: on a first run
// both show the desktop's size without writing it, and a stored size ticks its
// box and its menu item.
TEST_F(OptionsWindow, TheIconSizeBoxesShowTheMenusChoiceFromTheFirstRun) {
  StartWindows();
  StartOptions();
  const HWND small = Control("Small Icons");
  const HWND normal = options->ControlFor("Normal Icons");
  ASSERT_NE(normal, nullptr);
  EXPECT_NE(IsChecked(small), IsChecked(normal));
  EXPECT_EQ(browser->Item("SmallIcons1").checked, IsChecked(small));
  EXPECT_EQ(browser->Item("NormalIcons1").checked, IsChecked(normal));
  EXPECT_FALSE(store.RegReadBool("Wallpaper Changing\\", "Small Icons").has_value());
  // The menu's command then flips from that choice, and the boxes follow.
  const bool wasSmall = IsChecked(small);
  if (wasSmall)
    browser->NormalIcons1Click(true);
  else
    browser->SmallIcons1Click(true);
  EXPECT_EQ(IsChecked(small), !wasSmall);
  EXPECT_EQ(IsChecked(normal), wasSmall);
  EXPECT_EQ(store.RegReadBool("Wallpaper Changing\\", "Small Icons"), !wasSmall);
}

}  // namespace
}  // namespace kv
