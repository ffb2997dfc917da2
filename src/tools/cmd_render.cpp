// kvtool render IN OUT.bmp --style NAME --screen WxH [--scaled-filter K]
//                          [--bars desktop|fill] [--threads N]:
// writes exactly the "Wallpaper.bmp" the applier would write for IN in style
// NAME on a primary screen of W x H pixels, with "Scaled Filter" K (0-7);
// "--bars fill" fills the bars of a Scaled picture as "Fill The Bars" does. N
// limits the threads (1: all on one; 0, the default: as the processor allows);
// the bytes are the same for every N.
#include "tools/commands.h"
#include "tools/option_args.h"
#include "wallpaper/wallpaper_render.h"

namespace kv::tool {

int CmdRender(const Args& args) {
  const OptionArgs a = ParseOptionArgs(args, 2, {"style", "screen", "scaled-filter", "bars", "threads"});
  const auto style = WpStyleFromName(a.Require("style"));
  if (!style)
    throw UsageError{
        "--style must be stretch, center, tile, scaled, box, triangle, hermite, "
        "bell, spline, lanczos3 or mitchell"};
  const SizeArg screen = ParseSizeArg("screen", a.Require("screen"));
  int scaledFilter = 0;
  if (const auto k = a.Get("scaled-filter"))
    scaledFilter = ParseIntArg("scaled-filter", *k, 0, kScaledFilterCount - 1);
  ScaledBars bars = ScaledBars::DesktopColour;
  if (const auto b = a.Get("bars")) {
    if (*b != "fill" && *b != "desktop") throw UsageError{"--bars must be desktop or fill"};
    if (*b == "fill" && *style != wpScaled) throw UsageError{"--bars fill goes with --style scaled"};
    if (*b == "fill") bars = ScaledBars::Filled;
  }
  int threads = kAutoThreads;
  if (const auto n = a.Get("threads")) threads = ParseIntArg("threads", *n, 0, 16);
  BuildWallpaperFile(a.positional[0], a.positional[1], *style, scaledFilter,
                     {screen.width, screen.height}, threads, bars);
  return 0;
}

}  // namespace kv::tool
