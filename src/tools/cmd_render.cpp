// kvtool render IN OUT.bmp --style NAME --screen WxH [--scaled-filter K]
//                          [--bars desktop|fill] [--threads N]:
// writes exactly the "Wallpaper.bmp" the applier would write for IN in style
// NAME on a primary screen of W x H pixels, with "Scaled Filter" K (0-7);
// "--bars fill" fills the bars of a Scaled picture as "Fill The Bars" does. N
// limits the threads (1: all on one; 0, the default: as the processor allows);
// the bytes are the same for every N.
//
// kvtool render IN... OUT.bmp --style NAME[,NAME...] --monitors WxH+X+Y,...
//                          [--placement tiled|spanned] [--background RRGGBB] ...:
// composes the wallpaper that gives every monitor its own picture: one IN for
// all monitors or one per monitor, one style for all or one per monitor, each
// picture rendered at its monitor's size and laid out as the desktop shows it
// (tiled from the primary monitor's corner unless "spanned").
#include <algorithm>
#include <cstdlib>

#include "tools/commands.h"
#include "tools/option_args.h"
#include "wallpaper/compose.h"
#include "wallpaper/wallpaper_render.h"

namespace kv::tool {

namespace {

WpStyle ParseStyle(const std::string& name) {
  const auto style = WpStyleFromName(name);
  if (!style)
    throw UsageError{
        "--style must be stretch, center, tile, scaled, box, triangle, hermite, "
        "bell, spline, lanczos3 or mitchell"};
  return *style;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = text.find(',', from);
    out.push_back(text.substr(from, comma == std::string::npos ? comma : comma - from));
    if (comma == std::string::npos) return out;
    from = comma + 1;
  }
}

// Arguments that are not an option or an option's value.
std::size_t CountPositionals(const Args& args) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].size() >= 3 && args[i].compare(0, 2, "--") == 0)
      ++i;
    else
      ++n;
  }
  return n;
}

Colour ParseBackground(const std::string& text) {
  char* end = nullptr;
  const unsigned long rgb = std::strtoul(text.c_str(), &end, 16);
  if (text.size() != 6 || *end != '\0') throw UsageError{"--background must be RRGGBB in hex"};
  return MakeColour(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                    static_cast<std::uint8_t>(rgb));
}

int RenderMonitors(const OptionArgs& a, const std::vector<WpStyle>& styles, int scaledFilter,
                   ScaledBars bars, int threads) {
  const auto layout = ParseMonitorLayout(*a.Get("monitors"));
  if (!layout) throw UsageError{"--monitors must be WxH+X+Y,WxH+X+Y,..."};
  const std::size_t inputs = a.positional.size() - 1;
  if (inputs != 1 && inputs != layout->size())
    throw UsageError{"give one picture for all monitors or one per monitor"};
  if (styles.size() != 1 && styles.size() != layout->size())
    throw UsageError{"give one style for all monitors or one per monitor"};
  std::vector<MonitorPicture> pictures;
  for (std::size_t i = 0; i < layout->size(); ++i)
    pictures.push_back({a.positional[inputs == 1 ? 0 : i], styles[styles.size() == 1 ? 0 : i]});
  ComposeOptions options;
  options.scaledFilter = scaledFilter;
  options.bars = bars;
  options.threads = threads;
  if (const auto p = a.Get("placement")) {
    if (*p != "tiled" && *p != "spanned") throw UsageError{"--placement must be tiled or spanned"};
    options.placement = *p == "tiled" ? Placement::Tiled : Placement::Spanned;
  }
  if (const auto b = a.Get("background")) options.background = ParseBackground(*b);
  BuildComposedWallpaperFile(pictures, *layout, a.positional.back(), options);
  return 0;
}

}  // namespace

int CmdRender(const Args& args) {
  const std::size_t positionals = std::max<std::size_t>(2, CountPositionals(args));
  const OptionArgs a = ParseOptionArgs(args, positionals,
                                       {"style", "screen", "scaled-filter", "bars", "threads",
                                        "monitors", "placement", "background"});
  const bool monitors = a.Get("monitors").has_value();
  if (!monitors && positionals != 2) throw UsageError{"expected 2 file names"};
  int scaledFilter = 0;
  if (const auto k = a.Get("scaled-filter"))
    scaledFilter = ParseIntArg("scaled-filter", *k, 0, kScaledFilterCount - 1);
  ScaledBars bars = ScaledBars::DesktopColour;
  std::vector<WpStyle> styles;
  for (const std::string& name : SplitCommas(a.Require("style")))
    styles.push_back(ParseStyle(name));
  if (!monitors && styles.size() != 1) throw UsageError{"one --style without --monitors"};
  if (const auto b = a.Get("bars")) {
    if (*b != "fill" && *b != "desktop") throw UsageError{"--bars must be desktop or fill"};
    for (const WpStyle style : styles)
      if (*b == "fill" && style != wpScaled)
        throw UsageError{"--bars fill goes with --style scaled"};
    if (*b == "fill") bars = ScaledBars::Filled;
  }
  int threads = kAutoThreads;
  if (const auto n = a.Get("threads")) threads = ParseIntArg("threads", *n, 0, 16);
  if (monitors) {
    if (a.Get("screen")) throw UsageError{"--screen and --monitors exclude each other"};
    return RenderMonitors(a, styles, scaledFilter, bars, threads);
  }
  if (a.Get("placement") || a.Get("background"))
    throw UsageError{"--placement and --background go with --monitors"};
  const SizeArg screen = ParseSizeArg("screen", a.Require("screen"));
  BuildWallpaperFile(a.positional[0], a.positional[1], styles[0], scaledFilter,
                     {screen.width, screen.height}, threads, bars);
  return 0;
}

}  // namespace kv::tool
