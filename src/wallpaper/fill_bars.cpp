#include "wallpaper/fill_bars.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kv {
namespace {

// A cell of the blur grid is this fraction of the screen's shorter side, so the
// blur looks the same on every screen: about 90 pixels of spread on a
// 3840 x 2160 screen, about 30 on 1024 x 768.
constexpr int kCellsOnShortSide = 108;
// Each of the three box passes spans 2 * 4 + 1 cells. Three passes come close
// to a Gaussian with a deviation of about 4.5 cells.
constexpr int kBoxRadius = 4;
// The bars keep 140/256 (about 55 %) of the blurred picture's brightness, so
// the sharp picture stands out from them.
constexpr int kDarken = 140;

// The blur grid: width x height cells of blue, green, red, top row first.
struct Grid {
  int width = 0;
  int height = 0;
  std::vector<int> values;
  int* At(int x, int y) { return values.data() + (static_cast<std::size_t>(y) * width + x) * 3; }
};

// One box pass over n values `step` apart, the edge values repeated outwards,
// each result rounded to the nearest integer.
void BoxPass(int* line, int n, std::ptrdiff_t step, std::vector<int>& copy) {
  copy.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) copy[static_cast<std::size_t>(i)] = line[i * step];
  const auto at = [&](int i) { return copy[static_cast<std::size_t>(std::clamp(i, 0, n - 1))]; };
  constexpr int kWidth = 2 * kBoxRadius + 1;
  int sum = 0;
  for (int i = -kBoxRadius; i <= kBoxRadius; ++i) sum += at(i);
  for (int i = 0; i < n; ++i) {
    line[i * step] = (sum + kWidth / 2) / kWidth;
    sum += at(i + kBoxRadius + 1) - at(i - kBoxRadius);
  }
}

void BlurAndDarken(Grid& g) {
  std::vector<int> copy;
  for (int pass = 0; pass < 3; ++pass)
    for (int y = 0; y < g.height; ++y)
      for (int c = 0; c < 3; ++c) BoxPass(g.At(0, y) + c, g.width, 3, copy);
  const std::ptrdiff_t down = static_cast<std::ptrdiff_t>(g.width) * 3;
  for (int pass = 0; pass < 3; ++pass)
    for (int x = 0; x < g.width; ++x)
      for (int c = 0; c < 3; ++c) BoxPass(g.At(x, 0) + c, g.height, down, copy);
  for (int& v : g.values) v = (v * kDarken + 128) >> 8;
}

// Bilinear interpolation from cells of `cell` pixels: screen pixel i has its
// centre at grid position (i + 0.5) / cell - 0.5, in units of 1/256; the first
// of its two cells, and the weight (0 to 256) of the second.
struct Lerp {
  int first;
  int second;
  int weight;
};
std::vector<Lerp> Interpolation(int pixels, int cell, int cells) {
  std::vector<Lerp> out(static_cast<std::size_t>(pixels));
  const int last = (cells - 1) * 256;
  for (int i = 0; i < pixels; ++i) {
    const int at = std::clamp(((2 * i + 1) * 256) / (2 * cell) - 128, 0, last);
    out[static_cast<std::size_t>(i)] = {at >> 8, std::min((at >> 8) + 1, cells - 1), at & 255};
  }
  return out;
}

// Screen values from..to of a row mixed from two spread grid rows (values in
// units of 1/256) with weight wb (0 to 255) for the second:
// (a * (256 - wb) + b * wb) / 65536, each product rounded down to a multiple
// of 1/256 first so that it fits 16 bits, the sum then rounded to nearest.
// Eight values at a time in 16-bit lanes, the tail the same way one by one.
void BlendRows(const std::uint16_t* a, const std::uint16_t* b, int wb, std::uint8_t* out,
               std::size_t from, std::size_t to) {
  std::size_t i = from;
  if (wb == 0) {
    for (; i < to; ++i) out[i] = static_cast<std::uint8_t>((a[i] + 128u) >> 8);
    return;
  }
  const unsigned wa = 256u - static_cast<unsigned>(wb);  // 1 to 255
  const __m128i va = _mm_set1_epi16(static_cast<short>(wa << 8));
  const __m128i vb = _mm_set1_epi16(static_cast<short>(static_cast<unsigned>(wb) << 8));
  const __m128i half = _mm_set1_epi16(128);
  const auto mix8 = [&](std::size_t at) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at));
    const __m128i sum = _mm_adds_epu16(_mm_mulhi_epu16(x, va), _mm_mulhi_epu16(y, vb));
    return _mm_srli_epi16(_mm_adds_epu16(sum, half), 8);
  };
  for (; i + 16 <= to; i += 16)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(mix8(i), mix8(i + 8)));
  for (; i < to; ++i) {
    const unsigned sum = ((a[i] * (wa << 8)) >> 16) + ((b[i] * (static_cast<unsigned>(wb) << 8)) >> 16);
    out[i] = static_cast<std::uint8_t>((sum + 128u) >> 8);
  }
}

}  // namespace

BarsPlacement CentredOn(int screenWidth, int screenHeight, int width, int height) noexcept {
  return {(screenWidth - width) / 2, (screenHeight - height) / 2};
}

Bitmap FillTheBars(const Bitmap& scaled, int screenWidth, int screenHeight, int threads) {
  const int w = scaled.Width(), h = scaled.Height();
  if (scaled.Empty() || w > screenWidth || h > screenHeight ||
      (w == screenWidth && h == screenHeight))
    return scaled;

  const int cell = std::max(1, std::min(screenWidth, screenHeight) / kCellsOnShortSide);
  Grid grid;
  grid.width = (screenWidth + cell - 1) / cell;
  grid.height = (screenHeight + cell - 1) / cell;
  {
    // The picture stretched to the screen and averaged over each cell, in one
    // step: the box filter reducing it to the grid's size.
    Bitmap averaged;
    ResampleInto(grid.width, grid.height, ResampleFilter::Box, 0.0f, scaled, averaged, threads);
    grid.values.resize(static_cast<std::size_t>(grid.width) * grid.height * 3);
    for (int y = 0; y < grid.height; ++y) {
      const std::uint8_t* in = averaged.ScanLine(y);
      int* out = grid.At(0, y);
      for (int i = 0; i < grid.width * 3; ++i) out[i] = in[i];
    }
  }
  BlurAndDarken(grid);

  // Each grid row spread across the screen's width once, in units of 1/256;
  // each screen row then mixes two of these.
  const std::size_t rowValues = static_cast<std::size_t>(screenWidth) * 3;
  const std::vector<Lerp> across = Interpolation(screenWidth, cell, grid.width);
  std::vector<std::uint16_t> wide(static_cast<std::size_t>(grid.height) * rowValues);
  for (int y = 0; y < grid.height; ++y) {
    std::uint16_t* out = wide.data() + static_cast<std::size_t>(y) * rowValues;
    for (int x = 0; x < screenWidth; ++x, out += 3) {
      const Lerp& l = across[static_cast<std::size_t>(x)];
      const int* a = grid.At(l.first, y);
      const int* b = grid.At(l.second, y);
      for (int c = 0; c < 3; ++c)
        out[c] = static_cast<std::uint16_t>(a[c] * (256 - l.weight) + b[c] * l.weight);
    }
  }

  Bitmap screen(screenWidth, screenHeight);
  const BarsPlacement at = CentredOn(screenWidth, screenHeight, w, h);
  const std::vector<Lerp> down = Interpolation(screenHeight, cell, grid.height);
  const auto blend = [&](std::uint8_t* out, const Lerp& l, std::size_t from, std::size_t to) {
    BlendRows(wide.data() + static_cast<std::size_t>(l.first) * rowValues,
              wide.data() + static_cast<std::size_t>(l.second) * rowValues, l.weight, out, from,
              to);
  };
  const std::size_t pictureFrom = static_cast<std::size_t>(at.left) * 3;
  const std::size_t pictureTo = pictureFrom + static_cast<std::size_t>(w) * 3;
  for (int y = 0; y < screenHeight; ++y) {
    std::uint8_t* out = screen.ScanLine(y);
    const Lerp& l = down[static_cast<std::size_t>(y)];
    if (y < at.top || y >= at.top + h) {
      blend(out, l, 0, rowValues);
      continue;
    }
    // Only the bars beside the picture; the picture's own bytes are copied.
    blend(out, l, 0, pictureFrom);
    std::memcpy(out + pictureFrom, scaled.ScanLine(y - at.top), pictureTo - pictureFrom);
    blend(out, l, pictureTo, rowValues);
  }
  return screen;
}

}  // namespace kv
