#pragma once
// The desktop icon caption colour derived from a wallpaper's thumbnail.

#include "codecs/bitmap.h"

namespace kv {

class TIconColourChooser {
 public:
  // Make the chosen colour a grey of the same brightness.
  bool grayscaled = false;

  // The complement of the thumbnail's byte sums: the blue, green and red bytes
  // of all pixels are each summed modulo 256 into b, g, r, and the colour is
  // red 255 - b, green 255 - g, blue 255 - r (the blue sum feeds red and the
  // red sum blue). With grayscaled, each component becomes
  // (77 red + 151 green + 28 blue) >> 8. An empty picture gives white.
  [[nodiscard]] Colour ChooseIconColour(const Bitmap& bitmap) const noexcept;
};

}  // namespace kv
