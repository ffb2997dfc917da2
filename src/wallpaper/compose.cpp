#include "wallpaper/compose.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "codecs/encoders.h"
#include "codecs/image_error.h"

namespace kv {

namespace {

// Copies `width` pixels of row `from` to row `to` of `dst` starting at column
// `x`, wrapping round the right edge.
void CopyRowWrapped(const std::uint8_t* from, std::uint8_t* to, int dstWidth, int x, int width) {
  const int first = std::min(width, dstWidth - x);
  std::memcpy(to + 3 * static_cast<std::size_t>(x), from, 3 * static_cast<std::size_t>(first));
  if (first < width)
    std::memcpy(to, from + 3 * static_cast<std::size_t>(first),
                3 * static_cast<std::size_t>(width - first));
}

// `picture` drawn onto a `screen`-sized canvas of `background` with its
// top-left corner at (left, top); parts outside the canvas are cut.
Bitmap Centred(const Bitmap& picture, PixelSize screen, Colour background) {
  Bitmap out(screen.width, screen.height);
  out.Fill(background);
  const int left = (screen.width - picture.Width()) / 2;
  const int top = (screen.height - picture.Height()) / 2;
  const int x0 = std::max(0, left), x1 = std::min(screen.width, left + picture.Width());
  if (x0 >= x1) return out;
  for (int y = std::max(0, top); y < std::min(screen.height, top + picture.Height()); ++y)
    std::memcpy(out.ScanLine(y) + 3 * static_cast<std::size_t>(x0),
                picture.ScanLine(y - top) + 3 * static_cast<std::size_t>(x0 - left),
                3 * static_cast<std::size_t>(x1 - x0));
  return out;
}

Bitmap Tiled(const Bitmap& picture, PixelSize screen) {
  Bitmap out(screen.width, screen.height);
  for (int y = 0; y < screen.height; ++y) {
    const std::uint8_t* in = picture.ScanLine(y % picture.Height());
    std::uint8_t* o = out.ScanLine(y);
    for (int x = 0; x < screen.width; x += picture.Width())
      std::memcpy(o + 3 * static_cast<std::size_t>(x), in,
                  3 * static_cast<std::size_t>(std::min(picture.Width(), screen.width - x)));
  }
  return out;
}

}  // namespace

Bitmap ShowOnScreen(Bitmap rendered, WpStyle style, PixelSize screen, Colour background) {
  if (rendered.Width() == screen.width && rendered.Height() == screen.height) return rendered;
  if (rendered.Empty()) {
    Bitmap out(screen.width, screen.height);
    out.Fill(background);
    return out;
  }
  if (style == Wpstretch) return StretchPlain(rendered, screen.width, screen.height);
  if (style == WPtiled) return Tiled(rendered, screen);
  return Centred(rendered, screen, background);
}

Bitmap ComposeWallpaper(const MonitorLayout& layout, Placement placement, Colour background,
                        const MonitorRenderer& render) {
  const MonitorRect v = VirtualBounds(layout);
  Bitmap out(v.width, v.height);
  // Monitors do not overlap: when their areas add up to the whole, no gap
  // shows and the background need not be painted first.
  long long covered = 0;
  for (const MonitorRect& m : layout) covered += static_cast<long long>(m.width) * m.height;
  if (covered != static_cast<long long>(v.width) * v.height) out.Fill(background);
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const MonitorRect& m = layout[i];
    const Bitmap picture = render(i, {m.width, m.height});
    if (picture.Width() != m.width || picture.Height() != m.height)
      throw ImageError("the picture of monitor " + std::to_string(i + 1) +
                       " is not of the monitor's size");
    const BitmapPoint at = BitmapOrigin(layout, m, placement);
    for (int y = 0; y < m.height; ++y)
      CopyRowWrapped(picture.ScanLine(y), out.ScanLine((at.y + y) % v.height), v.width, at.x,
                     m.width);
  }
  return out;
}

void BuildComposedWallpaperFile(const std::vector<MonitorPicture>& pictures,
                                const MonitorLayout& layout, const std::string& target,
                                const ComposeOptions& options) {
  if (const auto problem = LayoutProblem(layout)) throw std::invalid_argument(*problem);
  if (pictures.size() != layout.size())
    throw std::invalid_argument(
        "one picture per monitor is needed: " + std::to_string(layout.size()) + " monitors, " +
        std::to_string(pictures.size()) + " pictures");
  const Bitmap composed = ComposeWallpaper(
      layout, options.placement, options.background, [&](std::size_t i, PixelSize size) {
        const MonitorPicture& p = pictures[i];
        return ShowOnScreen(RenderWallpaperFile(p.source, p.style, options.scaledFilter, size,
                                                options.threads, options.bars),
                            p.style, size, options.background);
      });
  SaveBmp(composed, target);
}

}  // namespace kv
