#include "wallpaper/kv_wallpaper_win.h"

// IActiveDesktop is declared only together with the internet types.
#include <wininet.h>
// wininet.h first
#include <commctrl.h>
#include <shlobj.h>

#include <exception>
#include <iterator>

#include "base/error.h"
#include "base/handle_win.h"
#include "base/program_dir_win.h"
#include "base/text_win.h"
#include "codecs/file_io.h"
#include "codecs/image_file.h"
#include "config/settings_store.h"

namespace kv {

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr DWORD kHideTimerStartInterval = 30000;

void WriteDesktopValue(HKEY key, const char* name, const std::string& value) {
  const std::wstring data = Widen(value);
  if (!key || RegSetValueExW(
                  key, Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                  static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    throw Error(FormatText(kFailedToSetDataText, name));
}

// The desktop's registry values for `path` shown in `style` (the program writes
// them itself; the system call below is not asked to update the profile).
void WriteDesktopValues(const std::string& path, WpStyle style) {
  RegKey key;
  RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, key.put());  // not created
  const DesktopValues values = DesktopValuesFor(style);
  WriteDesktopValue(key.get(), "Wallpaper", path);
  WriteDesktopValue(key.get(), "Tilewallpaper", values.tileWallpaper);
  WriteDesktopValue(key.get(), "WallpaperStyle", values.wallpaperStyle);
}

HWND DesktopDefView() {
  const HWND progman = FindWindowExW(GetDesktopWindow(), nullptr, L"Progman", nullptr);
  return progman ? FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr) : nullptr;
}

COLORREF ToColorRef(Colour c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace

TKVWallpaper::TKVWallpaper() {
  HideTimer.SetInterval(kHideTimerStartInterval);
  HideTimer.OnTimer = [this] { HideTimerTimer(); };
  // The library stays loaded for the program's life.
  if (const HMODULE shell = LoadLibraryW(L"Shell32.dll"))
    shGetSettings_ = reinterpret_cast<ShGetSettingsFn>(
        reinterpret_cast<void*>(GetProcAddress(shell, "SHGetSettings")));
  Setdeskicons_fg(TKVWallpaper::DesktopColour());
}

void TKVWallpaper::Setdeskicons_fg(Colour colour) {
  if (colour == deskiconsFg_) return;
  deskiconsFg_ = colour;
  ApplyIconColours();
}

void TKVWallpaper::Setdeskicons_bg(Colour colour) {
  if (colour == deskiconsBg_) return;
  deskiconsBg_ = colour;
  ApplyIconColours();
}

void TKVWallpaper::SetDtopTransparentBG(bool transparent) {
  if (transparent == transparentBg_) return;
  transparentBg_ = transparent;
  ApplyIconColours();
}

void TKVWallpaper::SetKeepiconsHidden(bool hidden) {
  keepIconsHidden_ = hidden;
  HideTimer.SetEnabled(hidden);
}

void TKVWallpaper::HideTimerTimer() {
  ApplyIconColours();
  ShowDesktopIcons(!keepIconsHidden_);
}

void TKVWallpaper::SetStyleByName(std::string_view name) {
  if (const auto style = WpStyleFromName(name)) Wpstyle = *style;
}

bool TKVWallpaper::ApplyWallpaper(bool rebuild, bool notify) {
  const std::string path = ProgramDir() + kWallpaperFileName;
  bool built = true;
  // The composed bitmap is laid over the monitors by tiling it from the
  // primary's corner: it is exactly the virtual screen's size, so each monitor
  // shows its own region once, on every system version alike.
  WpStyle shownAs = Wpstyle;
  if (rebuild && BuildMonitorsBitmap())
    shownAs = WPtiled;
  else if (rebuild || !FileExists(path))
    built = BuildWallpaperBitmap(WpName);
  WpName = path;
  const std::wstring widePath = Widen(path);
  // Never leave a read-only or hidden flag on it.
  SetFileAttributesW(widePath.c_str(), FILE_ATTRIBUTE_NORMAL);
  const bool there = FileExists(path);
  if (there) {
    WriteDesktopValues(path, shownAs);
    if (notify) {
      // Without the Active Desktop object (not installed, or refusing) the
      // system call still changes the wallpaper.
      if (!(WebDesktopShown() && ApplyThroughActiveDesktop(path)))
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(widePath.c_str()),
                              SPIF_SENDWININICHANGE);
    }
  }
  ApplyIconColours();
  return built && there;
}

bool TKVWallpaper::BuildWallpaperBitmap(const std::string& source) {
  try {
    BuildWallpaperFile(source, ProgramDir() + kWallpaperFileName, Wpstyle, ScaledFilter,
                       PrimaryScreenSize(), kAutoThreads, ScaledBarsFill);
    return true;
  } catch (const std::exception&) {
    return false;  // the earlier "Wallpaper.bmp" stays
  }
}

bool TKVWallpaper::BuildMonitorsBitmap() {
  MonitorNote.clear();
  if (!EachMonitorOwn) return false;
  const MonitorLayout layout = Monitors();
  if (const auto problem = LayoutProblem(layout)) {
    MonitorNote = *problem;
    return false;
  }
  if (MonitorPictures.size() != layout.size()) {
    MonitorNote = "the pictures were chosen for another number of monitors";
    return false;
  }
  ComposeOptions options;
  options.scaledFilter = ScaledFilter;
  options.bars = ScaledBarsFill;
  options.background = DesktopColour();
  try {
    BuildComposedWallpaperFile(MonitorPictures, layout, ProgramDir() + kWallpaperFileName, options);
    return true;
  } catch (const std::exception& e) {
    MonitorNote = e.what();
    return false;
  }
}

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  reinterpret_cast<MonitorLayout*>(data)->push_back(
      {rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top});
  return TRUE;
}

}  // namespace

MonitorLayout TKVWallpaper::Monitors() const {
  if (InjectedMonitors) return *InjectedMonitors;
  MonitorLayout layout;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&layout));
  return NumberMonitors(std::move(layout));
}

Colour TKVWallpaper::DesktopColour() const {
  const COLORREF desktop = GetSysColor(COLOR_BACKGROUND);
  return MakeColour(GetRValue(desktop), GetGValue(desktop), GetBValue(desktop));
}

void TKVWallpaper::LoadImageFile(Bitmap& bitmap, const std::string& fileName) {
  kv::LoadImageFile(bitmap, fileName);
}

bool TKVWallpaper::ActiveDesktopState() const {
  if (!shGetSettings_) return false;
  SHELLFLAGSTATE state{};
  shGetSettings_(&state, SSF_DESKTOPHTML);
  return state.fDesktopHTML != 0;
}

bool TKVWallpaper::WebDesktopShown() {
  const HWND defView = DesktopDefView();
  return defView && FindWindowExW(defView, nullptr, L"Internet Explorer_Server", nullptr);
}

std::string TKVWallpaper::ExpandPathMacros(std::string_view text) {
  return kv::ExpandPathMacros(text, ProgramDir(), SkinDir);
}

PixelSize TKVWallpaper::PrimaryScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool TKVWallpaper::ApplyThroughActiveDesktop(const std::string& path) {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool applied = false;
  IActiveDesktop* desktop = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IActiveDesktop, reinterpret_cast<void**>(&desktop))) &&
      desktop) {
    applied = SUCCEEDED(desktop->SetWallpaper(Widen(path).c_str(), 0)) &&
              SUCCEEDED(desktop->ApplyChanges(AD_APPLY_ALL | AD_APPLY_FORCE));
    desktop->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return applied;
}

HWND TKVWallpaper::DesktopListView() {
  const HWND progman = FindWindowW(L"ProgMan", nullptr);
  if (!progman) return nullptr;
  const HWND view = GetWindow(progman, GW_CHILD);
  return view ? GetWindow(view, GW_CHILD) : nullptr;
}

void TKVWallpaper::ApplyIconColours() {
  if (!DtopActive || !(DtopForeground || DtopTransparentBG() || DtopBackground)) return;
  const HWND list = DesktopListView();
  if (!list) return;
  if (DtopForeground) SendMessageW(list, LVM_SETTEXTCOLOR, 0, ToColorRef(deskiconsFg_));
  if (DtopBackground) SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, ToColorRef(deskiconsBg_));
  // Sent after the background colour, so transparency wins.
  if (DtopTransparentBG()) SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
  if (WebDesktopShown() && ActiveDesktopState()) {
    ShowWindow(list, SW_HIDE);
    ShowWindow(list, SW_SHOW);
  } else {
    const LRESULT count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    SendMessageW(list, LVM_REDRAWITEMS, 0, count - 1);
    UpdateWindow(list);
  }
}

void TKVWallpaper::ShowDesktopIcons(bool show) {
  if (const HWND list = DesktopListView()) ShowWindow(list, show ? SW_SHOW : SW_HIDE);
}

void TKVWallpaper::ArrangeDesktopIcons(int alignment) {
  if (alignment < 0 || alignment >= static_cast<int>(std::size(kArrangeCodes))) return;
  if (const HWND list = DesktopListView())
    SendMessageW(list, LVM_ARRANGE, static_cast<WPARAM>(kArrangeCodes[alignment]), 0);
}

void TKVWallpaper::SetDesktopIconSize(int view) {
  const HWND defView = DesktopDefView();
  const HWND list = defView ? FindWindowExW(defView, nullptr, L"SysListView32", nullptr) : nullptr;
  if (!list) return;
  STYLESTRUCT styles;
  styles.styleOld = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
  styles.styleNew = (styles.styleOld & ~static_cast<DWORD>(LVS_TYPEMASK)) |
                    (static_cast<DWORD>(view) & LVS_TYPEMASK);
  SetWindowLongW(list, GWL_STYLE, static_cast<LONG>(styles.styleNew));
  SendMessageW(list, WM_STYLECHANGED, static_cast<WPARAM>(GWL_STYLE),
               reinterpret_cast<LPARAM>(&styles));
  ShowWindow(list, SW_SHOWNORMAL);
}

bool TKVWallpaper::ChangeDesktopIconSize(bool smallIcons) {
  if (WebDesktopShown()) return false;
  SetDesktopIconSize(smallIcons ? LVS_SMALLICON : LVS_ICON);
  ApplyIconColours();
  return true;
}

}  // namespace kv
