#pragma once
// The wallpaper applier: turns one image file and one style into the desktop
// wallpaper ("Wallpaper.bmp" in the program's directory, the desktop's
// registry values, the shell told), and holds the desktop icon settings it
// re-applies after every change by sending list-view messages to the shell's
// desktop icon list.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codecs/bitmap.h"
#include "program/program_state.h"
#include "wallpaper/compose.h"
#include "wallpaper/monitor_layout.h"
#include "wallpaper/wallpaper_render.h"
#include "widgets/threaded_timer_win.h"

namespace kv {

inline constexpr char kWallpaperFileName[] = "Wallpaper.bmp";
inline constexpr char kActiveDesktopIconSizeWarning[] =
    "Active desktop is enabled. To use this feature Active desktop must be disabled.";

// LVM_ARRANGE codes for the alignments 0..5: top, bottom, left, right,
// default, snap to grid.
inline constexpr int kArrangeCodes[] = {2, 4, 1, 3, 0, 5};

class TKVWallpaper {
 public:
  TKVWallpaper();
  virtual ~TKVWallpaper() = default;
  TKVWallpaper(const TKVWallpaper&) = delete;
  TKVWallpaper& operator=(const TKVWallpaper&) = delete;

  // The source image to apply; after ApplyWallpaper the path of
  // "Wallpaper.bmp" instead.
  std::string WpName;
  WpStyle Wpstyle = Wpstretch;
  // How "Scaled" fits the image: 0 the plain stretch, k = 1..7 filter k - 1.
  int ScaledFilter = 0;
  // What shows around a Scaled picture that leaves bars.
  ScaledBars ScaledBarsFill = ScaledBars::DesktopColour;
  // Every monitor its own picture: with EachMonitorOwn and one picture per
  // monitor of Monitors() (in its numbering), ApplyWallpaper with rebuild
  // composes them into one bitmap of the virtual screen's size and shows it
  // tiled from the primary monitor's corner. Otherwise, or when the layout
  // allows no composition (MonitorNote then says why), WpName in Wpstyle as
  // on one monitor.
  bool EachMonitorOwn = false;
  std::vector<MonitorPicture> MonitorPictures;
  std::string MonitorNote;
  // The monitors in virtual-screen coordinates, numbered by NumberMonitors:
  // InjectedMonitors when set (a seam for tests on a system with one
  // monitor), else the system's.
  std::optional<MonitorLayout> InjectedMonitors;
  [[nodiscard]] MonitorLayout Monitors() const;
  // Apply deskicons_fg, apply deskicons_bg; the master switch of both.
  bool DtopForeground = false;
  bool DtopBackground = false;
  bool DtopActive = false;

  // Setting a different colour or transparency re-applies the icon colours.
  [[nodiscard]] Colour deskicons_fg() const noexcept { return deskiconsFg_; }
  void Setdeskicons_fg(Colour colour);
  [[nodiscard]] Colour deskicons_bg() const noexcept { return deskiconsBg_; }
  void Setdeskicons_bg(Colour colour);
  [[nodiscard]] bool DtopTransparentBG() const noexcept { return transparentBg_; }
  void SetDtopTransparentBG(bool transparent);
  // Keeping the icons hidden runs HideTimer.
  [[nodiscard]] bool KeepiconsHidden() const noexcept { return keepIconsHidden_; }
  void SetKeepiconsHidden(bool hidden);

  // Re-hides the icons and re-applies their colours; 30 s until the settings
  // say otherwise.
  TThreadedTimer HideTimer;
  void HideTimerTimer();

  // Sets Wpstyle to the style named (any case); other texts change nothing.
  void SetStyleByName(std::string_view name);
  // Makes WpName with Wpstyle the wallpaper. rebuild false reuses an existing
  // "Wallpaper.bmp" as it is; notify false only writes the file and the
  // registry values. Raises kv::Error when a registry value cannot be written.
  // True when the desktop now shows WpName's picture: the file was built (or,
  // without rebuild, reused) and applied.
  bool ApplyWallpaper(bool rebuild, bool notify);
  // Writes "Wallpaper.bmp" for Wpstyle, ScaledFilter and ScaledBarsFill; false (and the old
  // file kept) on any failure.
  bool BuildWallpaperBitmap(const std::string& source);
  // Writes the composed "Wallpaper.bmp" for MonitorPictures; false (the old
  // file kept, MonitorNote set) when the option is off, the layout or the
  // pictures do not fit, or rendering fails.
  bool BuildMonitorsBitmap();
  // Fills the bitmap from the file by its extension (see codecs/image_file.h).
  static void LoadImageFile(Bitmap& bitmap, const std::string& fileName);
  // Whether the shell reports desktop HTML as on.
  [[nodiscard]] virtual bool ActiveDesktopState() const;
  // Whether a window of class "Internet Explorer_Server" sits in the desktop's
  // "SHELLDLL_DefView" inside "Progman".
  [[nodiscard]] static bool WebDesktopShown();
  // The skin file name expansion, with ProgramDir() and SkinDir.
  [[nodiscard]] static std::string ExpandPathMacros(std::string_view text);

  // The desktop icon list: the first child of the first child of "Progman";
  // null when there is none (then every icon operation does nothing).
  [[nodiscard]] static HWND DesktopListView();
  void ApplyIconColours();
  static void ShowDesktopIcons(bool show);
  // Alignment 0..5 (see kArrangeCodes); other values do nothing.
  static void ArrangeDesktopIcons(int alignment);
  // LVS_ICON or LVS_SMALLICON on the "SysListView32" in "SHELLDLL_DefView" in
  // "Progman".
  static void SetDesktopIconSize(int view);
  // Small or normal icons, then the colours again; false without any change
  // when the desktop shows web content (the caller shows
  // kActiveDesktopIconSizeWarning).
  bool ChangeDesktopIconSize(bool smallIcons);

 protected:
  // The desktop's background colour, shown in the gaps between monitors and
  // around centred pictures.
  [[nodiscard]] virtual Colour DesktopColour() const;
  // The primary screen's size in pixels.
  [[nodiscard]] virtual PixelSize PrimaryScreenSize() const;
  // Sets the wallpaper through the Active Desktop object; false when the
  // object cannot be created or refuses.
  virtual bool ApplyThroughActiveDesktop(const std::string& path);

 private:
  using ShGetSettingsFn = void(WINAPI*)(void*, DWORD);

  Colour deskiconsFg_ = 0;
  Colour deskiconsBg_ = 0;
  bool transparentBg_ = false;
  bool keepIconsHidden_ = false;
  ShGetSettingsFn shGetSettings_ = nullptr;
};

}  // namespace kv
