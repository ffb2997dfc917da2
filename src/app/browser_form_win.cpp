#include "app/browser_form_win.h"

#include <cstdlib>
#include <ctime>
#include <stdexcept>

#include "app/cycling.h"
#include "app/tray_actions.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/wallpaper_list.h"
#include "skin/skin_controls_win.h"
#include "widgets/prompts.h"

namespace kv::app {
namespace {

using program::IdleCounter;
using program::MainCommand;
using program::MainForm;
using program::ManagerForm;
using program::OptionsForm;

constexpr char kDisplayProperties[] = "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0";

bool Visible(skin::TOrganicShapeGlassForm* form) { return form && form->IsVisible(); }

}  // namespace

TMainForm::TMainForm(Prompts& prompts, ShellDelete& shellDelete, SettingsStore& store)
    : prompts_(prompts), shellDelete_(shellDelete), store_(store) {
  // The applier as the window designs it.
  KVWallpaper1_.Setdeskicons_fg(MakeColour(255, 255, 255));
  KVWallpaper1_.Setdeskicons_bg(0);
  KVWallpaper1_.Wpstyle = Wpstretch;
  SwitchWallpaperTimer.SetInterval(60000);
  SwitchWallpaperTimer.OnTimer = [this] { SwitchWallpaperTimerTimer(); };
  AutominimizeTimer.OnTimer = [this] { AutominimizeTimerTimer(); };
  BackHotKey.Tag = 4;
  BackHotKey.SetEnabled(false);  // until the stored enable value says otherwise
  BackHotKey.OnHotKey = [this](TfisHotKey&) { SysBackClick(); };
}

TMainForm::~TMainForm() {
  // FormDestroy.
  SwitchWallpaperTimer.SetEnabled(false);
  AutominimizeTimer.SetEnabled(false);
  TheTrayIcon.SetActive(false);
  const ui::MenuItem* keepHidden =
      commandItems_[static_cast<std::size_t>(MainCommand::KeepIconsHidden)];
  if (keepHidden && keepHidden->checked) {
    KVWallpaper1_.SetKeepiconsHidden(false);
    TKVWallpaper::ShowDesktopIcons(true);
  }
  if (haveDesktopStyle_) {
    if (HWND view = TKVWallpaper::DesktopListView()) {
      SetWindowLongW(view, GWL_STYLE, desktopStyle_);
      STYLESTRUCT change{static_cast<DWORD>(desktopStyle_), static_cast<DWORD>(desktopStyle_)};
      SendMessageW(view, WM_STYLECHANGED, GWL_STYLE, reinterpret_cast<LPARAM>(&change));
      ShowWindow(view, SW_SHOW);
    }
  }
  ClearSkinLists();
  TheTrayIcon.SetImages(nullptr);
  if (MainForm == this) MainForm = nullptr;
}

void TMainForm::Create() {
  CreateArgs args;
  args.name = kMainFormName;
  args.title = "Kestrova";
  TOrganicShapeGlassForm::Create(args);
  MainForm = this;
  // 1. The desktop icon view's style, to be restored at the end.
  if (HWND view = TKVWallpaper::DesktopListView()) {
    desktopStyle_ = GetWindowLongW(view, GWL_STYLE);
    haveDesktopStyle_ = true;
  }
  // 3. The random generator, from the clock.
  SeedRandomWallpaper(static_cast<std::uint32_t>(std::time(nullptr)) ^ GetTickCount());
  SeedShuffle();
  // 5. The tray icon.
  icon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                            GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), 0)));
  // The system's shared icon when ours is missing: that one is never destroyed.
  TheTrayIcon.SetIcon(icon_ ? icon_.get() : LoadIconW(nullptr, IDI_APPLICATION));
  TheTrayIcon.SetTip("Kestrova");
  // The frames shown while long adds run: 16 x 16 pictures side by side,
  // magenta transparent.
  trayFrames_.reset(ImageList_LoadImageW(GetModuleHandleW(nullptr), L"TRAY_ANIM", 16, 0,
                                         RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION));
  TheTrayIcon.SetImages(trayFrames_.get());
  // The menus' pictures, 16 x 16 side by side, magenta transparent.
  menuImages_.reset(ImageList_LoadImageW(GetModuleHandleW(nullptr), L"MENU_IMAGES", 16, 0,
                                         RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION));
  SysTrayPopup.images = menuImages_.get();
  PreviewPopup.images = menuImages_.get();
  TheTrayIcon.SetAnimateInterval(50);
  TheTrayIcon.onMouseDown = [this](int button, int x, int y) { TrayIconMouseDown(button, x, y); };
  TheTrayIcon.onDblClick = [this](int button) { TrayIconDblClick(button); };
  TheTrayIcon.SetActive(true);
  // 6. Magenta is cut out of the browser's skin.
  SetInvisibleColor(MakeColour(255, 0, 255));
  BindEvents();
  onSnap = [this](int& x, int& y) {
    if (ManagerForm && ManagerForm->Form().IsVisible())
      skin::SnapBesideWindow(hwnd_, ManagerForm->Form().hwnd(), program::SnapDistance, x, y);
  };
  BuildTrayMenu();
  BuildPreviewPopup();
  // 9. The skin files under the program's directory.
  SkinFileSearch();
  // 10. The pause state: the mark set to the opposite, then toggled back.
  const bool paused = store_.RegReadBool(kWallpaperChangingKey, kPaused).value_or(false);
  Item(MainCommand::PauseIntervalSwitching).checked = !paused;
  PauseIntervalSwitching1Click();
  ApplyExtras();
}

ui::MenuItem& TMainForm::Item(const char* name) {
  if (ui::MenuItem* item = SysTrayPopup.root.Find(name)) return *item;
  if (ui::MenuItem* item = PreviewPopup.root.Find(name)) return *item;
  throw std::logic_error(std::string("no menu item ") + name);
}

ui::MenuItem& TMainForm::Item(program::MainCommand command) {
  ui::MenuItem* item = commandItems_.at(static_cast<std::size_t>(command));
  if (!item) throw std::logic_error("the tray menu is not built");
  return *item;
}

void TMainForm::BuildTrayMenu() {
  ui::MenuItem& root = SysTrayPopup.root;
  // An item that runs a command of the browser, kept by that command so that
  // the other windows reach it.
  auto add = [this](ui::MenuItem& parent, const char* caption, const char* name,
                    MainCommand command, auto handler) -> ui::MenuItem& {
    ui::MenuItem& item = parent.Add(
        caption, [handler](ui::MenuItem&) { handler(); }, name);
    commandItems_[static_cast<std::size_t>(command)] = &item;
    return item;
  };
  add(root, "Kestrova...", "SysAbout", MainCommand::About, [this] { SysAboutClick(); });
  root.AddSeparator();
  ui::MenuItem& browser =
      add(root, "Browser", "SysBrowser", MainCommand::Browser, [this] { SysBrowserClick(); });
  browser.shortcutText = "Ctrl+B";
  browser.shortcutKey = 'B';
  browser.shortcutModifiers = HOTKEYF_CONTROL;
  ui::MenuItem& manager =
      add(root, "Manager", "SysManager", MainCommand::Manager, [this] { SysManagerClick(); });
  manager.shortcutText = "Ctrl+M";
  manager.shortcutKey = 'M';
  manager.shortcutModifiers = HOTKEYF_CONTROL;
  ui::MenuItem& config = add(root, "Configuration", "SysConfig", MainCommand::Configuration,
                             [this] { SysConfigClick(); });
  config.shortcutText = "Ctrl+C";
  config.shortcutKey = 'C';
  config.shortcutModifiers = HOTKEYF_CONTROL;
  root.AddSeparator();
  ui::MenuItem& search =
      add(root, "Search", "SysSearch", MainCommand::Search, [this] { SysSearchClick(); });
  search.shortcutText = "F3";
  search.shortcutKey = VK_F3;
  search.imageIndex = 3;
  root.AddSeparator();

  ui::MenuItem& skins = root.Add("Skins", {}, "Skins1");
  skinsMenu_ = &skins;
  add(skins, "Load Skin...", "LoadSkin1", MainCommand::LoadSkin, [this] { LoadSkin1Click(); });
  skins.AddSeparator();
  add(skins, "Default Skin", "Default1", MainCommand::DefaultSkin, [this] { Default1Click(); });
  skins.AddSeparator();

  ui::MenuItem& walls = root.Add("Wallpapers", {}, "Help4");
  add(walls, "Next Wallpaper", "SysNext", MainCommand::Next, [this] { SysNextClick(); });
  add(walls, "Previous Wallpaper", "SysPrevious", MainCommand::Previous,
      [this] { SysPreviousClick(); });
  add(walls, "Random Wallpaper", "SysRandom", MainCommand::Random, [this] { SysRandomClick(); });
  // Shown while every monitor has its own wallpaper (ApplyExtras).
  walls
      .Add(
          "Next on this monitor", [this](ui::MenuItem&) { NextOnThisMonitor1Click(); },
          "NextOnThisMonitor1")
      .visible = false;
  // Shown while the history is kept (ApplyExtras).
  add(walls, "Back", "SysBack", MainCommand::Back, [this] { SysBackClick(); }).visible = false;
  walls.AddSeparator();
  add(walls, "Add Directory To List", "SysDirectory", MainCommand::AddDirectory,
      [this] { SysDirectoryClick(); });
  add(walls, "Add Directory Tree To List", "AddDirectoryTreetolist1", MainCommand::AddDirectoryTree,
      [this] { AddDirectoryTreetolist1Click(); });
  walls.AddSeparator();
  add(walls, "Pause Interval Switching", "PauseIntervalSwitching1",
      MainCommand::PauseIntervalSwitching, [this] { PauseIntervalSwitching1Click(); });

  ui::MenuItem& desktop = root.Add("Desktop", {}, "Desktop1");
  ui::MenuItem& align = desktop.Add("Align Icons To Left", {}, "AlignIconsToLeft1");
  const char* aligns[] = {"From Top", "From Left", "From Bottom", "From Right"};
  for (int tag = 0; tag < 4; ++tag)
    align.Add(aligns[tag], [this](ui::MenuItem& item) { Top1Click(item.tag); }).tag = tag;
  align.AddSeparator();
  align.Add("Default", [this](ui::MenuItem& item) { Top1Click(item.tag); }).tag = 4;
  desktop.AddSeparator();
  add(desktop, "Small Icons", "SmallIcons1", MainCommand::SmallIcons,
      [this] { SmallIcons1Click(true); });
  add(desktop, "Normal Icons", "NormalIcons1", MainCommand::NormalIcons,
      [this] { NormalIcons1Click(true); });
  desktop.AddSeparator();
  add(desktop, "Line Up Icons", "LineUpIcons1", MainCommand::LineUpIcons,
      [] { TKVWallpaper::ArrangeDesktopIcons(5); });
  add(desktop, "Refresh Icons", "RefreshIcons1", MainCommand::RefreshIcons,
      [this] { KVWallpaper1_.ApplyIconColours(); });
  desktop.AddSeparator();
  add(desktop, "Hide Desktop Icons", "HideDesktopIcons1", MainCommand::HideDesktopIcons,
      [] { TKVWallpaper::ShowDesktopIcons(false); });
  add(desktop, "Show Desktop Icons", "ShowDesktopIcons1", MainCommand::ShowDesktopIcons,
      [] { TKVWallpaper::ShowDesktopIcons(true); });
  add(desktop, "Keep Icons Hidden", "KeepIconsHidden1", MainCommand::KeepIconsHidden,
      [this] { KeepIconsHidden1Click(); });
  desktop.AddSeparator();
  add(desktop, "Icon Colour", "IconColour1", MainCommand::IconColour, [this] {
    IconColour1Click();
  }).imageIndex = 4;

  ui::MenuItem& misc = root.Add("Miscellaneous", {}, "Help1");
  add(misc, "Launch Display Properties", "DisplayProperties", MainCommand::DisplayProperties,
      [this] { DisplayPropertiesClick(); })
      .imageIndex = 1;
  misc.AddSeparator();
  add(misc, "Lost Kv ?", "LostKv", MainCommand::LostKv, [this] { LostKvClick(); });
  root.AddSeparator();
  add(root, "Minimize", "Minimize1", MainCommand::Minimize, [this] { Minimize1Click(); });
  root.AddSeparator();
  root.Add("Help", {}, "SysHelp").imageIndex = 2;
  add(root, "Save", "Save1", MainCommand::Save, [this] { Save1Click(); }).visible = false;
  add(root, "Load", "Load1", MainCommand::Load, [this] { Load1Click(); }).visible = false;
  root.AddSeparator();
  add(root, "Exit", "SysExit", MainCommand::Exit, [this] { SysExitClick(); });
}

// --- Window commands -------------------------------------------------------

void TMainForm::SysBrowserClick() { ShowFaded(!IsVisible()); }

void TMainForm::SysManagerClick() {
  if (ManagerForm) ManagerForm->Form().ShowFaded(!ManagerForm->Form().IsVisible());
}

void TMainForm::SysConfigClick() {
  if (OptionsForm) OptionsForm->SetVisible(!OptionsForm->IsVisible());
}

void TMainForm::SysAboutClick() {
  if (!OptionsForm) return;
  OptionsForm->ShowAboutPage();
  if (!OptionsForm->IsVisible()) OptionsForm->SetVisible(true);
}

void TMainForm::IconColour1Click() {
  if (!OptionsForm) return;
  OptionsForm->ShowIconColourPage();
  if (!OptionsForm->IsVisible()) OptionsForm->SetVisible(true);
}

void TMainForm::SysSearchClick() {
  if (program::SearchForm) program::SearchForm->ShowSearch();
}

void TMainForm::SysDirectoryClick() {
  if (ManagerForm) ManagerForm->AddDirectory1Click();
}

void TMainForm::AddDirectoryTreetolist1Click() {
  if (ManagerForm) ManagerForm->AddDirectoryTree1Click();
}

void TMainForm::DisplayPropertiesClick() {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  std::wstring command = Widen(kDisplayProperties);
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                     &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

void TMainForm::Minimize1Click() {
  if (!TheTrayIcon.Active()) {
    MinimizeToTaskbar();
    return;
  }
  if (OptionsForm && OptionsForm->IsVisible()) OptionsForm->SetVisible(false);
  if (ManagerForm && ManagerForm->Form().IsVisible()) ManagerForm->Form().ShowFaded(false);
  if (IsVisible()) ShowFaded(false);
}

// Without a tray icon the application goes to the taskbar as a whole: the
// browser's button stands for it, and its other shown windows hide until it is
// restored.
void TMainForm::MinimizeToTaskbar() {
  restoreOptions_ = OptionsForm && OptionsForm->IsVisible();
  restoreManager_ = ManagerForm && ManagerForm->Form().IsVisible();
  if (restoreOptions_) OptionsForm->SetVisible(false);
  if (restoreManager_) ManagerForm->Form().SetVisible(false);
  ShowWindow(hwnd_, IsVisible() ? SW_MINIMIZE : SW_SHOWMINNOACTIVE);
}

void TMainForm::RestoreFromTaskbar() {
  if (restoreOptions_ && OptionsForm) OptionsForm->SetVisible(true);
  if (restoreManager_ && ManagerForm) ManagerForm->Form().ShowFaded(true);
  restoreOptions_ = restoreManager_ = false;
}

void TMainForm::LostKvClick() {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  auto bringBack = [&](HWND window) {
    RECT r;
    if (!window || !GetWindowRect(window, &r)) return;
    int left = r.left, top = r.top;
    if (left > width) left = 1;
    if (top > height) top = 1;
    if (left != r.left || top != r.top)
      SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  if (ManagerForm) bringBack(ManagerForm->Form().hwnd());
  if (OptionsForm) bringBack(static_cast<HWND>(OptionsForm->Handle()));
  bringBack(hwnd_);
  if (OptionsForm && !OptionsForm->IsVisible()) OptionsForm->SetVisible(true);
  if (ManagerForm && !ManagerForm->Form().IsVisible()) ManagerForm->Form().ShowFaded(true);
  if (!IsVisible()) ShowFaded(true);
}

void TMainForm::SysExitClick() {
  store_.RegWriteBool(kBrowserFormKey, kFormVisible, IsVisible());
  store_.RegWriteBool(kManagerFormKey, kFormVisible, ManagerForm && Visible(&ManagerForm->Form()));
  store_.RegWriteBool(kOptionsFormKey, kFormVisible, OptionsForm && OptionsForm->IsVisible());
  if (OptionsForm) OptionsForm->SetVisible(false);
  if (ManagerForm) ManagerForm->Form().ShowFaded(false);
  ShowFaded(false);
  PostQuitMessage(0);
}

// The browser is back from the taskbar: the windows that went with it come
// back too. The browser stays shown (the restore has just shown it).
void TMainForm::ApplicationRestored() {
  SetForegroundWindow(hwnd_);
  RestoreFromTaskbar();
}

void TMainForm::ApplyStayOnTop() {
  const HWND band = program::StayOnTopFlag ? HWND_TOPMOST : HWND_NOTOPMOST;
  auto place = [band](HWND window) {
    if (window) SetWindowPos(window, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };
  if (OptionsForm) place(static_cast<HWND>(OptionsForm->Handle()));
  if (ManagerForm) place(ManagerForm->Form().hwnd());
  place(hwnd_);
}

void TMainForm::SetManagerChecked(bool checked) { Item(MainCommand::Manager).checked = checked; }
void TMainForm::SetTrayAnimate(bool animate) { TheTrayIcon.SetAnimate(animate); }
void TMainForm::SetTrayTip(const std::string& tip) { TheTrayIcon.SetTip(tip); }

void TMainForm::SetShownIn(bool trayIcon, bool taskbarButton) {
  if (TheTrayIcon.Active() != trayIcon) TheTrayIcon.SetActive(trayIcon);
  // The taskbar lists a top-level window by its extended style; it looks again
  // only when the window is shown, so a visible window is hidden and shown.
  const LONG_PTR ex = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  const LONG_PTR wanted = taskbarButton ? (ex | WS_EX_APPWINDOW) & ~WS_EX_TOOLWINDOW
                                        : (ex | WS_EX_TOOLWINDOW) & ~WS_EX_APPWINDOW;
  if (wanted == ex) return;
  const bool visible = IsVisible();
  if (visible) ShowWindow(hwnd_, SW_HIDE);
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, wanted);
  if (visible) ShowWindow(hwnd_, SW_SHOWNA);
}

void TMainForm::FormShow() {
  Item(MainCommand::Browser).checked = true;
  IdleCounter = 0;
  if (OptionsForm) OptionsForm->ApplyShowKV();
}

void TMainForm::FormHide() {
  Item(MainCommand::Browser).checked = false;
  IdleCounter = 0;
}

// --- Tray icon -------------------------------------------------------------

void TMainForm::TrayIconMouseDown(int button, int, int) {
  const bool shift = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
  const int code = TrayActionCode(static_cast<MouseButton>(button), shift, program::MouseAction);
  switch (TrayCommandOf(code)) {
    case TrayCommand::RestoreBrowser:
      SetForegroundWindow(hwnd_);
      SysBrowserClick();
      break;
    case TrayCommand::ShowBrowser:
      if (!IsVisible()) SysBrowserClick();
      break;
    case TrayCommand::ShowManager:
      if (ManagerForm && !ManagerForm->Form().IsVisible()) SysManagerClick();
      break;
    case TrayCommand::ShowConfiguration:
      if (OptionsForm && !OptionsForm->IsVisible()) SysConfigClick();
      break;
    case TrayCommand::Random:
      SysRandomClick();
      break;
    case TrayCommand::Next:
      SysNextClick();
      break;
    case TrayCommand::Previous:
      SysPreviousClick();
      break;
    case TrayCommand::MainMenu:
      PopupMainMenu();
      break;
    case TrayCommand::AddDirectory:
      SysDirectoryClick();
      break;
    case TrayCommand::AddDirectoryTree:
      AddDirectoryTreetolist1Click();
      break;
    case TrayCommand::LoadSkin:
      LoadSkin1Click();
      break;
    case TrayCommand::Exit:
      SysExitClick();
      break;
    case TrayCommand::Minimize:
      Minimize1Click();
      break;
    case TrayCommand::NormalIconSize:
      SetIconSize(false);
      break;
    case TrayCommand::SmallIconSize:
      SetIconSize(true);
      break;
    case TrayCommand::ToggleDesktopIcons: {
      HWND view = TKVWallpaper::DesktopListView();
      TKVWallpaper::ShowDesktopIcons(!(view && IsWindowVisible(view)));
      break;
    }
    case TrayCommand::None:
      break;
  }
}

void TMainForm::TrayIconDblClick(int button) {
  if (button != 1) return;  // the right button only
  SetForegroundWindow(hwnd_);
  ShowFaded(true);
}

// The tray icon's window owns the menu: the browser may be hidden or
// minimised, and then the menu would not get the keyboard.
void TMainForm::PopupMainMenu() {
  POINT at;
  GetCursorPos(&at);
  TheTrayIcon.PopupMenu(SysTrayPopup, at.x, at.y);
}

// --- Timers ----------------------------------------------------------------

void TMainForm::SetIntervalSwitching(bool on) {
  program::IntervalTicks = 0;
  SwitchWallpaperTimer.SetEnabled(on);
}

void TMainForm::SetAutoMinimize(bool on) { AutominimizeTimer.SetEnabled(on); }

void TMainForm::AutominimizeTimerTimer() {
  ++IdleCounter;
  // Equality, so that it fires once per idle period.
  if (!ui::Terminated() && IdleCounter == program::Options.autoHideTime) Minimize1Click();
}

// --- Desktop icons ---------------------------------------------------------

void TMainForm::Top1Click(int tag) {
  static constexpr int kCodes[] = {0, 2, 1, 3, 4};
  if (tag >= 0 && tag < 5) TKVWallpaper::ArrangeDesktopIcons(kCodes[tag]);
}

void TMainForm::SmallIcons1Click(bool fromMenu) { IconSizeClick(true, fromMenu); }
void TMainForm::NormalIcons1Click(bool fromMenu) { IconSizeClick(false, fromMenu); }

void TMainForm::IconSizeClick(bool small, bool fromMenu) {
  // From the menu the clicked kind takes the other's mark, the other the opposite.
  if (fromMenu)
    SetIconSizeMarks(small ? Item(MainCommand::NormalIcons).checked
                           : !Item(MainCommand::SmallIcons).checked);
  ApplyIconSizeMarks(small);
}

void TMainForm::SetIconSize(bool small) {
  SetIconSizeMarks(small);
  ApplyIconSizeMarks(small);
}

void TMainForm::SetIconSizeMarks(bool small) {
  Item(MainCommand::SmallIcons).checked = small;
  Item(MainCommand::NormalIcons).checked = !small;
  if (OptionsForm) OptionsForm->SetIconSizeBoxes(small, !small);
}

void TMainForm::ApplyIconSizeMarks(bool small) {
  store_.RegWriteBool(kWallpaperChangingKey, kSmallIcons, Item(MainCommand::SmallIcons).checked);
  if (!Item(small ? MainCommand::SmallIcons : MainCommand::NormalIcons).checked) return;
  if (!KVWallpaper1_.ChangeDesktopIconSize(small)) prompts_.Warning(kActiveDesktopIconSizeWarning);
}

void TMainForm::KeepIconsHidden1Click() {
  ui::MenuItem& item = Item(MainCommand::KeepIconsHidden);
  item.checked = !item.checked;
  store_.RegWriteBool(kWallpaperChangingKey, kHideIconsAlways, item.checked);
  KVWallpaper1_.SetKeepiconsHidden(item.checked);
  Item(MainCommand::ShowDesktopIcons).enabled = !item.checked;
  Item(MainCommand::HideDesktopIcons).enabled = !item.checked;
  HWND view = TKVWallpaper::DesktopListView();
  TKVWallpaper::ShowDesktopIcons(!(view && IsWindowVisible(view)));
  if (OptionsForm) OptionsForm->SetDesktopIconsHidden(item.checked);
}

// --- Events ----------------------------------------------------------------

void TMainForm::BindEvents() {
  onMouseMove = [](int, int) { IdleCounter = 0; };
  onShow = [this](bool visible) { visible ? FormShow() : FormHide(); };
  onMouseWheel = [this](int delta) {
    // Whole notches; a fine-grained wheel adds up to one.
    wheelRest_ += delta;
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= notches * WHEEL_DELTA;
    if (notches) FormMouseWheel(-notches);
  };
  // The tray menu's shortcuts work while the browser has the focus.
  onKeyDown = [this](WORD key) {
    BYTE modifiers = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) modifiers |= HOTKEYF_SHIFT;
    if (GetKeyState(VK_CONTROL) & 0x8000) modifiers |= HOTKEYF_CONTROL;
    if (GetKeyState(VK_MENU) & 0x8000) modifiers |= HOTKEYF_ALT;
    return SysTrayPopup.HandleShortcut(key, modifiers);
  };
  // Over the body only: the skin controls have menus of their own or none.
  onContextMenu = [this](HWND from, int x, int y) {
    if (from == hwnd_) SysTrayPopup.Popup(hwnd_, x, y);
  };
  onActivateApp = [this](bool active) {
    if (!active) ApplyStayOnTop();
  };
  onRestore = [this] { ApplicationRestored(); };
  // Closing the browser ends the program.
  onClose = [this] {
    SysExitClick();
    return false;
  };
  // A monitor plugged in or out, or a resolution changed.
  onMessage = [this](UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_DISPLAYCHANGE) DisplayChanged();
    return false;
  };
  // kvtool send: the text of one command.
  onCopyData = [this](ULONG_PTR kind, std::string_view data,
                      HWND sender) -> std::optional<LRESULT> {
    if (kind != program::kRemoteCopyDataId) return std::nullopt;
    const auto command = program::DecodeRemoteCommand(data);
    return command && RunRemoteCommand(*command, sender) ? program::kRemoteDone
                                                         : program::kRemoteRefused;
  };
}

}  // namespace kv::app
