// The options window's frame: creation and destruction, the left strip with its
// links, the pages and their tabs, showing and hiding, the session's end.
#include "config/options/options_form_win.h"

#include <shellapi.h>

#include <iterator>

#include "base/text_win.h"
#include "config/file_associations_win.h"
#include "config/hotkey_rules.h"
#include "config/options/options_texts.h"
#include "config/settings_schema.h"
#include "config/settings_store.h"
#include "list/thumbnail_cache.h"
#include "program/program_state.h"
#include "skin/organic_glass_form_win.h"

namespace kv {
namespace {

using program::MainForm;

constexpr int kClientWidth = 504;
constexpr int kClientHeight = 412;
constexpr RECT kPageBounds{152, 5, 152 + 345, 5 + 401};
constexpr int kStripWidth = 145;
constexpr UINT_PTR kCacheTimerId = 1;
constexpr int kCacheTimerFirst = 10000;
constexpr int kCacheTimerNext = 600000;

// The top-level windows of the taskbar whose translucency the options set.
constexpr const wchar_t* kTaskbarClasses[] = {L"Shell_TrayWnd", L"ToolbarWindow32"};
static_assert(std::size(kTaskbarClasses) == 2, "one kept style per taskbar window");

// Narrows the room beside each tab's caption until every tab of the strip
// shows without scroll arrows (the captions are wider where the system puts
// another font in place of the window's).
void FitTabs(ui::TabControl& tabs, HFONT font) {
  const int count = static_cast<int>(SendMessageW(tabs.hwnd(), TCM_GETITEMCOUNT, 0, 0));
  RECT client{}, last{};
  GetClientRect(tabs.hwnd(), &client);
  // The system's own room beside a caption is 6 pixels; 2 still reads well.
  for (int padding = 6; padding >= 2; --padding) {
    SendMessageW(tabs.hwnd(), TCM_SETPADDING, 0, MAKELPARAM(padding, 3));
    tabs.SetFont(font);  // lays the tabs out again
    SendMessageW(tabs.hwnd(), TCM_GETITEMRECT, static_cast<WPARAM>(count - 1),
                 reinterpret_cast<LPARAM>(&last));
    if (last.right <= client.right - 2) return;
  }
}

}  // namespace

void OpenWebPage(const char* url) {
  ShellExecuteW(nullptr, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

TOptionsForm::TOptionsForm(Prompts& prompts, SettingsStore& store, ShellDelete& shellDelete)
    : TKVForm(store, kOptionsFormName),
      prompts_(prompts),
      shellDelete_(shellDelete),
      model_(store, *this, false),
      cacheCountText_(EmptyCacheStatistics().countText),
      cacheSizeText_(EmptyCacheStatistics().sizeText) {
  // The auto-start component as placed on the window: its name, and false.
  KVAutoStart1_.SetAppName("Kestrova");
  KVAutoStart1_.SetAutostart(false);
  for (int tag = 0; tag < kGlobalHotkeys; ++tag) {
    auto hotKey = std::make_unique<TfisHotKey>();
    hotKey->Tag = tag;
    hotKey->SetEnabled(false);  // as placed; the settings load enables them
    hotKey->OnHotKey = [this](TfisHotKey& sender) { HotKeyPressed(sender); };
    hotKeys_[static_cast<std::size_t>(tag)] = std::move(hotKey);
  }
  const auto keys = SettingsModel::Group(Option::Hotkey);
  const auto ticks = SettingsModel::Group(Option::HotkeyEnable);
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    const bool back = i == kBackSlot;
    slots_[i].key = back ? &SettingOf(Option::BackHotkey) : keys[i];
    slots_[i].enabled = back ? &SettingOf(Option::EnableBackHotkey) : ticks[i];
    // Shift alone is a modifier enough for the random wallpaper's hotkey only.
    slots_[i].shiftAloneAllowed = i == 0;
  }
}

TOptionsForm::~TOptionsForm() {
  // FormDestroy.
  watch_.Stop();
  if (hwnd()) KillTimer(hwnd(), kCacheTimerId);
  try {
    for (int tag = 0; tag < 3; ++tag) {  // the pause hotkey is not written again
      HotkeySlot& slot = slots_[static_cast<std::size_t>(tag)];
      // What the edit shows, typed or not; the held one while it is not made.
      if (slot.edit.hwnd())
        model_.Hold(*slot.key, static_cast<std::int32_t>(ShortcutFromHotkeyControl(
                                   LOBYTE(slot.edit.Hotkey()), HIBYTE(slot.edit.Hotkey()))));
      model_.Write(*slot.key);
    }
  } catch (...) {
    // Nothing is reported while the program ends.
  }
  ApplyTaskbarAlpha(255);
  for (std::size_t i = 0; i < std::size(kTaskbarClasses); ++i) {
    if (!haveTaskbarStyle_[i]) continue;
    if (HWND bar = FindWindowW(kTaskbarClasses[i], nullptr))
      SetWindowLongPtrW(bar, GWL_EXSTYLE, taskbarStyles_[i]);
  }
  if (program::OptionsForm == this) program::OptionsForm = nullptr;
}

void TOptionsForm::Create() {
  layered_ = MainForm && MainForm->Form().LayeredAvailable();
  const int height = -MulDiv(8, 96, 72);
  font_.reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
  titleFont_.reset(CreateFontW(-MulDiv(12, 96, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
  icon_.reset(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 32, 32, 0)));

  CreateArgs args;
  args.title = "Configuration";
  // A dialog frame without caption buttons.
  args.style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
  args.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT outer{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, args.style, FALSE, args.exStyle);
  args.width = outer.right - outer.left;
  args.height = outer.bottom - outer.top;
  CreateForm(args);
  program::OptionsForm = this;
  onShow = [this](bool visible) { ShownOrHidden(visible); };
  onMouseMove = [this](int, int) { FormMouseMove(); };
  // The session's end and the watch thread's notice have no typed event.
  onMessage = [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
    result = 0;
    return OtherMessage(msg);
  };
  if (icon_) SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));

  BuildPages();

  // FormCreate, in its order: the taskbar's styles, the settings, the cache
  // statistics timer, the start-up switch, the layered windows label.
  if (layered_) {
    for (std::size_t i = 0; i < std::size(kTaskbarClasses); ++i) {
      if (HWND bar = FindWindowW(kTaskbarClasses[i], nullptr)) {
        taskbarStyles_[i] = GetWindowLongPtrW(bar, GWL_EXSTYLE);
        haveTaskbarStyle_[i] = true;
      }
    }
  }
  scanned_.clear();
  LoadSettings();
  // The file types are registered afresh at every start while the option is
  // on, so that they follow the executable when it moves.
  if (model_.On(Option::RegisterAssociations)) RegisterProgramFileTypes(ExecutablePath());
  SetTimer(hwnd(), kCacheTimerId, kCacheTimerFirst, nullptr);
  onTimer = [this](UINT_PTR id) {
    if (id == kCacheTimerId) CacheTimerTimer();
  };
  if (model_.On(Option::StartupSwitch) && MainForm && program::ManagerForm)
    MainForm->StartupSwitch(
        static_cast<program::SwitchMove>(model_.Value(Option::StartupSwitchType)));
}

// --- The strip and the pages -------------------------------------------------

void TOptionsForm::BuildStrip() {
  strip_.Create(hwnd(), RECT{0, 0, kStripWidth, kClientHeight}, RGB(255, 255, 255),
                RGB(255, 255, 255));
  strip_.SetVisible(true);
  strip_.onMouseMove = [this](int, int) { FormMouseMove(); };
  stripIcon_.Create(strip_.hwnd(), RECT{10, 10, 42, 42}, "", font_.get());
  stripIcon_.SetIcon(icon_.get(), 32);
  stripIcon_.onClick = [](ui::LinkLabel&) { OpenWebPage(options::kHomePage); };
  ui::Control::CreateArgs title;
  title.parent = strip_.hwnd();
  title.left = 10;
  title.top = 48;
  title.width = 130;
  title.height = 22;
  title.text = "Configuration";
  stripTitle_.Create(title);
  stripTitle_.SetFont(titleFont_.get());
  static const char* const kCaptions[] = {"About...",   "Program Options",     "Operating System",
                                          "Wallpapers", "Get More Skins ....", "Close."};
  for (int tag = 0; tag < 6; ++tag) {
    auto link = std::make_unique<ui::LinkLabel>();
    const int top = 92 + tag * 24;
    link->Create(strip_.hwnd(), RECT{14, top, 140, top + 18}, kCaptions[tag], font_.get());
    link->Tag = tag;
    link->onClick = [this](ui::LinkLabel& l) {
      if (l.Tag == 5)
        SetVisible(false);
      else
        SelectPage(l.Tag);
    };
    links_[static_cast<std::size_t>(tag)] = std::move(link);
  }
}

void TOptionsForm::AddPanel(Page& page, const char* tab, Builder build) {
  if (tab) page.captions.push_back(tab);
  page.panels.emplace_back();
  page.builders.push_back(build);
}

void TOptionsForm::EnsurePanel(std::size_t pageIndex, std::size_t panelIndex) {
  Page& page = pages_[pageIndex];
  if (page.panels[panelIndex]) return;
  EnsureFrames();
  auto panel = std::make_unique<ui::GradientPanel>();
  // A light blue at the top fading to white at the bottom.
  panel->Create(hwnd(), page.tabs.PageRect(), RGB(214, 226, 247), RGB(255, 255, 255));
  panel->onMouseMove = [this](int, int) { FormMouseMove(); };
  // Later siblings go below the earlier ones: the panel is lifted above its
  // tab control, which would otherwise paint over it.
  SetWindowPos(panel->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ui::GradientPanel& made = *panel;
  page.panels[panelIndex] = std::move(panel);
  (this->*page.builders[panelIndex])(made);
  UpdateEnabling();
}

void TOptionsForm::BuildAllPages() {
  EnsureFrames();
  for (std::size_t i = 0; i < pages_.size(); ++i)
    for (std::size_t p = 0; p < pages_[i].panels.size(); ++p) EnsurePanel(i, p);
  SelectTabsShown();
}

int TOptionsForm::BuiltPanelCount() const {
  int count = 0;
  for (const Page& page : pages_)
    for (const auto& panel : page.panels) count += panel ? 1 : 0;
  return count;
}

void TOptionsForm::BuildPages() {
  // What each page holds; its tab control is made with the strip, and the
  // panels with their controls when first shown (EnsurePanel).
  const auto tabs = SettingsModel::Group(Option::PageTab);  // pages 1, 2 and 3
  for (std::size_t i = 0; i < pages_.size(); ++i)
    pages_[i].tabSetting = i >= 1 && i <= tabs.size() ? tabs[i - 1] : nullptr;
  AddPanel(pages_[0], "About", &TOptionsForm::BuildAboutPanel);
  AddPanel(pages_[1], "General Options", &TOptionsForm::BuildGeneralPanel);
  AddPanel(pages_[1], "Transparency", &TOptionsForm::BuildTransparencyPanel);
  AddPanel(pages_[1], "Shortcutting", &TOptionsForm::BuildShortcutPanel);
  AddPanel(pages_[2], "Desktop", &TOptionsForm::BuildDesktopPanel);
  AddPanel(pages_[2], "File Types", &TOptionsForm::BuildAssociationsPanel);
  AddPanel(pages_[3], "Wallpaper List", &TOptionsForm::BuildListPanel);
  AddPanel(pages_[3], "Wallpaper Switching", &TOptionsForm::BuildSwitchingPanel);
  AddPanel(pages_[3], "Thumbnails", &TOptionsForm::BuildThumbnailsPanel);
  AddPanel(pages_[3], "Monitors", &TOptionsForm::BuildMonitorsPanel);
  AddPanel(pages_[4], "Skins", &TOptionsForm::BuildSkinsPanel);
}

void TOptionsForm::EnsureFrames() {
  if (framesBuilt_) return;
  framesBuilt_ = true;
  BuildStrip();
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    Page& page = pages_[i];
    ui::Control::CreateArgs a;
    a.parent = hwnd();
    a.left = kPageBounds.left;
    a.top = kPageBounds.top;
    a.width = kPageBounds.right - kPageBounds.left;
    a.height = kPageBounds.bottom - kPageBounds.top;
    a.style = WS_CLIPSIBLINGS | TCS_FLATBUTTONS;
    page.tabs.Create(a);
    page.tabs.SetFont(font_.get());
    for (const char* caption : page.captions) page.tabs.AddTab(caption);
    page.tabs.SetTabIndex(page.tab);
    page.tabs.onChanged = [this, i](int tab) {
      SelectTab(static_cast<int>(i), tab);
      if (const SettingDef* def = pages_[i].tabSetting)
        store_.RegWriteInteger(def->subkey, def->name, tab);
    };
  }
  FitTabs(pages_[3].tabs, font_.get());
  if (currentPage_ >= 0) links_[static_cast<std::size_t>(currentPage_)]->SetSelected(true);
  SelectTabsShown();
}

void TOptionsForm::SelectTabsShown() {
  // Without a stored page the About page is in front and no link is marked.
  // The panel in front is made once the window has been shown.
  for (std::size_t i = 0; i < pages_.size() && framesBuilt_; ++i) {
    const bool front = static_cast<int>(i) == (currentPage_ < 0 ? 0 : currentPage_);
    pages_[i].tabs.SetVisible(front);
    const int tab = pages_[i].tab;
    for (std::size_t p = 0; p < pages_[i].panels.size(); ++p) {
      const bool shown = front && static_cast<int>(p) == (tab < 0 ? 0 : tab);
      if (shown && everShown_) EnsurePanel(i, p);
      if (pages_[i].panels[p]) pages_[i].panels[p]->SetVisible(shown);
    }
  }
  RefreshMonitors();
}

void TOptionsForm::SelectPage(int tag) {
  if (tag < 0 || tag > 4) return;
  if (framesBuilt_)
    for (int i = 0; i < 5; ++i) links_[static_cast<std::size_t>(i)]->SetSelected(false);
  currentPage_ = tag;
  SelectTabsShown();
  if (framesBuilt_) links_[static_cast<std::size_t>(tag)]->SetSelected(true);
  const SettingDef& page = SettingOf(Option::Page);
  store_.RegWriteInteger(page.subkey, page.name, tag);
}

int TOptionsForm::TabIndexOf(int page) const { return pages_[static_cast<std::size_t>(page)].tab; }

ui::LinkLabel& TOptionsForm::Link(int tag) {
  EnsureFrames();
  return *links_[static_cast<std::size_t>(tag)];
}

void TOptionsForm::SelectTab(int page, int tab) {
  Page& p = pages_[static_cast<std::size_t>(page)];
  if (tab < 0 || tab >= static_cast<int>(p.panels.size())) return;
  p.tab = tab;
  if (framesBuilt_) p.tabs.SetTabIndex(tab);
  SelectTabsShown();
}

void TOptionsForm::ShowAboutPage() { SelectPage(0); }

void TOptionsForm::ShowIconColourPage() {
  SelectPage(2);
  SelectTab(2, 0);
}

void TOptionsForm::ShowStyleDefaultsPage() {
  SelectPage(3);
  SelectTab(3, 0);
  if (!IsVisible()) SetVisible(true);
  SetForegroundWindow(hwnd());
}

// --- Showing, hiding, the mouse, the session's end -----------------------------

void TOptionsForm::SetVisible(bool visible) {
  if (visible)
    ShowWindow(hwnd(), SW_SHOWNORMAL);
  else
    ShowWindow(hwnd(), SW_HIDE);
}

void TOptionsForm::FormMouseMove() { program::IdleCounter = 0; }

void TOptionsForm::SessionEnding() {
  if (model_.On(Option::ShutdownSwitch) && MainForm)
    MainForm->ShutdownSwitch(
        static_cast<program::SwitchMove>(model_.Value(Option::ShutdownSwitchType)));
  SetVisible(false);
}

void TOptionsForm::ApplyTaskbarAlpha(int alpha) {
  if (!MainForm || !MainForm->Form().LayeredAvailable()) return;
  for (const wchar_t* cls : kTaskbarClasses) {
    HWND window = FindWindowW(cls, nullptr);
    if (!window) continue;
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
  }
}

HWND TOptionsForm::ControlFor(const std::string& valueName) {
  BuildAllPages();
  const auto it = byValue_.find(valueName);
  return it == byValue_.end() ? nullptr : it->second;
}

ui::LinkLabel& TOptionsForm::SkinSite(int i) {
  BuildAllPages();
  return *skinSites_[static_cast<std::size_t>(i)];
}

void TOptionsForm::Remember(const char* name, HWND control) {
  if (name) byValue_[name] = control;
}

void TOptionsForm::ShownOrHidden(bool visible) {
  if (visible) {  // FormShow
    if (!everShown_) {
      // The strip, the tabs and the page in front are made now, before the
      // window appears.
      everShown_ = true;
      EnsureFrames();
    }
    RefreshMonitors();
    if (MainForm) MainForm->SetItemChecked(program::MainCommand::Configuration, true);
  } else {  // FormHide
    ApplyShowKV();
    if (MainForm) MainForm->SetItemChecked(program::MainCommand::Configuration, false);
  }
}

bool TOptionsForm::OtherMessage(UINT msg) {
  if (msg == WM_QUERYENDSESSION) {
    // The shut-down switch; the default answer follows (the session may end).
    try {
      SessionEnding();
    } catch (...) {
      ui::ReportCurrentException();
    }
    return false;
  }
  if (msg == WM_DISPLAYCHANGE) {
    // Monitors plugged in or out, turned or set to another size.
    RefreshMonitors();
    return false;
  }
  if (msg != kWatchMessage) return false;
  // A change in the watched directory, handed over by the watch thread.
  if (DirectoryExists(watched_)) ScanWatchedDirectory();
  return true;
}

}  // namespace kv
