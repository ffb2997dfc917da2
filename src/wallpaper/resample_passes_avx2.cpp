// The two passes of the resampler with AVX2, chosen at run time on processors
// that have it. Same arithmetic as the SSE2 passes (see resample_passes.cpp),
// twice as wide; the horizontal pass also reads the row's bytes directly,
// spreading four neighbouring pixels over two pixel pairs with one shuffle.

#include <immintrin.h>

#include "wallpaper/resample_passes.h"
#include "wallpaper/resample_simd.h"

#define KV_AVX2 __attribute__((target("avx2")))

namespace kv::resample_detail {

namespace {

KV_AVX2 inline __m256i Divide(__m256i sums, __m256 inverse, __m256 ceiling) {
  __m256 f = _mm256_cvtepi32_ps(sums);
  f = _mm256_max_ps(_mm256_min_ps(f, ceiling), _mm256_setzero_ps());
  return _mm256_cvttps_epi32(_mm256_mul_ps(f, inverse));
}

// Four pixels of a run at a time: the 16 bytes from pixel p are loaded into
// both halves, and the shuffle makes B[p] B[p+1] G[p] G[p+1] R[p] R[p+1] 0 0 of
// the low half and the same for pixels p+2, p+3 of the high half; pmaddwd with
// w0 w1 ... | w2 w3 ... then adds all four.
class QuadRowFilter : public RowFilter {
 public:
  explicit QuadRowFilter(const ContributorLists& columns) : columns_(columns), plan_(columns, 4) {}

  KV_AVX2 void Run(const std::uint8_t* in, std::uint8_t* out) override {
    const char z = -128;  // a shuffle index that gives 0
    const __m256i spread = _mm256_setr_epi8(0, z, 3, z, 1, z, 4, z, 2, z, 5, z, z, z, z, z,  //
                                            6, z, 9, z, 7, z, 10, z, 8, z, 11, z, z, z, z, z);
    const int tw = columns_.Count();
    for (int i = 0; i < tw; ++i, out += 3) {
      const int first = plan_.begin[static_cast<std::size_t>(i)];
      const int last = plan_.begin[static_cast<std::size_t>(i) + 1];
      if (first == last) {
        PlainColumn(columns_, i, in, out);
        continue;
      }
      const std::uint8_t* p = in + 3 * columns_.denseStart[static_cast<std::size_t>(i)];
      const std::int16_t* w = plan_.weights.data() + 16 * static_cast<std::size_t>(first);
      __m256i acc = _mm256_setzero_si256();
      for (int k = first; k < last; ++k, p += 12, w += 16) {
        const __m256i v =
            _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        acc = _mm256_add_epi32(
            acc, _mm256_madd_epi16(_mm256_shuffle_epi8(v, spread),
                                   _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w))));
      }
      const __m128i sum =
          _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
      FinishPixel(sum, plan_, i, out, i + 1 == tw);
    }
  }

 private:
  const ContributorLists& columns_;
  const ColumnPlan plan_;
};

}  // namespace

std::unique_ptr<RowFilter> MakeRowFilterAvx2(const ContributorLists& columns) {
  return std::make_unique<QuadRowFilter>(columns);
}

KV_AVX2 void CombineRowsAvx2(const ContributorLists& rows, int j, const std::uint8_t* const* lines,
                             int length, std::uint8_t* out) {
  const std::int32_t total = rows.total[static_cast<std::size_t>(j)];
  if (!FastTotal(total) || length < 32) {
    PlainRow(rows, j, lines, length, out);
    return;
  }
  std::vector<const std::uint8_t*> pairLines;
  std::vector<std::uint32_t> weights;
  RowPairs(rows, j, lines, pairLines, weights);
  const std::size_t count = weights.size();
  const __m256 inverse = _mm256_set1_ps(InverseRoundedUp(total));
  const __m256 ceiling = _mm256_set1_ps(255.0f * static_cast<float>(total));
  const __m256i zero = _mm256_setzero_si256();

  // 32 bytes at a time, the last block overlapping the one before. The
  // unpacking works within each 16-byte half and the packing undoes it, so the
  // bytes come out in their order.
  for (int x = 0;; x += 32) {
    if (x > length - 32) x = length - 32;
    __m256i acc0 = zero, acc1 = zero, acc2 = zero, acc3 = zero;
    for (std::size_t k = 0; k < count; ++k) {
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairLines[2 * k] + x));
      const __m256i b =
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pairLines[2 * k + 1] + x));
      const __m256i w = _mm256_set1_epi32(static_cast<int>(weights[k]));
      const __m256i lo = _mm256_unpacklo_epi8(a, b);
      const __m256i hi = _mm256_unpackhi_epi8(a, b);
      acc0 = _mm256_add_epi32(acc0, _mm256_madd_epi16(_mm256_unpacklo_epi8(lo, zero), w));
      acc1 = _mm256_add_epi32(acc1, _mm256_madd_epi16(_mm256_unpackhi_epi8(lo, zero), w));
      acc2 = _mm256_add_epi32(acc2, _mm256_madd_epi16(_mm256_unpacklo_epi8(hi, zero), w));
      acc3 = _mm256_add_epi32(acc3, _mm256_madd_epi16(_mm256_unpackhi_epi8(hi, zero), w));
    }
    const __m256i q01 =
        _mm256_packs_epi32(Divide(acc0, inverse, ceiling), Divide(acc1, inverse, ceiling));
    const __m256i q23 =
        _mm256_packs_epi32(Divide(acc2, inverse, ceiling), Divide(acc3, inverse, ceiling));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_packus_epi16(q01, q23));
    if (x == length - 32) break;
  }
}

}  // namespace kv::resample_detail
