// The two passes of the resampler with SSE2, which every processor the program
// runs on has, and the choice between them and the AVX2 ones.
//
// Both passes multiply 16-bit pixel values by 16-bit weights in pairs (pmaddwd)
// into 32-bit sums: every weight lies in -256..256 and every pixel in 0..255,
// so no product or sum of a list comes near the 32-bit range, and the order of
// the additions does not change the sum.
//
// Division. Each sum R is divided by its list's total d with truncation and
// clamped to 0..255. For 0 < d < 2^14 this is a single-precision multiply: R
// is first clamped to [0, 255 d], which does not change the clamped result and
// leaves an integer below 2^22, so float(R) is exact. It is multiplied by
// 1/d rounded up, which exceeds 1/d by less than 2^-23 / d, so the exact
// product exceeds R/d by less than 255 * 2^-23 < 2^-15. When R/d is a whole
// number m the product is at least m, and so is its rounding; otherwise R/d
// lies at least 1/d > 2^-14 below the next whole number, and the product,
// even after rounding (half a unit in the last place, at most 2^-17 below
// 256), stays below it. Truncating the product gives the exact quotient.
// Other totals (0, negative, large) go through FinishChannel.

#include "wallpaper/resample_passes.h"

#include <emmintrin.h>

#include <atomic>
#include <cstring>

#include "wallpaper/resample_simd.h"

namespace kv::resample_detail {

namespace {

std::atomic<int> levelLimit{static_cast<int>(VectorLevel::Avx2)};

// The SSE2 horizontal pass reads each source row as pixel pairs: entry k holds
// the 16-bit values B[k] B[k+1] G[k] G[k+1] R[k] R[k+1] and two values that are
// multiplied by 0, so one pmaddwd with the weights w w' w w' w w' 0 0 adds two
// neighbouring pixels of a run.
class PairRowFilter : public RowFilter {
 public:
  PairRowFilter(const ContributorLists& columns, int sourceWidth)
      : columns_(columns), plan_(columns, 2), pairs_(static_cast<std::size_t>(sourceWidth) * 8) {}

  void Run(const std::uint8_t* in, std::uint8_t* out) override {
    const __m128i zero = _mm_setzero_si128();
    const std::size_t sw = pairs_.size() / 8;
    for (std::size_t k = 0; k < sw; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * k));
      const __m128i twin = _mm_unpacklo_epi8(v, _mm_srli_si128(v, 3));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pairs_.data() + 8 * k),
                       _mm_unpacklo_epi8(twin, zero));
    }
    const int tw = columns_.Count();
    for (int i = 0; i < tw; ++i, out += 3) {
      const int first = plan_.begin[static_cast<std::size_t>(i)];
      const int last = plan_.begin[static_cast<std::size_t>(i) + 1];
      if (first == last) {
        PlainColumn(columns_, i, in, out);
        continue;
      }
      const std::int16_t* p =
          pairs_.data() +
          8 * static_cast<std::size_t>(columns_.denseStart[static_cast<std::size_t>(i)]);
      const std::int16_t* w = plan_.weights.data() + 8 * static_cast<std::size_t>(first);
      __m128i acc = _mm_setzero_si128();
      for (int k = first; k < last; ++k, p += 16, w += 8)
        acc = _mm_add_epi32(acc,
                            _mm_madd_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(w))));
      FinishPixel(acc, plan_, i, out, i + 1 == tw);
    }
  }

 private:
  const ContributorLists& columns_;
  const ColumnPlan plan_;
  std::vector<std::int16_t> pairs_;  // the row being filtered, 8 per pixel
};

void CombineRowsSse2(const ContributorLists& rows, int j, const std::uint8_t* const* lines,
                     int length, std::uint8_t* out) {
  const std::int32_t total = rows.total[static_cast<std::size_t>(j)];
  if (!FastTotal(total) || length < 16) {
    PlainRow(rows, j, lines, length, out);
    return;
  }
  std::vector<const std::uint8_t*> pairLines;
  std::vector<std::uint32_t> weights;
  RowPairs(rows, j, lines, pairLines, weights);
  const std::size_t count = weights.size();
  const __m128 inverse = _mm_set1_ps(InverseRoundedUp(total));
  const __m128 ceiling = _mm_set1_ps(255.0f * static_cast<float>(total));
  const __m128i zero = _mm_setzero_si128();

  // 16 bytes at a time; the last block overlaps the one before it instead of
  // running past the row (its values are computed again, identically).
  for (int x = 0;; x += 16) {
    if (x > length - 16) x = length - 16;
    __m128i acc0 = zero, acc1 = zero, acc2 = zero, acc3 = zero;
    for (std::size_t k = 0; k < count; ++k) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairLines[2 * k] + x));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairLines[2 * k + 1] + x));
      const __m128i w = _mm_set1_epi32(static_cast<int>(weights[k]));
      const __m128i lo = _mm_unpacklo_epi8(a, b);
      const __m128i hi = _mm_unpackhi_epi8(a, b);
      acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), w));
      acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), w));
      acc2 = _mm_add_epi32(acc2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), w));
      acc3 = _mm_add_epi32(acc3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), w));
    }
    const __m128i q01 =
        _mm_packs_epi32(Divide(acc0, inverse, ceiling), Divide(acc1, inverse, ceiling));
    const __m128i q23 =
        _mm_packs_epi32(Divide(acc2, inverse, ceiling), Divide(acc3, inverse, ceiling));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(q01, q23));
    if (x == length - 16) break;
  }
}

}  // namespace

void PlainColumn(const ContributorLists& lists, int i, const std::uint8_t* in, std::uint8_t* out) {
  std::int32_t b = 0, g = 0, r = 0;
  for (int k = lists.begin[static_cast<std::size_t>(i)];
       k < lists.begin[static_cast<std::size_t>(i) + 1]; ++k) {
    const Contributor& c = lists.items[static_cast<std::size_t>(k)];
    const std::uint8_t* p = in + 3 * static_cast<std::size_t>(c.index);
    b += c.weight * p[0];
    g += c.weight * p[1];
    r += c.weight * p[2];
  }
  const std::int32_t total = lists.total[static_cast<std::size_t>(i)];
  out[0] = FinishChannel(b, total);
  out[1] = FinishChannel(g, total);
  out[2] = FinishChannel(r, total);
}

void PlainRow(const ContributorLists& rows, int j, const std::uint8_t* const* lines, int length,
              std::uint8_t* out) {
  const int first = rows.begin[static_cast<std::size_t>(j)];
  const int count = rows.begin[static_cast<std::size_t>(j) + 1] - first;
  const std::int32_t total = rows.total[static_cast<std::size_t>(j)];
  for (int x = 0; x < length; ++x) {
    std::int32_t sum = 0;
    for (int k = 0; k < count; ++k)
      sum += rows.items[static_cast<std::size_t>(first + k)].weight * lines[k][x];
    out[x] = FinishChannel(sum, total);
  }
}

ColumnPlan::ColumnPlan(const ContributorLists& columns, int group) {
  const int n = columns.Count();
  begin.reserve(static_cast<std::size_t>(n) + 1);
  inverse.assign(static_cast<std::size_t>(n), 0.0f);
  ceiling.assign(static_cast<std::size_t>(n), 0.0f);
  std::vector<std::int16_t> run;
  for (int i = 0; i < n; ++i) {
    const std::size_t at = static_cast<std::size_t>(i);
    begin.push_back(static_cast<int>(weights.size() / (4 * static_cast<std::size_t>(group))));
    if (columns.denseStart[at] < 0 || !FastTotal(columns.total[at])) continue;
    inverse[at] = InverseRoundedUp(columns.total[at]);
    ceiling[at] = 255.0f * static_cast<float>(columns.total[at]);
    // The run's weights from its first pixel, zeros in its gaps and after it.
    run.assign(static_cast<std::size_t>((columns.denseLength[at] + group - 1) / group * group), 0);
    for (int k = columns.begin[at]; k < columns.begin[at + 1]; ++k) {
      const Contributor& c = columns.items[static_cast<std::size_t>(k)];
      run[static_cast<std::size_t>(c.index - columns.denseStart[at])] =
          static_cast<std::int16_t>(c.weight);
    }
    for (std::size_t k = 0; k < run.size(); k += 2)
      weights.insert(weights.end(),
                     {run[k], run[k + 1], run[k], run[k + 1], run[k], run[k + 1], 0, 0});
  }
  begin.push_back(static_cast<int>(weights.size() / (4 * static_cast<std::size_t>(group))));
}

void RowPairs(const ContributorLists& rows, int j, const std::uint8_t* const* lines,
              std::vector<const std::uint8_t*>& pairLines, std::vector<std::uint32_t>& weights) {
  pairLines.clear();
  weights.clear();
  const int first = rows.begin[static_cast<std::size_t>(j)];
  const int count = rows.begin[static_cast<std::size_t>(j) + 1] - first;
  for (int k = 0; k < count; k += 2) {
    const bool single = k + 1 == count;
    pairLines.push_back(lines[k]);
    pairLines.push_back(lines[single ? k : k + 1]);
    const std::int32_t a = rows.items[static_cast<std::size_t>(first + k)].weight;
    const std::int32_t b = single ? 0 : rows.items[static_cast<std::size_t>(first + k + 1)].weight;
    weights.push_back(PackPair(static_cast<std::int16_t>(a), static_cast<std::int16_t>(b)));
  }
}

VectorLevel BestVectorLevel() noexcept {
  static const VectorLevel best = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? VectorLevel::Avx2 : VectorLevel::Sse2;
  }();
  return best;
}

void LimitVectorLevel(VectorLevel level) noexcept {
  levelLimit.store(static_cast<int>(level), std::memory_order_relaxed);
}

VectorLevel UsedVectorLevel() noexcept {
  const int best = static_cast<int>(BestVectorLevel());
  const int limit = levelLimit.load(std::memory_order_relaxed);
  return static_cast<VectorLevel>(best < limit ? best : limit);
}

std::unique_ptr<RowFilter> MakeRowFilter(const ContributorLists& columns, int sourceWidth,
                                         VectorLevel level) {
  if (level == VectorLevel::Avx2) return MakeRowFilterAvx2(columns);
  return std::make_unique<PairRowFilter>(columns, sourceWidth);
}

void CombineRows(const ContributorLists& rows, int j, const std::uint8_t* const* lines, int length,
                 std::uint8_t* out, VectorLevel level) {
  if (level == VectorLevel::Avx2)
    CombineRowsAvx2(rows, j, lines, length, out);
  else
    CombineRowsSse2(rows, j, lines, length, out);
}

}  // namespace kv::resample_detail
