#pragma once
// Inside the resampler: contributor lists and the two passes over them, one row
// at a time.

#include <cstdint>
#include <cstring>
#include <memory>
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

// The scale factor of one direction: (target - 1) / (source - 1), or target /
// source when either is one pixel.
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

// Totals for which the vector code's division is exact (see resample_passes.cpp).
[[nodiscard]] inline bool FastTotal(std::int32_t total) noexcept {
  return total > 0 && total < 16384;
}

// 1 / total rounded up to the next single-precision value. Inline: the 32-bit
// calling convention would return it through the x87 stack.
[[nodiscard]] inline float InverseRoundedUp(std::int32_t total) noexcept {
  float r = 1.0f / static_cast<float>(total);
  // r has 24 significant bits and total at most 14, so the product is exact.
  if (static_cast<double>(r) * static_cast<double>(total) < 1.0) {
    std::uint32_t bits;
    std::memcpy(&bits, &r, sizeof bits);
    ++bits;  // the next larger positive float
    std::memcpy(&r, &bits, sizeof bits);
  }
  return r;
}

// Which vector instructions the passes use. The bytes are the same for every
// level; tests lower the limit to check each level against the reference.
enum class VectorLevel { Sse2, Avx2 };
[[nodiscard]] VectorLevel BestVectorLevel() noexcept;
void LimitVectorLevel(VectorLevel level) noexcept;
// The best level within the limit.
[[nodiscard]] VectorLevel UsedVectorLevel() noexcept;

// Bytes the row filters may read past a source row's last pixel (what they
// read there is multiplied by 0).
inline constexpr int kRowOverread = kResampleRowSlack;

// The horizontal pass for one source row at a time: the weights are prepared
// once, for all rows. Not shared between threads.
class RowFilter {
 public:
  virtual ~RowFilter() = default;
  // Writes the target width's pixels of `out` from the source row `in`, which
  // must be readable kRowOverread bytes past its last pixel.
  virtual void Run(const std::uint8_t* in, std::uint8_t* out) = 0;
};
[[nodiscard]] std::unique_ptr<RowFilter> MakeRowFilter(const ContributorLists& columns,
                                                       int sourceWidth, VectorLevel level);

// The vertical pass for target row j: `lines` holds the work row of each of
// row j's contributors, in list order; `length` is the row's byte count.
void CombineRows(const ContributorLists& rows, int j, const std::uint8_t* const* lines, int length,
                 std::uint8_t* out, VectorLevel level);

// Shared by the SSE2 and AVX2 passes.

// The horizontal weights of every column that reads one unbroken run, for
// vectors that take `group` neighbouring source pixels at once (2 or 4): per
// pair of pixels the lanes w w' w w' w w' 0 0 (blue, green, red and an unused
// lane), group / 2 pairs per vector. Columns at an edge or with a total the
// vector division does not handle get no vectors (begin[i] == begin[i + 1]).
struct ColumnPlan {
  ColumnPlan(const ContributorLists& columns, int group);
  std::vector<int> begin;             // column i's vectors are begin[i] .. begin[i + 1] - 1
  std::vector<std::int16_t> weights;  // 4 * group per vector
  std::vector<float> inverse;         // per column: 1 / total rounded up
  std::vector<float> ceiling;         // per column: 255 * total
};
// Column i of one row, computed one contributor at a time from the row's bytes.
void PlainColumn(const ContributorLists& lists, int i, const std::uint8_t* in, std::uint8_t* out);
// Target row j, one contributor at a time.
void PlainRow(const ContributorLists& rows, int j, const std::uint8_t* const* lines, int length,
              std::uint8_t* out);
// Row j's contributing lines two by two (an odd one out is paired with itself
// at weight 0), each pair's weights packed into one word.
void RowPairs(const ContributorLists& rows, int j, const std::uint8_t* const* lines,
              std::vector<const std::uint8_t*>& pairLines, std::vector<std::uint32_t>& weights);

// Two 16-bit weights in one 32-bit word, the first in the low half.
[[nodiscard]] inline std::uint32_t PackPair(std::int16_t a, std::int16_t b) noexcept {
  return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(b)) << 16) |
         static_cast<std::uint16_t>(a);
}

// Writes the pixel in the low three bytes of bgr. Within a row a whole word is
// stored (its fourth byte is overwritten by the next pixel); the last pixel of
// a row gets its three bytes only.
inline void StorePixel(std::uint8_t* out, std::int32_t bgr, bool last) noexcept {
  if (!last) {
    std::memcpy(out, &bgr, 4);
    return;
  }
  const auto v = static_cast<std::uint32_t>(bgr);
  out[0] = static_cast<std::uint8_t>(v);
  out[1] = static_cast<std::uint8_t>(v >> 8);
  out[2] = static_cast<std::uint8_t>(v >> 16);
}

// The AVX2 versions (resample_passes_avx2.cpp).
[[nodiscard]] std::unique_ptr<RowFilter> MakeRowFilterAvx2(const ContributorLists& columns);
void CombineRowsAvx2(const ContributorLists& rows, int j, const std::uint8_t* const* lines,
                     int length, std::uint8_t* out);

}  // namespace kv::resample_detail
