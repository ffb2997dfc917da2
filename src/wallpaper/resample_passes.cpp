// The two passes of the resampler, with SSE2 (present on every processor the
// program runs on, and the one vector unit both builds share).
//
// Both passes multiply 16-bit pixel values by 16-bit weights in pairs (pmaddwd)
// into 32-bit sums: every weight lies in -256..256 and every pixel in 0..255,
// so no product or sum of a list comes near the 32-bit range, and the order of
// the additions does not matter.
//
// Division. Each sum R is divided by its list's total d with truncation and
// clamped to 0..255. For 0 < d < 65536 this is done in single precision:
// R is first clamped to [0, 255 d], which does not change the clamped result and
// leaves an integer below 2^24, so float(R) is exact; the quotient of two exact
// floats is correctly rounded, and when it is not a whole number it lies at
// least 1/d > 2^-16 below the next whole number, more than the rounding error
// of half a unit in the last place (at most 2^-17 below 255). So truncating the
// rounded quotient gives the exact integer quotient. Other totals (0, negative,
// huge) go through FinishChannel.

#include "wallpaper/resample_passes.h"

#include <emmintrin.h>

#include <cstring>

namespace kv::resample_detail {

namespace {

// Sums (as from pmaddwd) to clamped quotients, for a total d in FastTotal's range.
inline __m128i DivideClamp(__m128i sums, __m128 divisor, __m128 ceiling) {
  __m128 f = _mm_cvtepi32_ps(sums);
  f = _mm_max_ps(_mm_min_ps(f, ceiling), _mm_setzero_ps());
  return _mm_cvttps_epi32(_mm_div_ps(f, divisor));
}

inline std::int32_t PackPair(std::int32_t w0, std::int32_t w1) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(w1) << 16) |
                                   (static_cast<std::uint32_t>(w0) & 0xFFFFu));
}

// The weights of the columns with an unbroken run, two per 32-bit word, so that
// one pmaddwd applies two neighbouring source pixels.
struct DensePlan {
  std::vector<int> pairBegin;  // column i's words are packed[pairBegin[i] .. pairBegin[i + 1])
  std::vector<std::int32_t> packed;
};

DensePlan PlanDense(const ContributorLists& lists) {
  DensePlan plan;
  const int n = lists.Count();
  plan.pairBegin.reserve(static_cast<std::size_t>(n) + 1);
  std::vector<std::int32_t> run;
  for (int i = 0; i < n; ++i) {
    plan.pairBegin.push_back(static_cast<int>(plan.packed.size()));
    if (lists.denseStart[i] < 0 || !FastTotal(lists.total[i])) continue;
    run.assign(static_cast<std::size_t>(lists.denseLength[i]) + 1, 0);  // even-length padding
    for (int k = lists.begin[i]; k < lists.begin[i + 1]; ++k)
      run[static_cast<std::size_t>(lists.items[k].index - lists.denseStart[i])] =
          lists.items[k].weight;
    for (int k = 0; k < lists.denseLength[i]; k += 2)
      plan.packed.push_back(
          PackPair(run[static_cast<std::size_t>(k)], run[static_cast<std::size_t>(k) + 1]));
  }
  plan.pairBegin.push_back(static_cast<int>(plan.packed.size()));
  return plan;
}

}  // namespace

void HorizontalPass(const ContributorLists& columns, const Bitmap& source, Bitmap& work,
                    int rowBegin, int rowEnd) {
  const int sw = source.Width();
  const int tw = work.Width();
  const DensePlan plan = PlanDense(columns);

  // The row's channels, with one zero pixel after the last, and the same row
  // with each pixel beside its right neighbour: pixel k is the eight values
  // B[k] B[k+1] G[k] G[k+1] R[k] R[k+1] 0 0.
  std::vector<std::int16_t> blue(static_cast<std::size_t>(sw) + 1, 0);
  std::vector<std::int16_t> green(blue), red(blue);
  std::vector<std::int16_t> pairs(static_cast<std::size_t>(sw) * 8 + 8, 0);

  for (int y = rowBegin; y < rowEnd; ++y) {
    const std::uint8_t* in = source.ScanLine(y);
    for (int k = 0; k < sw; ++k, in += 3) {
      blue[static_cast<std::size_t>(k)] = in[0];
      green[static_cast<std::size_t>(k)] = in[1];
      red[static_cast<std::size_t>(k)] = in[2];
    }
    std::int16_t* pp = pairs.data();
    for (int k = 0; k < sw; ++k, pp += 8) {
      pp[0] = blue[static_cast<std::size_t>(k)];
      pp[1] = blue[static_cast<std::size_t>(k) + 1];
      pp[2] = green[static_cast<std::size_t>(k)];
      pp[3] = green[static_cast<std::size_t>(k) + 1];
      pp[4] = red[static_cast<std::size_t>(k)];
      pp[5] = red[static_cast<std::size_t>(k) + 1];
    }

    std::uint8_t* out = work.ScanLine(y);
    for (int i = 0; i < tw; ++i, out += 3) {
      const int first = plan.pairBegin[static_cast<std::size_t>(i)];
      const int last = plan.pairBegin[static_cast<std::size_t>(i) + 1];
      const std::int32_t total = columns.total[static_cast<std::size_t>(i)];
      if (first == last) {
        // A column at an edge or with an unusual total: the plain way.
        std::int32_t b = 0, g = 0, r = 0;
        for (int k = columns.begin[static_cast<std::size_t>(i)];
             k < columns.begin[static_cast<std::size_t>(i) + 1]; ++k) {
          const Contributor& c = columns.items[static_cast<std::size_t>(k)];
          b += c.weight * blue[static_cast<std::size_t>(c.index)];
          g += c.weight * green[static_cast<std::size_t>(c.index)];
          r += c.weight * red[static_cast<std::size_t>(c.index)];
        }
        out[0] = FinishChannel(b, total);
        out[1] = FinishChannel(g, total);
        out[2] = FinishChannel(r, total);
        continue;
      }
      const std::int16_t* p = pairs.data() + 8 * columns.denseStart[static_cast<std::size_t>(i)];
      __m128i acc = _mm_setzero_si128();
      for (int k = first; k < last; ++k, p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        acc = _mm_add_epi32(
            acc, _mm_madd_epi16(v, _mm_set1_epi32(plan.packed[static_cast<std::size_t>(k)])));
      }
      const float d = static_cast<float>(total);
      const __m128i q = DivideClamp(acc, _mm_set1_ps(d), _mm_set1_ps(255.0f * d));
      const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(q, q), q);
      const std::uint32_t bgr = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
      out[0] = static_cast<std::uint8_t>(bgr);
      out[1] = static_cast<std::uint8_t>(bgr >> 8);
      out[2] = static_cast<std::uint8_t>(bgr >> 16);
    }
  }
}

void VerticalPass(const ContributorLists& rows, const Bitmap& work, Bitmap& target, int rowBegin,
                  int rowEnd) {
  const int length = target.Width() * 3;  // bytes of one row
  std::vector<const std::uint8_t*> lines;
  std::vector<std::int32_t> packed;

  for (int j = rowBegin; j < rowEnd; ++j) {
    std::uint8_t* out = target.ScanLine(j);
    const int first = rows.begin[static_cast<std::size_t>(j)];
    const int last = rows.begin[static_cast<std::size_t>(j) + 1];
    const std::int32_t total = rows.total[static_cast<std::size_t>(j)];
    if (!FastTotal(total) || length < 16) {
      for (int x = 0; x < length; ++x) {
        std::int32_t sum = 0;
        for (int k = first; k < last; ++k) {
          const Contributor& c = rows.items[static_cast<std::size_t>(k)];
          sum += c.weight * work.ScanLine(c.index)[x];
        }
        out[x] = FinishChannel(sum, total);
      }
      continue;
    }

    // Contributing rows two by two; an odd one out is paired with itself at
    // weight 0.
    lines.clear();
    packed.clear();
    for (int k = first; k < last; k += 2) {
      const Contributor& a = rows.items[static_cast<std::size_t>(k)];
      const Contributor& b = k + 1 < last ? rows.items[static_cast<std::size_t>(k) + 1] : a;
      lines.push_back(work.ScanLine(a.index));
      lines.push_back(work.ScanLine(b.index));
      packed.push_back(PackPair(a.weight, k + 1 < last ? b.weight : 0));
    }
    const int count = static_cast<int>(packed.size());
    const float d = static_cast<float>(total);
    const __m128 divisor = _mm_set1_ps(d);
    const __m128 ceiling = _mm_set1_ps(255.0f * d);
    const __m128i zero = _mm_setzero_si128();

    // 16 bytes at a time; the last block overlaps the one before it instead of
    // running past the row (the values are computed again, identically).
    for (int x = 0;; x += 16) {
      if (x > length - 16) x = length - 16;
      __m128i acc0 = zero, acc1 = zero, acc2 = zero, acc3 = zero;
      for (int k = 0; k < count; ++k) {
        const __m128i a = _mm_loadu_si128(
            reinterpret_cast<const __m128i*>(lines[2 * static_cast<std::size_t>(k)] + x));
        const __m128i b = _mm_loadu_si128(
            reinterpret_cast<const __m128i*>(lines[2 * static_cast<std::size_t>(k) + 1] + x));
        const __m128i w = _mm_set1_epi32(packed[static_cast<std::size_t>(k)]);
        const __m128i lo = _mm_unpacklo_epi8(a, b);
        const __m128i hi = _mm_unpackhi_epi8(a, b);
        acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), w));
        acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), w));
        acc2 = _mm_add_epi32(acc2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), w));
        acc3 = _mm_add_epi32(acc3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), w));
      }
      const __m128i q01 =
          _mm_packs_epi32(DivideClamp(acc0, divisor, ceiling), DivideClamp(acc1, divisor, ceiling));
      const __m128i q23 =
          _mm_packs_epi32(DivideClamp(acc2, divisor, ceiling), DivideClamp(acc3, divisor, ceiling));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(q01, q23));
      if (x == length - 16) break;
    }
  }
}

}  // namespace kv::resample_detail
