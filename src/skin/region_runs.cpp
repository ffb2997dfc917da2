#include "skin/region_runs.h"

#include <cstddef>
#include <cstdint>

namespace kv::skin {
namespace {

// Calls `run(start, end)` for each maximal span of row y whose pixels are (or,
// with `wantInvisible` false, are not) the invisible colour.
template <typename Run>
void ForEachRun(const Bitmap& picture, int y, Colour invisible, bool wantInvisible, Run run) {
  const std::uint8_t b = BlueOf(invisible), g = GreenOf(invisible), r = RedOf(invisible);
  const std::uint8_t* p = picture.ScanLine(y);
  const int width = picture.Width();
  int start = -1;
  for (int x = 0; x < width; ++x, p += 3) {
    const bool isInvisible = p[0] == b && p[1] == g && p[2] == r;
    if (isInvisible == wantInvisible) {
      if (start < 0) start = x;
    } else if (start >= 0) {
      run(start, x);
      start = -1;
    }
  }
  if (start >= 0) run(start, width);
}

}  // namespace

std::vector<Rect> InvisibleRuns(const Bitmap& picture, Colour invisible) {
  std::vector<Rect> runs;
  for (int y = 0; y < picture.Height(); ++y)
    ForEachRun(picture, y, invisible, true, [&](int start, int end) {
      runs.push_back({start, y, end, y + 1});
    });
  return runs;
}

std::vector<Rect> VisibleBands(const Bitmap& picture, Colour invisible) {
  std::vector<Rect> out;
  // The band the previous row belongs to: out[bandStart, out.size()), or none.
  std::size_t bandStart = 0;
  bool bandOpen = false;
  for (int y = 0; y < picture.Height(); ++y) {
    const std::size_t rowStart = out.size();
    ForEachRun(picture, y, invisible, false, [&](int start, int end) {
      out.push_back({start, y, end, y + 1});
    });
    const std::size_t rowCount = out.size() - rowStart;
    if (rowCount == 0) {
      bandOpen = false;  // an empty row ends the band
      continue;
    }
    // A row whose spans equal the open band's (which ends right above it)
    // extends that band downwards instead of starting a new one.
    if (bandOpen && rowStart - bandStart == rowCount) {
      bool same = true;
      for (std::size_t i = 0; i < rowCount && same; ++i)
        same = out[bandStart + i].left == out[rowStart + i].left &&
               out[bandStart + i].right == out[rowStart + i].right;
      if (same) {
        out.resize(rowStart);
        for (std::size_t i = bandStart; i < rowStart; ++i) out[i].bottom = y + 1;
        continue;
      }
    }
    bandStart = rowStart;
    bandOpen = true;
  }
  return out;
}

}  // namespace kv::skin
