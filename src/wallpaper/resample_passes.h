#pragma once
// Inside the resampler: contributor lists and the two passes over them.

#include <cstdint>
#include <vector>

#include "codecs/bitmap.h"
#include "wallpaper/resample.h"

namespace kv::resample_detail {

struct Contributor {
  std::int32_t index;   // source pixel (column or row), already mirrored inside
  std::int32_t weight;  // in units of 1/256, never 0
};

// One list per target position, in increasing source position.
struct ContributorLists {
  std::vector<int> begin;  // list i is items[begin[i], begin[i + 1])
  std::vector<Contributor> items;
  std::vector<std::int32_t> total;  // sum of list i's weights
  // First source position and length of list i read as one unbroken run with
  // zero weights in its gaps, or -1 and 0 when it reaches past an edge.
  std::vector<int> denseStart;
  std::vector<int> denseLength;

  [[nodiscard]] int Count() const noexcept { return static_cast<int>(total.size()); }
};

[[nodiscard]] float ScaleFactor(int target, int source);
// A source position outside 0..n-1 reflected at the edges until it is inside.
[[nodiscard]] int MirrorIndex(int j, int n);
// Lists for target positions 0..targetSize-1 over source positions
// 0..sourceSize-1, with the kind's kernel cut off at +-support (times 1 / scale
// when shrinking).
[[nodiscard]] ContributorLists BuildContributors(int targetSize, int sourceSize, float support,
                                                 ResampleFilter kind);

// One combined channel: the weighted sum divided by the total (truncating), or
// the sum shifted right by 8 when the total is 0, clamped to 0..255.
[[nodiscard]] inline std::uint8_t FinishChannel(std::int32_t sum, std::int32_t total) noexcept {
  const std::int32_t v =
      total != 0 ? sum / total : static_cast<std::int32_t>(static_cast<std::uint32_t>(sum) >> 8);
  return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// The SIMD division is exact for totals in this range (see resample_passes.cpp).
[[nodiscard]] inline bool FastTotal(std::int32_t total) noexcept {
  return total > 0 && total < 65536;
}

// Source rows [rowBegin, rowEnd) into the work picture (target width, source
// height).
void HorizontalPass(const ContributorLists& columns, const Bitmap& source, Bitmap& work,
                    int rowBegin, int rowEnd);
// Target rows [rowBegin, rowEnd) from the work picture.
void VerticalPass(const ContributorLists& rows, const Bitmap& work, Bitmap& target, int rowBegin,
                  int rowEnd);

}  // namespace kv::resample_detail
