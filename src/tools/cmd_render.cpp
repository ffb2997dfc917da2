// kvtool render IN OUT.bmp --style NAME --screen WxH [--scaled-filter K]
//                          [--threads N]:
// writes exactly the "Wallpaper.bmp" the applier would write for IN in style
// NAME on a primary screen of W x H pixels, with "Scaled Filter" K (0-7). N
// limits the threads (1: all on one; 0, the default: as the processor allows);
// the bytes are the same for every N.
#include "tools/commands.h"
#include "tools/option_args.h"
#include "wallpaper/wallpaper_render.h"

namespace kv::tool {

int CmdRender(const Args& args) {
  const OptionArgs a = ParseOptionArgs(args, 2, {"style", "screen", "scaled-filter", "threads"});
  const auto style = WpStyleFromName(a.Require("style"));
  if (!style)
    throw UsageError{
        "--style must be stretch, center, tile, scaled, box, triangle, hermite, "
        "bell, spline, lanczos3 or mitchell"};
  const SizeArg screen = ParseSizeArg("screen", a.Require("screen"));
  int scaledFilter = 0;
  if (const auto k = a.Get("scaled-filter"))
    scaledFilter = ParseIntArg("scaled-filter", *k, 0, kScaledFilterCount - 1);
  int threads = kAutoThreads;
  if (const auto n = a.Get("threads")) threads = ParseIntArg("threads", *n, 0, 16);
  BuildWallpaperFile(a.positional[0], a.positional[1], *style, scaledFilter,
                     {screen.width, screen.height}, threads);
  return 0;
}

}  // namespace kv::tool
