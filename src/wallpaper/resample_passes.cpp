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

namespace kv::resample_detail {

namespace {

std::atomic<int> levelLimit{static_cast<int>(VectorLevel::Avx2)};

VectorLevel UsedLevel() noexcept {
  const int best = static_cast<int>(BestVectorLevel());
  const int limit = levelLimit.load(std::memory_order_relaxed);
  return static_cast<VectorLevel>(best < limit ? best : limit);
}

// Clamped quotients of four sums by one list's total.
inline __m128i Divide(__m128i sums, __m128 inverse, __m128 ceiling) {
  __m128 f = _mm_cvtepi32_ps(sums);
  f = _mm_max_ps(_mm_min_ps(f, ceiling), _mm_setzero_ps());
  return _mm_cvttps_epi32(_mm_mul_ps(f, inverse));
}

// The SSE2 horizontal pass reads each source row as pixel pairs: entry k holds
// the 16-bit values B[k] B[k+1] G[k] G[k+1] R[k] R[k+1] and two unused ones,
// so one pmaddwd with the weights w w' w w' w w' 0 0 adds two neighbouring
// pixels of a run.
struct PairPlan {
  std::vector<int> begin;             // column i's pairs are pairs begin[i] .. begin[i + 1] - 1
  std::vector<std::int16_t> weights;  // 8 per pair
  std::vector<float> inverse;         // per column, when FastTotal
  std::vector<float> ceiling;
};

PairPlan PlanPairs(const ContributorLists& lists) {
  PairPlan plan;
  const int n = lists.Count();
  plan.begin.reserve(static_cast<std::size_t>(n) + 1);
  plan.inverse.assign(static_cast<std::size_t>(n), 0.0f);
  plan.ceiling.assign(static_cast<std::size_t>(n), 0.0f);
  std::vector<std::int16_t> run;
  for (int i = 0; i < n; ++i) {
    plan.begin.push_back(static_cast<int>(plan.weights.size() / 8));
    if (!DenseRun(lists, i, 2, run)) continue;
    plan.inverse[static_cast<std::size_t>(i)] = InverseRoundedUp(lists.total[i]);
    plan.ceiling[static_cast<std::size_t>(i)] = 255.0f * static_cast<float>(lists.total[i]);
    for (std::size_t k = 0; k < run.size(); k += 2)
      plan.weights.insert(plan.weights.end(),
                          {run[k], run[k + 1], run[k], run[k + 1], run[k], run[k + 1], 0, 0});
  }
  plan.begin.push_back(static_cast<int>(plan.weights.size() / 8));
  return plan;
}

void HorizontalPassSse2(const ContributorLists& columns, const Bitmap& source, Bitmap& work,
                        int rowBegin, int rowEnd) {
  const int sw = source.Width();
  const int tw = work.Width();
  const PairPlan plan = PlanPairs(columns);
  std::vector<std::int16_t> pairs(static_cast<std::size_t>(sw) * 8);
  std::vector<std::uint8_t> spare;
  const __m128i zero = _mm_setzero_si128();

  for (int y = rowBegin; y < rowEnd; ++y) {
    const std::uint8_t* in = ReadableRow(source, y, 16, spare);
    for (int k = 0; k < sw; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * k));
      const __m128i twin = _mm_unpacklo_epi8(v, _mm_srli_si128(v, 3));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pairs.data() + 8 * static_cast<std::size_t>(k)),
                       _mm_unpacklo_epi8(twin, zero));
    }
    std::uint8_t* out = work.ScanLine(y);
    for (int i = 0; i < tw; ++i, out += 3) {
      const int first = plan.begin[static_cast<std::size_t>(i)];
      const int last = plan.begin[static_cast<std::size_t>(i) + 1];
      if (first == last) {
        PlainColumn(columns, i, in, out);
        continue;
      }
      const std::int16_t* p =
          pairs.data() +
          8 * static_cast<std::size_t>(columns.denseStart[static_cast<std::size_t>(i)]);
      const std::int16_t* w = plan.weights.data() + 8 * static_cast<std::size_t>(first);
      __m128i acc = _mm_setzero_si128();
      for (int k = first; k < last; ++k, p += 16, w += 8)
        acc = _mm_add_epi32(acc,
                            _mm_madd_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(w))));
      const __m128i q = Divide(acc, _mm_set1_ps(plan.inverse[static_cast<std::size_t>(i)]),
                               _mm_set1_ps(plan.ceiling[static_cast<std::size_t>(i)]));
      const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(q, q), q);
      StorePixel(out, _mm_cvtsi128_si32(bytes), i + 1 == tw);
    }
  }
}

void VerticalPassSse2(const ContributorLists& rows, const Bitmap& work, Bitmap& target,
                      int rowBegin, int rowEnd) {
  const int length = target.Width() * 3;  // bytes of one row
  std::vector<const std::uint8_t*> lines;
  std::vector<std::uint32_t> weights;
  const __m128i zero = _mm_setzero_si128();

  for (int j = rowBegin; j < rowEnd; ++j) {
    std::uint8_t* out = target.ScanLine(j);
    if (!FastTotal(rows.total[static_cast<std::size_t>(j)]) || length < 16) {
      PlainRow(rows, j, work, out, 0, length);
      continue;
    }
    RowPairs(rows, j, work, lines, weights);
    const std::size_t count = weights.size();
    const float total = static_cast<float>(rows.total[static_cast<std::size_t>(j)]);
    const __m128 inverse = _mm_set1_ps(InverseRoundedUp(rows.total[static_cast<std::size_t>(j)]));
    const __m128 ceiling = _mm_set1_ps(255.0f * total);

    // 16 bytes at a time; the last block overlaps the one before it instead of
    // running past the row (its values are computed again, identically).
    for (int x = 0;; x += 16) {
      if (x > length - 16) x = length - 16;
      __m128i acc0 = zero, acc1 = zero, acc2 = zero, acc3 = zero;
      for (std::size_t k = 0; k < count; ++k) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lines[2 * k] + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lines[2 * k + 1] + x));
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

bool DenseRun(const ContributorLists& lists, int i, int multiple, std::vector<std::int16_t>& run) {
  const std::size_t at = static_cast<std::size_t>(i);
  if (lists.denseStart[at] < 0 || !FastTotal(lists.total[at])) return false;
  const int length = (lists.denseLength[at] + multiple - 1) / multiple * multiple;
  run.assign(static_cast<std::size_t>(length), 0);
  for (int k = lists.begin[at]; k < lists.begin[at + 1]; ++k)
    run[static_cast<std::size_t>(lists.items[static_cast<std::size_t>(k)].index -
                                 lists.denseStart[at])] =
        static_cast<std::int16_t>(lists.items[static_cast<std::size_t>(k)].weight);
  return true;
}

void PlainRow(const ContributorLists& rows, int j, const Bitmap& work, std::uint8_t* out, int begin,
              int end) {
  const int first = rows.begin[static_cast<std::size_t>(j)];
  const int last = rows.begin[static_cast<std::size_t>(j) + 1];
  const std::int32_t total = rows.total[static_cast<std::size_t>(j)];
  for (int x = begin; x < end; ++x) {
    std::int32_t sum = 0;
    for (int k = first; k < last; ++k) {
      const Contributor& c = rows.items[static_cast<std::size_t>(k)];
      sum += c.weight * work.ScanLine(c.index)[x];
    }
    out[x] = FinishChannel(sum, total);
  }
}

void RowPairs(const ContributorLists& rows, int j, const Bitmap& work,
              std::vector<const std::uint8_t*>& lines, std::vector<std::uint32_t>& weights) {
  lines.clear();
  weights.clear();
  const int first = rows.begin[static_cast<std::size_t>(j)];
  const int last = rows.begin[static_cast<std::size_t>(j) + 1];
  for (int k = first; k < last; k += 2) {
    const Contributor& a = rows.items[static_cast<std::size_t>(k)];
    const bool single = k + 1 == last;
    const Contributor& b = single ? a : rows.items[static_cast<std::size_t>(k) + 1];
    lines.push_back(work.ScanLine(a.index));
    lines.push_back(work.ScanLine(b.index));
    weights.push_back(PackPair(static_cast<std::int16_t>(a.weight),
                               static_cast<std::int16_t>(single ? 0 : b.weight)));
  }
}

const std::uint8_t* ReadableRow(const Bitmap& bitmap, int y, int overread,
                                std::vector<std::uint8_t>& spare) {
  const std::uint8_t* row = bitmap.ScanLine(y);
  const std::size_t used = static_cast<std::size_t>(bitmap.Width()) * 3;
  const std::uint8_t* end = bitmap.Bits() + bitmap.SizeBytes();
  if (static_cast<std::size_t>(end - row) >= used + static_cast<std::size_t>(overread)) return row;
  spare.assign(used + static_cast<std::size_t>(overread), 0);
  std::memcpy(spare.data(), row, used);
  return spare.data();
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

void HorizontalPass(const ContributorLists& columns, const Bitmap& source, Bitmap& work,
                    int rowBegin, int rowEnd) {
  if (UsedLevel() == VectorLevel::Avx2)
    HorizontalPassAvx2(columns, source, work, rowBegin, rowEnd);
  else
    HorizontalPassSse2(columns, source, work, rowBegin, rowEnd);
}

void VerticalPass(const ContributorLists& rows, const Bitmap& work, Bitmap& target, int rowBegin,
                  int rowEnd) {
  if (UsedLevel() == VectorLevel::Avx2)
    VerticalPassAvx2(rows, work, target, rowBegin, rowEnd);
  else
    VerticalPassSse2(rows, work, target, rowBegin, rowEnd);
}

}  // namespace kv::resample_detail
