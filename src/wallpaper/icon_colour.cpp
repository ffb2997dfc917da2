#include "wallpaper/icon_colour.h"

#include <cstdint>

namespace kv {

Colour TIconColourChooser::ChooseIconColour(const Bitmap& bitmap) const noexcept {
  std::uint8_t b = 0, g = 0, r = 0;  // wrap around at 256, as 8-bit sums do
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
      b = static_cast<std::uint8_t>(b + p[0]);
      g = static_cast<std::uint8_t>(g + p[1]);
      r = static_cast<std::uint8_t>(r + p[2]);
    }
  }
  const int red = 255 - b, green = 255 - g, blue = 255 - r;
  if (!grayscaled)
    return MakeColour(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                      static_cast<std::uint8_t>(blue));
  const auto grey = static_cast<std::uint8_t>((77 * red + 151 * green + 28 * blue) >> 8);
  return MakeColour(grey, grey, grey);
}

}  // namespace kv
