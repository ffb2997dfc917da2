#pragma once
// One wallpaper bitmap covering the whole virtual screen, composed from one
// picture per monitor, each rendered at its monitor's own pixel size in its
// entry's style. Monitors are rendered one after the other, so that at any time
// only one monitor's picture exists beside the composed bitmap.

#include <functional>
#include <string>
#include <vector>

#include "codecs/bitmap.h"
#include "wallpaper/monitor_layout.h"
#include "wallpaper/wallpaper_render.h"

namespace kv {

// The screen-sized picture the desktop shows for a wallpaper bitmap as the
// applier writes it (RenderWallpaper's result) in `style` on a screen of
// `screen`: stretch is stretched over the screen (plain stretch), tile is
// tiled from the screen's corner, center and scaled are centred on
// `background` (cut where larger than the screen), and a picture already of
// the screen's size stays as it is.
[[nodiscard]] Bitmap ShowOnScreen(Bitmap rendered, WpStyle style, PixelSize screen,
                                  Colour background);

// Composes the virtual screen's bitmap: `render(i, size)` gives monitor i's
// picture at exactly its size (a picture of another size is refused with
// ImageError), which is copied to BitmapOrigin; the gaps between monitors take
// `background`. The layout must pass LayoutProblem.
using MonitorRenderer = std::function<Bitmap(std::size_t monitor, PixelSize size)>;
[[nodiscard]] Bitmap ComposeWallpaper(const MonitorLayout& layout, Placement placement,
                                      Colour background, const MonitorRenderer& render);

// What one monitor shows: an image file in a style.
struct MonitorPicture {
  std::string source;
  WpStyle style = Wpstretch;
};

struct ComposeOptions {
  int scaledFilter = 0;
  Placement placement = Placement::Tiled;
  Colour background = 0;
  int threads = kAutoThreads;
  ScaledBars bars = ScaledBars::DesktopColour;
};

// Renders pictures[i] for monitor i as BuildWallpaperFile would for a screen
// of that monitor's size, shows it on the monitor (ShowOnScreen), composes the
// whole and writes it as a 24-bit bitmap to `target`, replacing it atomically.
// Raises std::invalid_argument for a layout LayoutProblem refuses or a count of
// pictures other than the monitors', and ImageError / FileError as
// BuildWallpaperFile; `target` is left as it was on any failure.
void BuildComposedWallpaperFile(const std::vector<MonitorPicture>& pictures,
                                const MonitorLayout& layout, const std::string& target,
                                const ComposeOptions& options = {});

}  // namespace kv
