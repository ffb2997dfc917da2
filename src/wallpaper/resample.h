#pragma once
// The separable resampler: seven filter kernels, integer weights in units of
// 1/256 computed once per target column and once per target row, a horizontal
// pass into a 24-bit work picture and a vertical pass into the target.
//
// The arithmetic is fixed down to the bit, so that every build (x86-64 and
// 32-bit Windows) makes the same bytes: kernel arguments, kernel results, scale
// factors, centres and widths are single-precision values; every expression
// that produces one is evaluated in double precision and rounded once, when it
// is stored. Weights are rounded to the nearest integer with ties to even.

#include <cstdint>
#include <optional>
#include <string_view>

#include "codecs/bitmap.h"

namespace kv {

// Filter kinds, numbered as styles and settings store them.
enum class ResampleFilter : int { Box, Triangle, Hermite, Bell, Spline, Lanczos3, Mitchell };
inline constexpr int kResampleFilterCount = 7;

// Supports above this are refused: the contributor lists grow with the support,
// and no caller needs more than the widest kernel's three pixels.
inline constexpr float kMaxResampleSupport = 64.0f;

// "box", "triangle", "hermite", "bell", "spline", "lanczos3", "mitchell".
[[nodiscard]] const char* ResampleFilterName(ResampleFilter kind) noexcept;
// The kind named (any case), or a decimal 0..6; nothing for anything else.
[[nodiscard]] std::optional<ResampleFilter> ParseResampleFilter(std::string_view text);
// The kind for a stored number 0..6; nothing outside that range.
[[nodiscard]] std::optional<ResampleFilter> ResampleFilterFromIndex(int index) noexcept;

// The kernel's own support, in single precision: 0.5, 1, 1, 1.5, 2, 3, 2.
[[nodiscard]] constexpr float DefaultSupport(ResampleFilter kind) noexcept {
  constexpr float kSupports[kResampleFilterCount] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
  const int k = static_cast<int>(kind);
  return k >= 0 && k < kResampleFilterCount ? kSupports[k] : 0.0f;
}

// Use the hardware's threads for large pictures (the bytes do not depend on it).
inline constexpr int kAutoThreads = 0;

// Resamples `bitmap` in place to newWidth x newHeight. A support of exactly 0
// means the kind's default. A zero side, in the picture or in the new size,
// leaves the result as a blank (black) picture of the new size.
// Raises std::invalid_argument for a kind outside 0..6 or a support that is
// negative, not finite or above kMaxResampleSupport, and ImageError when the new
// size or the picture is beyond the picture limits (image_error.h).
void ResampleBitmap(int newWidth, int newHeight, ResampleFilter kind, float support, Bitmap& bitmap,
                    int threads = kAutoThreads);

// Makes `target` a newWidth x newHeight resampling of `source`, whose old
// content is discarded. `source` and `target` may be the same picture.
void ResampleInto(int newWidth, int newHeight, ResampleFilter kind, float support,
                  const Bitmap& source, Bitmap& target, int threads = kAutoThreads);

// The rows of a picture as they become available, top row first: a decoder
// can feed the resampler while it decodes, and the picture never exists whole.
class ResampleRowSource {
 public:
  // Row r: the picture's width in pixels of blue, green, red, readable
  // kResampleRowSlack bytes past its last pixel (what is there is multiplied by
  // 0). Asked for in increasing order of r, and only for rows the result reads;
  // the pointer need stay valid only until the next call.
  virtual const std::uint8_t* Row(int r) = 0;

 protected:
  ~ResampleRowSource() = default;
};
inline constexpr int kResampleRowSlack = 16;

// ResampleInto for a sourceWidth x sourceHeight picture read row by row from
// `rows`, on the calling thread: the same bytes, the same errors (raised before
// any row is asked for).
void ResampleFromRows(int newWidth, int newHeight, ResampleFilter kind, float support,
                      int sourceWidth, int sourceHeight, ResampleRowSource& rows, Bitmap& target);

// The arithmetic primitives above, exposed for tests: they must give the same
// bits in every build, so none of them calls the C library.
namespace resample_math {
// Nearest integer with ties to even, for |x| < 2^52.
[[nodiscard]] double RoundHalfEven(double x) noexcept;
// Largest integer <= x and smallest integer >= x, for |x| < 2^31.
[[nodiscard]] int FloorToInt(double x) noexcept;
[[nodiscard]] int CeilToInt(double x) noexcept;
// sin(x) for |x| < 2^19, to within a few units in the last place.
[[nodiscard]] double Sine(double x) noexcept;
// The kernel of `kind` at x, as the table of kernels defines it.
[[nodiscard]] float Kernel(ResampleFilter kind, float x) noexcept;
}  // namespace resample_math

}  // namespace kv
