#pragma once
// The 128-bit steps both vector passes end a pixel with (see the division note
// in resample_passes.cpp).

#include <emmintrin.h>

#include <cstdint>

#include "wallpaper/resample_passes.h"

namespace kv::resample_detail {

// Clamped quotients of four sums by one list's total.
inline __m128i Divide(__m128i sums, __m128 inverse, __m128 ceiling) {
  __m128 f = _mm_cvtepi32_ps(sums);
  f = _mm_max_ps(_mm_min_ps(f, ceiling), _mm_setzero_ps());
  return _mm_cvttps_epi32(_mm_mul_ps(f, inverse));
}

// Column i's sums (blue, green, red, unused) divided, clamped and stored.
inline void FinishPixel(__m128i sums, const ColumnPlan& plan, int i, std::uint8_t* out, bool last) {
  const __m128i q = Divide(sums, _mm_set1_ps(plan.inverse[static_cast<std::size_t>(i)]),
                           _mm_set1_ps(plan.ceiling[static_cast<std::size_t>(i)]));
  const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(q, q), q);
  StorePixel(out, _mm_cvtsi128_si32(bytes), last);
}

}  // namespace kv::resample_detail
