// A monitor layout as text ("WxH+X+Y,...", from the command line) and picture
// headers read for their size: any bytes are refused or read into a layout
// that prints back as itself, and a layout the checks accept composes into a
// bitmap of its virtual screen's size without writing outside it. The first
// byte picks the file family whose header the rest is read as.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "wallpaper/compose.h"
#include "wallpaper/monitor_layout.h"
#include "wallpaper/picture_size.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const char* const kNames[] = {"a.bmp", "a.dib", "a.gif", "a.png",
                                       "a.jpg", "a.tga", "a.pcx", "a.psd"};
  if (const auto picture = kv::PictureHeaderSize(kNames[data[0] % 8], data + 1, size - 1))
    if (picture->width <= 0 || picture->height <= 0) std::abort();

  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const auto layout = kv::ParseMonitorLayout(text);
  if (!layout) return 0;
  if (kv::ParseMonitorLayout(kv::MonitorLayoutText(*layout)) != layout) std::abort();
  if (kv::LayoutProblem(*layout)) return 0;
  const kv::MonitorRect v = kv::VirtualBounds(*layout);
  // Keep the runs quick: compose only layouts of a few megapixels.
  if (static_cast<long long>(v.width) * v.height > 4'000'000) return 0;
  const kv::Bitmap composed = kv::ComposeWallpaper(
      *layout, data[0] & 1 ? kv::Placement::Tiled : kv::Placement::Spanned, 0,
      [](std::size_t, kv::PixelSize s) { return kv::Bitmap(s.width, s.height); });
  if (composed.Width() != v.width || composed.Height() != v.height) std::abort();
  return 0;
}
